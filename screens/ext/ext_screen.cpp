// The input extension screen: its layout, the opening (the connection
// values first, then the controller settings shown as they arrive) and the
// drawing of its values.
#include "screens/ext/ext_screen.h"

#include "screens/KIVRAMainSet.h"
#include "ui/NQ_Menu.h"
#include "ui/colour_pairs.h"

#include <cstdio>

ExtSettings extset;
WINDOW* win_extset;
WINDOW* win_ex1ton[3];
WINDOW* win_extcp[3][6];
WINDOW* win_exdisc[2];
WINDOW* win_exnotice[2];
WINDOW* win_exchat[2];
WINDOW* win_exsend[2];

// The settings menu's frame, under the message when the unit cannot be read.
extern WINDOW* win_mainset[5];

namespace {

bool gc(const ExtScreen& s) { return is_gc(unit_modtype(s.unit)); }
bool has_disc(const ExtScreen& s) { return s.values.has_disc; }
bool has_notice(const ExtScreen& s) { return s.values.has_notice; }
bool has_chat(const ExtScreen& s) { return s.values.has_chat; }
bool chat_form_is(const ExtScreen& s, FormId form)
{
    const ExForm* f = ex_form(EXS_CHAT, unit_model(s.unit));
    return f != nullptr && f->form == form;
}
bool chat_from_0(const ExtScreen& s) { return chat_form_is(s, FORM_CHATTER_0); }
bool chat_from_4(const ExtScreen& s) { return chat_form_is(s, FORM_CHATTER); }

// A row of the connection grid: own port, wait, request, destination, destination port.
#define EX_GRID(r, row, present)                                      \
    LAYOUT_ITEM(&win_extcp[r][1], row, 14, 8, nullptr, present),      \
        LAYOUT_ITEM(&win_extcp[r][2], row, 24, 8, nullptr, present),  \
        LAYOUT_ITEM(&win_extcp[r][3], row, 34, 8, nullptr, present),  \
        LAYOUT_ITEM(&win_extcp[r][4], row, 44, 18, nullptr, present), \
        LAYOUT_ITEM(&win_extcp[r][5], row, 64, 8, nullptr, present)

// The screen window at screen row 2, column 1; everything else inside it.
const WindowSpec<ExtScreen> kLayout[] = {
    {&win_extset, -1, 2, 1, 20, 78, PAIR_BASE, nullptr, true, nullptr},
    LAYOUT_LABEL(0, 1, "入力延長設定", nullptr),
    LAYOUT_LABEL(4, 14, "自ポート  接続待ち  接続要求  接続先              接続先ポート", nullptr),
    LAYOUT_LABEL(5, 3, "接続1  :", nullptr),
    LAYOUT_LABEL(2, 3, "TCP 1:N 接続:", gc),
    LAYOUT_LABEL(7, 3, "接続2  :", gc),
    LAYOUT_LABEL(9, 3, "接続3,4:", gc),
    LAYOUT_ITEM(&win_ex1ton[1], 2, 18, 8, "有効", gc),
    LAYOUT_ITEM(&win_ex1ton[2], 2, 28, 8, "無効", gc),
    EX_GRID(0, 5, nullptr),
    EX_GRID(1, 7, gc),
    LAYOUT_ITEM(&win_extcp[2][1], 9, 14, 8, nullptr, gc),
    LAYOUT_ITEM(&win_extcp[2][2], 9, 24, 8, nullptr, gc),
    LAYOUT_LABEL(12, 3, "切断時間  :", has_disc),
    LAYOUT_ITEM(&win_exdisc[1], 12, 18, 10, nullptr, has_disc),
    LAYOUT_LABEL(14, 3, "定期通知  :", has_notice),
    LAYOUT_ITEM(&win_exnotice[1], 14, 18, 10, nullptr, has_notice),
    LAYOUT_LABEL(16, 3, "チャタリング:", has_chat),
    LAYOUT_LABEL(16, 25, "ms   (設定可能範囲:[0-20 ms])", chat_from_0),
    LAYOUT_LABEL(16, 25, "ms   (設定可能範囲:[4-20 ms])", chat_from_4),
    LAYOUT_ITEM(&win_exchat[1], 16, 18, 6, nullptr, has_chat),
    LAYOUT_ITEM(&win_exsend[1], 18, 50, 16, "設定反映", nullptr),
};

#undef EX_GRID

// A controller setting has arrived from the unit.
void show_arrived(int unit, const ExtSettings& v, int shows)
{
    ex_show_setting(unit, v, ext_shown_setting(shows));
    doupdate();
}

// The whole screen with the connection values comes first; the controller
// values appear as they are read.
Outcome run_screen(ExtScreen& s)
{
    ScreenWindows windows(kLayout, s);
    if (!windows.ok()) return Outcome::Stay;
    for (int r = 0; r < 3; r++) ex_show_row(s, r);
    if (gc(s)) {
        set_pair(win_ex1ton[sel_1toN], PAIR_MARKED);
        ex_grey_rows(s.values.tcp1ton);
    }
    doupdate();
    const StepResult read = read_ext_controls(s.unit, s.values, show_arrived);
    if (!read.ok()) {
        show_failure(read, win_extset);
        return Outcome::Stay;
    }
    exselect_mode = gc(s) ? EXSEC_1TON : EXSEC_CONN1;
    return run_ext_rows(s);
}

}  // namespace

