// The settings menu of one unit of the host's networks: IP address, input
// extension, mail alert and other settings, the last three behind the model gate.
#include "screens/KIVRAMainSet.h"

#include <curses.h>

#include "device/KIVRAXPort.h"
#include "screens/list_parts.h"
#include "shell/DebugLog.h"
#include "shell/KIVRASet.h"
#include "ui/NQ_Menu.h"

WINDOW* win_mainset[5] = {};

namespace {

constexpr int MSG_ROW = 18;

// Layout of the menu: the frame on the screen, the items inside the frame.
constexpr int FRAME_ROWS = 10, FRAME_COLS = 78, FRAME_ROW = 13, FRAME_COL = 1;
constexpr const char* FRAME_TITLE = "サブネット内 : 設定項目を選んでください";
struct ItemLayout {
    int row, col, cols;
    const char* text;
};
const ItemLayout menu_items[4] = {
    {2, 3, 20, "IPアドレス設定"},
    {3, 3, 20, "入力延長設定"},
    {4, 3, 20, "メールアラート設定"},
    {5, 3, 20, "その他の設定"},
};

// The menu's windows, shown on creation and deleted (items first) on every
// way out; win_mainset points at them while they exist.
struct MainsetWindows {
    MainsetWindows()
    {
        WINDOW* frame = newwin(FRAME_ROWS, FRAME_COLS, FRAME_ROW, FRAME_COL);
        win_mainset[0] = frame;
        if (frame == nullptr) return;
        wbkgd(frame, COLOR_PAIR(1));
        box(frame, 0, 0);
        mvwaddstr(frame, 0, 1, FRAME_TITLE);
        wrefresh(frame);
        for (int k = 0; k < 4; k++) {
            const ItemLayout& it = menu_items[k];
            WINDOW* w = derwin(frame, 1, it.cols, it.row, it.col);
            win_mainset[k + 1] = w;
            if (w == nullptr) continue;
            wbkgd(w, COLOR_PAIR(4));
            mvwaddstr(w, 0, 0, it.text);
            wnoutrefresh(w);
        }
        doupdate();
    }
    ~MainsetWindows()
    {
        for (int k = 4; k >= 0; k--) {
            if (win_mainset[k] != nullptr) delwin(win_mainset[k]);
            win_mainset[k] = nullptr;
        }
    }
    bool ok() const
    {
        for (WINDOW* w : win_mainset)
            if (w == nullptr) return false;
        return true;
    }
    MainsetWindows(const MainsetWindows&) = delete;
    MainsetWindows& operator=(const MainsetWindows&) = delete;
};

void redraw_whole_screen()
{
    touchwin(stdscr);
    wrefresh(stdscr);
}

void redraw_menu_frame()
{
    if (win_mainset[0] == nullptr) return;
    touchwin(win_mainset[0]);
    wrefresh(win_mainset[0]);
}

// A settings group behind the model gate. A group whose screen this program
// does not have yet opens nothing once the gate has let it through.
struct GroupEntry {
    const char* log;
    Group group;
    int (*screen)(int i);
};
const GroupEntry input_extend_group{"Setting input extend\n", Group::InputExtend, nullptr};
const GroupEntry mail_alert_group{"Mail Alert Setting\n", Group::MailAlert, nullptr};
const GroupEntry etc_group{"Etc Setting\n", Group::Etc, nullptr};

int open_group(const GroupEntry& g, int i)
{
    PrnDebug(g.log);
    if (GetModelName_ReplaceDeviceList(i) == -1) return 0;
    const DeviceEntry& e = xportset[i];
    const char* refusal = model_gate_refusal(g.group, e.model, e.modtype);
    if (refusal != nullptr) {
        MyMsgBox(refusal, "", MSG_ROW, win_mainset[0]);
        return 0;
    }
    if (g.screen == nullptr) return 0;
    const int r = g.screen(i);
    redraw_whole_screen();
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
        const int sel = select_menu(win_mainset, 4, 1, 0, 0, 1, nullptr);
        if (sel == -999) return -1;
        if (sel == 0) return -2;
        int r;
        switch (sel) {
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
            MyMsgBox("設定完了しました。", "デバイスを再起動します。", MSG_ROW, win_mainset[0]);
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
        MainsetWindows windows;
        if (windows.ok()) {
            do {
                r = loop_mainset(i);
            } while (r == 0);
        }
    }
    redraw_whole_screen();
    return r;
}

void DeleteXPort(int i)
{
    if (i < 0 || i >= xportcount) return;
    RemoveXPortEntry(i);
    clear_scroll(list_dev, 1);
    print_xports(0);
    redraw_whole_screen();
}
