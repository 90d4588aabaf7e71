// The IP address screens end to end: an operator in the lab searches, opens a
// unit's IP screen, moves through its rows, edits, checks an address with
// "PING送信" and applies; the units' journal shows what they received, byte
// for byte.
#include <gtest/gtest.h>

#include <arpa/inet.h>

#include <csignal>
#include <string>
#include <vector>

#include "tests/screens/operator.h"

using namespace op;

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

// Screen places of the IP screens (frame at row 13, column 1).
constexpr int TITLE_ROW = 13;
constexpr int ROW_DHCP = 15, COL_ON = 26, COL_OFF = 36;
constexpr int ROW_ADDR = 17, COL_FIELD = 26, COL_PING = 46;
constexpr int ROW_MASK = 18, ROW_GW = 19;
constexpr int ROW_APPLY_MENU = 21, ROW_APPLY_ONLY = 19;

// The tool searched; the unit at ip opened on "IPアドレス設定" of its
// settings menu (a unit of the host's network), or on the address-only
// screen (one outside it). A screen is drawn in one update; its apply
// button comes last.
bool open_ip(Session& s, const std::string& ip)
{
    const bool shown = s.ready() && s.search() && s.open(ip, IP) &&
                       s.t.wait_row(TITLE_ROW, "IPアドレス設定") &&
                       s.t.wait_row(ROW_APPLY_MENU, "設定反映");
    s.t.settle();
    return shown;
}
bool open_ip_only(Session& s, const std::string& ip)
{
    if (!s.ready() || !s.search() || !s.go_to(ip)) return false;
    s.t.enter();
    const bool shown = s.t.wait_row(TITLE_ROW, "サブネット外 : IPアドレスのみ変更可能") &&
                       s.t.wait_row(ROW_APPLY_ONLY, "設定反映");
    s.t.settle();
    return shown;
}

Bytes address_bytes(const char* dotted)
{
    in_addr a{};
    inet_aton(dotted, &a);
    const uint8_t* b = reinterpret_cast<const uint8_t*>(&a.s_addr);
    return {b[0], b[1], b[2], b[3]};
}

TEST(IpScreen, DhcpUnitStartsOnOnWithGreyFieldsAndSkipsThemWhileOnIsChosen)
{
    Session s(kDhcpUnit, {"-l"});
    ASSERT_TRUE(open_ip(s, "192.0.2.20")) << s.lab.sim_log() << s.t.dump();
    // A DHCP unit gets the class mask of its address and no gateway.
    EXPECT_TRUE(s.shows({{13, 2, "IPアドレス設定"},
                         {15, 4, "IPアドレス自動取得 :"},
                         {17, 4, "設定するIPアドレス :"},
                         {18, 4, "サブネットマスク   :"},
                         {19, 4, "ゲートウェイ:"},
                         {ROW_ADDR, COL_FIELD, "192.0.2.20"},
                         {ROW_ADDR, COL_PING, "PING送信"},
                         {ROW_MASK, COL_FIELD, "255.255.255.0"},
                         {ROW_GW, COL_FIELD, "0.0.0.0"},
                         {ROW_APPLY_MENU, COL_FIELD, "設定反映"}}));

    ASSERT_TRUE(s.wait_bg(ROW_DHCP, COL_ON, BLUE)) << "ON is current";
    for (int row : {ROW_ADDR, ROW_MASK, ROW_GW})
        EXPECT_TRUE(s.wait_fg(row, COL_FIELD, GREY)) << "field of row " << row << " greyed";

    s.walk({
        {"Down from DHCP goes straight to the apply button", "d", ROW_APPLY_MENU, COL_FIELD},
        {"Down from apply wraps to DHCP", "d", ROW_DHCP, COL_ON},
        {"Up from DHCP goes to apply", "u", ROW_APPLY_MENU, COL_FIELD},
        {"Up from apply with ON goes to DHCP", "u", ROW_DHCP, COL_ON},
        {"Right chooses OFF", "r", ROW_DHCP, COL_OFF},
    });
    // With OFF the fields are no longer greyed.
    for (int row : {ROW_ADDR, ROW_MASK, ROW_GW})
        EXPECT_TRUE(s.wait_fg(row, COL_FIELD, BLUE)) << "row " << row << " ungreyed";
    s.walk({{"Down with OFF goes to the address", "d", ROW_ADDR, COL_FIELD}});
    // The choice stays marked while the other rows are used.
    EXPECT_TRUE(s.wait_bg(ROW_DHCP, COL_OFF, YELLOW)) << s.t.dump();
    s.walk({
        {"Right reaches PING送信", "r", ROW_ADDR, COL_PING},
        {"Down from the address goes to the mask", "d", ROW_MASK, COL_FIELD},
        {"Down from the mask goes to the gateway", "d", ROW_GW, COL_FIELD},
        {"Down from the gateway goes to apply", "d", ROW_APPLY_MENU, COL_FIELD},
        {"Up from apply with OFF goes to the gateway", "u", ROW_GW, COL_FIELD},
        {"Up from the gateway goes to the mask", "u", ROW_MASK, COL_FIELD},
        {"Up from the mask goes to the address", "u", ROW_ADDR, COL_FIELD},
        {"Up from the address goes to DHCP", "u", ROW_DHCP, COL_OFF},
    });

    // Esc leaves without writing anything; the settings menu is back.
    s.t.esc();
    EXPECT_TRUE(s.t.wait_row(TITLE_ROW, MENU_TITLE)) << s.t.dump();
    EXPECT_TRUE(s.udp_in("d1", 0xC0).empty());
    EXPECT_NE(s.debug_log().find("IP Setting Menu\n"), std::string::npos);
}

