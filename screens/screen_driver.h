// The shape every settings screen shares: a layout table of windows drawn
// and freed by one owner, a row table whose Up/Down and Enter one driver
// runs, and step tables for the exchanges made at opening and on apply.
// A screen is mostly these tables; the names its loops and callbacks have
// (loop_*, On*, Set*Menu) stay as thin entries into them.
#pragma once

#include <curses.h>

#include "settings/settings_steps.h"

#include <cstddef>

// ---- layout ----

// One window (or label) of a screen. Windows are made in table order, so a
// parent comes before its children; labels are drawn into their parent.
struct WindowSpec {
    WINDOW** slot;              // where the window is kept while the screen is open; null: a label
    int parent;                 // index of the parent in the same table; -1: a window on the screen
    int row, col;               // screen position of a top window, else relative to the parent
    int rows, cols;             // size (labels: unused)
    short pair;                 // background colour pair; 0 keeps the parent's
    const char* text;           // written at the window's first cell (a label's text at row, col)
    bool border;                // a frame of the terminal's line characters
    bool (*present)(int unit);  // null: always there
};

// Owns the windows of one layout from the screen's opening to its end:
// creates those present for the unit and stages them (the caller updates
// the screen once it has written its values); deletes them, sub-windows
// first, on every way out and empties their slots.
class ScreenWindows {
  public:
    ScreenWindows(const WindowSpec* layout, int count, int unit);
    template <size_t N>
    ScreenWindows(const WindowSpec (&layout)[N], int unit)
        : ScreenWindows(layout, static_cast<int>(N), unit)
    {}
    ~ScreenWindows();
    ScreenWindows(const ScreenWindows&) = delete;
    ScreenWindows& operator=(const ScreenWindows&) = delete;

    bool ok() const { return ok_; }  // every present window could be made

  private:
    static constexpr int kMaxWindows = 96;
    const WindowSpec* layout_;
    int count_;
    WINDOW* made_[kMaxWindows] = {};  // by table index; labels stay null
    bool ok_ = true;
};

// Small drawing steps the screens share.
void show_text(WINDOW* w, const char* text);  // erased, text from its first cell, staged
void set_pair(WINDOW* w, short pair);         // background pair, staged
void redraw(WINDOW* w);                       // everything in w drawn again now
void redraw_screen();                         // the whole screen drawn again now

// ---- rows ----

// Up and Down of a row: a mode, or the previous / next present row of the
// table (wrapping at its ends).
constexpr int ROW_PREV = -1;
constexpr int ROW_NEXT = -2;
enum { MOVE_UP = 0, MOVE_DOWN = 1 };

struct RowSpec;

// What the row callbacks see: the unit, the screen's current-row static,
// the screen's own state and its row table.
struct RowContext {
    int unit;
    int* mode;
    void* state;
    const RowSpec* rows;
    int count;
};

struct RowSpec {
    int mode;                            // the value of the screen's current-row static
    WINDOW** wins;                       // select_menu's windows: 0 the container, 1.. the items
    int items;                           // number of items (0: the count comes from items_fn)
    int vertical;                        // 0: Left/Right move between the items
    int up, down;                        // where Up / Down lead: a mode, ROW_PREV or ROW_NEXT
    bool (*present)(const RowContext&);  // null: always there
    int (*start)(const RowContext&);     // item current at the start; null: 1
    int (*onchange)(int item);           // select_menu's change callback, or null
    int (*enter)(RowContext&,
                 int item);      // 0: go on (mode may have changed); else the screen's result
    void (*leave)(RowContext&);  // runs when the row is left by Up or Down; may be null
    int (*items_fn)(const RowContext&);  // item count when it depends on the unit; may be null
};

// The row of the table for a mode, or null.
const RowSpec* find_row(const RowContext& ctx, int mode);
// True when the row of this mode exists now.
bool row_present(const RowContext& ctx, int mode);
// The mode that Up (MOVE_UP) or Down (MOVE_DOWN) leads to from a row: its
// named target, or the previous / next row of the table; a target that is
// not present now passes on in the same direction, so a move never lands
// on a row that does not exist. 0 when no row is present.
int row_target(const RowContext& ctx, int mode, int dir);

// One pass of the current row: select_menu over its items, then F9 gives
// -1, Esc -2, Up and Down set the next mode and give 0, Enter gives what
// the row's enter gives. A mode without a row ends the screen with -2.
int run_row(RowContext& ctx);
// Runs the current row until one pass gives a result other than 0.
int run_rows(RowContext& ctx);

// ---- steps ----

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
// line empty, `restore` redrawn after the key), logs its line, and stops:
// the later steps are not made. 0 when every step that applies succeeded,
// else -1.
int run_steps(const Step* steps, int count, int unit, void* state, WINDOW* restore);
template <size_t N>
int run_steps(const Step (&steps)[N], int unit, void* state, WINDOW* restore)
{
    return run_steps(steps, static_cast<int>(N), unit, state, restore);
}

// Shows a failed read's or apply's message box (nothing when it has no
// message), `restore` redrawn after the key.
void show_failure(const StepResult& r, WINDOW* restore);

// ---- forms ----

// Edits entry form `form` (a catalogue number) shown at row, col (its fixed
// place when row is negative): the entry is preset with `preset` unless it
// is null, the form is hidden afterwards and `back` redrawn. The result of
// get_input1: 1 with out holding the confirmed text, 0 cancelled, MENU_QUIT.
int edit_form(unsigned form, int row, int col, const char* preset, char* out, int outsize,
              WINDOW* back);
// Lets the operator choose in selection form `form` starting on `start`
// (1..), then hides it and redraws `back`. The result of get_formsel.
int choose_form(unsigned form, int row, int col, int start, WINDOW* back);

// ---- choices read from a unit ----

// The text of a code in a 16-slot choice table: empty for a code outside
// the table or a slot without text, never a null text.
const char* choice_text(const char* const* table, int slots, int code);
// The choice a list form starts on for a code: code + 1 when the form has
// that choice, else 1.
int choice_start(int code, int choices);
