// A unit's settings groups read through the same reads as the screens, for
// export and check (and an import's read before and after it writes).
#pragma once

#include <cstddef>

#include "cli/settings_file.h"

// Reads, in the file's order, the groups of `groups` (group bits) that
// entry i's model has into out, and the unit's identity (MAC, address,
// model, module, unit ID, model name); out->present.groups says which were
// read and the thresholds' units are the inputs' ranges. The model must be
// known (ensure_model). nullptr, or the step that failed into why ("reading
// the mail alert settings: sendrecv error").
const char* read_unit_settings(int i, unsigned groups, UnitSettings* out, char* why, size_t size);
// "step: words" into why (size bytes): the failed step's log line (English,
// without its line feed), else the screen's message. Returns why.
const char* step_failure(const StepResult& r, const char* step, char* why, size_t size);
// The unit's identity alone.
void unit_identity(int i, UnitSettings* out);
