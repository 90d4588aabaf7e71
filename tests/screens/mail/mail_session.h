// The mail alert screen for its stories: where its items are (its window at
// row 2, column 1), opening it, and the commands and record texts a unit got.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "tests/screens/operator.h"

namespace mailtest {

using namespace op;

constexpr int ROW_SERVER = 4, ROW_PORT = 5, ROW_AUTH = 6, ROW_FROM = 7, ROW_TO1 = 8, ROW_TO2 = 9,
              ROW_SUBJECT = 10, ROW_DI1 = 13, ROW_APPLY = 21;
constexpr int COL_FIELD = 27, COL_CELL2 = 39, COL_CELL3 = 51, COL_APPLY = 51, COL_DO2 = 45;

struct Operator : Session {
    using Session::Session;
    // Searched on the command port; the unit's settings and "メールアラート設定".
    bool open_mail(const std::string& ip) { return searched() && open_menu(ip) && reopen_mail(); }
    bool reopen_mail()
    {
        choose(MAIL);
        return t.wait_row(2, "メールアラート設定", 20000) && wait_bg(ROW_SERVER, COL_FIELD, BLUE);
    }
    // The keys of path make the item at row, col (a text item's field) current.
    ::testing::AssertionResult move(std::string_view path, int row, int col = COL_FIELD)
    {
        return Session::move(path, row, col);
    }
    // The TCP requests received since the first one starting with `from`.
    std::vector<std::string> commands_since(const std::string& unit, const std::string& from) const
    {
        std::vector<std::string> out;
        for (const Bytes& b : tcp_in(unit)) {
            std::string s(b.begin(), b.end());
            if (out.empty() && s.rfind(from, 0) != 0) continue;
            out.push_back(s);
        }
        return out;
    }
};

// A text put into an image at offset, with its terminator.
inline void put(Bytes& image, int offset, const std::string& text)
{
    for (size_t k = 0; k < text.size(); k++) image[offset + k] = static_cast<uint8_t>(text[k]);
    image[offset + text.size()] = 0;
}
inline void header(Bytes& image, int n, int more)
{
    image[0] = 0, image[1] = static_cast<uint8_t>(more), image[2] = 0;
    image[3] = static_cast<uint8_t>(0xC0 + n);
}

}  // namespace mailtest
