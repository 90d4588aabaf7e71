// The operator of the end-to-end screen tests: the tool running in a lab
// under the terminal rig (with its debug log in a folder of its own), the
// steps an operator takes (searching, moving in the list, opening a unit's
// settings, editing forms) and reading cells, the debug log and journal
// entries. Every screen test uses this one helper.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <string>
#include <vector>

#include "rig/lab.h"
#include "rig/scratch_dir.h"
#include "rig/term.h"

namespace op {

constexpr int SEARCH_TIMEOUT_MS = 60000;   // discovery, records and model queries of a whole plant
constexpr int LIST_FIRST_ROW = 4;          // screen row of list row 1
constexpr int LIST_ROWS = 8;
constexpr int INFO_ROW = 13;               // screen row of information line 0
constexpr int MENU_ITEM_ROW = 15;          // screen row of settings-menu item 1
constexpr int MSG18_TEXT_ROW = 19;         // first text row of a message box at row 18
constexpr int MSG10_TEXT_ROW = 11;         // first text row of a message box at row 10
constexpr int MSG_TEXT_COL = 17;

inline const char* const MENU_TITLE = "サブネット内 : 設定項目を選んでください";

// Display width of a text of ASCII and full-width characters.
inline int cells(const std::string& s)
{
    int w = 0;
    for (size_t k = 0; k < s.size();) {
        const unsigned char c = static_cast<unsigned char>(s[k]);
        const int len = c < 0x80 ? 1 : c >= 0xF0 ? 4 : c >= 0xE0 ? 3 : 2;
        w += c < 0x80 ? 1 : 2;
        k += len;
    }
    return w;
}

// Polls the screen until pred() holds; false after timeout_ms.
template <class Pred>
bool eventually(rig::Term& t, Pred pred, int timeout_ms = 10000)
{
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeout_ms);
    for (;;) {
        if (pred()) return true;
        if (std::chrono::steady_clock::now() >= deadline) return false;
        t.settle(20, 50);
    }
}

// The cells from (row, col) for width columns hold exactly this text, then
// blanks (waiting a while for the tool to draw them).
inline ::testing::AssertionResult cells_are(rig::Term& t, int row, int col, const std::string& text,
                                            int width, int timeout_ms = 5000)
{
    const std::string want = text + std::string(std::max(0, width - cells(text)), ' ');
    if (eventually(t, [&] { return t.text(row, col, width) == want; }, timeout_ms))
        return ::testing::AssertionSuccess();
    const std::string got = t.text(row, col, width);
    return ::testing::AssertionFailure() << "row " << row << " col " << col << "\n  want [" << want
                                         << "]\n   got [" << got << "]\n"
                                         << t.dump();
}

// In an entry form: whatever an earlier use left is removed, the text is
// typed, checked with Enter and confirmed on the button with Enter.
inline void replace_entry(rig::Term& t, const std::string& text)
{
    for (int k = 0; k < 20; k++) t.del();
    for (int k = 0; k < 20; k++) t.backspace();
    t.type(text);
    t.enter();
    t.enter();
}

// The tool running in a fresh lab with this plant, in a folder of its own
// (pass "-l" in args for a debug log there) unless cwd names one.
struct Session {
    rig::Lab lab;
    rig::ScratchDir dir;
    rig::Term t;
    explicit Session(const std::string& plant, std::vector<std::string> args = {}, std::string cwd = "")
        : lab(plant), t(command(lab, args), 24, 80, {}, cwd.empty() ? dir.path() : cwd)
    {
    }
    std::string debug_log() const { return dir.read("debug.log"); }
    // Waits until the cell's background (or foreground) is the colour.
    bool wait_bg(int row, int col, int colour, int timeout_ms = 10000)
    {
        return eventually(t, [&] { return t.bg(row, col) == colour; }, timeout_ms);
    }
    bool wait_fg(int row, int col, int colour, int timeout_ms = 10000)
    {
        return eventually(t, [&] { return t.fg(row, col) == colour; }, timeout_ms);
    }
    // A message box shown at screen row `box_row` holds these two lines.
    bool wait_message(int box_row, const std::string& line1, const std::string& line2)
    {
        if (!t.wait_row(box_row + 1, line1, 15000)) return false;
        return cells_are(t, box_row + 2, MSG_TEXT_COL, line2, 40);
    }
    // The TCP requests a unit received, in order.
    std::vector<std::vector<uint8_t>> tcp_in(const std::string& unit) const
    {
        std::vector<std::vector<uint8_t>> out;
        for (const rig::JournalEntry& e : lab.received(unit))
            if (e.proto == "tcp") out.push_back(e.bytes);
        return out;
    }
    static std::vector<std::string> command(const rig::Lab& lab, std::vector<std::string> args)
    {
        std::vector<std::string> argv{rig::kivrasetl_path()};
        argv.insert(argv.end(), args.begin(), args.end());
        return lab.in_host(argv);
    }
    bool ready() { return lab.ok() && t.wait_text("検索済デバイス一覧"); }

