// The one operator of every screen story and screen bench: KIVRASetL running
// in a fresh lab under the terminal rig (its debug log in a folder of its
// own), driven by key paths ("ddn": Down, Down, Enter) and the steps an
// operator takes (the search port, the search, a unit's settings menu and
// its groups, entry forms), with what a story checks: cells, colours,
// message boxes, the debug log and what the units received. Every wait
// polls the terminal through rig::Term::wait_for with a generous time-out.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

#include "rig/lab.h"
#include "rig/scratch_dir.h"
#include "rig/term.h"
#include "tests/screens/journal.h"

namespace op {

// Terminal colours of the screens' colour pairs.
constexpr int YELLOW = 3;  // a chosen value, the chosen list row
constexpr int BLUE = 4;    // the current item
constexpr int GREY = 6;    // a greyed item
constexpr int WHITE = 7;   // the list rows and menu items not current

constexpr int SEARCH_TIMEOUT_MS = 60000;  // discovery, records and model queries of a whole plant
constexpr int LIST_FIRST_ROW = 4;         // screen row of list row 1
constexpr int LIST_ROWS = 8;
constexpr int INFO_ROW = 13;        // screen row of information line 0
constexpr int MENU_ITEM_ROW = 15;   // screen row of settings-menu item 1
constexpr int MSG18_TEXT_ROW = 19;  // first text row of a message box at row 18
constexpr int MSG10_TEXT_ROW = 11;  // first text row of a message box at row 10
constexpr int MSG_TEXT_COL = 17;

inline const char* const MENU_TITLE = "サブネット内 : 設定項目を選んでください";
inline const char* const DONE_1 = "設定完了しました。";  // an apply's message box
inline const char* const DONE_2 = "デバイスを再起動します。";

// The settings menu's items.
enum Group { IP = 1, EXTEND = 2, MAIL = 3, ETC = 4 };

// Display width of a text of ASCII and full-width characters.
inline int cells(const std::string& s)
{
    int w = 0;
    for (size_t k = 0; k < s.size();) {
        const unsigned char c = static_cast<unsigned char>(s[k]);
        w += c < 0x80 ? 1 : 2;
        k += c < 0x80 ? 1 : c >= 0xF0 ? 4 : c >= 0xE0 ? 3 : 2;
    }
    return w;
}

// The cells from (row, col) for width columns hold exactly this text, then
// blanks (waiting a while for the tool to draw them).
inline ::testing::AssertionResult cells_are(rig::Term& t, int row, int col, const std::string& text,
                                            int width, int timeout_ms = 5000)
{
    const std::string want = text + std::string(std::max(0, width - cells(text)), ' ');
    if (t.wait_for([&] { return t.text(row, col, width) == want; }, timeout_ms))
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "row " << row << " col " << col << "\n  want [" << want
                                         << "]\n   got [" << t.text(row, col, width) << "]\n"
                                         << t.dump();
}

// A text expected on the screen at row, col: over width columns padded
// with blanks, or (width 0) exactly its own cells.
struct Text {
    int row, col;
    std::string text;
    int width = 0;
};

// How many times what occurs in text.
inline size_t occurrences(const std::string& text, const std::string& what)
{
    size_t n = 0;
    for (size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1)) n++;
    return n;
}

// The tool running in a fresh lab with this plant, in a folder of its own
// (pass "-l" in args for a debug log there), once prepare (when given) has
// made the lab ready for it. A tool the story left running is ended with F9
// and must end with status 0 (a sanitizer report at the end shows as
// another status).
struct Session {
    rig::Lab lab;
    rig::ScratchDir dir;
    rig::Term t;

    explicit Session(const std::string& plant, std::vector<std::string> args = {},
                     void (*prepare)(const rig::Lab&) = nullptr)
        : lab(plant), t(command(lab, args, prepare), 24, 80, {}, dir.path())
    {}
    ~Session()
    {
        if (t.wait_exit(0) >= 0) return;  // the story saw to the tool's end
        // F9 ends the program, or first closes a message box still shown.
        int status = -1;
        for (int k = 0; k < 3 && status < 0; k++) {
            t.f9();
            status = t.wait_exit(k == 0 ? 1000 : 5000);
        }
        if (status > 0) ADD_FAILURE() << "KIVRASetL ended with status " << status;
    }
    static std::vector<std::string> command(const rig::Lab& lab, std::vector<std::string> args,
                                            void (*prepare)(const rig::Lab&))
    {
        if (prepare != nullptr && lab.ok()) prepare(lab);
        std::vector<std::string> argv{rig::kivrasetl_path()};
        argv.insert(argv.end(), args.begin(), args.end());
        return lab.in_host(argv);
    }
    std::string debug_log() const { return dir.read("debug.log"); }

