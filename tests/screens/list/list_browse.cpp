// Moving through the device list: the information box follows the cursor,
// the list scrolls past its eighth row and the chosen unit's row is marked.
#include <gtest/gtest.h>

#include "tests/screens/operator.h"

using namespace op;

namespace {

struct InfoBox {
    const char* dhcp;
    const char* ip;
    const char* mask;
    const char* gateway;
};

::testing::AssertionResult info_is(rig::Term& t, const InfoBox& b)
{
    const std::string lines[4] = {
        std::string("IP自動取得      :") + b.dhcp,
        std::string("IPアドレス      :") + b.ip,
        std::string("サブネットマスク:") + b.mask,
        std::string("ゲートウェイ    :") + b.gateway,
    };
    for (int k = 0; k < 4; k++) {
        ::testing::AssertionResult r = cells_are(t, INFO_ROW + k, 1, lines[k], 38);
        if (!r) return r;
    }
    return ::testing::AssertionSuccess();
}

TEST(ListBrowse, TheInformationBoxShowsTheUnitUnderTheCursor)
{
    Session s(R"({"units": [
      {"name": "static", "ip": "192.0.2.10", "mask": "255.255.255.0", "gateway": "192.0.2.254"},
      {"name": "dhcp",   "ip": "192.0.2.11", "dhcp": true},
      {"name": "moved",  "ip": "192.0.2.12", "static_ip": "192.0.2.99", "mask": "255.255.0.0"},
      {"name": "odd",    "ip": "192.0.2.13", "static_ip": "0.0.3.0"},
      {"name": "far",    "ip": "198.51.100.10", "gateway": "198.51.100.1"}
    ]})");
    ASSERT_TRUE(s.ready()) << s.lab.sim_log();
    ASSERT_TRUE(info_is(s.t, {"", "", "", ""}));
    ASSERT_TRUE(s.search()) << s.t.dump();

    struct {
        const char* ip;
        InfoBox box;
    } cases[] = {
        {"192.0.2.10", {" OFF", " 192.0.2.10", " 255.255.255.0", " 192.0.2.254"}},
        {"192.0.2.11", {" ON", " 192.0.2.11", " 255.255.255.0", " 0.0.0.0"}},
        // The address of a static unit is the one its record holds.
        {"192.0.2.12", {" OFF", " 192.0.2.99", " 255.255.0.0", " 0.0.0.0"}},
        // Bytes 4, 5 and 7 of record 0 all zero: the unit counts as DHCP.
        {"192.0.2.13", {" ON", " 192.0.2.13", " 255.255.255.0", " 0.0.0.0"}},
        // Outside the host's networks only the address is known.
        {"198.51.100.10", {"", " 198.51.100.10", "", ""}},
    };
    // Visit the rows top to bottom, then back up to the first.
    int cursor = LIST_FIRST_ROW;
    for (int r = LIST_FIRST_ROW; r < LIST_FIRST_ROW + 5; r++) {
        while (cursor < r) {
            s.t.down();
            cursor++;
        }
        s.t.settle();
        bool found = false;
        for (const auto& c : cases) {
            if (s.row_of(c.ip) != r) continue;
            found = true;
            EXPECT_TRUE(info_is(s.t, c.box)) << c.ip;
        }
        EXPECT_TRUE(found) << "row " << r << "\n" << s.t.dump();
    }
    for (int k = 0; k < 4; k++) s.t.up();
    s.t.settle();
    for (const auto& c : cases) {
        if (s.row_of(c.ip) != LIST_FIRST_ROW) continue;
        EXPECT_TRUE(info_is(s.t, c.box)) << c.ip;
    }

    // Back on the top menu the box shows its bare labels.
    s.t.esc();
    s.t.settle();
    EXPECT_TRUE(info_is(s.t, {"", "", "", ""}));
}

// The list row shows the line of this item (its number first).
::testing::AssertionResult shows_item(rig::Term& t, int row, int item)
{
    std::string number = " ";
    number += std::to_string(item) + " ";
    if (t.wait_for([&] { return t.text(row, 1, 78).rfind(number, 0) == 0; }, 5000))
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "row " << row << " should show item " << item << "\n" << t.dump();
}

std::string ten_units()
{
    std::string p = R"({"units": [)";
    for (int k = 0; k < 10; k++) {
        if (k) p += ",";
        p += R"({"name": "u)" + std::to_string(k) + R"(", "ip": "192.0.2.)" + std::to_string(10 + k) +
             R"(", "mac": "00:80:a3:00:00:)" + std::to_string(10 + k) + R"("})";
    }
    return p + "]}";
}

TEST(ListBrowse, TheListScrollsPastItsEighthRowAndMarksTheChosenUnit)
{
    Session s(ten_units());
    ASSERT_TRUE(s.ready() && s.search()) << s.lab.sim_log() << s.t.dump();
    for (int k = 0; k < 8; k++) EXPECT_TRUE(shows_item(s.t, LIST_FIRST_ROW + k, k));

    // Eight Downs reach item 9: the rows show items 2 to 9.
    for (int k = 0; k < 8; k++) s.t.down();
    EXPECT_TRUE(shows_item(s.t, LIST_FIRST_ROW, 1));
    EXPECT_TRUE(shows_item(s.t, LIST_FIRST_ROW + 7, 8));
    // The ninth reaches item 10, the last; further Downs do nothing.
    s.keys("dd");
    EXPECT_TRUE(shows_item(s.t, LIST_FIRST_ROW, 2));
    EXPECT_TRUE(shows_item(s.t, LIST_FIRST_ROW + 7, 9));
    s.t.settle();
    EXPECT_TRUE(shows_item(s.t, LIST_FIRST_ROW + 7, 9)) << "the last unit stops the list";

    // Choosing the tenth unit marks the row it is shown on (blue on yellow)
    // and opens its settings menu.
    s.t.enter();
    ASSERT_TRUE(s.t.wait_text(MENU_TITLE)) << s.t.dump();
    const int row = LIST_FIRST_ROW + 7;
    EXPECT_TRUE(s.wait_bg(row, 2, YELLOW)) << s.t.dump();
    EXPECT_EQ(s.t.fg(row, 2), BLUE);
    EXPECT_EQ(s.t.bg(row - 1, 2), WHITE) << "only the chosen row is marked";
}

}  // namespace