TEST(IpScreen, ANewStaticAddressIsWrittenIntoRecord0AndTheUnitAnswersThereAfterASearch)
{
    Session s(kStaticUnit, {"-l"});
    ASSERT_TRUE(open_ip(s, "192.0.2.10")) << s.lab.sim_log() << s.t.dump();
    ASSERT_TRUE(s.wait_bg(ROW_DHCP, COL_OFF, BLUE)) << "a static unit starts on OFF";

    ASSERT_TRUE(s.move("d", ROW_ADDR, COL_FIELD));
    s.edit("192.0.2.77");
    EXPECT_TRUE(s.t.wait_row(ROW_ADDR, "192.0.2.77")) << s.t.dump();
    ASSERT_TRUE(s.move("d", ROW_MASK, COL_FIELD));
    s.edit("255.255.0.0");
    ASSERT_TRUE(s.move("d", ROW_GW, COL_FIELD));
    s.edit("192.0.1.1");
    ASSERT_TRUE(s.move("d", ROW_APPLY_MENU, COL_FIELD));
    s.t.enter();
    ASSERT_TRUE(s.applied()) << s.t.dump();

    // Only the header, the address, the host bits and the gateway change.
    Bytes read = s.record_read("u1", 0);
    ASSERT_EQ(read.size(), 124u);
    ASSERT_TRUE(s.lab.wait_received("u1", {0x00, 0x00, 0x00, 0xC0}));
    auto writes = s.udp_in("u1", 0xC0);
    ASSERT_EQ(writes.size(), 1u);
    Bytes want = read;
    want[0] = 0x00, want[1] = 0x00, want[2] = 0x00, want[3] = 0xC0;
    Bytes a = address_bytes("192.0.2.77"), g = address_bytes("192.0.1.1");
    for (int k = 0; k < 4; k++) want[4 + k] = a[k], want[16 + k] = g[k];
    want[10] = 16;
    EXPECT_EQ(rig::hex(writes[0].bytes), rig::hex(want));
    EXPECT_EQ(writes[0].local, "192.0.2.10:30718");

    std::string log = s.debug_log();
    EXPECT_NE(log.find("sending PING to 192.0.2.77\n"), std::string::npos) << log;

    // The unit restarts at its new address and leaves the list; the list is
    // empty, so the top menu is back, and the next search finds it there.
    s.t.enter();
    ASSERT_TRUE(s.t.wait_gone("IPアドレス設定")) << s.t.dump();
    ASSERT_TRUE(s.search() && s.t.wait_text("192.0.2.77")) << s.t.dump();
}

