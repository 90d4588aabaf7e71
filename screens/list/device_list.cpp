// The device list (scroll box 1 in the list rows of the main screen), the
// information box of the unit under the cursor, and the search as the list
// runs it (settings/unit_search.h) with its progress text and its outcome.
#include "screens/KIVRAMainSet.h"

#include <arpa/inet.h>
#include <curses.h>

#include <cstdio>

#include "device/KIVRAXPort.h"
#include "screens/list/list_parts.h"
#include "ui/fixed_windows.h"
#include "ui/NQ_Menu.h"

namespace {

constexpr int LIST_BOX = 1;    // scroll box of the device list
constexpr int LIST_ROWS = 8;   // its visible rows, list_dev[1..8]

// The four lines of the information box: bare label and label with a value.
struct InfoLine {
    const char* label;
    const char* with_value;
};
const InfoLine info_lines[4] = {
    {"IP自動取得      :", "IP自動取得      : %s"},
    {"IPアドレス      :", "IPアドレス      : %s"},
    {"サブネットマスク:", "サブネットマスク: %s"},
    {"ゲートウェイ    :", "ゲートウェイ    : %s"},
};

void write_info_line(int line, const char* value)
{
    WINDOW* w = info_device[line];
    if (w == nullptr) return;
    werase(w);
    if (value == nullptr) {
        mvwaddstr(w, 0, 0, info_lines[line].label);
    } else {
        char text[96];
        std::snprintf(text, sizeof text, info_lines[line].with_value, value);
        mvwaddstr(w, 0, 0, text);
    }
    wnoutrefresh(w);
}

}  // namespace

void format_list_line(int i, char* out, int size)
{
    if (out == nullptr || size <= 0) return;
    out[0] = '\0';
    if (i < 0 || i >= XPORT_MAX) return;
    const DeviceEntry& e = xportset[i];
    char model[32];
    GetModelText(i, model, sizeof model);
    std::snprintf(out, size, " %d %02x-%02x-%02X-%02x-%02X-%02x %-15.15s %s\n", i, e.mac[0], e.mac[1],
                  e.mac[2], e.mac[3], e.mac[4], e.mac[5], e.ipstr, model);
}

void print_xports(int first)
{
    const int count = xportcount < 0 ? 0 : xportcount > XPORT_MAX ? XPORT_MAX : xportcount;
    set_scrollmenu(LIST_BOX, count, LIST_ROWS);
    for (int i = 0; i < count; i++) {
        char line[SCROLL_LINE_BYTES];
        format_list_line(i, line, sizeof line);
        set_scrollbuf(LIST_BOX, i, line);
    }
    print_scroll(list_dev, LIST_BOX, first);
}

int OnDeviceItemChange(int item)
{
    const int i = item - 1;
    const char* values[4] = {nullptr, nullptr, nullptr, nullptr};
    char addr[INET_ADDRSTRLEN], mask[INET_ADDRSTRLEN], gw[INET_ADDRSTRLEN];
    if (i >= 0 && i < xportcount && i < XPORT_MAX) {
        const DeviceEntry& e = xportset[i];
        inet_ntop(AF_INET, &e.addr.sin_addr, addr, sizeof addr);
        values[1] = addr;
        // A unit outside the host's networks was never asked for its settings,
        // and one whose reads failed has none to show.
        if (e.samenet != 0 && e.network_read == 1) {
            inet_ntop(AF_INET, &e.netmask, mask, sizeof mask);
            inet_ntop(AF_INET, &e.gateway, gw, sizeof gw);
            values[0] = e.dhcp == 1 ? "ON" : "OFF";
            values[2] = mask;
            values[3] = gw;
        }
    }
    for (int line = 0; line < 4; line++) write_info_line(line, values[line]);
    doupdate();
    return 0;
}

void show_list_row1(const char* text)
{
    WINDOW* w = list_dev[1];
    if (w == nullptr) return;
    werase(w);
    mvwaddstr(w, 0, 0, text);
    wrefresh(w);
}

void draw_search_progress()
{
    for (int r = 1; r <= LIST_ROWS; r++) {
        if (list_dev[r] == nullptr) continue;
        werase(list_dev[r]);
        wnoutrefresh(list_dev[r]);
    }
    if (list_dev[1] != nullptr) {
        mvwaddstr(list_dev[1], 0, 0, "検索中...");
        wnoutrefresh(list_dev[1]);
    }
    doupdate();
}

int OnSearchDevice(int port)
{
    // Keys typed while "検索中..." is shown are dropped when the search ends,
    // so the cursor starts on the list as the operator first sees it.
    struct DropTypedKeys {
        ~DropTypedKeys() { flushinp(); }
    } drop_typed_keys;
    xport_search_progress = draw_search_progress;
    const int r = SearchPlant(port, nullptr, 0);
    if (r == SEARCH_FAILED) {
        show_list_row1(" エラー");
        return 0;
    }
    // Nothing answered, or every unit was dropped: the search has ended, so
    // the progress text goes.
    if (r == SEARCH_NONE) {
        show_list_row1(" 検索失敗");
        return 0;
    }
    return 1;
}
