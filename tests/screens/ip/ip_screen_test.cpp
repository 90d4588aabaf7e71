// The IP address screens end to end: an operator in the lab searches, opens a
// unit's IP screen, moves through its rows, edits and applies; the units'
// journal shows what they received, byte for byte.
#include "ip_session.h"

#include <gtest/gtest.h>

#include <csignal>
#include <initializer_list>
#include <string>
#include <vector>

using namespace iptest;

namespace {

const char kStaticUnit[] = R"({"hosts": ["192.0.2.50"], "units": [
  {"name": "u1", "ip": "192.0.2.10", "mac": "00:80:a3:12:34:56", "mask": "255.255.255.0",
   "gateway": "192.0.2.254"}]})";

const char kDhcpUnit[] = R"({"units": [
  {"name": "d1", "ip": "192.0.2.20", "dhcp": true}]})";

const char kOutsideUnit[] = R"({"units": [
  {"name": "o1", "ip": "198.51.100.20", "mac": "00:80:a3:00:ab:cd"}]})";

const char kWifiUnit[] = R"({"units": [
  {"name": "w1", "ip": "192.0.2.30", "module": "wifi", "mask": "255.255.255.0",
   "gateway": "192.0.2.1"}]})";

// One key and the item that must then be current (highlighted blue).
struct Step {
    const char* story;
    void (rig::Term::*key)();
    int row, col;
};

void walk(Session& s, std::initializer_list<Step> steps)
{
    for (const Step& st : steps) {
        ((*s.t).*st.key)();
        EXPECT_TRUE(s.wait_bg(st.row, st.col, BLUE)) << st.story << "\n" << s.t->dump();
    }
}

#define REQUIRE_LAB(s)                                                           \
    do {                                                                         \
        ASSERT_TRUE((s).lab.ok()) << "no lab here: " << (s).lab.sim_log();  \
        ASSERT_TRUE((s).t) << "KIVRASetL did not start";                         \
    } while (0)

