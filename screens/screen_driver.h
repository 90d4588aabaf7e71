// The shape every settings screen shares: a layout table of windows drawn
// and freed by one owner, a row table whose Up/Down and Enter one driver
// runs (screens/screen_rows.h), and the failures of settings/ shown as
// message boxes. A screen is mostly these tables over its own struct S,
// which every callback gets typed; the names its loops and callbacks have
// (loop_*, On*, Set*Menu) stay as thin entries into them.
#pragma once

#include <curses.h>

#include "screens/screen_rows.h"
#include "settings/settings_steps.h"
#include "ui/colour_pairs.h"

#include <cstddef>

// ---- layout ----

// One window (or label) of a screen. Windows are made in table order, so a
// parent comes before its children; labels are drawn into their parent.
template <class S>
struct WindowSpec {
    WINDOW** slot;       // where the window is kept while the screen is open; null: a label
    int parent;          // index of the parent in the same table; -1: a window on the screen
    int row, col;        // screen position of a top window, else relative to the parent
    int rows, cols;      // size (labels: unused)
    short pair;          // background colour pair; 0 keeps the parent's
    const char* text;    // written at the window's first cell (a label's text at row, col)
    bool border;         // a frame of the terminal's line characters
    Present<S> present;  // null: always there
};

// The rows of layout tables written once for every screen: a text drawn
// into the table's first window, and a one-line item window inside it.
#define LAYOUT_LABEL(row, col, text, present)               \
    {                                                       \
        nullptr, 0, row, col, 0, 0, 0, text, false, present \
    }
#define LAYOUT_ITEM(slot, row, col, cols, text, present)            \
    {                                                               \
        slot, 0, row, col, 1, cols, PAIR_ITEM, text, false, present \
    }

// Owns the windows of one layout from the screen's opening to its end:
// creates those present for the screen and stages them (the caller updates
// the screen once it has written its values); deletes them, sub-windows
// first, on every way out and empties their slots.
class ScreenWindows {
  public:
    template <class S, size_t N>
    ScreenWindows(const WindowSpec<S> (&layout)[N], const S& screen)
    {
        count_ = N < kMaxWindows ? static_cast<int>(N) : kMaxWindows;
        for (int k = 0; k < count_; k++) {
            const WindowSpec<S>& s = layout[k];
            place(k, {s.slot, s.parent, s.row, s.col, s.rows, s.cols, s.pair, s.text, s.border},
                  s.present == nullptr || s.present(screen));
        }
    }
    ~ScreenWindows();
    ScreenWindows(const ScreenWindows&) = delete;
    ScreenWindows& operator=(const ScreenWindows&) = delete;

    bool ok() const { return ok_; }  // every present window could be made

  private:
    struct Shape {
        WINDOW** slot;
        int parent, row, col, rows, cols;
        short pair;
        const char* text;
        bool border;
    };
    void place(int k, const Shape& s, bool present);

    static constexpr int kMaxWindows = 96;
    int count_ = 0;
    WINDOW** slots_[kMaxWindows] = {};  // by table index
    WINDOW* made_[kMaxWindows] = {};    // by table index; labels stay null
    bool ok_ = true;
};

// Small drawing steps the screens share.
void show_text(WINDOW* w, const char* text);  // erased, text from its first cell, staged
void set_pair(WINDOW* w, short pair);         // background pair, staged
void redraw(WINDOW* w);                       // everything in w drawn again now
void redraw_screen();                         // the whole screen drawn again now

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
