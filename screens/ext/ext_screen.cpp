// The input extension screen: its layout, the opening (connection values
// from the unit's record images or WiFi parameters, then the controller
// settings read from the unit) and the loop over its sections.
#include "screens/ext/ext_screen.h"

#include "device/record_fields.h"
#include "screens/KIVRAMainSet.h"
#include "screens/legacy_driver.h"
#include "base/bounded_text.h"
#include "ui/NQ_Menu.h"
#include "ui/colour_pairs.h"

#include <cstdio>
#include <cstring>
#include <memory>

ExtSet extset;
WINDOW* win_extset;
WINDOW* win_ex1ton[3];
WINDOW* win_extcp[3][6];
WINDOW* win_exdisc[2];
WINDOW* win_exnotice[2];
WINDOW* win_exchat[2];
WINDOW* win_exsend[2];
int ex_dest_cut[2];
int ex_dport_shown[2];

// The settings menu's frame, under the message when the unit cannot be read.
extern WINDOW* win_mainset[5];


int ex_request_code(int unit)
{
    if (unit < 0 || unit >= XPORT_MAX || is_wifi(unit_modtype(unit))) return 1;
    const int model = unit_model(unit);
    return model == 3 || model == 4 ? 5 : 1;
}

namespace {

bool gc(int unit) { return is_gc(unit_modtype(unit)); }
bool has_disc(int unit) { return ex_control(EXS_DISC, unit_model(unit)) != nullptr; }
bool has_notice(int unit) { return ex_control(EXS_NOTICE, unit_model(unit)) != nullptr; }
bool has_chat(int unit) { return ex_control(EXS_CHAT, unit_model(unit)) != nullptr; }
bool chat_from_0(int unit)
{
    const ExControl* c = ex_control(EXS_CHAT, unit_model(unit));
    return c != nullptr && c->form == FORM_CHATTER_0;
}
bool chat_from_4(int unit)
{
    const ExControl* c = ex_control(EXS_CHAT, unit_model(unit));
    return c != nullptr && c->form == FORM_CHATTER;
}

// A row of the connection grid: own port, wait, request, destination, destination port.
#define EX_GRID(r, row, present)                                  \
    LAYOUT_ITEM(&win_extcp[r][1], row, 14, 8, nullptr, present),      \
        LAYOUT_ITEM(&win_extcp[r][2], row, 24, 8, nullptr, present),  \
        LAYOUT_ITEM(&win_extcp[r][3], row, 34, 8, nullptr, present),  \
        LAYOUT_ITEM(&win_extcp[r][4], row, 44, 18, nullptr, present), \
        LAYOUT_ITEM(&win_extcp[r][5], row, 64, 8, nullptr, present)

// The screen window at screen row 2, column 1; everything else inside it.
const LegacyWindowSpec kLayout[] = {
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

std::unique_ptr<ScreenWindows> ex_windows;

// A destination text of record 7: none when it is empty or "0.0.0.0".
void take_dest_text(const uint8_t* setup7, const RecordField& f, int r)
{
    char full[64];
    const size_t n = get_text(setup7, f, full, sizeof full);
    if (n == 0 || std::strcmp(full, "0.0.0.0") == 0) return;
    ex_dest_cut[r] = copy_text(extset.dest[r], EXT_DEST_LEN, full) < n;
}

// Connection values as the unit holds them. A destination port is kept
// even when its destination is not shown, so that it is written back as it was.
void read_connections(int unit)
{
    const DeviceEntry& e = xportset[unit];
    const int k = ex_request_code(unit);
    extset.wait[0] = 1;
    if (is_wifi(unit_modtype(unit))) {
        extset.port[0] = e.esp_port;
        extset.request[0] = 1;
        const size_t n = strnlen(e.hip, sizeof e.hip);
        ex_dest_cut[0] = copy_text_n(extset.dest[0], EXT_DEST_LEN, e.hip, sizeof e.hip) < n;
        extset.dport[0] = e.hport;
        ex_dport_shown[0] = 1;
        return;
    }
    extset.port[0] = get_le16(e.setup0, rec::cmd_port);
    extset.request[0] = (get_byte(e.setup0, rec::mode1) & 0x0F) == k;
    extset.dport[0] = get_le16(e.setup0, rec::dport1);
    if (is_gc(unit_modtype(unit))) {
        take_dest_text(e.setup7, rec::dest1_text, 0);
    } else if (const in_addr_t ip = get_ipv4(e.setup0, rec::dest1_ip); ip != 0) {
        const uint8_t* b = e.setup0 + rec::dest1_ip.offset;
        std::snprintf(extset.dest[0], EXT_DEST_LEN, "%d.%d.%d.%d", b[0], b[1], b[2], b[3]);
    }
    ex_dport_shown[0] = extset.dest[0][0] != '\0';
    if (!is_gc(unit_modtype(unit))) return;

    const int mode2 = get_byte(e.setup0, rec::mode2);
    const int mode3 = get_byte(e.setup3, rec::mode3);
    extset.port[1] = get_le16(e.setup0, rec::port2);
    extset.wait[1] = mode2 >= 0xC0;
    extset.request[1] = (mode2 & 0x0F) == k;
    take_dest_text(e.setup7, rec::dest2_text, 1);
    extset.dport[1] = get_le16(e.setup0, rec::dport2);
    ex_dport_shown[1] = extset.dest[1][0] != '\0';
    extset.port[2] = get_le16(e.setup3, rec::port3);
    extset.wait[2] = mode3 >= 0xC0;
    extset.tcp1ton = extset.wait[1] || extset.request[1] || extset.wait[2];
}

// The controller settings the model has, 20 ms apart; the first failure
// shows its message and ends the opening.
int read_controls(int unit)
{
    Step steps[EX_CONTROL_STEPS];
    const int n = ex_control_steps(unit_model(unit), false, steps);
    return run_steps(steps, n, unit, nullptr, win_extset);
}

// One pass of the current section.
int run_section(int index)
{
    switch (exselect_mode) {
    case EXSEC_1TON:
        return loop_1toNset(index);
    case EXSEC_CONN1:
    case EXSEC_CONN2:
    case EXSEC_CONN34:
        return loop_tcpset(index);
    case EXSEC_DISC:
        return loop_disc(index);
    case EXSEC_NOTICE:
        return loop_notice(index);
    case EXSEC_CHAT:
        return loop_chat(index);
    case EXSEC_SEND:
        return loop_exsend(index);
    default:
        return -2;
    }
}

}  // namespace

void ex_show_row(int, int r)
{
    if (r < 0 || r > 2) return;
    WINDOW** w = win_extcp[r];
    char text[16];
    std::snprintf(text, sizeof text, "%d", extset.port[r]);
    show_text(w[1], text);
    show_text(w[2], extset.wait[r] ? "有効" : "無効");
    if (r == 2) return;
    show_text(w[3], extset.request[r] ? "有効" : "無効");
    show_text(w[4], extset.dest[r]);
    text[0] = '\0';
    if (ex_dport_shown[r]) std::snprintf(text, sizeof text, "%d", extset.dport[r]);
    show_text(w[5], text);
}

void ex_show_setting(int unit, ExSetting s)
{
    WINDOW* w = s == EXS_DISC ? win_exdisc[1] : s == EXS_NOTICE ? win_exnotice[1] : win_exchat[1];
    char text[16];
    ex_value_text(s, unit_model(unit), text, sizeof text);
    show_text(w, text);
}

void ex_grey_rows(int on)
{
    for (int r = 1; r <= 2; r++)
        for (int c = 1; c <= GRID_COLUMNS; c++)
            set_pair(win_extcp[r][c], on ? PAIR_ITEM : PAIR_GREY);
}

void DeleteExMenu(int) { ex_windows.reset(); }

int SetInputExtendMenu(int index)
{
    if (index < 0 || index >= xportcount || index >= XPORT_MAX) return 0;
    // The apply writes whole record images back, so they must come from the unit.
    if (!is_wifi(unit_modtype(index)) && EnsureUnitData(index) != 0) {
        MyMsgBox("通信エラー", "", MSG_ROW_MENU, win_mainset[0]);
        return 0;
    }
    extset = ExtSet{};
    for (int r = 0; r < 2; r++) ex_dest_cut[r] = ex_dport_shown[r] = 0;
    const int model = unit_model(index);
    extset.has_disc = ex_control(EXS_DISC, model) != nullptr;
    extset.has_notice = ex_control(EXS_NOTICE, model) != nullptr;
    extset.has_chat = ex_control(EXS_CHAT, model) != nullptr;
    read_connections(index);
    sel_1toN = extset.tcp1ton ? 1 : 2;
    sel_tcp = 1;

    // The whole screen with the connection values comes first; the
    // controller values appear as they are read.
    ex_windows = std::make_unique<ScreenWindows>(kLayout, index);
    struct Closer {
        int index;
        ~Closer() { DeleteExMenu(index); }
    } closer{index};
    if (!ex_windows->ok()) return 0;
    for (int r = 0; r < 3; r++) ex_show_row(index, r);
    if (is_gc(unit_modtype(index))) {
        set_pair(win_ex1ton[sel_1toN], PAIR_MARKED);
        ex_grey_rows(extset.tcp1ton);
    }
    doupdate();
    if (read_controls(index) != 0) return 0;

    exselect_mode = is_gc(unit_modtype(index)) ? EXSEC_1TON : EXSEC_CONN1;
    for (;;) {
        const int r = run_section(index);
        if (r == 0) continue;
        if (r != 1) return r;
        if (OnSendExSet(index) == 1) return 1;
    }
}
