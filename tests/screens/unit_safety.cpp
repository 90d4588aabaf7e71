// What the tool must never do to a unit, told by hostile and unusual units:
// write images it never read, talk to an address read from a unit that is
// no unit's own, decode one answer as another, hide a unit or claim a change
// that cannot happen.
#include <gtest/gtest.h>

#include <string>

#include "rig/scratch_dir.h"
#include "tests/screens/list_story.h"

using namespace liststory;

namespace {

// Datagrams a unit received whose header byte 3 is op (0xC0: record 0 write).
int udp_ops(const rig::Lab& lab, const std::string& unit, uint8_t op)
{
    int n = 0;
    for (const rig::JournalEntry& e : lab.received(unit))
        n += e.proto == "udp" && e.bytes.size() >= 4 && e.bytes[3] == op;
    return n;
}

// TCP requests of a unit as (connection, bytes).
std::vector<std::pair<int, std::string>> tcp_in(const rig::Lab& lab, const std::string& unit)
{
    std::vector<std::pair<int, std::string>> out;
    for (const rig::JournalEntry& e : lab.received(unit))
        if (e.proto == "tcp") out.emplace_back(e.conn, rig::hex(e.bytes));
    return out;
}

}  // namespace

TEST(UnitSafety, RecordsNotReadAtTheSearchAreReadBeforeTheIpScreenOpensOrItDoesNotOpen)
{
    Session s(R"({"units": [
      {"name": "quiet", "ip": "192.0.2.10", "gateway": "192.0.2.1", "faults": {"refused": true}},
      {"name": "gap", "ip": "192.0.2.11", "faults": {"refused": true, "unreadable_record": 6}}]})");
    ASSERT_TRUE(s.ready()) << s.lab.sim_log();
    ASSERT_TRUE(s.set_port("10001") && s.search() && s.row_of("192.0.2.11") >= 0) << s.t.dump();
    // The model query failed: nothing but the address is known of either unit.
    EXPECT_TRUE(cells_are(s.t, INFO_ROW, 1, "IP自動取得      :", 38));
    EXPECT_TRUE(cells_are(s.t, INFO_ROW + 2, 1, "サブネットマスク:", 38));
    ASSERT_TRUE(s.open_menu("192.0.2.11")) << s.t.dump();
    s.choose(1);
    ASSERT_TRUE(s.t.wait_row(MSG18_TEXT_ROW, "通信エラー")) << s.t.dump();
    s.t.enter();
    s.t.esc();
    ASSERT_TRUE(s.t.wait_gone(MENU_TITLE) && s.open_menu("192.0.2.10")) << s.t.dump();
    s.choose(1);
    EXPECT_TRUE(s.t.wait_row(18, "255.255.255.0") && s.t.wait_row(19, "192.0.2.1")) << s.t.dump();
    EXPECT_EQ(records_read(s.lab, "quiet"), (std::vector<int>{0, 5, 3, 4, 6, 7}));
    EXPECT_EQ(records_read(s.lab, "gap"), (std::vector<int>{0, 5, 3, 4, 6}));
    EXPECT_EQ(udp_ops(s.lab, "gap", 0xC0), 0);
}

