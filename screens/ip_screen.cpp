// The two IP address screens: SetIPMenu for a unit in one of the host's
// networks (DHCP, address, mask, gateway) and SetIPOnly for a unit outside
// them (DHCP and address only). Both run the row machine of ip_rows.cpp.
#include "screens/ip_screen.h"
#include "screens/KIVRAMainSet.h"

#include "device/KIVRAXPort.h"
#include "shell/DebugLog.h"
#include "shell/KIVRASet.h"
#include "ui/NQ_Menu.h"

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

// A one-line window inside the IP frame; positions relative to the frame.
struct IpItem {
    WINDOW** slot;
    int row, col, cols;
    const char* text;  // null: the window shows an edit buffer
};

struct IpLabel {
    int row, col;
    const char* text;
};

const IpItem kMenuItems[] = {
    {&win_dhcpset[1], 2, 25, 8, "ON"},          {&win_dhcpset[2], 2, 35, 8, "OFF"},
    {&win_ipset[1], 4, 25, 18, nullptr},        {&win_ipset[2], 4, 45, 10, "PING送信"},
    {&win_subnetset[1], 5, 25, 18, nullptr},    {&win_gatewayset[1], 6, 25, 18, nullptr},
    {&win_sendipset[1], 8, 25, 18, "設定反映"},
};

const IpItem kOnlyItems[] = {
    {&win_dhcpset[1], 2, 25, 8, "ON"},          {&win_dhcpset[2], 2, 35, 8, "OFF"},
    {&win_ipset[1], 4, 25, 18, nullptr},        {&win_ipset[2], 4, 45, 10, "PING送信"},
    {&win_sendipset[1], 6, 25, 18, "設定反映"},
};

const IpLabel kMenuLabels[] = {
    {0, 1, "IPアドレス設定"},       {2, 3, "IPアドレス自動取得 :"}, {4, 3, "設定するIPアドレス :"},
    {5, 3, "サブネットマスク   :"}, {6, 3, "ゲートウェイ:"},
};

const IpLabel kOnlyLabels[] = {
    {0, 1, "サブネット外 : IPアドレスのみ変更可能"},
    {2, 3, "IPアドレス自動取得 :"},
    {4, 3, "設定するIPアドレス :"},
};

WINDOW** const kAllSlots[] = {
    &win_ipset[0],      &win_ipset[1],      &win_ipset[2],     &win_dhcpset[0],
    &win_dhcpset[1],    &win_dhcpset[2],    &win_subnetset[0], &win_subnetset[1],
    &win_gatewayset[0], &win_gatewayset[1], &win_sendipset[0], &win_sendipset[1],
};

// The windows of one IP screen, from its opening to its end: the frame with
// its labels and the item windows, shown with one screen update.
class IpScreenWindows {
  public:
    template <size_t NI, size_t NL>
    IpScreenWindows(const IpItem (&items)[NI], const IpLabel (&labels)[NL],
                    const char* const* texts)
    {
        for (WINDOW** slot : kAllSlots) *slot = nullptr;
        WINDOW* frame = newwin(10, 78, 13, 1);
        if (frame == nullptr) return;
        win_ipset[0] = win_dhcpset[0] = win_subnetset[0] = win_gatewayset[0] = win_sendipset[0] =
            frame;
        wbkgd(frame, COLOR_PAIR(1));
        box(frame, 0, 0);
        for (const IpLabel& l : labels) mvwaddstr(frame, l.row, l.col, l.text);
        wnoutrefresh(frame);
        int field = 0;
        for (const IpItem& it : items) {
            WINDOW* w = derwin(frame, 1, it.cols, it.row, it.col);
            *it.slot = w;
            if (w == nullptr) continue;
            wbkgd(w, COLOR_PAIR(4));
            const char* text = it.text != nullptr ? it.text : texts[field++];
            if (text != nullptr) mvwaddstr(w, 0, 0, text);
            wnoutrefresh(w);
        }
        doupdate();
    }
    ~IpScreenWindows()
    {
        WINDOW* frame = win_ipset[0];
        for (WINDOW** slot : kAllSlots) {
            if (*slot != nullptr && *slot != frame) delwin(*slot);
        }
        if (frame != nullptr) delwin(frame);
        for (WINDOW** slot : kAllSlots) *slot = nullptr;
    }
    bool ok() const { return win_ipset[0] != nullptr; }
    IpScreenWindows(const IpScreenWindows&) = delete;
    IpScreenWindows& operator=(const IpScreenWindows&) = delete;
};

