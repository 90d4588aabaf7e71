// The two IP address screens: SetIPMenu for a unit in one of the host's
// networks (DHCP, address, mask, gateway) and SetIPOnly for a unit outside
// them (DHCP and address only). Their layouts are below; their rows run on
// the screen driver (ip_rows.cpp).
#include "screens/ip/ip_screen.h"
#include "screens/KIVRAMainSet.h"

#include "base/DebugLog.h"
#include "device/KIVRAXPort.h"
#include "ui/NQ_Menu.h"
#include "ui/colour_pairs.h"

WINDOW* win_ipset[3];
WINDOW* win_dhcpset[3];
WINDOW* win_subnetset[2];
WINDOW* win_gatewayset[2];
WINDOW* win_sendipset[2];

// The settings menu's windows (element 0 its frame), redrawn when SetIPMenu
// returns to it.
extern WINDOW* win_mainset[5];

namespace {

// The frame at screen row 13, column 1; everything else inside it.
const WindowSpec<IpScreen> kMenuLayout[] = {
    {&win_ipset[0], -1, 13, 1, 10, 78, PAIR_BASE, nullptr, true, nullptr},
    LAYOUT_LABEL(0, 1, "IPアドレス設定", nullptr),
    LAYOUT_LABEL(2, 3, "IPアドレス自動取得 :", nullptr),
    LAYOUT_LABEL(4, 3, "設定するIPアドレス :", nullptr),
    LAYOUT_LABEL(5, 3, "サブネットマスク   :", nullptr),
    LAYOUT_LABEL(6, 3, "ゲートウェイ:", nullptr),
    LAYOUT_ITEM(&win_dhcpset[1], 2, 25, 8, "ON", nullptr),
    LAYOUT_ITEM(&win_dhcpset[2], 2, 35, 8, "OFF", nullptr),
    LAYOUT_ITEM(&win_ipset[1], 4, 25, 18, nullptr, nullptr),
    LAYOUT_ITEM(&win_ipset[2], 4, 45, 10, "PING送信", nullptr),
    LAYOUT_ITEM(&win_subnetset[1], 5, 25, 18, nullptr, nullptr),
    LAYOUT_ITEM(&win_gatewayset[1], 6, 25, 18, nullptr, nullptr),
    LAYOUT_ITEM(&win_sendipset[1], 8, 25, 18, "設定反映", nullptr),
};

const WindowSpec<IpScreen> kOnlyLayout[] = {
    {&win_ipset[0], -1, 13, 1, 10, 78, PAIR_BASE, nullptr, true, nullptr},
    LAYOUT_LABEL(0, 1, "サブネット外 : IPアドレスのみ変更可能", nullptr),
    LAYOUT_LABEL(2, 3, "IPアドレス自動取得 :", nullptr),
    LAYOUT_LABEL(4, 3, "設定するIPアドレス :", nullptr),
    LAYOUT_ITEM(&win_dhcpset[1], 2, 25, 8, "ON", nullptr),
    LAYOUT_ITEM(&win_dhcpset[2], 2, 35, 8, "OFF", nullptr),
    LAYOUT_ITEM(&win_ipset[1], 4, 25, 18, nullptr, nullptr),
    LAYOUT_ITEM(&win_ipset[2], 4, 45, 10, "PING送信", nullptr),
    LAYOUT_ITEM(&win_sendipset[1], 6, 25, 18, "設定反映", nullptr),
};

// Opens the layout, shows the values (the address-only layout has no mask
// and gateway fields) and runs the rows from the DHCP row.
template <size_t N>
Outcome run_screen(const WindowSpec<IpScreen> (&layout)[N], IpScreen& s)
{
    ScreenWindows windows(layout, s);
    show_address(win_ipset[1], s.values.address);
    show_address(win_subnetset[1], s.values.netmask);
    show_address(win_gatewayset[1], s.values.gateway);
    doupdate();
    ipselect_mode = IPROW_DHCP;
    dhcp_sel = s.values.dhcp ? 1 : 2;
    return windows.ok() ? run_ip_rows(s) : Outcome::Back;
}

}  // namespace

int SetIPMenu(int i)
{
    PrnDebug("IP Setting Menu\n");
    if (i < 0 || i >= xportcount) return -2;
    // The screen shows and writes back what was read from the unit, never zeros.
    IpScreen s{i, {}};
    const StepResult read = read_ip_settings(i, s.values);
    if (!read.ok()) {
        show_failure(read, win_mainset[0]);
        return -2;
    }
    const Outcome r = run_screen(kMenuLayout, s);
    redraw_screen();
    redraw(win_mainset[0]);
    return screen_result(r);
}

int SetIPOnly(int i)
{
    PrnDebug("Entering IP Only setup\n");
    if (i < 0 || i >= xportcount) return -2;
    // The address-only change is the XPort's "IP-SETUP" broadcast, which a
    // WiFi module does not answer: its address is set from inside its network.
    if (is_wifi(xportset[i])) {
        MyMsgBox("この機器はサブネット外から", "IPアドレスを設定できません。", MSG_ROW_MENU,
                 nullptr);
        redraw_screen();
        return -2;
    }
    // The DHCP state of a unit outside the host's networks has not been read.
    IpScreen s{i, {}};
    read_ip_address(i, s.values);
    const Outcome r = run_screen(kOnlyLayout, s);
    redraw_screen();
    return screen_result(r);
}

void ip_message(const char* line1, const char* line2)
{
    MyMsgBox(line1, line2, MSG_ROW_MENU, win_ipset[0]);
}