TEST(UnitSafety, ARecord0HoldingABroadcastAddressDoesNotTurnTheRecordWriteIntoABroadcast)
{
    rig::ScratchDir dir;
    Session s(R"({"units": [{"name": "bc", "ip": "192.0.2.10", "static_ip": "192.0.2.255"},
      {"name": "other", "ip": "192.0.2.11"}]})",
              {"-l"}, dir.path());
    ASSERT_TRUE(s.ready()) << s.lab.sim_log();
    ASSERT_TRUE(s.search() && s.row_of("192.0.2.11") >= 0 && s.go_to("192.0.2.10")) << s.t.dump();
    EXPECT_TRUE(cells_are(s.t, INFO_ROW + 1, 1, "IPアドレス      : 192.0.2.10", 38));
    s.t.enter();
    ASSERT_TRUE(s.t.wait_text(MENU_TITLE)) << s.t.dump();
    s.choose(1);
    ASSERT_TRUE(s.t.wait_row(21, "設定反映")) << s.t.dump();
    s.t.up();  // DHCP row to the apply button
    s.t.enter();
    ASSERT_TRUE(s.t.wait_row(MSG18_TEXT_ROW, "設定完了しました。")) << s.t.dump();
    ASSERT_TRUE(s.lab.wait_received("bc", {0x00, 0x00, 0x00, 0xC0}));
    for (const rig::JournalEntry& e : s.lab.received("bc"))
        EXPECT_TRUE(e.bytes.size() != 124 || e.local == "192.0.2.10:30718") << e.local;
    EXPECT_EQ(udp_ops(s.lab, "other", 0xC0), 0);
    EXPECT_NE(
        dir.read("debug.log")
            .find("Xport: 192.0.2.10 : record 0 address 192.0.2.255 is not a unit address, kept\n"),
        std::string::npos);
}

TEST(UnitSafety, ALateAnswerToUUIsNeverReadAsTheAnswerToMI)
{
    Session s(R"({"units": [{"name": "slow", "ip": "192.0.2.10", "model": 2, "unit_id": 3,
      "faults": {"uu_delay_ms": 2000}}]})");
    ASSERT_TRUE(s.ready()) << s.lab.sim_log();
    ASSERT_TRUE(s.set_port("10001") && s.search()) << s.t.dump();
    EXPECT_TRUE(
        cells_are(s.t, LIST_FIRST_ROW, 1, " 0 00-80-A3-00-00-00 192.0.2.10      ZR-203", 78));
    const auto in = tcp_in(s.lab, "slow");
    ASSERT_EQ(in.size(), 2u);
    EXPECT_EQ(in[0].second, "5555");
    EXPECT_EQ(in[1].second, "4d49c8");
    EXPECT_NE(in[0].first, in[1].first) << "MI is asked on a connection of its own";
}

TEST(UnitSafety, AWifiUnitOutsideTheHostsNetworksIsToldItsAddressCannotBeSetFromHere)
{
    Session s(R"({"units": [{"name": "farwifi", "ip": "198.51.100.30", "module": "wifi"}]})");
    ASSERT_TRUE(s.ready()) << s.lab.sim_log();
    s.add("198.51.100.30");
    ASSERT_TRUE(s.t.wait_text("198.51.100.30   WiFi", SEARCH_TIMEOUT_MS)) << s.t.dump();
    s.t.enter();
    ASSERT_TRUE(s.t.wait_row(MSG18_TEXT_ROW, "この機器はサブネット外から")) << s.t.dump();
    EXPECT_TRUE(
        cells_are(s.t, MSG18_TEXT_ROW + 1, MSG_TEXT_COL, "IPアドレスを設定できません。", 40));
    s.t.enter();
    EXPECT_TRUE(s.t.wait_gone("この機器はサブネット外から") && s.row_of("198.51.100.30") >= 0)
        << s.t.dump();
    EXPECT_EQ(udp_ops(s.lab, "farwifi", 0xFC), 0) << "no IP-SETUP was sent";
}

