// The two loops of the main screen: the top menu bar and the device list.
#include "device/KIVRAXPort.h"
#include "screens/KIVRAMainSet.h"
#include "shell/KIVRASet.h"
#include "ui/NQ_Menu.h"
#include "ui/colour_pairs.h"

namespace {

constexpr int kListBox = 1;  // the device list's scroll box
constexpr int kListRows = 8;

void unmark_item(WINDOW* item)
{
    wbkgd(item, COLOR_PAIR(PAIR_ITEM));
    wrefresh(item);
}

}  // namespace

int loop_mode1()
{
    for (;;) {
        int r = select_menu(menu_search, 3, 0, 2, 0, 1, nullptr);
        switch (r) {
        case -999:
            return -1;
        case 0:
            if (xportcount == 0) return -1;  // nothing to go back to: the program ends
            break;
        case 1:
            if (OnSearchDevice(search_port) != 0) {
                print_xports(0);
                unmark_item(menu_search[1]);
                return 1;
            }
            break;
        case 2:
        case 3: {
            int next = r == 2 ? top_menu_port() : top_menu_add();
            if (next != 0) return next;
            break;
        }
        case -2:
            if (xportcount != 0) return 1;
            werase(list_dev[1]);
            mvwaddstr(list_dev[1], 0, 0, "最初にデバイスを検索してください");
            wrefresh(list_dev[1]);
            break;
        default:
            break;
        }
    }
}

int loop_mode2()
{
    for (;;) {
        if (xportcount == 0) return -2;
        int k = select_menu(list_dev, xportcount, 1, 0, kListBox, 1, OnDeviceItemChange);
        if (k == MENU_QUIT) return -1;
        if (k == 0) return -2;
        if (k < 1 || k > xportcount) continue;
        int i = k - 1;

        // The row showing the chosen unit, counted from the line the list
        // shows first; it stays marked while the unit's screens are open.
        int row = k - myscr[kListBox].top;
        if (row >= 1 && row <= kListRows) {
            wbkgd(list_dev[row], COLOR_PAIR(PAIR_MARKED));
            wrefresh(list_dev[row]);
        }
        int r = xportset[i].samenet == 0 ? SetIPOnly(i) : SetMainMenu(i);
        if (r == -1) return -1;
        if (r == 1 && xportcount == 0) return -2;
    }
}