TEST(IpScreen, DhcpUnitStartsOnOnWithGreyFieldsAndSkipsThemWhileOnIsChosen)
{
    Session s(kDhcpUnit);
    REQUIRE_LAB(s);
    ASSERT_TRUE(s.search("192.0.2.20") && s.open_ip_menu()) << s.t->dump();
    auto& t = *s.t;

    EXPECT_EQ(t.text(13, 2, 14), "IPアドレス設定");
    EXPECT_EQ(t.text(15, 4, 20), "IPアドレス自動取得 :");
    EXPECT_EQ(t.text(17, 4, 20), "設定するIPアドレス :");
    EXPECT_EQ(t.text(18, 4, 20), "サブネットマスク   :");
    EXPECT_EQ(t.text(19, 4, 13), "ゲートウェイ:");
    EXPECT_EQ(t.text(ROW_ADDR, COL_FIELD, 10), "192.0.2.20");
    EXPECT_EQ(t.text(ROW_ADDR, COL_PING, 8), "PING送信");
    // A DHCP unit gets the class mask of its address and no gateway.
    EXPECT_EQ(t.text(ROW_MASK, COL_FIELD, 13), "255.255.255.0");
    EXPECT_EQ(t.text(ROW_GW, COL_FIELD, 7), "0.0.0.0");
    EXPECT_EQ(t.text(ROW_APPLY_MENU, COL_FIELD, 8), "設定反映");

    ASSERT_TRUE(s.wait_bg(ROW_DHCP, COL_ON, BLUE)) << "ON is current";
    for (int row : {ROW_ADDR, ROW_MASK, ROW_GW})
        EXPECT_TRUE(s.wait_fg(row, COL_FIELD, GREY)) << "field of row " << row << " greyed";

    walk(s, {
                {"Down from DHCP goes straight to the apply button", &rig::Term::down,
                 ROW_APPLY_MENU, COL_FIELD},
                {"Down from apply wraps to DHCP", &rig::Term::down, ROW_DHCP, COL_ON},
                {"Up from DHCP goes to apply", &rig::Term::up, ROW_APPLY_MENU, COL_FIELD},
                {"Up from apply with ON goes to DHCP", &rig::Term::up, ROW_DHCP, COL_ON},
                {"Right chooses OFF", &rig::Term::right, ROW_DHCP, COL_OFF},
            });
    // With OFF the fields are no longer greyed.
    for (int row : {ROW_ADDR, ROW_MASK, ROW_GW})
        EXPECT_TRUE(s.wait_fg(row, COL_FIELD, BLUE)) << "row " << row << " ungreyed";
    walk(s, {{"Down with OFF goes to the address", &rig::Term::down, ROW_ADDR, COL_FIELD}});
    // The choice stays marked while the other rows are used.
    EXPECT_TRUE(s.wait_bg(ROW_DHCP, COL_OFF, YELLOW)) << t.dump();
    walk(s,
         {
             {"Right reaches PING送信", &rig::Term::right, ROW_ADDR, COL_PING},
             {"Down from the address goes to the mask", &rig::Term::down, ROW_MASK, COL_FIELD},
             {"Down from the mask goes to the gateway", &rig::Term::down, ROW_GW, COL_FIELD},
             {"Down from the gateway goes to apply", &rig::Term::down, ROW_APPLY_MENU, COL_FIELD},
             {"Up from apply with OFF goes to the gateway", &rig::Term::up, ROW_GW, COL_FIELD},
             {"Up from the gateway goes to the mask", &rig::Term::up, ROW_MASK, COL_FIELD},
             {"Up from the mask goes to the address", &rig::Term::up, ROW_ADDR, COL_FIELD},
             {"Up from the address goes to DHCP", &rig::Term::up, ROW_DHCP, COL_OFF},
         });

    // Esc leaves without writing anything; the settings menu is back.
    t.esc();
    EXPECT_TRUE(t.wait_row(TITLE_ROW, "サブネット内 : 設定項目を選んでください")) << t.dump();
    EXPECT_TRUE(s.udp_in("d1", 0xC0).empty());
    EXPECT_NE(s.debug_log().find("IP Setting Menu\n"), std::string::npos);
}

TEST(IpScreen, ANewStaticAddressIsWrittenIntoRecord0AndTheUnitAnswersThereAfterASearch)
{
    Session s(kStaticUnit);
    REQUIRE_LAB(s);
    ASSERT_TRUE(s.search("192.0.2.10") && s.open_ip_menu()) << s.t->dump();
    auto& t = *s.t;
    ASSERT_TRUE(s.wait_bg(ROW_DHCP, COL_OFF, BLUE)) << "a static unit starts on OFF";

    t.down();
    ASSERT_TRUE(s.wait_bg(ROW_ADDR, COL_FIELD, BLUE)) << t.dump();
    s.edit_field("192.0.2.77");
    EXPECT_TRUE(t.wait_row(ROW_ADDR, "192.0.2.77")) << t.dump();
    t.down();
    ASSERT_TRUE(s.wait_bg(ROW_MASK, COL_FIELD, BLUE));
    s.edit_field("255.255.0.0");
    t.down();
    ASSERT_TRUE(s.wait_bg(ROW_GW, COL_FIELD, BLUE));
    s.edit_field("192.0.1.1");
    t.down();
    ASSERT_TRUE(s.wait_bg(ROW_APPLY_MENU, COL_FIELD, BLUE));
    t.enter();
    ASSERT_TRUE(s.wait_message("設定完了しました。", "デバイスを再起動します。")) << t.dump();

    // Only the header, the address, the host bits and the gateway change.
    std::vector<uint8_t> read = s.record0_as_read("u1");
    ASSERT_EQ(read.size(), 124u);
    ASSERT_TRUE(s.lab.wait_received("u1", {0x00, 0x00, 0x00, 0xC0}));
    auto writes = s.udp_in("u1", 0xC0);
    ASSERT_EQ(writes.size(), 1u);
    std::vector<uint8_t> want = read;
    want[0] = 0x00, want[1] = 0x00, want[2] = 0x00, want[3] = 0xC0;
    std::vector<uint8_t> a = address_bytes("192.0.2.77"), g = address_bytes("192.0.1.1");
    for (int k = 0; k < 4; k++) want[4 + k] = a[k], want[16 + k] = g[k];
    want[10] = 16;
    EXPECT_EQ(rig::hex(writes[0].bytes), rig::hex(want));
    EXPECT_EQ(writes[0].local, "192.0.2.10:30718");

    std::string log = s.debug_log();
    EXPECT_NE(log.find("sending PING to 192.0.2.77\n"), std::string::npos) << log;

    // The unit restarts at its new address and leaves the list; the list is
    // empty, so the top menu is back, and the next search finds it there.
    t.enter();
    ASSERT_TRUE(t.wait_gone("IPアドレス設定")) << t.dump();
    ASSERT_TRUE(s.search("192.0.2.77")) << t.dump();
}