// Runs the step of the current row until one ends the screen.
int run_rows(char* addr, char* mask, char* gw, int i)
{
    for (;;) {
        int r;
        switch (ipselect_mode) {
        case IPROW_DHCP:
            r = loop_ipset(addr, i);
            break;
        case IPROW_ADDRESS:
            r = loop_ipset2(addr, i);
            break;
        case IPROW_APPLY:
            r = loop_ipset3(addr, mask, gw, i);
            break;
        case IPROW_MASK:
            r = loop_ipset_subnet(mask, i);
            break;
        case IPROW_GATEWAY:
            r = loop_ipset_gateway(gw, i);
            break;
        default:
            r = -2;
            break;
        }
        if (r != 0) return r;
    }
}

// Everything the IP frame covered is drawn again.
void redraw_main_screen()
{
    touchwin(stdscr);
    wrefresh(stdscr);
}

}  // namespace

int SetIPMenu(int i)
{
    PrnDebug("IP Setting Menu\n");
    if (i < 0 || i >= xportcount) return -2;
    // The screen shows and writes back what was read from the unit, never zeros.
    if (EnsureUnitData(i) != 0) {
        MyMsgBox("通信エラー", "", IP_MSG_ROW, win_mainset[0]);
        return -2;
    }
    const DeviceEntry& e = xportset[i];
    char addr[IP_TEXT_LEN];
    char mask[IP_TEXT_LEN];
    char gw[IP_TEXT_LEN];
    std::snprintf(addr, sizeof addr, "%.*s", static_cast<int>(sizeof e.ipstr), e.ipstr);
    format_dotted(e.netmask, mask);
    format_dotted(e.gateway, gw);
    int r = -2;
    {
        const char* texts[] = {addr, mask, gw};
        IpScreenWindows windows(kMenuItems, kMenuLabels, texts);
        ipselect_mode = IPROW_DHCP;
        dhcp_sel = e.dhcp == 1 ? 1 : 2;
        if (windows.ok()) r = run_rows(addr, mask, gw, i);
    }
    redraw_main_screen();
    if (win_mainset[0] != nullptr) {
        touchwin(win_mainset[0]);
        wrefresh(win_mainset[0]);
    }
    return r;
}

int SetIPOnly(int i)
{
    PrnDebug("Entering IP Only setup\n");
    if (i < 0 || i >= xportcount) return -2;
    // The address-only change is the XPort's "IP-SETUP" broadcast, which a
    // WiFi module does not answer: its address is set from inside its network.
    if (xportset[i].modtype == 3) {
        MyMsgBox("この機器はサブネット外から", "IPアドレスを設定できません。", IP_MSG_ROW, nullptr);
        redraw_main_screen();
        return -2;
    }
    char addr[IP_TEXT_LEN];
    std::snprintf(addr, sizeof addr, "%.*s", static_cast<int>(sizeof xportset[i].ipstr),
                  xportset[i].ipstr);
    int r = -2;
    {
        const char* texts[] = {addr};
        IpScreenWindows windows(kOnlyItems, kOnlyLabels, texts);
        ipselect_mode = IPROW_DHCP;
        // The DHCP state of a unit outside the host's networks has not been read.
        dhcp_sel = 2;
        if (windows.ok()) r = run_rows(addr, nullptr, nullptr, i);
    }
    redraw_main_screen();
    return r;
}

void ip_message(const char* line1, const char* line2)
{
    MyMsgBox(line1, line2, IP_MSG_ROW, win_ipset[0]);
}
