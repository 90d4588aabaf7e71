// Adding a unit by its address from the top menu.
#include <gtest/gtest.h>

#include <string>

#include "tests/screens/operator.h"

using namespace op;

namespace {

const char* const CANNOT_ADD = "追加できません。";

const char* const add_plant = R"({"units": [
  {"name": "a",    "ip": "192.0.2.10", "mac": "00:80:a3:00:00:0a", "model": 3},
  {"name": "b",    "ip": "192.0.2.11", "mac": "00:80:a3:00:00:0b", "model": 4, "cmd_port": 10002},
  {"name": "far",  "ip": "198.51.100.10", "mac": "00:80:a3:00:00:20", "model": 5},
  {"name": "wifi", "ip": "192.0.2.13", "mac": "00:80:a3:00:00:0d", "model": 6, "module": "wifi"},
  {"name": "norec3", "ip": "192.0.2.14", "faults": {"unreadable_record": 3}},
  {"name": "x3",   "ip": "192.0.2.15", "devtype": "X3"}
]})";

// Top menu after an add that listed the unit: back from the list.
void back_to_top(Session& s)
{
    s.t.esc();
    s.t.settle();
}

TEST(AddDevice, AUnitOfTheHostsNetworkIsAskedItsModelWhenItsPortIsTheSearchPort)
{
    Session s(add_plant);
    ASSERT_TRUE(s.ready() && s.set_port("10001")) << s.lab.sim_log() << s.t.dump();
    s.add("192.0.2.10");
    ASSERT_TRUE(s.t.wait_text("00-80-A3-00-00-0a 192.0.2.10      ZR-204", SEARCH_TIMEOUT_MS)) << s.t.dump();
    EXPECT_TRUE(cells_are(s.t, LIST_FIRST_ROW, 1, " 0 00-80-A3-00-00-0a 192.0.2.10      ZR-204", 78));
    // Asked directly, records 0 and 5, then 3, 4, 6, 7; the worker reads them again.
    EXPECT_EQ(count_received(s.lab, "a", rig::unhex("000000f6")), 1);
    EXPECT_EQ(count_received(s.lab, "a", rig::as_bytes("LN")), 1);
    EXPECT_EQ(records_read(s.lab, "a"), (std::vector<int>{0, 5, 3, 4, 6, 7, 3, 4, 6, 7}));
    EXPECT_EQ(count_received(s.lab, "a", UU), 1);

    // A unit whose command port differs is listed under its type, not asked.
    back_to_top(s);
    s.add("192.0.2.11");
    ASSERT_TRUE(s.t.wait_text("00-80-A3-00-00-0b 192.0.2.11      X5", SEARCH_TIMEOUT_MS)) << s.t.dump();
    EXPECT_TRUE(cells_are(s.t, LIST_FIRST_ROW + 1, 1, " 1 00-80-A3-00-00-0b 192.0.2.11      X5", 78));
    EXPECT_EQ(count_tcp(s.lab, "b"), 0);
    EXPECT_EQ(records_read(s.lab, "b"), (std::vector<int>{0, 5, 3, 4, 6, 7}));

    // A WiFi module gets its model asked on the module's port.
    back_to_top(s);
    s.add("192.0.2.13");
    ASSERT_TRUE(s.t.wait_text("00-80-A3-00-00-0d 192.0.2.13      ZR-207W", SEARCH_TIMEOUT_MS)) << s.t.dump();
    EXPECT_TRUE(cells_are(s.t, LIST_FIRST_ROW + 2, 1, " 2 00-80-A3-00-00-0d 192.0.2.13      ZR-207W", 78));
    EXPECT_EQ(count_received(s.lab, "wifi", UU), 1);
    EXPECT_TRUE(records_read(s.lab, "wifi").empty());
}