TEST(IpScreen, TheUnitsOwnAddressIsNotPingedAndAMaskWithAHoleIsRefused)
{
    Session s(kStaticUnit);
    REQUIRE_LAB(s);
    ASSERT_TRUE(s.search("192.0.2.10") && s.open_ip_menu()) << s.t->dump();
    auto& t = *s.t;
    t.down();
    t.down();
    ASSERT_TRUE(s.wait_bg(ROW_MASK, COL_FIELD, BLUE));
    s.edit_field("255.255.0.255");
    t.down();
    t.down();
    ASSERT_TRUE(s.wait_bg(ROW_APPLY_MENU, COL_FIELD, BLUE));
    t.enter();
    ASSERT_TRUE(s.wait_message("サブネットマスク設定エラー", "")) << t.dump();
    EXPECT_TRUE(s.udp_in("u1", 0xC0).empty()) << "nothing written";
    EXPECT_EQ(s.debug_log().find("sending PING"), std::string::npos) << s.debug_log();

    // The operator stays on the apply button; 0.0.0.0 is a whole mask.
    t.enter();
    ASSERT_TRUE(t.wait_gone("サブネットマスク設定エラー"));
    EXPECT_TRUE(s.wait_bg(ROW_APPLY_MENU, COL_FIELD, BLUE));
    t.up();
    t.up();
    ASSERT_TRUE(s.wait_bg(ROW_MASK, COL_FIELD, BLUE));
    s.edit_field("0.0.0.0");
    t.down();
    t.down();
    t.enter();
    ASSERT_TRUE(s.wait_message("設定完了しました。", "デバイスを再起動します。")) << t.dump();
    ASSERT_TRUE(s.lab.wait_received("u1", {0x00, 0x00, 0x00, 0xC0}));
    auto writes = s.udp_in("u1", 0xC0);
    ASSERT_EQ(writes.size(), 1u);
    EXPECT_EQ(writes[0].bytes[10], 32);
    EXPECT_EQ(s.debug_log().find("sending PING"), std::string::npos);
}

TEST(IpScreen, AnAddressThatAnswersAPingIsRefused)
{
    Session s(kStaticUnit);
    REQUIRE_LAB(s);
    ASSERT_TRUE(s.search("192.0.2.10") && s.open_ip_menu()) << s.t->dump();
    auto& t = *s.t;
    t.down();
    ASSERT_TRUE(s.wait_bg(ROW_ADDR, COL_FIELD, BLUE)) << t.dump();
    s.edit_field("192.0.2.50");
    t.down();
    t.down();
    t.down();
    ASSERT_TRUE(s.wait_bg(ROW_APPLY_MENU, COL_FIELD, BLUE));
    t.enter();
    ASSERT_TRUE(s.wait_message("衝突の恐れがあるため", "そのIPアドレスには設定できません。"))
        << t.dump();
    EXPECT_TRUE(s.udp_in("u1", 0xC0).empty());
    EXPECT_NE(s.debug_log().find("sending PING to 192.0.2.50\n"), std::string::npos);
    t.enter();
    EXPECT_TRUE(s.wait_bg(ROW_APPLY_MENU, COL_FIELD, BLUE)) << "the operator stays on apply";
}

