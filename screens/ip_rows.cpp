// The row machine of the IP screens: one step per row, the moves between
// rows, the DHCP row's callbacks and the editing of the three address fields.
#include "screens/KIVRAMainSet.h"
#include "screens/ip_screen.h"

#include "device/KIVRAXPort.h"
#include "shell/KIVRASet.h"
#include "ui/NQ_Forms.h"
#include "ui/NQ_Menu.h"
#include "ui/text_copy.h"

#include <cstdio>

int ipselect_mode = IPROW_DHCP;
int dhcp_sel = 2;

namespace {

constexpr int ANY = -1;

// One way of leaving a row; the first rule that matches decides.
struct IpRowMove {
    int row;
    int move;
    int dhcp_on;  // 1 "ON" chosen, 0 "OFF" chosen, ANY
    int samenet;  // 1 SetIPMenu, 0 SetIPOnly, ANY
    int to;
};

// While "ON" is chosen the address, mask and gateway rows are skipped.
constexpr IpRowMove kIpRowMoves[] = {
    {IPROW_DHCP, IPMOVE_UP, ANY, ANY, IPROW_APPLY},
    {IPROW_DHCP, IPMOVE_DOWN, 1, ANY, IPROW_APPLY},
    {IPROW_DHCP, IPMOVE_DOWN, 0, ANY, IPROW_ADDRESS},
    {IPROW_ADDRESS, IPMOVE_UP, ANY, ANY, IPROW_DHCP},
    {IPROW_ADDRESS, IPMOVE_DOWN, ANY, 1, IPROW_MASK},
    {IPROW_ADDRESS, IPMOVE_DOWN, ANY, 0, IPROW_APPLY},
    {IPROW_MASK, IPMOVE_UP, ANY, ANY, IPROW_ADDRESS},
    {IPROW_MASK, IPMOVE_DOWN, ANY, ANY, IPROW_GATEWAY},
    {IPROW_GATEWAY, IPMOVE_UP, ANY, ANY, IPROW_MASK},
    {IPROW_GATEWAY, IPMOVE_DOWN, ANY, ANY, IPROW_APPLY},
    {IPROW_APPLY, IPMOVE_UP, 1, ANY, IPROW_DHCP},
    {IPROW_APPLY, IPMOVE_UP, 0, 1, IPROW_GATEWAY},
    {IPROW_APPLY, IPMOVE_UP, 0, 0, IPROW_ADDRESS},
    {IPROW_APPLY, IPMOVE_DOWN, ANY, ANY, IPROW_DHCP},
};

bool matches(int rule, int value) { return rule == ANY || rule == (value != 0 ? 1 : 0); }

int unit_samenet(int i)
{
    if (i < 0 || i >= xportcount) return 0;
    return xportset[i].samenet != 0 ? 1 : 0;
}

void set_pair(WINDOW* w, int pair)
{
    if (w == nullptr) return;
    wbkgd(w, COLOR_PAIR(pair));
    wnoutrefresh(w);
}

// Greys the address fields while DHCP is on.
void grey_fields(WINDOW* const* fields, int count, int sel)
{
    for (int k = 0; k < count; k++) set_pair(fields[k], sel == 1 ? 7 : 4);
    doupdate();
}

// A field window shows its edit buffer from its first column.
void show_field(WINDOW* w, const char* text)
{
    if (w == nullptr) return;
    werase(w);
    mvwaddstr(w, 0, 0, text);
    wnoutrefresh(w);
}

// Edits one field in catalogue form `form`: -1 after F9, else 0 (the buffer
// holds the confirmed text, or stays as it was).
int edit_field(unsigned form, char* buf, WINDOW* field)
{
    if (form >= static_cast<unsigned>(nforms)) return 0;
    MyForm& f = myforms[form];
    show_form(form);
    if (f.fields[1] != nullptr) set_field_buffer(f.fields[1], 0, buf);
    if (f.win != nullptr) {
        touchwin(f.win);
        wrefresh(f.win);
    }
    char text[FORM_TEXT_MAX] = {};
    int r = get_input1(&f, text, static_cast<int>(sizeof text));
    hide_form(form);
    if (win_ipset[0] != nullptr) {
        touchwin(win_ipset[0]);
        wrefresh(win_ipset[0]);
    }
    if (r == -999) return -1;
    // Only a plain dotted address ever replaces the buffer.
    if (r == 1 && parse_dotted_quad(text, nullptr)) {
        copy_text(buf, IP_TEXT_LEN, text);
        show_field(field, buf);
        doupdate();
    }
    return 0;
}

// The common end of a row's menu: F9 ends the screen with -1, Esc with -2.
int screen_end(int r)
{
    if (r == -999) return -1;
    if (r == 0) return -2;
    return 0;
}

// Rows 2, 4 and 5: a field (item 1), on row 2 also "PING送信" (item 2).
int field_row(int row, WINDOW** wins, int nitems, unsigned form, char* buf, int i)
{
    if (buf == nullptr || wins[1] == nullptr) return -2;
    show_field(wins[1], buf);
    int r = select_menu(wins, nitems, 0, 3, 0, 1, nullptr);
    if (int end = screen_end(r); end != 0) return end;
    if (r == -1 || r == -2) {
        ipselect_mode =
            ip_next_row(row, r == -1 ? IPMOVE_UP : IPMOVE_DOWN, dhcp_sel == 1, unit_samenet(i));
        return 0;
    }
    if (r == 1) return edit_field(form, buf, wins[1]) < 0 ? -1 : 0;
    if (r == 2) CheckPing(buf, i);
    return 0;
}

}  // namespace