TEST(IpScreen, TheUnitsOwnAddressIsNotPingedAndAMaskWithAHoleIsRefused)
{
    Session s(kStaticUnit, {"-l"});
    ASSERT_TRUE(open_ip(s, "192.0.2.10")) << s.lab.sim_log() << s.t.dump();
    ASSERT_TRUE(s.move("dd", ROW_MASK, COL_FIELD));
    s.edit("255.255.0.255");
    ASSERT_TRUE(s.move("dd", ROW_APPLY_MENU, COL_FIELD));
    s.t.enter();
    ASSERT_TRUE(s.wait_message(18, "サブネットマスク設定エラー", "")) << s.t.dump();
    EXPECT_TRUE(s.udp_in("u1", 0xC0).empty()) << "nothing written";
    EXPECT_EQ(s.debug_log().find("sending PING"), std::string::npos) << s.debug_log();

    // The operator stays on the apply button; 0.0.0.0 is a whole mask.
    s.t.enter();
    ASSERT_TRUE(s.t.wait_gone("サブネットマスク設定エラー"));
    EXPECT_TRUE(s.wait_bg(ROW_APPLY_MENU, COL_FIELD, BLUE));
    ASSERT_TRUE(s.move("uu", ROW_MASK, COL_FIELD));
    s.edit("0.0.0.0");
    s.keys("ddn");
    ASSERT_TRUE(s.applied()) << s.t.dump();
    ASSERT_TRUE(s.lab.wait_received("u1", {0x00, 0x00, 0x00, 0xC0}));
    auto writes = s.udp_in("u1", 0xC0);
    ASSERT_EQ(writes.size(), 1u);
    EXPECT_EQ(writes[0].bytes[10], 32);
    EXPECT_EQ(s.debug_log().find("sending PING"), std::string::npos);
}

TEST(IpScreen, AnAddressThatAnswersAPingIsRefused)
{
    Session s(kStaticUnit, {"-l"});
    ASSERT_TRUE(open_ip(s, "192.0.2.10")) << s.lab.sim_log() << s.t.dump();
    ASSERT_TRUE(s.move("d", ROW_ADDR, COL_FIELD));
    s.edit("192.0.2.50");
    ASSERT_TRUE(s.move("ddd", ROW_APPLY_MENU, COL_FIELD));
    s.t.enter();
    ASSERT_TRUE(s.wait_message(18, "衝突の恐れがあるため", "そのIPアドレスには設定できません。"))
        << s.t.dump();
    EXPECT_TRUE(s.udp_in("u1", 0xC0).empty());
    EXPECT_NE(s.debug_log().find("sending PING to 192.0.2.50\n"), std::string::npos);
    EXPECT_TRUE(s.move("n", ROW_APPLY_MENU, COL_FIELD)) << "the operator stays on apply";
}

TEST(IpScreen, ARecordWriteWithoutAnAnswerIsACommunicationErrorAndTheUnitStaysListed)
{
    Session s(kStaticUnit, {"-l"});
    ASSERT_TRUE(open_ip(s, "192.0.2.10")) << s.lab.sim_log() << s.t.dump();
    ASSERT_TRUE(s.move("u", ROW_APPLY_MENU, COL_FIELD));  // from DHCP to the apply button
    // The simulator stops answering (the lab's own process, stopped by its id).
    ASSERT_EQ(kill(s.lab.sim_pid, SIGSTOP), 0);
    s.t.enter();
    bool shown = s.wait_message(18, "通信エラー", "");
    std::string screen = s.t.dump();
    kill(s.lab.sim_pid, SIGCONT);
    ASSERT_TRUE(shown) << screen;
    EXPECT_NE(s.debug_log().find("udpsendrecv timed out\nFailed to Send SetupRecord 0\n"),
              std::string::npos)
        << s.debug_log();
    s.t.enter();
    ASSERT_TRUE(s.t.wait_gone("通信エラー")) << s.t.dump();
    EXPECT_TRUE(s.wait_bg(ROW_APPLY_MENU, COL_FIELD, BLUE)) << "the operator stays on apply";
    s.t.esc();
    ASSERT_TRUE(s.t.wait_row(TITLE_ROW, MENU_TITLE)) << s.t.dump();
    s.t.esc();
    EXPECT_TRUE(s.t.wait_row(4, "192.0.2.10")) << "still listed\n" << s.t.dump();
}

