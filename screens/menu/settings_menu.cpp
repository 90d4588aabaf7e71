// The settings menu of one unit of the host's networks: a table of the
// settings groups (IP address, input extension, mail alert and other
// settings), the last three behind the model gate.
#include "screens/KIVRAMainSet.h"
#include "screens/ext/KIVRAExtend.h"
#include "screens/mail/KIVRAMailSet.h"

#include <curses.h>

#include "base/DebugLog.h"
#include "device/KIVRAXPort.h"
#include "screens/etc/KIVRAEtc.h"
#include "screens/list/list_parts.h"
#include "screens/screen_driver.h"
#include "ui/NQ_Menu.h"
#include "ui/fixed_windows.h"

#include <iterator>
#include <optional>

WINDOW* win_mainset[5] = {};

namespace {

// One group of the menu: its item, its screen and, for the groups a model
// may not have, the model gate's row and the line logged when it is chosen.
struct SettingsGroup {
    const char* label;
    int (*screen)(int i);  // 1 written, -1 F9, anything else: back in the menu
    std::optional<Group> gate;
    const char* log;
    bool reports_write;  // the screen itself says "設定完了" and drops the unit
};

constexpr SettingsGroup kGroups[] = {
    {"IPアドレス設定", SetIPMenu, std::nullopt, nullptr, true},
    {"入力延長設定", SetInputExtendMenu, Group::InputExtend, "Setting input extend\n", false},
    {"メールアラート設定", SetMailAlertMenu, Group::MailAlert, "Mail Alert Setting\n", false},
    {"その他の設定", SetEtcMenu, Group::Etc, "Etc Setting\n", false},
};
constexpr int kGroupCount = static_cast<int>(std::size(kGroups));
static_assert(std::size(kGroups) + 1 == std::size(win_mainset));

// The menu's state: the unit it belongs to.
struct SettingsMenu {
    int unit;
};

// A frame with its title and one item per group.
const WindowSpec<SettingsMenu> kMenuLayout[] = {
    {&win_mainset[0], -1, 13, 1, 10, 78, PAIR_BASE, nullptr, true, nullptr},
    LAYOUT_LABEL(0, 1, "サブネット内 : 設定項目を選んでください", nullptr),
    LAYOUT_ITEM(&win_mainset[1], 2, 3, 20, kGroups[0].label, nullptr),
    LAYOUT_ITEM(&win_mainset[2], 3, 3, 20, kGroups[1].label, nullptr),
    LAYOUT_ITEM(&win_mainset[3], 4, 3, 20, kGroups[2].label, nullptr),
    LAYOUT_ITEM(&win_mainset[4], 5, 3, 20, kGroups[3].label, nullptr),
};

// A group behind the gate: the unit is asked its model again first.
int open_gated(const SettingsGroup& g, int i)
{
    PrnDebug(g.log);
    if (GetModelName_ReplaceDeviceList(i) == -1) return 0;
    const DeviceEntry& e = xportset[i];
    const char* refusal = model_gate_refusal(*g.gate, e.model, e.modtype);
    if (refusal != nullptr) {
        MyMsgBox(refusal, "", MSG_ROW_MENU, win_mainset[0]);
        return 0;
    }
    const int r = g.screen(i);
    redraw_screen();
    redraw(win_mainset[0]);
    return r;
}

Outcome group_chosen(SettingsMenu& m, int item)
{
    if (item < 1 || item > kGroupCount) return Outcome::Stay;
    const SettingsGroup& g = kGroups[item - 1];
    const int r = g.gate ? open_gated(g, m.unit) : g.screen(m.unit);
    if (r == -1) return Outcome::Quit;
    if (r != 1) return Outcome::Stay;
    // The unit restarts with what was written; it has to be searched again.
    if (!g.reports_write) {
        MyMsgBox("設定完了しました。", "デバイスを再起動します。", MSG_ROW_MENU, win_mainset[0]);
        DeleteXPort(m.unit);
    }
    return Outcome::Done;
}

}  // namespace

int OnSetInputExtend(int i) { return open_gated(kGroups[1], i); }
int OnSetMailAlert(int i) { return open_gated(kGroups[2], i); }
int OnSetEtc(int i) { return open_gated(kGroups[3], i); }

int loop_mainset(int i)
{
    SettingsMenu menu{i};
    const Outcome o = run_items(win_mainset, kGroupCount, group_chosen, menu, ListPlace::First);
    // After a write the device list goes on as after Esc.
    return o == Outcome::Quit ? -1 : -2;
}

int SetMainMenu(int i)
{
    PrnDebug("Entering main setting menu\n");
    if (i < 0 || i >= xportcount || i >= XPORT_MAX) return -2;
    int r = -2;
    {
        const SettingsMenu menu{i};
        ScreenWindows windows(kMenuLayout, menu);
        doupdate();
        if (windows.ok()) r = loop_mainset(i);
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
