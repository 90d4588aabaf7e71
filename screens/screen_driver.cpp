// The screen driver: the layout owner, the menus of rows and lists, and
// the message boxes of failed steps.
#include "screens/screen_driver.h"

#include "base/DebugLog.h"
#include "ui/NQ_Forms.h"
#include "ui/NQ_Menu.h"
#include "ui/form_catalogue.h"

// ---- layout ----

void ScreenWindows::place(int k, const Shape& s, bool present)
{
    if (!present) return;
    WINDOW* parent = s.parent >= 0 && s.parent < k ? made_[s.parent] : nullptr;
    if (s.parent >= 0 && parent == nullptr) return;  // its parent is not there
    if (s.slot == nullptr) {
        if (s.text != nullptr) mvwaddstr(parent, s.row, s.col, s.text);
        wnoutrefresh(parent);
        return;
    }
    WINDOW* w = parent != nullptr ? derwin(parent, s.rows, s.cols, s.row, s.col)
                                  : newwin(s.rows, s.cols, s.row, s.col);
    made_[k] = w;
    slots_[k] = s.slot;
    *s.slot = w;
    if (w == nullptr) {
        ok_ = false;
        return;
    }
    if (s.pair != 0) wbkgd(w, COLOR_PAIR(s.pair));
    if (s.border) box(w, 0, 0);
    if (s.text != nullptr) mvwaddstr(w, 0, 0, s.text);
    wnoutrefresh(w);
}

ScreenWindows::~ScreenWindows()
{
    for (int k = count_ - 1; k >= 0; k--) {
        if (made_[k] == nullptr) continue;
        delwin(made_[k]);
        if (*slots_[k] == made_[k]) *slots_[k] = nullptr;
        made_[k] = nullptr;
    }
}

void show_text(WINDOW* w, const char* text)
{
    if (w == nullptr) return;
    werase(w);
    if (text != nullptr) mvwaddstr(w, 0, 0, text);
    wnoutrefresh(w);
}

void set_pair(WINDOW* w, short pair)
{
    if (w == nullptr) return;
    wbkgd(w, COLOR_PAIR(pair));
    wnoutrefresh(w);
}

void redraw(WINDOW* w)
{
    if (w == nullptr) return;
    touchwin(w);
    wrefresh(w);
}

void redraw_screen() { redraw(stdscr); }

// ---- rows and lists ----

MenuResult pick_in_row(WINDOW** wins, int items, bool vertical, int start, int (*onchange)(int))
{
    return menu_result(
        select_menu(wins, items, vertical ? 1 : 0, MENU_LEAVE_BOTH, 0, start, onchange));
}

MenuResult pick_in_list(WINDOW** wins, int items, int start)
{
    return menu_result(select_menu(wins, items, 1, 0, 0, start, nullptr));
}

void show_failure(const StepResult& r, WINDOW* restore)
{
    if (r.ok() || r.message == nullptr) return;
    MyMsgBox(r.message, r.detail != nullptr ? r.detail : "", r.row, restore);
}

// ---- forms ----

int edit_form(unsigned form, int row, int col, const char* preset, char* out, int outsize,
              WINDOW* back)
{
    if (form >= static_cast<unsigned>(nforms) || out == nullptr || outsize <= 0) return 0;
    MyForm& f = myforms[form];
    show_form_at(form, row, col);
    if (preset != nullptr && f.fields[1] != nullptr) set_field_buffer(f.fields[1], 0, preset);
    redraw(f.win);
    const int r = get_input1(&f, out, outsize);
    hide_form(form);
    redraw(back);
    return r;
}

int choose_form(unsigned form, int row, int col, int start, WINDOW* back)
{
    if (form >= static_cast<unsigned>(nforms)) return 0;
    show_form_at(form, row, col);
    const int r = get_formsel(&myforms[form], start);
    hide_form(form);
    redraw(back);
    return r;
}

// ---- choices read from a unit ----

const char* choice_text(const char* const* table, int slots, int code)
{
    if (table == nullptr || code < 0 || code >= slots || table[code] == nullptr) return "";
    return table[code];
}

int choice_start(int code, int choices) { return code >= 0 && code < choices ? code + 1 : 1; }
