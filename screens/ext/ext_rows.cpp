// The sections of the input extension screen as a row table for the screen
// driver, the columns of the connection grid as a table, and what Enter
// does in each section.
#include "screens/ext/ext_screen.h"

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
bool gc_unit(const ExtScreen& s) { return is_gc(unit_modtype(s.unit)); }
bool one_to_n(const ExtScreen& s) { return gc_unit(s) && sel_1toN == 1; }
bool disc_present(const ExtScreen& s) { return s.values.has_disc; }
bool notice_present(const ExtScreen& s) { return s.values.has_notice; }
bool chat_present(const ExtScreen& s) { return s.values.has_chat; }

// ---- the 1:N selector ----
int start_1ton(ExtScreen&, int) { return sel_1toN; }

// The choice stays marked while the other sections are used.
void mark_1ton(ExtScreen&, int)
{
    if (sel_1toN == 1 || sel_1toN == 2) {
        set_pair(win_ex1ton[sel_1toN], PAIR_MARKED);
        doupdate();
    }
}

// "有効" leads on to connection 1; Enter on "無効" changes nothing.
Outcome enter_1ton(ExtScreen&, int, int item)
{
    return item == 1 ? Outcome::NextRow : Outcome::Stay;
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

int start_grid(ExtScreen&, int) { return sel_tcp; }
int start_conn34(ExtScreen&, int) { return sel_tcp < 2 ? sel_tcp : 2; }

// "有効" (true) / "無効" (false) in a two-choice form.
int choose_flag(unsigned form, int row, int col, bool& flag)
{
    const int c = choose_form(form, row, col, flag ? 1 : 2, win_extset);
    if (c == 1 || c == 2) flag = c == 1;
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
int edit_dest(ExtSettings& v, unsigned form, int row, int col, int r)
{
    char out[FORM_TEXT_MAX] = {};
    const int res = edit_form(form, row, col, v.dest[r], out, sizeof out, win_extset);
    if (res == 1 && !as_shown(out, v.dest[r], form)) set_ext_dest(v, r, out);
    return res;
}

Outcome enter_grid(ExtScreen& s, int mode, int item)
{
    const int r = mode - EXSEC_CONN1;
    if (r < 0 || r > 2 || item < 1 || item > (r == 2 ? 2 : GRID_COLUMNS)) return Outcome::Stay;
    ExtSettings& v = s.values;
    const GridColumn& g = kGrid[item - 1];
    const bool gc = gc_unit(s);
    const unsigned form = gc ? g.gc_form : g.form;
    const int row = 2 * (mode + 1);
    const int col = gc ? g.gc_form_col : g.form_col;
    int res = 0;
    switch (g.what) {
    case Stored::Port:
        res = ex_edit_number(form, row, col, v.port[r]);
        break;
    case Stored::Wait:
        // Connection 1 always waits for connections.
        if (r == 0) {
            MyMsgBox("接続1 のこの項目は", "変更できません。", MSG_ROW_FORM, win_extset);
            return Outcome::Stay;
        }
        res = choose_flag(form, row, col, v.wait[r]);
        break;
    case Stored::Request:
        // A WiFi module always connects to its destination.
        if (is_wifi(unit_modtype(s.unit))) return Outcome::Stay;
        res = choose_flag(form, row, col, v.request[r]);
        break;
    case Stored::Dest:
        res = edit_dest(v, form, row, col, r);
        break;
    case Stored::DestPort:
        res = ex_edit_number(form, row, col, v.dport[r]);
        if (res == 1) s.dport_shown[r] = true;
        break;
    }
    if (res == MENU_QUIT) return Outcome::Quit;
    ex_show_row(s, r);
    doupdate();
    return Outcome::Stay;
}

// ---- the controller settings and the button ----
Outcome enter_disc(ExtScreen& s, int, int) { return ex_edit_setting(s, EXS_DISC); }
Outcome enter_notice(ExtScreen& s, int, int) { return ex_edit_setting(s, EXS_NOTICE); }
Outcome enter_chat(ExtScreen& s, int, int) { return ex_edit_setting(s, EXS_CHAT); }
Outcome enter_send(ExtScreen& s, int, int) { return apply_ext_screen(s); }

// Up and Down go to the previous and the next section present now, both
// ends wrapping. So Down from a grid row reaches connection 2 only with
// 1:N on, else the first of the disconnection time, notice, chattering and
// the button the model has; Up from those reaches the one above it that
// the model has, else the last grid row in use; the button leads down to
// the selector of a GC unit, else to connection 1.
const RowSpec<ExtScreen> kSections[] = {
    {.mode = EXSEC_1TON,
     .wins = win_ex1ton,
     .items = 2,
     .present = gc_unit,
     .start = start_1ton,
     .onchange = OnChangeSel1toN,
     .enter = enter_1ton,
     .leave = mark_1ton},
    {.mode = EXSEC_CONN1,
     .wins = win_extcp[0],
     .items = GRID_COLUMNS,
     .start = start_grid,
     .onchange = OnChangeSelTCP,
     .enter = enter_grid},
    {.mode = EXSEC_CONN2,
     .wins = win_extcp[1],
     .items = GRID_COLUMNS,
     .present = one_to_n,
     .start = start_grid,
     .onchange = OnChangeSelTCP,
     .enter = enter_grid},
    {.mode = EXSEC_CONN34,
     .wins = win_extcp[2],
     .items = 2,
     .present = one_to_n,
     .start = start_conn34,
     .onchange = OnChangeSelTCP,
     .enter = enter_grid},
    {.mode = EXSEC_DISC, .wins = win_exdisc, .present = disc_present, .enter = enter_disc},
    {.mode = EXSEC_NOTICE, .wins = win_exnotice, .present = notice_present, .enter = enter_notice},
    {.mode = EXSEC_CHAT, .wins = win_exchat, .present = chat_present, .enter = enter_chat},
    {.mode = EXSEC_SEND, .wins = win_exsend, .enter = enter_send},
};

// The design's per-section entries: one pass of the current section.
int run_current(int index)
{
    ExtScreen s = ext_screen(index);
    return screen_result(run_row(kSections, s, exselect_mode));
}

}  // namespace

int ex_edit_number(unsigned form, int row, int col, int& value)
{
    char preset[16];
    char out[FORM_TEXT_MAX] = {};
    std::snprintf(preset, sizeof preset, "%d", value);
    const int r = edit_form(form, row, col, preset, out, sizeof out, win_extset);
    if (r == 1) value = decimal_value(out);
    return r;
}

Outcome run_ext_rows(ExtScreen& s) { return run_rows(kSections, s, exselect_mode); }

int ex_section_after(int unit, int section, Move dir)
{
    return row_target(kSections, ext_screen(unit), section, dir);
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