TEST(IpScreen, ARecordWriteWithoutAnAnswerIsACommunicationErrorAndTheUnitStaysListed)
{
    Session s(kStaticUnit);
    REQUIRE_LAB(s);
    ASSERT_TRUE(s.search("192.0.2.10") && s.open_ip_menu()) << s.t->dump();
    auto& t = *s.t;
    t.up();  // from DHCP to the apply button
    ASSERT_TRUE(s.wait_bg(ROW_APPLY_MENU, COL_FIELD, BLUE)) << t.dump();
    // The simulator stops answering (the lab's own process, stopped by its id).
    ASSERT_EQ(kill(s.lab.sim_pid, SIGSTOP), 0);
    t.enter();
    bool shown = s.wait_message("通信エラー", "");
    std::string screen = t.dump();
    kill(s.lab.sim_pid, SIGCONT);
    ASSERT_TRUE(shown) << screen;
    EXPECT_NE(s.debug_log().find("udpsendrecv timed out\nFailed to Send SetupRecord 0\n"),
              std::string::npos)
        << s.debug_log();
    t.enter();
    ASSERT_TRUE(t.wait_gone("通信エラー")) << t.dump();
    EXPECT_TRUE(s.wait_bg(ROW_APPLY_MENU, COL_FIELD, BLUE)) << "the operator stays on apply";
    t.esc();
    ASSERT_TRUE(t.wait_row(TITLE_ROW, "サブネット内 : 設定項目を選んでください")) << t.dump();
    t.esc();
    EXPECT_TRUE(t.wait_row(4, "192.0.2.10")) << "still listed\n" << t.dump();
}

TEST(IpScreen, DhcpOnForAnXPortUnitZeroesAddressMaskAndGatewayOfRecord0)
{
    Session s(kStaticUnit);
    REQUIRE_LAB(s);
    ASSERT_TRUE(s.search("192.0.2.10") && s.open_ip_menu()) << s.t->dump();
    auto& t = *s.t;
    t.left();  // ON
    ASSERT_TRUE(s.wait_bg(ROW_DHCP, COL_ON, BLUE));
    t.enter();  // Enter on ON goes to the apply button
    ASSERT_TRUE(s.wait_bg(ROW_APPLY_MENU, COL_FIELD, BLUE));
    EXPECT_TRUE(s.wait_bg(ROW_DHCP, COL_ON, YELLOW));
    t.enter();
    ASSERT_TRUE(s.wait_message("設定完了しました。", "デバイスを再起動します。")) << t.dump();
    std::vector<uint8_t> read = s.record0_as_read("u1");
    ASSERT_TRUE(s.lab.wait_received("u1", {0x00, 0x00, 0x00, 0xC0}));
    auto writes = s.udp_in("u1", 0xC0);
    ASSERT_EQ(writes.size(), 1u);
    ASSERT_EQ(read.size(), 124u);
    std::vector<uint8_t> want = read;
    want[3] = 0xC0;
    for (int k : {4, 5, 6, 7, 10, 16, 17, 18, 19}) want[k] = 0;
    EXPECT_EQ(rig::hex(writes[0].bytes), rig::hex(want));
    EXPECT_EQ(s.debug_log().find("sending PING"), std::string::npos);
}