    // ---- keys and what they lead to ----
    // Presses the keys of a path, the program settling after each: d u l r
    // the arrows, n Enter, x Esc, e Enter that opens something (waited for).
    bool keys(std::string_view path)
    {
        static const std::string_view letters = "dulrxne";
        static void (rig::Term::*const press[])() = {
            &rig::Term::down, &rig::Term::up,    &rig::Term::left, &rig::Term::right,
            &rig::Term::esc,  &rig::Term::enter, &rig::Term::enter};
        for (const char k : path) {
            const size_t key = letters.find(k);
            if (key == std::string_view::npos) {
                ADD_FAILURE() << "no key '" << k << "' in a path";
                return false;
            }
            const std::string before = t.dump();
            (t.*press[key])();
            if (k == 'e' && !t.wait_for([&] { return t.dump() != before; })) return false;
            t.settle(100);
        }
        return true;
    }
    // The cell's background (or foreground) is the colour.
    bool wait_bg(int row, int col, int colour, int timeout_ms = 10000)
    {
        return t.wait_for([&] { return t.bg(row, col) == colour; }, timeout_ms);
    }
    bool wait_fg(int row, int col, int colour, int timeout_ms = 10000)
    {
        return t.wait_for([&] { return t.fg(row, col) == colour; }, timeout_ms);
    }
    // The item at row, col is the current one (after the keys of path).
    ::testing::AssertionResult move(std::string_view path, int row, int col)
    {
        keys(path);
        if (wait_bg(row, col, BLUE)) return ::testing::AssertionSuccess();
        return ::testing::AssertionFailure() << "after \"" << path << "\" the item at " << row
                                             << "," << col << " is not current\n"
                                             << t.dump();
    }
    // One key path and the item that must then be current.
    struct Step {
        const char* story;
        const char* path;
        int row, col;
    };
    void walk(std::initializer_list<Step> steps)
    {
        for (const Step& s : steps) EXPECT_TRUE(move(s.path, s.row, s.col)) << s.story;
    }
    // The screen shows every one of these texts.
    ::testing::AssertionResult shows(std::initializer_list<Text> texts, int timeout_ms = 5000)
    {
        for (const Text& x : texts) {
            ::testing::AssertionResult r = cells_are(
                t, x.row, x.col, x.text, x.width > 0 ? x.width : cells(x.text), timeout_ms);
            if (!r) return r;
        }
        return ::testing::AssertionSuccess();
    }
    // A message box shown at screen row box_row holds these two lines.
    bool wait_message(int box_row, const std::string& line1, const std::string& line2)
    {
        if (!t.wait_row(box_row + 1, line1, 15000)) return false;
        if (line2.empty()) t.settle();  // a blank line: blank once the box is whole
        return cells_are(t, box_row + 2, MSG_TEXT_COL, line2, 40);
    }
    bool applied() { return wait_message(18, DONE_1, DONE_2); }
    // The box holds these lines; Enter closes it.
    bool closes_message(int box_row, const std::string& line1, const std::string& line2)
    {
        if (!wait_message(box_row, line1, line2)) return false;
        t.enter();
        return t.wait_gone(line1);
    }

    // ---- forms ----
    // In an entry form: whatever an earlier use left is removed, the text is
    // typed, checked with Enter and confirmed on the button with Enter.
    void fill_form(const std::string& text)
    {
        for (int k = 0; k < 20; k++) t.del();
        for (int k = 0; k < 20; k++) t.backspace();
        t.type(text);
        t.enter();
        t.enter();
    }
    // Enter on the current text item opens its entry form (one more "決定"
    // on the screen than the help bar's); its text is replaced and
    // confirmed, and the form closes.
    void edit(const std::string& text)
    {
        const size_t before = buttons();
        t.enter();
        t.wait_for([&] { return buttons() > before; });
        t.settle();
        fill_form(text);
        t.wait_for([&] { return buttons() == before; });
        t.settle();
    }
    size_t buttons() { return occurrences(t.dump(), "決定"); }

    // ---- the top menu and the device list ----
    bool ready() { return lab.ok() && t.wait_text("検索済デバイス一覧"); }
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
    // Up, with the search port 10001 (every unit asked its model), and searched.
    bool searched() { return ready() && set_port("10001") && search(); }
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
        for (int r = LIST_FIRST_ROW; r < LIST_FIRST_ROW + LIST_ROWS; r++)
            if (t.text(r, 1, 78).find(" " + ip + " ") != std::string::npos) return r;
        return -1;
    }
    // Moves the cursor from list item 1 down to the row that shows this address.
    bool go_to(const std::string& ip)
    {
        // A closing settings menu redraws the list (without a unit it dropped)
        // before it goes itself: wait for it to go and for the unit's row, so
        // rows are never counted on a list still being redrawn.
        int r = -1;
        if (!t.wait_gone(MENU_TITLE) || !t.wait_for([&] { return (r = row_of(ip)) >= 0; }))
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
    // From a settings screen: Esc back to its settings menu, Esc back to the list.
    bool leave()
    {
        t.settle();
        t.esc();
        if (!t.wait_text(MENU_TITLE)) return false;
        t.settle();
        t.esc();
        return t.wait_gone(MENU_TITLE);
    }
    // The settings menu of the unit at this address, and its group.
    bool open(const std::string& ip, Group group)
    {
        if (!open_menu(ip)) return false;
        choose(group);
        return true;
    }

    // ---- what the units received ----
    std::vector<Bytes> tcp_in(const std::string& unit) const { return op::tcp_in(lab, unit); }
    // The TCP requests a unit received from the from-th on, as hex, once
    // there are at least n of them.
    std::vector<std::string> requests(const std::string& unit, size_t from, size_t n = 0)
    {
        t.wait_for([&] { return tcp_in(unit).size() >= from + n; }, 20000);
        std::vector<std::string> out;
        const std::vector<Bytes> all = tcp_in(unit);
        for (size_t k = from; k < all.size(); k++) out.push_back(rig::hex(all[k]));
        return out;
    }
    std::vector<rig::JournalEntry> udp_in(const std::string& unit, uint8_t code) const
    {
        return op::udp_in(lab, unit, code);
    }
    Bytes record_read(const std::string& unit, int n) const
    {
        return op::record_read(lab, unit, n);
    }
    std::vector<Bytes> record_writes(const std::string& unit, int n) const
    {
        return op::record_writes(lab, unit, n);
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
    std::string want = " ";
    want.append(std::to_string(r - LIST_FIRST_ROW)).append(" ").append(u.rest);
    return cells_are(s.t, r, 1, want, 78);
}

}  // namespace op