TEST(IpScreen, DhcpOnForAnXPortUnitZeroesAddressMaskAndGatewayOfRecord0)
{
    Session s(kStaticUnit, {"-l"});
    ASSERT_TRUE(open_ip(s, "192.0.2.10")) << s.lab.sim_log() << s.t.dump();
    ASSERT_TRUE(s.move("l", ROW_DHCP, COL_ON));
    // Enter on ON goes to the apply button.
    ASSERT_TRUE(s.move("n", ROW_APPLY_MENU, COL_FIELD));
    EXPECT_TRUE(s.wait_bg(ROW_DHCP, COL_ON, YELLOW));
    s.t.enter();
    ASSERT_TRUE(s.applied()) << s.t.dump();
    Bytes read = s.record_read("u1", 0);
    ASSERT_TRUE(s.lab.wait_received("u1", {0x00, 0x00, 0x00, 0xC0}));
    auto writes = s.udp_in("u1", 0xC0);
    ASSERT_EQ(writes.size(), 1u);
    ASSERT_EQ(read.size(), 124u);
    Bytes want = read;
    want[3] = 0xC0;
    for (int k : {4, 5, 6, 7, 10, 16, 17, 18, 19}) want[k] = 0;
    EXPECT_EQ(rig::hex(writes[0].bytes), rig::hex(want));
    EXPECT_EQ(s.debug_log().find("sending PING"), std::string::npos);
}

TEST(IpScreen, AWifiUnitRefusesDhcpAndGetsTheIpTextAndStaysListed)
{
    Session s(kWifiUnit, {"-l"});
    ASSERT_TRUE(open_ip(s, "192.0.2.30")) << s.lab.sim_log() << s.t.dump();
    EXPECT_EQ(s.t.text(ROW_GW, COL_FIELD, 9), "192.0.2.1");
    ASSERT_TRUE(s.move("l", ROW_DHCP, COL_ON));
    s.keys("dn");
    ASSERT_TRUE(s.wait_message(18, "この機器はDHCP設定", "することができません。")) << s.t.dump();
    ASSERT_TRUE(s.move("nd", ROW_DHCP, COL_ON));     // back to DHCP
    ASSERT_TRUE(s.move("rd", ROW_ADDR, COL_FIELD));  // OFF, then the address
    s.edit("192.0.2.61");
    ASSERT_TRUE(s.move("ddd", ROW_APPLY_MENU, COL_FIELD));
    s.t.enter();
    ASSERT_TRUE(s.applied()) << s.t.dump();

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
    EXPECT_EQ(text_received(s.lab.journal()), want);

    // Back in the list the unit is still shown under its old address.
    s.t.enter();
    ASSERT_TRUE(s.t.wait_gone("IPアドレス設定")) << s.t.dump();
    EXPECT_TRUE(s.t.wait_row(4, "192.0.2.30")) << s.t.dump();
}

TEST(IpOnly, DhcpOnBroadcastsIpSetupWithAddressZeroNamingTheUnitByItsMac)
{
    Session s(kOutsideUnit, {"-l"});
    ASSERT_TRUE(open_ip_only(s, "198.51.100.20")) << s.lab.sim_log() << s.t.dump();
    EXPECT_EQ(s.t.row(18).find("サブネットマスク"), std::string::npos) << "no mask row here";
    EXPECT_EQ(s.t.text(ROW_APPLY_ONLY, COL_FIELD, 8), "設定反映");
    ASSERT_TRUE(s.wait_bg(ROW_DHCP, COL_OFF, BLUE)) << "OFF current: the DHCP state is unknown";

    s.walk({
        {"Down with OFF goes to the address", "d", ROW_ADDR, COL_FIELD},
        {"Down from the address goes to apply", "d", ROW_APPLY_ONLY, COL_FIELD},
        {"Up from apply with OFF goes to the address", "u", ROW_ADDR, COL_FIELD},
        {"Up from the address goes to DHCP", "u", ROW_DHCP, COL_OFF},
        {"Left chooses ON", "l", ROW_DHCP, COL_ON},
        {"Down with ON skips the address", "d", ROW_APPLY_ONLY, COL_FIELD},
    });
    EXPECT_TRUE(s.wait_fg(ROW_ADDR, COL_FIELD, GREY)) << "address greyed with ON";
    s.t.enter();
    ASSERT_TRUE(s.applied()) << s.t.dump();

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
    s.t.enter();
    ASSERT_TRUE(s.t.wait_gone("サブネット外")) << s.t.dump();
    s.t.settle();
    EXPECT_EQ(s.t.row(4).find("198.51.100.20"), std::string::npos) << "the unit leaves the list\n"
                                                                   << s.t.dump();
}

