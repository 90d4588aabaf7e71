// Importing settings into one unit, whatever file they came from: the
// unit's groups are read first (nothing is written that was not read), the
// file's fields laid over them make the plan (every field that changes,
// old and new), and only the groups that change are applied, each through
// its settings apply in the screens' order (input extension, mail alert,
// analog settings, and the IP address last and only when asked). After an
// apply that restarts the unit the unit is found again by its MAC address
// and read again before the next group; every written group is read back
// and compared field by field. When an apply fails, what was read before
// is written back to the groups already written, and to the failing group
// when part of it went out, and each group says which state it is left in.
#pragma once

#include "cli/kivraset.h"
#include "cli/settings_file.h"

// How long a unit may take to answer again after a restart.
constexpr int IMPORT_RESTART_WAIT_MS = 20000;

struct ImportOptions {
    bool dry_run = false;       // plan only: nothing is sent beyond the reads
    bool with_address = false;  // the IP group is applied too (last)
    const CliIo* io = nullptr;  // progress on io->err when io->progress
    const char* cmd = "import";
};

// What became of one group of the file.
enum class GroupState : uint8_t {
    Absent,              // not in the file
    Unchanged,           // the unit has the file's values already
    ToWrite,             // differs; a dry run stops here
    KeptAddress,         // the IP group differs but --with-address was not given
    WrittenChecked,      // written and read back equal
    WrittenDiffers,      // written, but the unit did not take some fields
    WrittenUnchecked,    // written; the unit could not be read back
    Refused,             // the apply refused the values; nothing of it was sent
    FailedRestored,      // the apply failed part-way; the values read before are back
    FailedNotRestored,   // the apply failed part-way and could not be put back
    WrittenRestored,     // written, then put back after a later group failed
    WrittenNotRestored,  // written; putting it back after a later failure failed
    NotWritten,          // to be written, but an earlier failure stopped the import
};
// "written and checked" (for people) and "written_checked" (for scripts).
const char* group_state_text(GroupState s);
const char* group_state_key(GroupState s);
// The state leaves the unit as the file wants it, or as it was: no failure.
bool group_state_ok(GroupState s);

// One unit's import.
struct ImportUnit {
    int index = -1;        // its entry in xportset
    UnitSettings before;   // the groups of the file as read from the unit
    UnitSettings wanted;   // before with the file's fields laid over it
    UnitSettings after;    // the written groups as read back
    unsigned written = 0;  // groups read back into after
    GroupState state[SETTINGS_GROUPS] = {};
    char failure[224] = "";  // the step that failed and why; "" none
    bool ok() const;         // nothing failed and every written field was taken
};

// Imports file (a settings file's groups and fields, of the unit's family)
// into unit i, whose model is known.
void import_unit(int i, const UnitSettings& file, const ImportOptions& opt, ImportUnit& out);

// Whether field row f's item changes from before to wanted, as the plan shows it.
bool field_changes(int f, int item, const ImportUnit& u, const UnitSettings& file);
// Whether a written field row f's item was not taken (after differs from wanted).
bool field_differs(int f, int item, const ImportUnit& u);
