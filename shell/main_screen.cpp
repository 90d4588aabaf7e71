// The fixed windows of the main screen: help bar, top menu bar, device list
// and information box. Created once, kept for the whole run.
#include <cstdio>
#include <iterator>

#include "base/DebugLog.h"
#include "shell/KIVRASet.h"
#include "ui/colour_pairs.h"

WINDOW* basewin = nullptr;
WINDOW* helpbar = nullptr;
WINDOW* menu_search[4] = {};
WINDOW* list_dev[9] = {};
WINDOW* info_device[4] = {};

namespace {

constexpr int kVersionCol = 60;

// One fixed window: a sub-window of its parent at an absolute screen
// position, with its colour pair (0 keeps the parent's) and its text.
struct FixedWindow {
    WINDOW** win;
    WINDOW** parent;
    int row, col, rows, cols;
    int pair;
    const char* text;
};

// In creation order: every parent comes before its children.
const FixedWindow kLayout[] = {
    {&helpbar, &basewin, 23, 0, 1, 80, 3, "[矢印]:選択 [Enter]:決定 [Esc]:キャンセル [F9]:終了"},
    {&menu_search[0], &basewin, 0, 0, 1, 80, 0, nullptr},
    {&menu_search[1], &menu_search[0], 0, 1, 1, 12, 4, "検索"},
    {&menu_search[2], &menu_search[0], 0, 20, 1, 16, 4, "ポート:未指定"},
    {&menu_search[3], &menu_search[0], 0, 44, 1, 12, 4, "IP指定追加"},
    {&list_dev[0], &basewin, 3, 1, 9, 78, 3, "No    MACアドレス     IPアドレス     機種"},
    {&list_dev[1], &list_dev[0], 4, 1, 1, 78, 2, nullptr},
    {&list_dev[2], &list_dev[0], 5, 1, 1, 78, 2, nullptr},
    {&list_dev[3], &list_dev[0], 6, 1, 1, 78, 2, nullptr},
    {&list_dev[4], &list_dev[0], 7, 1, 1, 78, 2, nullptr},
    {&list_dev[5], &list_dev[0], 8, 1, 1, 78, 2, nullptr},
    {&list_dev[6], &list_dev[0], 9, 1, 1, 78, 2, nullptr},
    {&list_dev[7], &list_dev[0], 10, 1, 1, 78, 2, nullptr},
    {&list_dev[8], &list_dev[0], 11, 1, 1, 78, 2, nullptr},
    {&info_device[0], &basewin, 13, 1, 1, 38, 2, "IP自動取得      :"},
    {&info_device[1], &basewin, 14, 1, 1, 38, 2, "IPアドレス      :"},
    {&info_device[2], &basewin, 15, 1, 1, 38, 2, "サブネットマスク:"},
    {&info_device[3], &basewin, 16, 1, 1, 38, 2, "ゲートウェイ    :"},
};

}  // namespace

int make_basewin()
{
    refresh();
    basewin = subwin(stdscr, 24, 80, 0, 0);
    if (basewin == nullptr) return -1;
    wbkgd(basewin, COLOR_PAIR(PAIR_BASE));
    wrefresh(basewin);
    return 0;
}

void init_subwins()
{
    PrnDebug("Initializing Windows\n");
    for (const FixedWindow& f : kLayout) {
        *f.win = subwin(*f.parent, f.rows, f.cols, f.row, f.col);
        WINDOW* w = *f.win;
        if (w == nullptr) continue;
        if (f.pair != 0) wbkgd(w, COLOR_PAIR(f.pair));
        if (f.text != nullptr) mvwaddstr(w, 0, 0, f.text);
    }
    if (helpbar != nullptr) {
        wmove(helpbar, 0, kVersionCol);
        wprintw(helpbar, "KIVRASetL V%d.%02d", KIVRA_VERSION_MAJOR, KIVRA_VERSION_MINOR);
    }
    if (menu_search[1] != nullptr) wbkgd(menu_search[1], COLOR_PAIR(PAIR_CURRENT));
    mvwaddstr(basewin, 2, 2, "検索済デバイス一覧");

    // Everything is staged and shown with one screen update.
    wnoutrefresh(basewin);
    for (const FixedWindow& f : kLayout)
        if (*f.win != nullptr) wnoutrefresh(*f.win);
    doupdate();

    init_forms();
}

void release_fixed_windows()
{
    // Children go before their parents: the layout in reverse.
    for (auto it = std::rbegin(kLayout); it != std::rend(kLayout); ++it) {
        if (*it->win != nullptr) delwin(*it->win);
        *it->win = nullptr;
    }
    if (basewin != nullptr) delwin(basewin);
    basewin = nullptr;
}