int ip_next_row(int row, int move, int dhcp_on, int samenet)
{
    for (const IpRowMove& m : kIpRowMoves) {
        if (m.row == row && m.move == move && matches(m.dhcp_on, dhcp_on) &&
            matches(m.samenet, samenet))
            return m.to;
    }
    return 0;  // no such row: the screen ends
}

int OnChangeSelDHCP(int sel)
{
    dhcp_sel = sel;
    WINDOW* fields[] = {win_ipset[1]};
    grey_fields(fields, 1, sel);
    return 0;
}

int OnChangeSelDHCPSame(int sel)
{
    dhcp_sel = sel;
    WINDOW* fields[] = {win_ipset[1], win_subnetset[1], win_gatewayset[1]};
    grey_fields(fields, 3, sel);
    return 0;
}

int loop_ipset(char*, int i)
{
    int samenet = unit_samenet(i);
    int r = select_menu(win_dhcpset, 2, 0, 3, 0, dhcp_sel,
                        samenet ? OnChangeSelDHCPSame : OnChangeSelDHCP);
    if (int end = screen_end(r); end != 0) return end;
    // The choice stays marked while the other rows are used.
    if (dhcp_sel == 1 || dhcp_sel == 2) {
        set_pair(win_dhcpset[dhcp_sel], 6);
        doupdate();
    }
    ipselect_mode =
        ip_next_row(IPROW_DHCP, r == -1 ? IPMOVE_UP : IPMOVE_DOWN, dhcp_sel == 1, samenet);
    return 0;
}

int loop_ipset2(char* addr, int i) { return field_row(IPROW_ADDRESS, win_ipset, 2, 2, addr, i); }

int loop_ipset_subnet(char* mask, int i)
{
    return field_row(IPROW_MASK, win_subnetset, 1, 3, mask, i);
}

int loop_ipset_gateway(char* gw, int i)
{
    return field_row(IPROW_GATEWAY, win_gatewayset, 1, 4, gw, i);
}

int loop_ipset3(char* addr, char* mask, char* gw, int i)
{
    int r = select_menu(win_sendipset, 1, 0, 3, 0, 1, nullptr);
    if (int end = screen_end(r); end != 0) return end;
    if (r == -1 || r == -2) {
        ipselect_mode = ip_next_row(IPROW_APPLY, r == -1 ? IPMOVE_UP : IPMOVE_DOWN, dhcp_sel == 1,
                                    unit_samenet(i));
        return 0;
    }
    return OnSetIP(addr, mask, gw, i) == 1 ? 1 : 0;
}
