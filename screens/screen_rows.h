// The row machine of the screens and the vertical item lists: a row table
// over the screen's own struct S (designated initialisers; Up and Down go to
// the previous and next present row unless a row names another), one pass
// of a row, the loop over them, and the loop of a list of items.
#pragma once

#include <curses.h>

#include "ui/NQ_Menu.h"

#include <span>
#include <type_traits>

// ---- results ----

// What a row, an item or a screen comes to.
enum class Outcome {
    Stay,     // go on: the current row (which may have changed) runs again
    NextRow,  // leave the row as Down leaves it (its leave runs first)
    Done,     // the screen's work is done: settings written, or edits taken
    Back,     // Esc: left without writing
    Quit,     // F9: every screen returns at once and the program ends
};

// The integer a screen's entry (Set*Menu, loop_*) gives its caller for an
// outcome: Done 1, Quit -1, Back -2, 0 for Stay and NextRow. The settings
// menu and the device list read 1 as "written" and -1 as F9; everything
// else brings the operator back to them.
constexpr int screen_result(Outcome o)
{
    switch (o) {
    case Outcome::Done:
        return 1;
    case Outcome::Quit:
        return -1;
    case Outcome::Back:
        return -2;
    case Outcome::Stay:
    case Outcome::NextRow:
        break;
    }
    return 0;
}
// The outcome of a screen entry's integer: 1 Done, -1 Quit, anything else Back.
constexpr Outcome outcome_of(int r)
{
    return r == 1 ? Outcome::Done : r == -1 ? Outcome::Quit : Outcome::Back;
}

// Up and Down, as rows are left and tables walked.
enum Move : int { MOVE_UP, MOVE_DOWN };

// When a window, a label or a row is there: one predicate over the screen's
// struct, shared by its layout and its rows. Null: always.
template <class S>
using Present = bool (*)(const S& screen);

// ---- rows ----

// Up and Down of a row: a mode, or the previous / next present row of the
// table (wrapping at its ends).
constexpr int ROW_PREV = -1;
constexpr int ROW_NEXT = -2;

// One row of a screen. The callbacks get the screen's struct and the mode
// of the row they belong to.
template <class S>
struct RowSpec {
    int mode;                              // the row's value of the screen's current row
    WINDOW** wins;                         // select_menu's windows: 0 the container, 1.. the items
    int items = 1;                         // number of items (see items_of)
    bool vertical = false;                 // false: Left and Right move between the items
    int up = ROW_PREV;                     // where Up leads: a mode, or ROW_PREV / ROW_NEXT
    int down = ROW_NEXT;                   // where Down leads
    Present<S> present = nullptr;          // null: always there
    int (*start)(S&, int mode) = nullptr;  // the item current at the start; null: 1
    int (*onchange)(int item) = nullptr;   // select_menu's change callback
    Outcome (*enter)(S&, int mode, int item) = nullptr;  // Enter on an item; null: Stay
    void (*leave)(S&, int mode) = nullptr;               // runs when the row is left by Up or Down
    int (*items_of)(const S&, int mode) = nullptr;       // the item count when it depends on S
};

template <class S>
using RowTable = std::span<const RowSpec<S>>;
// A parameter that takes a row table (an array) without deciding S itself.
template <class S>
using RowsOf = std::type_identity_t<RowTable<S>>;

// The row of the table for a mode, or null.
template <class S>
const RowSpec<S>* find_row(RowTable<S> rows, int mode)
{
    for (const RowSpec<S>& r : rows)
        if (r.mode == mode) return &r;
    return nullptr;
}

// True when the row of this mode exists now.
template <class S>
bool row_present(RowsOf<S> rows, const S& screen, int mode)
{
    const RowSpec<S>* r = find_row(rows, mode);
    return r != nullptr && (r->present == nullptr || r->present(screen));
}

