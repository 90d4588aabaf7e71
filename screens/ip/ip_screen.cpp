// The two IP address screens: SetIPMenu for a unit in one of the host's
// networks (DHCP, address, mask, gateway) and SetIPOnly for a unit outside
// them (DHCP and address only). Their layouts are below; their rows run on
// the screen driver (ip_rows.cpp).
#include "screens/ip/ip_screen.h"
#include "screens/KIVRAMainSet.h"

#include "device/KIVRAXPort.h"
#include "screens/screen_driver.h"
#include "base/DebugLog.h"
#include "ui/NQ_Menu.h"
#include "ui/colour_pairs.h"

#include <cstdio>

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
#define IP_FRAME                                                            \
    {                                                                       \
        &win_ipset[0], -1, 13, 1, 10, 78, PAIR_BASE, nullptr, true, nullptr \
    }
#define IP_ITEM(slot, row, col, cols, text)                         \
    {                                                               \
        slot, 0, row, col, 1, cols, PAIR_ITEM, text, false, nullptr \
    }
#define IP_LABEL(row, col, text)                            \
    {                                                       \
        nullptr, 0, row, col, 0, 0, 0, text, false, nullptr \
    }

const WindowSpec kMenuLayout[] = {
    IP_FRAME,
    IP_LABEL(0, 1, "IPアドレス設定"),
    IP_LABEL(2, 3, "IPアドレス自動取得 :"),
    IP_LABEL(4, 3, "設定するIPアドレス :"),
    IP_LABEL(5, 3, "サブネットマスク   :"),
    IP_LABEL(6, 3, "ゲートウェイ:"),
    IP_ITEM(&win_dhcpset[1], 2, 25, 8, "ON"),
    IP_ITEM(&win_dhcpset[2], 2, 35, 8, "OFF"),
    IP_ITEM(&win_ipset[1], 4, 25, 18, nullptr),
    IP_ITEM(&win_ipset[2], 4, 45, 10, "PING送信"),
    IP_ITEM(&win_subnetset[1], 5, 25, 18, nullptr),
    IP_ITEM(&win_gatewayset[1], 6, 25, 18, nullptr),
    IP_ITEM(&win_sendipset[1], 8, 25, 18, "設定反映"),
};

const WindowSpec kOnlyLayout[] = {
    IP_FRAME,
    IP_LABEL(0, 1, "サブネット外 : IPアドレスのみ変更可能"),
    IP_LABEL(2, 3, "IPアドレス自動取得 :"),
    IP_LABEL(4, 3, "設定するIPアドレス :"),
    IP_ITEM(&win_dhcpset[1], 2, 25, 8, "ON"),
    IP_ITEM(&win_dhcpset[2], 2, 35, 8, "OFF"),
    IP_ITEM(&win_ipset[1], 4, 25, 18, nullptr),
    IP_ITEM(&win_ipset[2], 4, 45, 10, "PING送信"),
    IP_ITEM(&win_sendipset[1], 6, 25, 18, "設定反映"),
};

#undef IP_FRAME
#undef IP_ITEM
#undef IP_LABEL

}  // namespace

int SetIPMenu(int i)
{
    PrnDebug("IP Setting Menu\n");
    if (i < 0 || i >= xportcount) return -2;
    // The screen shows and writes back what was read from the unit, never zeros.
    IpSettings values;
    const StepResult read = read_ip_settings(i, values);
    if (!read.ok()) {
        show_failure(read, win_mainset[0]);
        return -2;
    }
    char addr[IP_TEXT_LEN];
    char mask[IP_TEXT_LEN];
    char gw[IP_TEXT_LEN];
    format_dotted(values.address, addr);
    format_dotted(values.netmask, mask);
    format_dotted(values.gateway, gw);
    int r = -2;
    {
        ScreenWindows windows(kMenuLayout, i);
        show_text(win_ipset[1], addr);
        show_text(win_subnetset[1], mask);
        show_text(win_gatewayset[1], gw);
        doupdate();
        ipselect_mode = IPROW_DHCP;
        dhcp_sel = values.dhcp ? 1 : 2;
        if (windows.ok()) r = run_ip_rows(addr, mask, gw, i);
    }
    redraw_screen();
    redraw(win_mainset[0]);
    return r;
}

int SetIPOnly(int i)
{
    PrnDebug("Entering IP Only setup\n");
    if (i < 0 || i >= xportcount) return -2;
    // The address-only change is the XPort's "IP-SETUP" broadcast, which a
    // WiFi module does not answer: its address is set from inside its network.
    if (is_wifi(xportset[i])) {
        MyMsgBox("この機器はサブネット外から", "IPアドレスを設定できません。", MSG_ROW_MENU, nullptr);
        redraw_screen();
        return -2;
    }
    char addr[IP_TEXT_LEN];
    std::snprintf(addr, sizeof addr, "%.*s", static_cast<int>(sizeof xportset[i].ipstr),
                  xportset[i].ipstr);
    int r = -2;
    {
        ScreenWindows windows(kOnlyLayout, i);
        show_text(win_ipset[1], addr);
        doupdate();
        ipselect_mode = IPROW_DHCP;
        // The DHCP state of a unit outside the host's networks has not been read.
        dhcp_sel = 2;
        if (windows.ok()) r = run_ip_rows(addr, nullptr, nullptr, i);
    }
    redraw_screen();
    return r;
}

void ip_message(const char* line1, const char* line2)
{
    MyMsgBox(line1, line2, MSG_ROW_MENU, win_ipset[0]);
}
