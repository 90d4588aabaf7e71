// The applies an import makes, in the order it makes them: each writes one
// or more groups of a file through the settings apply the screen uses.
#pragma once

#include "cli/settings_file.h"

struct GroupApply {
    unsigned groups;   // the group bits it writes (those of them that change)
    const char* what;  // "writing the mail alert settings", for messages
    // Writes groups (bits of `groups`) of v to unit i.
    StepResult (*apply)(int unit, const UnitSettings& v, unsigned groups);
    // A failure r of it sent nothing to the unit (a refusal).
    bool (*refused)(const StepResult& r);
    // Writing these groups restarts the unit.
    bool (*restarts)(int unit, unsigned groups);
};
extern const GroupApply import_applies[];
extern const int import_apply_count;