// The mode that Up or Down leads to from a row: its named target, or the
// previous / next row of the table; a target that is not present now passes
// on in the same direction, so a move never lands on a row that does not
// exist. 0 when no row is present or the row is not in the table.
template <class S>
int row_target(RowsOf<S> rows, const S& screen, int mode, Move dir)
{
    const int count = static_cast<int>(rows.size());
    const RowSpec<S>* from = find_row(rows, mode);
    if (from == nullptr) return 0;
    const int step = dir == MOVE_UP ? -1 : 1;
    const int named = dir == MOVE_UP ? from->up : from->down;
    int k = static_cast<int>(from - rows.data()) + step;
    if (named != ROW_PREV && named != ROW_NEXT) {
        const RowSpec<S>* to = find_row(rows, named);
        if (to == nullptr) return 0;
        k = static_cast<int>(to - rows.data());
    }
    for (int n = 0; n < count; n++) {
        const RowSpec<S>& r = rows[((k + step * n) % count + count) % count];
        if (r.present == nullptr || r.present(screen)) return r.mode;
    }
    return 0;
}

// select_menu over a row's items, left by Up and Down (screen_driver.cpp).
MenuResult pick_in_row(WINDOW** wins, int items, bool vertical, int start, int (*onchange)(int));

// One pass of the current row: select_menu over its items, then F9 gives
// Quit, Esc Back, Up and Down (and an Enter that gives NextRow) run the
// row's leave, set the next mode and give Stay; Enter gives what the row's
// enter gives. A mode without a present row ends the screen with Back.
template <class S>
Outcome run_row(RowsOf<S> rows, S& screen, int& mode)
{
    const RowSpec<S>* r = find_row(rows, mode);
    if (r == nullptr || !row_present(rows, screen, mode) || r->wins == nullptr ||
        r->wins[1] == nullptr)
        return Outcome::Back;
    const int n = r->items_of != nullptr ? r->items_of(screen, mode) : r->items;
    if (n < 1) return Outcome::Back;
    const int start = r->start != nullptr ? r->start(screen, mode) : 1;
    const MenuResult m = pick_in_row(r->wins, n, r->vertical, start, r->onchange);
    Outcome o = Outcome::Stay;
    switch (m.act) {
    case Act::Quit:
        return Outcome::Quit;
    case Act::Esc:
        return Outcome::Back;
    case Act::Up:
    case Act::Down:
        o = Outcome::NextRow;
        break;
    case Act::Chosen:
        o = r->enter != nullptr ? r->enter(screen, mode, m.item) : Outcome::Stay;
    }
    if (o != Outcome::NextRow) return o;
    if (r->leave != nullptr) r->leave(screen, mode);
    mode = row_target(rows, screen, mode, m.act == Act::Up ? MOVE_UP : MOVE_DOWN);
    return Outcome::Stay;
}

// Runs the current row until a pass gives Done, Back or Quit.
template <class S>
Outcome run_rows(RowsOf<S> rows, S& screen, int& mode)
{
    for (;;) {
        const Outcome o = run_row(rows, screen, mode);
        if (o != Outcome::Stay) return o;
    }
}

// ---- vertical item lists ----

// select_menu over a vertical list that only Esc and F9 leave (screen_driver.cpp).
MenuResult pick_in_list(WINDOW** wins, int items, int start);

// Where a list starts again after an item: on that item, or on the first.
enum class ListPlace { Chosen, First };

// A vertical list of `count` items (wins[1..count]): Enter runs chosen(S,
// item); while it gives Stay, `after` runs (when given) and the list runs
// again; any other outcome ends the list with it. Esc gives Back, F9 Quit.
template <class S>
Outcome run_items(WINDOW** wins, int count, Outcome (*chosen)(S&, int item), S& screen,
                  ListPlace place = ListPlace::Chosen, void (*after)(S&) = nullptr)
{
    int item = 1;
    for (;;) {
        const MenuResult m = pick_in_list(wins, count, place == ListPlace::Chosen ? item : 1);
        if (m.act == Act::Quit) return Outcome::Quit;
        if (m.act != Act::Chosen) return Outcome::Back;
        item = m.item;
        const Outcome o = chosen(screen, item);
        if (o != Outcome::Stay) return o;
        if (after != nullptr) after(screen);
    }
}
