// Searching the plant: which units the list keeps, how each line reads, and
// which units are asked what.
#include <gtest/gtest.h>

#include "tests/screens/operator.h"

using namespace op;

namespace {

// A plant with one unit of every kind the search treats differently.
const char* const mixed_plant = R"({"units": [
  {"name": "di",      "ip": "192.0.2.10", "mac": "00:80:a3:ab:cd:ef", "model": 0},
  {"name": "gc",      "ip": "192.0.2.11", "mac": "00:80:a3:00:00:11", "module": "gc", "devtype": "X6", "model": 2},
  {"name": "x6",      "ip": "192.0.2.12", "mac": "00:80:a3:00:00:12", "devtype": "X6", "model": 4},
  {"name": "wifi",    "ip": "192.0.2.13", "mac": "24:0a:c4:00:00:13", "module": "wifi", "model": 5},
  {"name": "ai",      "ip": "192.0.2.14", "mac": "00:80:a3:00:00:14", "model": 8},
  {"name": "rotary",  "ip": "192.0.2.15", "mac": "00:80:a3:00:00:15", "model": 1, "unit_id": 15},
  {"name": "far",     "ip": "198.51.100.10", "mac": "00:80:a3:00:00:20", "devtype": "X1", "model": 3},
  {"name": "farwifi", "ip": "198.51.100.11", "module": "wifi"},
  {"name": "norec0",  "ip": "192.0.2.16", "faults": {"unreadable_record": 0}},
  {"name": "norec5",  "ip": "192.0.2.17", "faults": {"unreadable_record": 5}},
  {"name": "norec7",  "ip": "192.0.2.18", "faults": {"unreadable_record": 7}},
  {"name": "wifimute","ip": "192.0.2.19", "module": "wifi", "faults": {"tcp_silent": true}},
  {"name": "x3",      "ip": "192.0.2.20", "devtype": "X3"}
]})";

const Listed listed[] = {
    {"192.0.2.10", "00-80-A3-ab-CD-ef 192.0.2.10      ZR-201"},
    {"192.0.2.11", "00-80-A3-00-00-11 192.0.2.11      ZR-203(G)"},
    {"192.0.2.12", "00-80-A3-00-00-12 192.0.2.12      ZR-205"},
    {"192.0.2.13", "24-0a-C4-00-00-13 192.0.2.13      ZR-206W"},
    {"192.0.2.14", "00-80-A3-00-00-14 192.0.2.14      ZR-301"},
    {"192.0.2.15", "00-80-A3-00-00-15 192.0.2.15      X5"},
    {"198.51.100.10", "00-80-A3-00-00-20 198.51.100.10   X1"},
};

TEST(ListSearch, EveryUsableUnitGetsItsLineByteForByteAndTheOthersAreDropped)
{
    Session s(mixed_plant);
    ASSERT_TRUE(s.searched()) << s.lab.sim_log() << s.t.dump();

    // Seven units listed, numbered from 0 in the order of the rows.
    for (const Listed& u : listed) EXPECT_TRUE(lists(s, u));
    EXPECT_TRUE(cells_are(s.t, LIST_FIRST_ROW + 7, 1, "", 78)) << "an eighth unit is listed";
    for (const char* gone : {"198.51.100.11", "192.0.2.16", "192.0.2.17", "192.0.2.18", "192.0.2.19",
                             "192.0.2.20"})
        EXPECT_EQ(s.row_of(gone), -1) << gone << " should not be listed";

    const rig::Lab& lab = s.lab;
    // Units outside the host's networks are never asked anything but the discovery.
    EXPECT_TRUE(records_read(lab, "far").empty());
    EXPECT_EQ(count_tcp(lab, "far"), 0);
    EXPECT_EQ(count_tcp(lab, "farwifi"), 0);
    // Records 0 and 5 first, then the worker's 3, 4, 6, 7 after the model answered.
    EXPECT_EQ(records_read(lab, "di"), (std::vector<int>{0, 5, 3, 4, 6, 7}));
    EXPECT_EQ(records_read(lab, "norec0"), (std::vector<int>{0}));
    EXPECT_EQ(records_read(lab, "norec5"), (std::vector<int>{0, 5}));
    EXPECT_EQ(count_tcp(lab, "norec5"), 0);
    EXPECT_EQ(records_read(lab, "norec7"), (std::vector<int>{0, 5, 3, 4, 6, 7}));
    // A refused answer leaves the unit listed under its type, records 3.. unread.
    EXPECT_EQ(count_received(lab, "rotary", UU), 1);
    EXPECT_EQ(records_read(lab, "rotary"), (std::vector<int>{0, 5}));
    // The analog unit is silent on "UU" and answers "MI".
    EXPECT_EQ(count_received(lab, "ai", rig::unhex("4d49c8")), 1);
    // Only the "X6" units are asked for their extra firmware.
    EXPECT_EQ(count_received(lab, "gc", rig::unhex("000000f4")), 1);
    EXPECT_EQ(count_received(lab, "x6", rig::unhex("000000f4")), 1);
    EXPECT_EQ(count_received(lab, "di", rig::unhex("000000f4")), 0);
    // WiFi modules have no setup records.
    EXPECT_TRUE(records_read(lab, "wifi").empty());
}

