// An operator at the mail alert screen: reaching it through the search and
// the settings menu, where its items are on the screen, and the records and
// commands a unit received.
#pragma once

#include "tests/screens/operator.h"

#include <cstdint>
#include <string>
#include <vector>

namespace mailtest {

// Screen rows of the items (the screen's window starts at row 2, column 1).
constexpr int ROW_SERVER = 4, ROW_PORT = 5, ROW_AUTH = 6, ROW_FROM = 7, ROW_TO1 = 8, ROW_TO2 = 9,
              ROW_SUBJECT = 10, ROW_DI1 = 13, ROW_APPLY = 21;
constexpr int COL_FIELD = 27, COL_CELL2 = 39, COL_CELL3 = 51, COL_APPLY = 51, COL_DO2 = 45;
constexpr int BLUE = 4, YELLOW = 3;
constexpr int MSG15_TEXT_ROW = 16;

struct Operator : op::Session {
    using op::Session::Session;
    // Search on the command port, open the unit's settings and "メールアラート設定".
    bool open_mail(const std::string& ip)
    {
        if (!ready() || !set_port("10001") || !search() || !open_menu(ip)) return false;
        return reopen_mail();
    }
    bool reopen_mail()
    {
        choose(3);
        return t.wait_row(2, "メールアラート設定", 20000) && wait_bg(ROW_SERVER, COL_FIELD, BLUE);
    }
    // Moves with key and waits until the item at row, col is current.
    bool move(void (rig::Term::*key)(), int row, int col = COL_FIELD)
    {
        (t.*key)();
        return wait_bg(row, col, BLUE);
    }
    // Enter on the current text item, replace its text, confirm.
    void edit(const std::string& text)
    {
        t.enter();
        t.settle();
        fill_form(text);
        t.settle();
    }
    // Record n as the unit answered its read, and the writes of record n it received.
    std::vector<uint8_t> record_read(const std::string& unit, int n) const
    {
        for (const rig::JournalEntry& e : lab.sent(unit))
            if (e.proto == "udp" && e.bytes.size() == 130 && e.bytes[3] == 0xD0 + n) return e.bytes;
        return {};
    }
    std::vector<std::vector<uint8_t>> record_writes(const std::string& unit, int n) const
    {
        std::vector<std::vector<uint8_t>> out;
        for (const rig::JournalEntry& e : lab.received(unit))
            if (e.proto == "udp" && e.bytes.size() == 130 && e.bytes[3] == 0xC0 + n)
                out.push_back(e.bytes);
        return out;
    }
    // The TCP requests received since the first one starting with `from`.
    std::vector<std::string> commands_since(const std::string& unit, const std::string& from) const
    {
        std::vector<std::string> out;
        for (const std::vector<uint8_t>& b : tcp_in(unit)) {
            std::string s(b.begin(), b.end());
            if (out.empty() && s.rfind(from, 0) != 0) continue;
            out.push_back(s);
        }
        return out;
    }
};

// A text put into an image at offset, with its terminator.
inline void put(std::vector<uint8_t>& image, int offset, const std::string& text)
{
    for (size_t k = 0; k < text.size(); k++) image[offset + k] = static_cast<uint8_t>(text[k]);
    image[offset + text.size()] = 0;
}
inline void header(std::vector<uint8_t>& image, int n, int more)
{
    image[0] = 0, image[1] = static_cast<uint8_t>(more), image[2] = 0;
    image[3] = static_cast<uint8_t>(0xC0 + n);
}

}  // namespace mailtest