    // In an entry form: whatever an earlier use left is removed, the text is
    // typed, checked with Enter and confirmed on the button with Enter.
    void fill_form(const std::string& text) { replace_entry(t, text); }
    // Top menu: item 2, the search port.
    bool set_port(const std::string& port)
    {
        t.right();
        t.enter();
        if (!t.wait_text("ポート", 5000)) return false;
        t.settle();
        fill_form(port);
        return t.wait_row(0, "ポート:" + port);
    }
    // Top menu: item 1, "検索"; waits until the search has ended.
    bool search()
    {
        t.enter();
        if (!t.wait_text("検索中...", 10000)) return false;
        if (!t.wait_gone("検索中...", SEARCH_TIMEOUT_MS)) return false;
        t.settle();
        return true;
    }
    // Top menu: item 3, "IP指定追加", with this address (the caller waits for the outcome).
    void add(const std::string& address)
    {
        t.right();
        t.right();
        t.enter();
        t.wait_text("追加IP", 5000);
        t.settle();
        fill_form(address);
    }
    // Screen row of the list row that shows this address, -1 if none.
    int row_of(const std::string& ip)
    {
        for (int r = LIST_FIRST_ROW; r < LIST_FIRST_ROW + LIST_ROWS; r++) {
            if (t.text(r, 1, 78).find(" " + ip + " ") != std::string::npos) return r;
        }
        return -1;
    }
    // Moves the cursor from list item 1 down to the row that shows this address.
    bool go_to(const std::string& ip)
    {
        // A closing settings menu redraws the list (without a unit it dropped)
        // before it goes itself: wait for it to go and for the unit's row, so
        // rows are never counted on a list still being redrawn.
        int r = -1;
        if (!t.wait_gone(MENU_TITLE) || !eventually(t, [&] { return (r = row_of(ip)) >= 0; }))
            return false;
        for (int k = LIST_FIRST_ROW; k < r; k++) t.down();
        t.settle();
        return true;
    }
    // Opens the settings menu of the unit at this address (cursor on list item 1).
    bool open_menu(const std::string& ip)
    {
        if (!go_to(ip)) return false;
        t.enter();
        return t.wait_text(MENU_TITLE);
    }
    // In the settings menu: chooses item n (1..4).
    void choose(int n)
    {
        for (int k = 1; k < n; k++) t.down();
        t.enter();
    }
};

// A unit the device list shows: its address and its line after the number.
struct Listed {
    const char* ip;
    const char* rest;
};
// The row of the unit at u.ip reads " N " and u.rest, N being its number
// (its place among the list rows), byte for byte.
inline ::testing::AssertionResult lists(Session& s, const Listed& u)
{
    const int r = s.row_of(u.ip);
    if (r < 0) return ::testing::AssertionFailure() << u.ip << " missing\n" << s.t.dump();
    return cells_are(s.t, r, 1, " " + std::to_string(r - LIST_FIRST_ROW) + " " + u.rest, 78);
}

inline int count_received(const rig::Lab& lab, const std::string& unit, const std::vector<uint8_t>& bytes)
{
    int n = 0;
    for (const rig::JournalEntry& e : lab.received(unit))
        if (e.bytes == bytes) n++;
    return n;
}

inline int count_tcp(const rig::Lab& lab, const std::string& unit)
{
    int n = 0;
    for (const rig::JournalEntry& e : lab.received(unit))
        if (e.proto == "tcp") n++;
    return n;
}

// The setup records (0x00 0x00 0x00 0xE0+n) a unit was asked for, in order.
inline std::vector<int> records_read(const rig::Lab& lab, const std::string& unit)
{
    std::vector<int> out;
    for (const rig::JournalEntry& e : lab.received(unit)) {
        if (e.proto == "udp" && e.bytes.size() == 4 && e.bytes[0] == 0 && e.bytes[1] == 0 &&
            e.bytes[2] == 0 && e.bytes[3] >= 0xE0 && e.bytes[3] <= 0xEF)
            out.push_back(e.bytes[3] - 0xE0);
    }
    return out;
}

inline const std::vector<uint8_t> UU{0x55, 0x55};

}  // namespace op
