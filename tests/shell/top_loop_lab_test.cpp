// The two loops of the main screen with units to list: the top menu and the
// device list hand over to each other, and the unit whose settings are open
// keeps its row marked. Runs in a private lab network.
#include <gtest/gtest.h>

#include <string>

#include "shell_support.h"

using shell_test::kVersionText;
using shell_test::program;

namespace {

constexpr int kBlue = 4, kWhite = 7, kYellow = 3;
constexpr int kFirstListRow = 4;  // screen rows 4..11 show list rows 1..8
constexpr int kLastListRow = 11;

std::string ten_units()
{
    std::string units;
    for (int n = 0; n < 10; ++n) {
        if (n) units += ",";
        units += "{\"name\":\"u" + std::to_string(n + 1) + "\",\"ip\":\"192.0.2." +
                 std::to_string(10 + n) + "\"}";
    }
    return "{\"units\":[" + units + "]}";
}

// The address shown in a list row (the list's lines hold "192.0.2.x").
std::string address_in(rig::Term& t, int row)
{
    std::string r = t.row(row);
    size_t at = r.find("192.0.2.");
    if (at == std::string::npos) return "";
    size_t end = r.find(' ', at);
    return r.substr(at, end - at);
}

int marked_rows(rig::Term& t, int colour)
{
    int n = 0;
    for (int r = kFirstListRow; r <= kLastListRow; ++r) n += t.bg(r, 1) == colour;
    return n;
}

TEST(TopLevelLoop, AfterASearchEscAndDownMoveBetweenMenuAndListAndTheChosenRowStaysMarked)
{
    rig::Lab lab(ten_units());
    ASSERT_TRUE(lab.ok()) << lab.sim_log();
    rig::Term t(lab.in_host({program()}));
    ASSERT_TRUE(t.wait_text(kVersionText)) << t.dump();

    t.enter();  // "検索"
    // The operator resizes the window while the search waits for answers;
    // no wait of the search is cut short by it.
    t.resize(30, 100);
    t.resize(24, 80);
    ASSERT_TRUE(t.wait_row(kLastListRow, "192.0.2.", 30000)) << t.dump();
    // The list has the cursor: its first row is current, "検索" is not.
    auto list_has_cursor = [&] { return t.bg(kFirstListRow, 1) == kBlue && t.bg(0, 1) == kWhite; };
    EXPECT_TRUE(t.wait_for(list_has_cursor)) << t.dump();

    // Esc goes back to the top menu; there Esc does nothing while units are
    // known, and Down goes to the list again.
    t.esc();
    EXPECT_TRUE(t.wait_for([&] { return t.bg(0, 1) == kBlue && marked_rows(t, kBlue) == 0; }))
        << t.dump();
    t.esc();
    t.down();
    EXPECT_TRUE(t.wait_for(list_has_cursor))
        << "Esc on the top menu must not end the program with units listed\n"
        << t.dump();

    // The ninth Down reaches the tenth unit on the last row; the list has
    // scrolled by two lines.
    std::string first_before = address_in(t, kFirstListRow);
    std::string third_before = address_in(t, kFirstListRow + 2);
    for (int i = 0; i < 9; ++i) t.down();
    ASSERT_TRUE(t.wait_for([&] {
        return t.bg(kLastListRow, 1) == kBlue && address_in(t, kFirstListRow) == third_before;
    })) << t.dump();
    std::string tenth = address_in(t, kLastListRow);
    ASSERT_FALSE(tenth.empty()) << t.dump();
    EXPECT_NE(tenth, first_before);

    // Choosing it opens its settings; the row showing it is marked.
    t.enter();
    ASSERT_TRUE(t.wait_text("サブネット内", 20000)) << t.dump();
    EXPECT_TRUE(t.wait_for([&] { return t.bg(kLastListRow, 1) == kYellow; })) << t.dump();
    EXPECT_EQ(t.fg(kLastListRow, 1), kBlue);
    EXPECT_EQ(address_in(t, kLastListRow), tenth);
    EXPECT_EQ(marked_rows(t, kYellow), 1);

    // Back in the list, it starts again from its first line and unit.
    t.esc();
    ASSERT_TRUE(t.wait_gone("サブネット内")) << t.dump();
    EXPECT_TRUE(t.wait_for([&] {
        return marked_rows(t, kYellow) == 0 && t.bg(kFirstListRow, 1) == kBlue &&
               address_in(t, kFirstListRow) == first_before;
    })) << t.dump();

    t.f9();
    EXPECT_EQ(t.wait_exit(), 0) << t.dump();
}

}  // namespace