TEST(IpOnly, AStaticAddressIsBroadcastAndTheUnitIsFoundThereNext)
{
    Session s(kOutsideUnit, {"-l"});
    ASSERT_TRUE(open_ip_only(s, "198.51.100.20")) << s.lab.sim_log() << s.t.dump();
    ASSERT_TRUE(s.move("d", ROW_ADDR, COL_FIELD));
    s.edit("198.51.100.21");
    ASSERT_TRUE(s.move("d", ROW_APPLY_ONLY, COL_FIELD));
    s.t.enter();
    ASSERT_TRUE(s.applied()) << s.t.dump();
    ASSERT_TRUE(s.lab.wait_received("o1", {0x00, 0x00, 0x00, 0xFC}));
    auto sets = s.udp_in("o1", 0xFC);
    ASSERT_EQ(sets.size(), 1u);
    EXPECT_EQ(rig::hex(sets[0].bytes),
              "000000fc49502d5345545550"
              "0000abcd"
              "c6336415");
    s.t.enter();
    ASSERT_TRUE(s.t.wait_gone("サブネット外")) << s.t.dump();
    ASSERT_TRUE(s.search() && s.t.wait_text("198.51.100.21")) << s.t.dump();
}

TEST(IpScreen, F9EndsTheProgramFromAnyRowAndFromAnOpenForm)
{
    struct Case {
        const char* story;
        const char* plant;
        bool same_network;
        const char* path;  // keys before F9
        bool open_form;    // Enter on the field first
    };
    const Case cases[] = {
        {"on the DHCP row", kStaticUnit, true, "", false},
        {"in the address form", kStaticUnit, true, "d", true},
        {"on the apply button of the address-only screen", kOutsideUnit, false, "dd", false},
    };
    for (const Case& c : cases) {
        Session s(c.plant, {"-l"});
        ASSERT_TRUE(c.same_network ? open_ip(s, "192.0.2.10") : open_ip_only(s, "198.51.100.20"))
            << c.story << "\n"
            << s.t.dump();
        s.keys(c.path);
        if (c.open_form) {
            s.t.enter();
            ASSERT_TRUE(s.t.wait_row(16, "決定")) << c.story << "\n" << s.t.dump();
        }
        s.t.settle();
        s.t.f9();
        EXPECT_EQ(s.t.wait_exit(10000), 0) << c.story << "\n" << s.t.dump();
    }
}

// "PING送信": the system's ping tells whether some host already answers at
// the address in the field.
TEST(PingCheck, TheOwnAddressAnAddressInUseAndAFreeAddressEachGetTheirMessage)
{
    Session s(R"({"hosts": ["192.0.2.50"], "units": [{"name": "u1", "ip": "192.0.2.10"}]})",
              {"-l"});
    ASSERT_TRUE(open_ip(s, "192.0.2.10")) << s.lab.sim_log() << s.t.dump();
    ASSERT_TRUE(s.move("d", ROW_ADDR, COL_FIELD));

    struct Case {
        const char* address;  // nullptr: leave the unit's own address
        const char* line1;
        const char* line2;
        const char* logged;
    };
    const Case cases[] = {
        {nullptr, "PINGに応答がありました。", "", "ret value = 0\n"},
        {"192.0.2.50", "PINGに応答がありました。", "この設定はアドレス衝突の恐れがあります。",
         "ret value = 0\n"},
        {"192.0.2.99", "PINGに応答がありません。", "このアドレスは設定可能と思われます。",
         "ret value = 256\n"},
    };
    for (const Case& c : cases) {
        const char* address = c.address != nullptr ? c.address : "192.0.2.10";
        if (c.address != nullptr) s.edit(c.address);
        ASSERT_TRUE(s.move("r", ROW_ADDR, COL_PING));
        s.t.enter();
        EXPECT_TRUE(s.wait_message(18, c.line1, c.line2)) << address << "\n" << s.t.dump();
        std::string log = s.debug_log();
        std::string sent = std::string("sending PING to ") + address + "\n";
        size_t at = log.rfind(sent);
        ASSERT_NE(at, std::string::npos) << log;
        EXPECT_EQ(log.compare(at + sent.size(), std::string(c.logged).size(), c.logged), 0) << log;
        s.t.enter();  // closes the box; the row starts again on the field
        ASSERT_TRUE(s.t.wait_gone(c.line1)) << s.t.dump();
        ASSERT_TRUE(s.wait_bg(ROW_ADDR, COL_FIELD, BLUE)) << s.t.dump();
    }
    EXPECT_TRUE(s.udp_in("u1", 0xC0).empty()) << "a ping check writes nothing";
}

}  // namespace