TEST(IpScreen, AWifiUnitRefusesDhcpAndGetsTheIpTextAndStaysListed)
{
    Session s(kWifiUnit);
    REQUIRE_LAB(s);
    ASSERT_TRUE(s.search("192.0.2.30") && s.open_ip_menu()) << s.t->dump();
    auto& t = *s.t;
    EXPECT_EQ(t.text(ROW_GW, COL_FIELD, 9), "192.0.2.1");
    t.left();
    ASSERT_TRUE(s.wait_bg(ROW_DHCP, COL_ON, BLUE));
    t.down();
    t.enter();
    ASSERT_TRUE(s.wait_message("この機器はDHCP設定", "することができません。")) << t.dump();
    t.enter();
    t.down();  // back to DHCP
    ASSERT_TRUE(s.wait_bg(ROW_DHCP, COL_ON, BLUE));
    t.right();  // OFF
    t.down();
    ASSERT_TRUE(s.wait_bg(ROW_ADDR, COL_FIELD, BLUE)) << t.dump();
    s.edit_field("192.0.2.61");
    t.down();
    t.down();
    t.down();
    ASSERT_TRUE(s.wait_bg(ROW_APPLY_MENU, COL_FIELD, BLUE));
    t.enter();
    ASSERT_TRUE(s.wait_message("設定完了しました。", "デバイスを再起動します。")) << t.dump();

    const std::string want =
        "IP\r\n192.0.2.61\r\nSUBM\r\n255.255.255.0\r\nGWAY\r\n192.0.2.1\r\nEND\r\n";
    // Everything the module received on the connection that carried the text.
    auto text_received = [](const std::vector<rig::JournalEntry>& all) {
        int conn = 0;
        std::string got;
        for (const rig::JournalEntry& e : all) {
            if (e.unit != "w1" || e.dir != "in" || e.proto != "tcp" || !e.local.ends_with(":9998"))
                continue;
            std::string bytes(e.bytes.begin(), e.bytes.end());
            if (conn == 0 && bytes.starts_with("IP\r\n")) conn = e.conn;
            if (conn != 0 && e.conn == conn) got += bytes;
        }
        return got;
    };
    s.lab.wait_journal([&](const auto& all) { return text_received(all).ends_with("END\r\n"); });
    std::string got = text_received(s.lab.journal());
    EXPECT_EQ(got, want);

    // Back in the list the unit is still shown under its old address.
    t.enter();
    ASSERT_TRUE(t.wait_gone("IPアドレス設定")) << t.dump();
    EXPECT_TRUE(t.wait_row(4, "192.0.2.30")) << t.dump();
}

TEST(IpOnly, DhcpOnBroadcastsIpSetupWithAddressZeroNamingTheUnitByItsMac)
{
    Session s(kOutsideUnit);
    REQUIRE_LAB(s);
    ASSERT_TRUE(s.search("198.51.100.20") && s.open_ip_only()) << s.t->dump();
    auto& t = *s.t;
    EXPECT_EQ(t.row(18).find("サブネットマスク"), std::string::npos) << "no mask row here";
    EXPECT_EQ(t.text(ROW_APPLY_ONLY, COL_FIELD, 8), "設定反映");
    ASSERT_TRUE(s.wait_bg(ROW_DHCP, COL_OFF, BLUE)) << "OFF current: the DHCP state is unknown";

    walk(s,
         {
             {"Down with OFF goes to the address", &rig::Term::down, ROW_ADDR, COL_FIELD},
             {"Down from the address goes to apply", &rig::Term::down, ROW_APPLY_ONLY, COL_FIELD},
             {"Up from apply with OFF goes to the address", &rig::Term::up, ROW_ADDR, COL_FIELD},
             {"Up from the address goes to DHCP", &rig::Term::up, ROW_DHCP, COL_OFF},
             {"Left chooses ON", &rig::Term::left, ROW_DHCP, COL_ON},
             {"Down with ON skips the address", &rig::Term::down, ROW_APPLY_ONLY, COL_FIELD},
         });
    EXPECT_TRUE(s.wait_fg(ROW_ADDR, COL_FIELD, GREY)) << "address greyed with ON";
    t.enter();
    ASSERT_TRUE(s.wait_message("設定完了しました。", "デバイスを再起動します。")) << t.dump();

    ASSERT_TRUE(s.lab.wait_received("o1", {0x00, 0x00, 0x00, 0xFC}));
    auto sets = s.udp_in("o1", 0xFC);
    ASSERT_EQ(sets.size(), 1u);
    EXPECT_EQ(rig::hex(sets[0].bytes),
              "000000fc49502d5345545550"
              "0000abcd"
              "00000000");
    EXPECT_EQ(sets[0].local, "255.255.255.255:30718");
    std::string log = s.debug_log();
    EXPECT_NE(log.find("Entering IP Only setup\n"), std::string::npos);
    EXPECT_NE(log.find("IP SET : MAC 0-80-a3-0-ab-cd : IP 0.0.0.0\n"), std::string::npos) << log;
    EXPECT_EQ(log.find("sending PING"), std::string::npos);
    t.enter();
    ASSERT_TRUE(t.wait_gone("サブネット外")) << t.dump();
    t.settle();
    EXPECT_EQ(t.row(4).find("198.51.100.20"), std::string::npos) << "the unit leaves the list\n"
                                                                 << t.dump();
}

