// The screen driver: layout owner, row machine and step runner.
#include "screens/screen_driver.h"

#include "base/DebugLog.h"
#include "ui/form_catalogue.h"
#include "ui/NQ_Forms.h"
#include "ui/NQ_Menu.h"

#include <unistd.h>

// ---- layout ----

ScreenWindows::ScreenWindows(const WindowSpec* layout, int count, int unit)
    : layout_(layout), count_(count < kMaxWindows ? count : kMaxWindows)
{
    for (int k = 0; k < count_; k++) {
        const WindowSpec& s = layout_[k];
        if (s.present != nullptr && !s.present(unit)) continue;
        WINDOW* parent = s.parent >= 0 && s.parent < k ? made_[s.parent] : nullptr;
        if (s.parent >= 0 && parent == nullptr) continue;  // its parent is not there
        if (s.slot == nullptr) {
            if (s.text != nullptr) mvwaddstr(parent, s.row, s.col, s.text);
            wnoutrefresh(parent);
            continue;
        }
        WINDOW* w = parent != nullptr ? derwin(parent, s.rows, s.cols, s.row, s.col)
                                      : newwin(s.rows, s.cols, s.row, s.col);
        made_[k] = w;
        *s.slot = w;
        if (w == nullptr) {
            ok_ = false;
            continue;
        }
        if (s.pair != 0) wbkgd(w, COLOR_PAIR(s.pair));
        if (s.border) box(w, 0, 0);
        if (s.text != nullptr) mvwaddstr(w, 0, 0, s.text);
        wnoutrefresh(w);
    }
}

ScreenWindows::~ScreenWindows()
{
    for (int k = count_ - 1; k >= 0; k--) {
        if (made_[k] == nullptr) continue;
        delwin(made_[k]);
        if (*layout_[k].slot == made_[k]) *layout_[k].slot = nullptr;
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

// ---- rows ----

const RowSpec* find_row(const RowContext& ctx, int mode)
{
    for (int k = 0; k < ctx.count; k++)
        if (ctx.rows[k].mode == mode) return &ctx.rows[k];
    return nullptr;
}

bool row_present(const RowContext& ctx, int mode)
{
    const RowSpec* r = find_row(ctx, mode);
    if (r == nullptr) return false;
    return r->present == nullptr || r->present(ctx);
}

namespace {

int index_of(const RowContext& ctx, int mode)
{
    for (int k = 0; k < ctx.count; k++)
        if (ctx.rows[k].mode == mode) return k;
    return -1;
}

// The first present row from table index k on, stepping by step (wrapping).
int present_from(const RowContext& ctx, int k, int step)
{
    for (int n = 0; n < ctx.count; n++) {
        int at = ((k + step * n) % ctx.count + ctx.count) % ctx.count;
        if (row_present(ctx, ctx.rows[at].mode)) return ctx.rows[at].mode;
    }
    return 0;
}

int item_count(const RowContext& ctx, const RowSpec& r)
{
    return r.items_fn != nullptr ? r.items_fn(ctx) : r.items;
}

}  // namespace

int row_target(const RowContext& ctx, int mode, int dir)
{
    const int k = index_of(ctx, mode);
    if (k < 0 || ctx.count <= 0) return 0;
    const RowSpec& r = ctx.rows[k];
    const int named = dir == MOVE_UP ? r.up : r.down;
    const int step = dir == MOVE_UP ? -1 : 1;
    if (named == ROW_PREV) return present_from(ctx, k - 1, -1);
    if (named == ROW_NEXT) return present_from(ctx, k + 1, 1);
    const int t = index_of(ctx, named);
    if (t < 0) return 0;
    return present_from(ctx, t, step);
}

int run_row(RowContext& ctx)
{
    const RowSpec* r = find_row(ctx, *ctx.mode);
    if (r == nullptr || !row_present(ctx, r->mode) || r->wins == nullptr || r->wins[1] == nullptr)
        return -2;
    const int n = item_count(ctx, *r);
    if (n < 1) return -2;
    const int start = r->start != nullptr ? r->start(ctx) : 1;
    const MenuResult m =
        menu_result(select_menu(r->wins, n, r->vertical, MENU_LEAVE_BOTH, 0, start, r->onchange));
    switch (m.act) {
    case Act::Quit:
        return -1;
    case Act::Esc:
        return -2;
    case Act::Up:
    case Act::Down:
        if (r->leave != nullptr) r->leave(ctx);
        *ctx.mode = row_target(ctx, r->mode, m.act == Act::Up ? MOVE_UP : MOVE_DOWN);
        return 0;
    case Act::Chosen:
        break;
    }
    return r->enter != nullptr ? r->enter(ctx, m.item) : 0;
}

int run_rows(RowContext& ctx)
{
    for (;;) {
        const int r = run_row(ctx);
        if (r != 0) return r;
    }
}

// ---- steps ----

int run_steps(const Step* steps, int count, int unit, void* state, WINDOW* restore)
{
    for (int k = 0; k < count; k++) {
        const Step& s = steps[k];
        if (s.applies != nullptr && !s.applies(unit, state)) continue;
        if (s.pause_ms > 0) usleep(static_cast<useconds_t>(s.pause_ms) * 1000);
        if (s.exchange == nullptr || s.exchange(unit, state) == 0) continue;
        if (s.log != nullptr) PrnDebug(s.log);
        if (s.message != nullptr) MyMsgBox(s.message, "", s.row, restore);
        return -1;
    }
    return 0;
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