ExtScreen ext_screen(int unit)
{
    ExtScreen s{unit, extset, {}};
    s.dport_shown[0] = is_wifi(unit_modtype(unit)) || extset.dest[0][0] != '\0';
    s.dport_shown[1] = extset.dest[1][0] != '\0';
    return s;
}

void ex_show_row(const ExtScreen& s, int r)
{
    if (r < 0 || r > 2) return;
    const ExtSettings& v = s.values;
    WINDOW** w = win_extcp[r];
    char text[16];
    std::snprintf(text, sizeof text, "%d", v.port[r]);
    show_text(w[1], text);
    show_text(w[2], v.wait[r] ? "有効" : "無効");
    if (r == 2) return;
    show_text(w[3], v.request[r] ? "有効" : "無効");
    show_text(w[4], v.dest[r]);
    text[0] = '\0';
    if (s.dport_shown[r]) std::snprintf(text, sizeof text, "%d", v.dport[r]);
    show_text(w[5], text);
}

void ex_show_setting(int unit, const ExtSettings& v, ExSetting s)
{
    WINDOW* w = s == EXS_DISC ? win_exdisc[1] : s == EXS_NOTICE ? win_exnotice[1] : win_exchat[1];
    const ExForm* f = ex_form(s, unit_model(unit));
    char text[16] = "";
    // A code read from the unit may name a slot without text: it shows empty.
    if (f != nullptr && f->choices != nullptr)
        std::snprintf(text, sizeof text, "%s", choice_text(f->choices, 16, ex_value(v, s)));
    else if (f != nullptr)
        std::snprintf(text, sizeof text, "%d", ex_value(v, s));
    show_text(w, text);
}

void ex_grey_rows(int on)
{
    for (int r = 1; r <= 2; r++)
        for (int c = 1; c <= GRID_COLUMNS; c++)
            set_pair(win_extcp[r][c], on ? PAIR_ITEM : PAIR_GREY);
}

int SetInputExtendMenu(int index)
{
    // The apply writes whole record images back, so they must come from the unit.
    const StepResult read = read_ext_connections(index, extset);
    if (!read.ok()) {
        show_failure(read, win_mainset[0]);
        return 0;
    }
    ExtScreen s = ext_screen(index);
    sel_1toN = extset.tcp1ton ? 1 : 2;
    sel_tcp = 1;
    const Outcome o = run_screen(s);
    return o == Outcome::Stay ? 0 : screen_result(o);
}
