// LEGACY: the driver of the screens not yet moved to settings/ and to the
// typed vocabulary of screens/screen_driver.h (the input extension, mail
// alert and other settings screens). Their state reaches the callbacks
// through `void*` and their results are integers. Remove this header and
// legacy_driver.cpp once no screen includes it; nothing new uses it.
//   LegacyWindowSpec -> WindowSpec<S>      LegacyRowSpec / LegacyRowContext -> RowSpec<S>
//   run_row / run_rows (ints) -> run_row / run_rows (Outcome)
//   Step / run_steps -> SettingsStep<G> / run_settings_steps + show_failure
#pragma once

#include "screens/screen_driver.h"

// A window of a layout whose presence depends on the unit alone.
struct LegacyWindowSpec {
    WINDOW** slot;
    int parent;
    int row, col;
    int rows, cols;
    short pair;
    const char* text;
    bool border;
    bool (*present)(int unit);  // null: always there
};

struct LegacyRowSpec;

// What the row callbacks see: the unit, the screen's current-row static,
// the screen's own state and its row table.
struct LegacyRowContext {
    int unit;
    int* mode;
    void* state;
    const LegacyRowSpec* rows;
    int count;
};

struct LegacyRowSpec {
    int mode;       // the value of the screen's current-row static
    WINDOW** wins;  // select_menu's windows: 0 the container, 1.. the items
    int items;      // number of items (0: the count comes from items_fn)
    int vertical;   // 0: Left/Right move between the items
    int up, down;   // where Up / Down lead: a mode, ROW_PREV or ROW_NEXT
    bool (*present)(const LegacyRowContext&);   // null: always there
    int (*start)(const LegacyRowContext&);      // item current at the start; null: 1
    int (*onchange)(int item);                  // select_menu's change callback, or null
    int (*enter)(LegacyRowContext&, int item);  // 0: go on (mode may have changed); else the result
    void (*leave)(LegacyRowContext&);  // runs when the row is left by Up or Down; may be null
    int (*items_fn)(
        const LegacyRowContext&);  // item count when it depends on the unit; may be null
};

const LegacyRowSpec* find_row(const LegacyRowContext& ctx, int mode);
bool row_present(const LegacyRowContext& ctx, int mode);
int row_target(const LegacyRowContext& ctx, int mode, Move dir);
// One pass of the current row: -1 F9, -2 Esc, 0 after Up or Down, else what enter gives.
int run_row(LegacyRowContext& ctx);
int run_rows(LegacyRowContext& ctx);

// One exchange of an opening or an apply.
struct Step {
    int (*exchange)(int unit, void* state);        // 0 success; null: only the pause
    int pause_ms;                                  // waited before the exchange
    const char* message;                           // first line of the message box when it fails
    int row;                                       // screen row of that box
    const char* log;                               // debug log line when it fails (null: none)
    bool (*applies)(int unit, const void* state);  // null: always
};

// Runs the steps in order; the first failure shows its message (second
// line empty, `restore` redrawn after the key), logs its line, and stops.
// 0 when every step that applies succeeded, else -1.
int run_steps(const Step* steps, int count, int unit, void* state, WINDOW* restore);
template <size_t N>
int run_steps(const Step (&steps)[N], int unit, void* state, WINDOW* restore)
{
    return run_steps(steps, static_cast<int>(N), unit, state, restore);
}
