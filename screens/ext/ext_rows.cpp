// The sections of the input extension screen as a row table for the screen
// driver, the columns of the connection grid as a table, and what Enter
// does in each section.
#include "screens/ext/ext_screen.h"

#include "screens/legacy_driver.h"
#include "base/bounded_text.h"
#include "ui/NQ_Forms.h"
#include "ui/NQ_Menu.h"
#include "ui/colour_pairs.h"

#include <cstdio>
#include <cstring>

int exselect_mode = EXSEC_CONN1;
int sel_1toN = 2;
int sel_tcp = 1;

namespace {

// ---- which sections exist now ----
bool gc_unit(const LegacyRowContext& ctx) { return is_gc(unit_modtype(ctx.unit)); }
bool one_to_n(const LegacyRowContext& ctx) { return is_gc(unit_modtype(ctx.unit)) && sel_1toN == 1; }
bool disc_present(const LegacyRowContext&) { return extset.has_disc != 0; }
bool notice_present(const LegacyRowContext&) { return extset.has_notice != 0; }
bool chat_present(const LegacyRowContext&) { return extset.has_chat != 0; }

// ---- the 1:N selector ----
int start_1ton(const LegacyRowContext&) { return sel_1toN; }

// The choice stays marked while the other sections are used.
void mark_1ton(LegacyRowContext&)
{
    if (sel_1toN == 1 || sel_1toN == 2) {
        set_pair(win_ex1ton[sel_1toN], PAIR_MARKED);
        doupdate();
    }
}

// "有効" leads to connection 1; Enter on "無効" changes nothing.
int enter_1ton(LegacyRowContext& ctx, int item)
{
    if (item != 1) return 0;
    mark_1ton(ctx);
    *ctx.mode = EXSEC_CONN1;
    return 0;
}

// ---- the connection grid ----
enum class Stored { Port, Wait, Request, Dest, DestPort };

// A column: what it stores and the form that edits it, at which screen
// column (the form's row is 2 x (section + 1)).
struct GridColumn {
    Stored what;
    FormId form;  // plain XPort and WiFi module
    int form_col;
    FormId gc_form;  // "GC" firmware
    int gc_form_col;
};
const GridColumn kGrid[GRID_COLUMNS] = {
    {Stored::Port, FORM_OWN_PORT, 5, FORM_OWN_PORT, 5},
    {Stored::Wait, FORM_WAIT, 15, FORM_WAIT, 15},
    {Stored::Request, FORM_REQUEST, 25, FORM_REQUEST, 25},
    {Stored::Dest, FORM_DEST_IP, 35, FORM_DEST_HOST, 2},
    {Stored::DestPort, FORM_DEST_PORT, 40, FORM_DEST_PORT, 40},
};

int start_grid(const LegacyRowContext&) { return sel_tcp; }
int start_conn34(const LegacyRowContext&) { return sel_tcp < 2 ? sel_tcp : 2; }

// A number in an entry form, preset with its value.
int edit_number(unsigned form, int row, int col, int* value)
{
    char preset[16];
    char out[FORM_TEXT_MAX] = {};
    std::snprintf(preset, sizeof preset, "%d", *value);
    const int r = edit_form(form, row, col, preset, out, sizeof out, win_extset);
    if (r == 1) *value = decimal_value(out);
    return r;
}

// "有効" (1) / "無効" (0) in a two-choice form.
int choose_flag(unsigned form, int row, int col, int* flag)
{
    const int c = choose_form(form, row, col, 2 - (*flag != 0), win_extset);
    if (c == 1 || c == 2) *flag = 2 - c;
    return c;
}

// The text a form's entry shows of a longer one: as much as its columns hold.
bool as_shown(const char* out, const char* text, unsigned form)
{
    char view[EXT_DEST_LEN];
    copy_text_n(view, sizeof view, text, static_cast<size_t>(myforms[form].width + 1));
    cut_rightspace(view);
    return std::strcmp(out, text) == 0 || std::strcmp(out, view) == 0;
}

// A destination text; confirming it as the form showed it keeps the unit's own bytes.
int edit_dest(unsigned form, int row, int col, int r)
{
    char out[FORM_TEXT_MAX] = {};
    const int res = edit_form(form, row, col, extset.dest[r], out, sizeof out, win_extset);
    if (res == 1 && !as_shown(out, extset.dest[r], form)) {
        copy_text(extset.dest[r], EXT_DEST_LEN, out);
        ex_dest_cut[r] = 0;
    }
    return res;
}

int enter_grid(LegacyRowContext& ctx, int item)
{
    const int r = *ctx.mode - EXSEC_CONN1;
    if (r < 0 || r > 2 || item < 1 || item > (r == 2 ? 2 : GRID_COLUMNS)) return 0;
    const GridColumn& g = kGrid[item - 1];
    const bool gc = is_gc(unit_modtype(ctx.unit));
    const unsigned form = gc ? g.gc_form : g.form;
    const int row = 2 * (*ctx.mode + 1);
    const int col = gc ? g.gc_form_col : g.form_col;
    int res = 0;
    switch (g.what) {
    case Stored::Port:
        res = edit_number(form, row, col, &extset.port[r]);
        break;
    case Stored::Wait:
        // Connection 1 always waits for connections.
        if (r == 0) {
            MyMsgBox("接続1 のこの項目は", "変更できません。", MSG_ROW_FORM, win_extset);
            return 0;
        }
        res = choose_flag(form, row, col, &extset.wait[r]);
        break;
    case Stored::Request:
        // A WiFi module always connects to its destination.
        if (is_wifi(unit_modtype(ctx.unit))) return 0;
        res = choose_flag(form, row, col, &extset.request[r]);
        break;
    case Stored::Dest:
        res = edit_dest(form, row, col, r);
        break;
    case Stored::DestPort:
        res = edit_number(form, row, col, &extset.dport[r]);
        if (res == 1) ex_dport_shown[r] = 1;
        break;
    }
    if (res == MENU_QUIT) return -1;
    ex_show_row(ctx.unit, r);
    doupdate();
    return 0;
}

// ---- the controller settings ----
int enter_setting(LegacyRowContext& ctx, ExSetting s)
{
    const ExControl* c = ex_control(s, unit_model(ctx.unit));
    if (c == nullptr) return 0;
    int* v = ex_value(s);
    int res;
    if (c->choices != nullptr) {
        res = choose_form(c->form, -1, -1, choice_start(*v, c->nchoices), win_extset);
        if (res >= 1 && res <= c->nchoices) *v = res - 1;
    } else {
        res = edit_number(c->form, -1, -1, v);
    }
    if (res == MENU_QUIT) return -1;
    ex_show_setting(ctx.unit, s);
    doupdate();
    return 0;
}
int enter_disc(LegacyRowContext& ctx, int) { return enter_setting(ctx, EXS_DISC); }
int enter_notice(LegacyRowContext& ctx, int) { return enter_setting(ctx, EXS_NOTICE); }
int enter_chat(LegacyRowContext& ctx, int) { return enter_setting(ctx, EXS_CHAT); }

// The button: the screen runs the apply step.
int enter_send(LegacyRowContext&, int) { return 1; }

// Up and Down go to the previous and the next section present now, both
// ends wrapping. So Down from a grid row reaches connection 2 only with
// 1:N on, else the first of the disconnection time, notice, chattering and
// the button the model has; Up from those reaches the one above it that
// the model has, else the last grid row in use ("grid end"); the button
// leads down to the selector of a GC unit, else to connection 1.
// mode, windows, items, vertical, up, down, present, start, onchange, enter, leave, items_fn
const LegacyRowSpec kSections[] = {
    {EXSEC_1TON, win_ex1ton, 2, 0, ROW_PREV, ROW_NEXT, gc_unit, start_1ton, OnChangeSel1toN,
     enter_1ton, mark_1ton, nullptr},
    {EXSEC_CONN1, win_extcp[0], 5, 0, ROW_PREV, ROW_NEXT, nullptr, start_grid, OnChangeSelTCP,
     enter_grid, nullptr, nullptr},
    {EXSEC_CONN2, win_extcp[1], 5, 0, ROW_PREV, ROW_NEXT, one_to_n, start_grid, OnChangeSelTCP,
     enter_grid, nullptr, nullptr},
    {EXSEC_CONN34, win_extcp[2], 2, 0, ROW_PREV, ROW_NEXT, one_to_n, start_conn34, OnChangeSelTCP,
     enter_grid, nullptr, nullptr},
    {EXSEC_DISC, win_exdisc, 1, 0, ROW_PREV, ROW_NEXT, disc_present, nullptr, nullptr, enter_disc,
     nullptr, nullptr},
    {EXSEC_NOTICE, win_exnotice, 1, 0, ROW_PREV, ROW_NEXT, notice_present, nullptr, nullptr,
     enter_notice, nullptr, nullptr},
    {EXSEC_CHAT, win_exchat, 1, 0, ROW_PREV, ROW_NEXT, chat_present, nullptr, nullptr, enter_chat,
     nullptr, nullptr},
    {EXSEC_SEND, win_exsend, 1, 0, ROW_PREV, ROW_NEXT, nullptr, nullptr, nullptr, enter_send,
     nullptr, nullptr},
};

LegacyRowContext ex_context(int index)
{
    return LegacyRowContext{index, &exselect_mode, nullptr, kSections,
                      static_cast<int>(sizeof kSections / sizeof kSections[0])};
}

int run_current(int index)
{
    LegacyRowContext ctx = ex_context(index);
    return run_row(ctx);
}

}  // namespace

int ex_section_after(int unit, int section, Move dir)
{
    return row_target(ex_context(unit), section, dir);
}

int OnChangeSel1toN(int choice)
{
    sel_1toN = choice;
    ex_grey_rows(choice == 1);
    doupdate();
    return 0;
}

int OnChangeSelTCP(int column)
{
    sel_tcp = column;
    return 0;
}

int loop_1toNset(int index) { return run_current(index); }
int loop_tcpset(int index) { return run_current(index); }
int loop_disc(int index) { return run_current(index); }
int loop_notice(int index) { return run_current(index); }
int loop_chat(int index) { return run_current(index); }
int loop_exsend(int index) { return run_current(index); }