TEST(ListSearch, TheSearchPortDecidesWhichUnitsAreAskedTheirModel)
{
    Session s(R"({"units": [
      {"name": "a",   "ip": "192.0.2.10", "model": 0, "cmd_port": 10001},
      {"name": "b",   "ip": "192.0.2.11", "model": 1, "cmd_port": 10002},
      {"name": "far", "ip": "198.51.100.10", "model": 2, "cmd_port": 10002},
      {"name": "w",   "ip": "192.0.2.12", "model": 3, "module": "wifi", "cmd_port": 10001}
    ]})");
    ASSERT_TRUE(s.ready() && s.set_port("10002") && s.search()) << s.lab.sim_log() << s.t.dump();

    EXPECT_EQ(count_received(s.lab, "b", UU), 1);
    EXPECT_EQ(count_tcp(s.lab, "a"), 0);
    EXPECT_EQ(count_tcp(s.lab, "far"), 0);
    // Without its model query a unit still has its records read.
    EXPECT_EQ(records_read(s.lab, "a"), (std::vector<int>{0, 5, 3, 4, 6, 7}));
    EXPECT_NE(s.t.text(s.row_of("192.0.2.11"), 1, 78).find(" ZR-202"), std::string::npos) << s.t.dump();
    EXPECT_NE(s.t.text(s.row_of("192.0.2.10"), 1, 78).find(" X5"), std::string::npos) << s.t.dump();
    // A WiFi module whose model was not asked is listed as WiFi.
    EXPECT_EQ(count_received(s.lab, "w", UU), 0);
    EXPECT_NE(s.t.text(s.row_of("192.0.2.12"), 1, 78).find(" WiFi "), std::string::npos) << s.t.dump();

    // Back to the top menu; with the port not given nobody is asked.
    s.t.esc();
    s.t.settle();
    s.keys("rn");
    ASSERT_TRUE(s.t.wait_text("ポート", 5000));
    s.t.esc();
    ASSERT_TRUE(s.t.wait_row(0, "ポート:未指定")) << s.t.dump();
    ASSERT_TRUE(s.search()) << s.t.dump();
    EXPECT_EQ(count_received(s.lab, "b", UU), 1);
    EXPECT_EQ(count_tcp(s.lab, "a"), 0);
    EXPECT_NE(s.t.text(s.row_of("192.0.2.11"), 1, 78).find(" X5"), std::string::npos) << s.t.dump();
}

TEST(ListSearch, KeysTypedDuringTheSearchAreDropped)
{
    Session s(R"({"units": [
      {"name": "a", "ip": "192.0.2.10", "mac": "00:80:a3:00:00:10"},
      {"name": "b", "ip": "192.0.2.11", "mac": "00:80:a3:00:00:11"},
      {"name": "c", "ip": "192.0.2.12", "mac": "00:80:a3:00:00:12"},
      {"name": "d", "ip": "192.0.2.13", "mac": "00:80:a3:00:00:13"}
    ]})");
    ASSERT_TRUE(s.ready()) << s.lab.sim_log();
    s.t.enter();
    ASSERT_TRUE(s.t.wait_text("検索中...")) << s.t.dump();
    // The search waits a second after the last answer: these arrive before it ends.
    for (int k = 0; k < 3; k++) s.t.down();
    ASSERT_TRUE(s.t.wait_gone("検索中...", SEARCH_TIMEOUT_MS)) << s.t.dump();
    // The cursor is on list row 1 and the information box shows its unit.
    std::string ip_on_row[2];
    auto listed = [&] {
        for (const char* ip : {"192.0.2.10", "192.0.2.11", "192.0.2.12", "192.0.2.13"}) {
            const int r = s.row_of(ip) - LIST_FIRST_ROW;
            if (r == 0 || r == 1) ip_on_row[r] = ip;
        }
        return !ip_on_row[0].empty() && !ip_on_row[1].empty();
    };
    ASSERT_TRUE(s.t.wait_for(listed)) << s.t.dump();
    EXPECT_TRUE(cells_are(s.t, INFO_ROW + 1, 1, "IPアドレス      : " + ip_on_row[0], 38));
    EXPECT_EQ(s.t.bg(LIST_FIRST_ROW, 1), BLUE) << "list row 1 is not the current one\n" << s.t.dump();
    s.t.down();
    EXPECT_TRUE(cells_are(s.t, INFO_ROW + 1, 1, "IPアドレス      : " + ip_on_row[1], 38));
}

TEST(ListSearch, ANetworkWithoutUnitsSaysTheSearchFailed)
{
    Session s(R"({"units": []})");
    ASSERT_TRUE(s.ready() && s.search()) << s.lab.sim_log() << s.t.dump();
    EXPECT_TRUE(cells_are(s.t, LIST_FIRST_ROW, 1, " 検索失敗", 78));
    // The top menu stays: Down still asks for a search first.
    s.t.down();
    EXPECT_TRUE(s.t.wait_row(LIST_FIRST_ROW, "最初にデバイスを検索してください")) << s.t.dump();
}

TEST(ListSearch, ASearchThatDropsEveryUnitSaysTheSearchFailed)
{
    Session s(R"({"units": [
      {"name": "norec0", "ip": "192.0.2.10", "faults": {"unreadable_record": 0}},
      {"name": "farwifi", "ip": "198.51.100.11", "module": "wifi"}
    ]})");
    ASSERT_TRUE(s.ready() && s.search()) << s.lab.sim_log() << s.t.dump();
    EXPECT_TRUE(cells_are(s.t, LIST_FIRST_ROW, 1, " 検索失敗", 78));
    EXPECT_EQ(records_read(s.lab, "norec0"), (std::vector<int>{0}));
}

}  // namespace