TEST(UnitSafety, TwoUnitsOnOneAddressAreBothListedAndAUnitAnsweringTwiceOnce)
{
    Session s(R"({"units": [{"name": "t1", "ip": "198.51.100.20", "mac": "00:80:a3:00:00:21"},
      {"name": "t2", "ip": "198.51.100.20", "mac": "00:80:a3:00:00:22"},
      {"name": "two", "ip": "198.51.100.21", "mac": "00:80:a3:00:00:23", "query": "both"}]})");
    ASSERT_TRUE(s.ready()) << s.lab.sim_log();
    ASSERT_TRUE(s.search()) << s.t.dump();
    const std::string rows = s.t.text(LIST_FIRST_ROW, 1, 78) + s.t.text(LIST_FIRST_ROW + 1, 1, 78) +
                             s.t.text(LIST_FIRST_ROW + 2, 1, 78) +
                             s.t.text(LIST_FIRST_ROW + 3, 1, 78);
    for (const char* mac : {"00-80-A3-00-00-21", "00-80-A3-00-00-22", "00-80-A3-00-00-23"})
        EXPECT_EQ(rows.find(mac), rows.rfind(mac)) << mac << " once\n" << s.t.dump();
    EXPECT_NE(rows.find("00-80-A3-00-00-22"), std::string::npos) << s.t.dump();
    EXPECT_TRUE(cells_are(s.t, LIST_FIRST_ROW + 3, 1, "", 78)) << "three units listed";
    EXPECT_EQ(s.lab.sent("two").size(), 2u);
}

TEST(UnitSafety, EveryAddressOfEveryInterfaceCountsWithItsOwnMask)
{
    rig::ScratchDir dir;
    rig::Lab lab(R"({"units": [{"name": "sec", "ip": "198.19.0.20"}]})");
    ASSERT_TRUE(lab.ok()) << lab.sim_log();
    // A secondary address with a wider mask than the primary, and 60 more interfaces.
    ASSERT_EQ(lab.run_in_host({"sh", "-c",
                               "ip addr add 198.18.0.1/15 dev veth-host && for i in $(seq 0 29); do "
                               "ip link add d$i type veth peer name e$i && "
                               "ip addr add 203.0.113.$((2 * i + 1))/32 dev d$i && "
                               "ip addr add 203.0.113.$((2 * i + 2))/32 dev e$i || exit 1; done"}),
              0);
    rig::Term t(lab.in_host({rig::kivrasetl_path(), "-l"}), 24, 80, {}, dir.path());
    ASSERT_TRUE(t.wait_text("検索済デバイス一覧")) << t.dump();
    t.enter();
    ASSERT_TRUE(t.wait_text("198.19.0.20     X5", SEARCH_TIMEOUT_MS)) << t.dump();
    EXPECT_TRUE(cells_are(t, INFO_ROW + 2, 1, "サブネットマスク: 255.255.255.0", 38));
    EXPECT_EQ(records_read(lab, "sec"), (std::vector<int>{0, 5, 3, 4, 6, 7}));
    const std::string log = dir.read("debug.log");
    EXPECT_NE(log.find("MYIP1 : veth-host : 198.18.0.1 : 255.254.0.0\n"), std::string::npos) << log;
    EXPECT_NE(log.find("MYIP61 : "), std::string::npos) << log;
    EXPECT_NE(log.find(" : 203.0.113.60 : 255.255.255.255\n"), std::string::npos) << log;
}

TEST(UnitSafety, AUnitThatNeverStopsAnsweringDiscoveryEndsTheSearchAtItsLimit)
{
    rig::ScratchDir dir;
    Session s(
        R"({"units": [{"name": "chatty", "ip": "192.0.2.10", "faults": {"discovery_repeat_ms": 300}}]})",
        {"-l"}, dir.path());
    ASSERT_TRUE(s.ready()) << s.lab.sim_log();
    ASSERT_TRUE(s.search()) << s.t.dump();
    EXPECT_TRUE(cells_are(s.t, LIST_FIRST_ROW, 1, " 0 00-80-A3-00-00-00 192.0.2.10      X5", 78));
    int answers = 0;
    for (const rig::JournalEntry& e : s.lab.sent("chatty")) answers += e.bytes.size() == 30;
    EXPECT_GE(answers, 30) << "it kept answering while the search waited";
    EXPECT_NE(
        dir.read("debug.log")
            .find("XportSearch : search time limit reached\nXportSearch : 1 Xport devices found\n"),
        std::string::npos);
}