TEST(AddDevice, TheLogTellsTheAddsStepsWithoutTheSearchsThreadCount)
{
    Session s(add_plant, {"-l"});
    ASSERT_TRUE(s.ready() && s.set_port("10001")) << s.lab.sim_log() << s.t.dump();
    s.add("192.0.2.10");
    ASSERT_TRUE(s.t.wait_text("00-80-A3-00-00-0a 192.0.2.10      ZR-204", SEARCH_TIMEOUT_MS)) << s.t.dump();
    const std::string log = s.debug_log();
    size_t at = 0;
    for (const char* line : {"Add a device by IP\n", "Xport: 192.0.2.10 : same network\n", "DataGet Success : IP=",
                             "Get model info\n", "DataGet Success : IP="}) {
        const size_t p = log.find(line, at);
        EXPECT_NE(p, std::string::npos) << "missing or out of order: " << line << log;
        if (p != std::string::npos) at = p + 1;
    }
    // The worker's count belongs to the search, not to one added unit.
    EXPECT_EQ(log.find(" threads\n"), std::string::npos) << log;
    EXPECT_EQ(log.find("modelget: all threads finished\n"), std::string::npos) << log;
}

TEST(AddDevice, AUnitOutsideTheHostsNetworkIsReadButNotAskedItsModel)
{
    Session s(add_plant);
    ASSERT_TRUE(s.ready() && s.set_port("10001")) << s.lab.sim_log() << s.t.dump();
    s.add("198.51.100.10");
    ASSERT_TRUE(s.t.wait_text("00-80-A3-00-00-20 198.51.100.10   X5", SEARCH_TIMEOUT_MS)) << s.t.dump();
    s.t.settle();
    EXPECT_TRUE(cells_are(s.t, LIST_FIRST_ROW, 1, " 0 00-80-A3-00-00-20 198.51.100.10   X5", 78));
    EXPECT_EQ(records_read(s.lab, "far"), (std::vector<int>{0, 5, 3, 4, 6, 7}));
    EXPECT_EQ(count_tcp(s.lab, "far"), 0);
    // Its information box shows only the address.
    EXPECT_TRUE(cells_are(s.t, INFO_ROW, 1, "IP自動取得      :", 38));
    EXPECT_TRUE(cells_are(s.t, INFO_ROW + 1, 1, "IPアドレス      : 198.51.100.10", 38));
    EXPECT_TRUE(cells_are(s.t, INFO_ROW + 2, 1, "サブネットマスク:", 38));
}

TEST(AddDevice, AnAddressAlreadyListedOrSilentOrUnusableIsNotAdded)
{
    Session s(add_plant);
    ASSERT_TRUE(s.ready()) << s.lab.sim_log();
    s.add("192.0.2.10");
    ASSERT_TRUE(s.t.wait_text("00-80-A3-00-00-0a 192.0.2.10      X5", SEARCH_TIMEOUT_MS)) << s.t.dump();
    back_to_top(s);

    struct {
        const char* story;
        const char* address;
    } cases[] = {
        {"already listed", "192.0.2.10"},
        {"nothing answers there", "192.0.2.99"},
        {"record 3 cannot be read", "192.0.2.14"},
        {"a refused device type", "192.0.2.15"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.story);
        const size_t heard_by_a = s.lab.received("a").size();
        s.add(c.address);
        ASSERT_TRUE(s.t.wait_row(MSG10_TEXT_ROW, CANNOT_ADD)) << s.t.dump();
        EXPECT_TRUE(cells_are(s.t, MSG10_TEXT_ROW, MSG_TEXT_COL, CANNOT_ADD, 47));
        EXPECT_TRUE(cells_are(s.t, MSG10_TEXT_ROW + 1, MSG_TEXT_COL, "", 47));
        s.t.enter();
        ASSERT_TRUE(s.t.wait_gone(CANNOT_ADD)) << s.t.dump();
        EXPECT_EQ(s.lab.received("a").size(), heard_by_a) << "nothing is sent to a listed unit";
        // Still on the top menu, with one unit listed.
        EXPECT_EQ(s.row_of("192.0.2.10"), LIST_FIRST_ROW);
        EXPECT_TRUE(cells_are(s.t, LIST_FIRST_ROW + 1, 1, "", 78));
    }
    EXPECT_EQ(records_read(s.lab, "norec3"), (std::vector<int>{0, 5, 3}));
}

}  // namespace
