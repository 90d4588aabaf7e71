// Hostile and unusual units: nothing unread is written, no answer misread, no unit hidden.
#include <gtest/gtest.h>

#include "tests/screens/operator.h"

using namespace op;

TEST(UnitSafety, InTheHostsNetworkOnlyWhatWasReadIsShownOrWrittenAndOnlyToTheUnit)
{
    Session s(R"({"units": [
      {"name": "quiet", "ip": "192.0.2.10", "gateway": "192.0.2.1", "faults": {"refused": true}},
      {"name": "gap", "ip": "192.0.2.11", "faults": {"refused": true, "unreadable_record": 6}},
      {"name": "slow", "ip": "192.0.2.12", "model": 2, "unit_id": 3, "faults": {"uu_delay_ms": 2000}},
      {"name": "bc", "ip": "192.0.2.13", "static_ip": "192.0.2.255"},
      {"name": "chatty", "ip": "192.0.2.14", "faults": {"discovery_repeat_ms": 300}}]})",
              {"-l"});
    ASSERT_TRUE(s.searched()) << s.t.dump();
    // A late "UU" answer went to the first connection; "MI" was asked on a second.
    EXPECT_NE(s.t.text(s.row_of("192.0.2.12"), 1, 78).find("ZR-203"), std::string::npos);
    std::vector<int> conns;
    for (const rig::JournalEntry& e : s.lab.received("slow"))
        if (e.proto == "tcp") conns.push_back(e.conn);
    EXPECT_TRUE(conns.size() == 2 && conns[0] != conns[1]) << s.t.dump();
    // Whose model query failed shows no settings and gets its records read on opening.
    ASSERT_TRUE(s.go_to("192.0.2.11") && cells_are(s.t, INFO_ROW + 2, 1, "サブネットマスク:", 38));
    s.t.enter();
    s.choose(1);
    ASSERT_TRUE(s.t.wait_row(MSG18_TEXT_ROW, "通信エラー")) << s.t.dump();
    s.keys("nx");
    ASSERT_TRUE(s.t.wait_gone(MENU_TITLE) && s.open_menu("192.0.2.10")) << s.t.dump();
    s.choose(1);
    EXPECT_TRUE(s.t.wait_row(18, "255.255.255.0") && s.t.wait_row(19, "192.0.2.1")) << s.t.dump();
    EXPECT_EQ(records_read(s.lab, "quiet"), (std::vector<int>{0, 5, 3, 4, 6, 7}));
    EXPECT_EQ(records_read(s.lab, "gap"), (std::vector<int>{0, 5, 3, 4, 6}));
    // Record 0 holding a broadcast address: the write goes to the unit alone.
    s.keys("xx");
    ASSERT_TRUE(s.t.wait_gone(MENU_TITLE) && s.open_menu("192.0.2.13")) << s.t.dump();
    s.choose(1);
    ASSERT_TRUE(s.t.wait_row(21, "設定反映")) << s.t.dump();
    s.keys("un");
    ASSERT_TRUE(s.lab.wait_received("bc", {0x00, 0x00, 0x00, 0xC0})) << s.t.dump();
    EXPECT_EQ(s.lab.received("bc").back().local, "192.0.2.13:30718");
    for (const rig::JournalEntry& e : s.lab.journal()) EXPECT_NE(e.local, "192.0.2.255:30718");
    const std::string log = s.debug_log();
    EXPECT_NE(log.find("record 0 address 192.0.2.255 is not a unit address, kept\n"),
              std::string::npos);
    // The unit answering discovery every 0.3 s held the search only to its limit.
    EXPECT_GE(s.lab.sent("chatty").size(), 30u);
    EXPECT_NE(log.find("time limit reached\nXportSearch : 5 Xport"), std::string::npos) << log;
}

TEST(UnitSafety, UnitsSharingAnAddressAreAllListedAndAFarWifiUnitIsNotSentIpSetup)
{
    Session s(R"({"units": [{"name": "t1", "ip": "198.51.100.20", "mac": "00:80:a3:00:00:21"},
      {"name": "t2", "ip": "198.51.100.20", "mac": "00:80:a3:00:00:22"},
      {"name": "two", "ip": "198.51.100.21", "mac": "00:80:a3:00:00:23", "query": "both"},
      {"name": "farwifi", "ip": "198.51.100.30", "module": "wifi"}]})");
    ASSERT_TRUE(s.ready() && s.search()) << s.t.dump();
    EXPECT_TRUE(cells_are(s.t, LIST_FIRST_ROW + 3, 1, "", 78)) << "three units, each once";
    for (int r = 0; r < 3; r++)
        EXPECT_NE(s.t.dump().find("00-80-A3-00-00-2" + std::to_string(r + 1)), std::string::npos);
    s.t.esc();
    s.add("198.51.100.30");
    ASSERT_TRUE(s.t.wait_text("198.51.100.30   WiFi", SEARCH_TIMEOUT_MS) &&
                s.go_to("198.51.100.30"));
    s.t.enter();
    ASSERT_TRUE(s.t.wait_row(MSG18_TEXT_ROW, "この機器はサブネット外から")) << s.t.dump();
    EXPECT_TRUE(
        cells_are(s.t, MSG18_TEXT_ROW + 1, MSG_TEXT_COL, "IPアドレスを設定できません。", 40));
    for (const rig::JournalEntry& e : s.lab.journal()) EXPECT_NE(e.bytes.size(), 20u) << "IP-SETUP";
}

TEST(UnitSafety, EveryAddressOfEveryInterfaceCountsWithItsOwnMask)
{
    // A secondary address with a wider mask than the primary's, and 60 more interfaces.
    const auto more_addresses = [](const rig::Lab& lab) {
        ASSERT_EQ(
            lab.run_in_host({"sh", "-c",
                             "ip addr add 198.18.0.1/15 dev veth-host && for i in $(seq 0 29); do "
                             "ip link add d$i type veth peer name e$i && "
                             "ip addr add 203.0.113.$((2 * i + 1))/32 dev d$i && "
                             "ip addr add 203.0.113.$((2 * i + 2))/32 dev e$i || exit 1; done"}),
            0)
            << lab.sim_log();
    };
    Session s(R"({"units": [{"name": "sec", "ip": "198.19.0.20"}]})", {"-l"}, more_addresses);
    ASSERT_TRUE(s.ready()) << s.lab.sim_log() << s.t.dump();
    s.t.enter();
    ASSERT_TRUE(s.t.wait_text("198.19.0.20     X5", SEARCH_TIMEOUT_MS)) << s.t.dump();
    EXPECT_TRUE(cells_are(s.t, INFO_ROW + 2, 1, "サブネットマスク: 255.255.255.0", 38));
    const std::string log = s.debug_log();
    EXPECT_NE(log.find("MYIP1 : veth-host : 198.18.0.1 : 255.254.0.0\n"), std::string::npos) << log;
    EXPECT_NE(log.find("MYIP61 : "), std::string::npos) << log;
}
