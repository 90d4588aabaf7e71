// The settings menu of one unit of the host's networks: IP address, input
// extension, mail alert and other settings, the last three behind the model gate.
#include "screens/KIVRAMainSet.h"
#include "screens/ext/KIVRAExtend.h"
#include "screens/mail/KIVRAMailSet.h"

#include <curses.h>

#include "device/KIVRAXPort.h"
#include "screens/etc/KIVRAEtc.h"
#include "screens/list/list_parts.h"
#include "base/DebugLog.h"
#include "ui/fixed_windows.h"
#include "ui/NQ_Menu.h"
#include "ui/colour_pairs.h"
#include "screens/screen_driver.h"

WINDOW* win_mainset[5] = {};

namespace {

// The menu: a frame with its title and the four items.
const WindowSpec kMenuLayout[] = {
    {&win_mainset[0], -1, 13, 1, 10, 78, PAIR_BASE, nullptr, true, nullptr},
    {nullptr, 0, 0, 1, 0, 0, 0, "サブネット内 : 設定項目を選んでください", false, nullptr},
    {&win_mainset[1], 0, 2, 3, 1, 20, PAIR_ITEM, "IPアドレス設定", false, nullptr},
    {&win_mainset[2], 0, 3, 3, 1, 20, PAIR_ITEM, "入力延長設定", false, nullptr},
    {&win_mainset[3], 0, 4, 3, 1, 20, PAIR_ITEM, "メールアラート設定", false, nullptr},
    {&win_mainset[4], 0, 5, 3, 1, 20, PAIR_ITEM, "その他の設定", false, nullptr},
};

void redraw_menu_frame() { redraw(win_mainset[0]); }

// A settings group behind the model gate. A group whose screen this program
// does not have yet opens nothing once the gate has let it through.
struct GroupEntry {
    const char* log;
    Group group;
    int (*screen)(int i);
};
const GroupEntry input_extend_group{"Setting input extend\n", Group::InputExtend, SetInputExtendMenu};
const GroupEntry mail_alert_group{"Mail Alert Setting\n", Group::MailAlert, SetMailAlertMenu};
const GroupEntry etc_group{"Etc Setting\n", Group::Etc, SetEtcMenu};

int open_group(const GroupEntry& g, int i)
{
    PrnDebug(g.log);
    if (GetModelName_ReplaceDeviceList(i) == -1) return 0;
    const DeviceEntry& e = xportset[i];
    const char* refusal = model_gate_refusal(g.group, e.model, e.modtype);
    if (refusal != nullptr) {
        MyMsgBox(refusal, "", MSG_ROW_MENU, win_mainset[0]);
        return 0;
    }
    if (g.screen == nullptr) return 0;
    const int r = g.screen(i);
    redraw_screen();
    redraw_menu_frame();
    return r;
}

}  // namespace

int OnSetInputExtend(int i) { return open_group(input_extend_group, i); }
int OnSetMailAlert(int i) { return open_group(mail_alert_group, i); }
int OnSetEtc(int i) { return open_group(etc_group, i); }

int loop_mainset(int i)
{
    for (;;) {
        const MenuResult m = menu_result(select_menu(win_mainset, 4, 1, 0, 0, 1, nullptr));
        if (m.act == Act::Quit) return -1;
        if (m.act == Act::Esc) return -2;
        int r;
        switch (m.item) {
        case 1:
            r = SetIPMenu(i);
            if (r == -1) return -1;
            // The IP screen has shown its messages and dropped the unit itself.
            if (r == 1) return -2;
            continue;
        case 2: r = OnSetInputExtend(i); break;
        case 3: r = OnSetMailAlert(i); break;
        case 4: r = OnSetEtc(i); break;
        default: continue;
        }
        if (r == -1) return -1;
        if (r == 1) {
            // The unit restarts with what was written; it has to be searched again.
            MyMsgBox("設定完了しました。", "デバイスを再起動します。", MSG_ROW_MENU, win_mainset[0]);
            DeleteXPort(i);
            return -2;
        }
    }
}

int SetMainMenu(int i)
{
    PrnDebug("Entering main setting menu\n");
    if (i < 0 || i >= xportcount || i >= XPORT_MAX) return -2;
    int r = -2;
    {
        ScreenWindows windows(kMenuLayout, i);
        doupdate();
        if (windows.ok()) {
            do {
                r = loop_mainset(i);
            } while (r == 0);
        }
    }
    redraw_screen();
    return r;
}

void DeleteXPort(int i)
{
    if (i < 0 || i >= xportcount) return;
    RemoveXPortEntry(i);
    clear_scroll(list_dev, 1);
    print_xports(0);
    redraw_screen();
}