TEST(IpOnly, AStaticAddressIsBroadcastAndTheUnitIsFoundThereNext)
{
    Session s(kOutsideUnit);
    REQUIRE_LAB(s);
    ASSERT_TRUE(s.search("198.51.100.20") && s.open_ip_only()) << s.t->dump();
    auto& t = *s.t;
    t.down();
    ASSERT_TRUE(s.wait_bg(ROW_ADDR, COL_FIELD, BLUE)) << t.dump();
    s.edit_field("198.51.100.21");
    t.down();
    ASSERT_TRUE(s.wait_bg(ROW_APPLY_ONLY, COL_FIELD, BLUE));
    t.enter();
    ASSERT_TRUE(s.wait_message("設定完了しました。", "デバイスを再起動します。")) << t.dump();
    ASSERT_TRUE(s.lab.wait_received("o1", {0x00, 0x00, 0x00, 0xFC}));
    auto sets = s.udp_in("o1", 0xFC);
    ASSERT_EQ(sets.size(), 1u);
    EXPECT_EQ(rig::hex(sets[0].bytes),
              "000000fc49502d5345545550"
              "0000abcd"
              "c6336415");
    t.enter();
    ASSERT_TRUE(t.wait_gone("サブネット外")) << t.dump();
    ASSERT_TRUE(s.search("198.51.100.21")) << t.dump();
}

}  // namespace

namespace {

TEST(IpScreen, F9EndsTheProgramFromAnyRowAndFromAnOpenForm)
{
    struct Case {
        const char* story;
        const char* plant;
        bool same_network;
        int downs;       // rows moved before F9
        bool open_form;  // Enter on the field first
    };
    const Case cases[] = {
        {"on the DHCP row", kStaticUnit, true, 0, false},
        {"in the address form", kStaticUnit, true, 1, true},
        {"on the apply button of the address-only screen", kOutsideUnit, false, 2, false},
    };
    for (const Case& c : cases) {
        Session s(c.plant);
        REQUIRE_LAB(s);
        const char* ip = c.same_network ? "192.0.2.10" : "198.51.100.20";
        ASSERT_TRUE(s.search(ip) && (c.same_network ? s.open_ip_menu() : s.open_ip_only()))
            << c.story << "\n"
            << s.t->dump();
        for (int k = 0; k < c.downs; k++) s.t->down();
        if (c.open_form) {
            s.t->enter();
            ASSERT_TRUE(s.t->wait_row(16, "決定")) << c.story << "\n" << s.t->dump();
        }
        s.t->settle();
        s.t->f9();
        EXPECT_EQ(s.t->wait_exit(10000), 0) << c.story << "\n" << s.t->dump();
    }
}

}  // namespace
