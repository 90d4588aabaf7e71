// The WiFi module's key/value text on TCP 9998: dump, versions and set texts.
#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include "client.h"
#include "rig/lab.h"

using labtest::Bytes;
using labtest::text;
using nlohmann::json;

namespace {

const char* kPlant = R"({
  "units": [
    { "name": "w", "ip": "192.0.2.30", "module": "wifi", "cmd_port": 8000, "gateway": "192.0.2.1",
      "wifi": { "MHOST": "mail.plant.example", "HIP": "192.0.2.11", "HPORT": "10001" },
      "versions": ["SKETCH VER12", "TEXT VER3"] }
  ]})";

const Bytes kDump = labtest::cat({text("DUMP\nEND\n"), {0}});
const Bytes kVer = labtest::cat({text("VER\n"), {0}});

std::string as_text(const Bytes& b) { return std::string(b.begin(), b.end()); }

}  // namespace

TEST(Wifi, DumpListsEveryPairThenEndAndOneMoreLine)
{
    rig::Lab lab(kPlant);
    ASSERT_TRUE(lab.ok()) << lab.sim_log();
    lab.enter_host();
    auto r = labtest::tcp_ask("192.0.2.30", 9998, kDump, 100000);
    EXPECT_TRUE(r.closed_by_unit);
    EXPECT_EQ(
        as_text(r.reply),
        "IP\r\n192.0.2.30\r\nSUBM\r\n255.255.255.0\r\nGWAY\r\n192.0.2.1\r\nPORT\r\n8000\r\n"
        "MHOST\r\nmail.plant.example\r\nMPORT\r\n25\r\nMUSER\r\n\r\nMPASS\r\n\r\nMFROM\r\n\r\n"
        "MTO1\r\n\r\nMTO2\r\n\r\nMSUBJ\r\n\r\nHIP\r\n192.0.2.11\r\nHPORT\r\n10001\r\nEND\r\n\r\n");
    auto v = labtest::tcp_ask("192.0.2.30", 9998, kVer, 100000);
    EXPECT_TRUE(v.closed_by_unit);
    EXPECT_EQ(as_text(v.reply), "SKETCH VER12\r\nTEXT VER3\r\n");
    // The controller answers at the module's PORT.
    EXPECT_EQ(labtest::tcp_ask("192.0.2.30", 8000, text("UU"), 2).reply.size(), 2u);
}

TEST(Wifi, SetTextIsStoredAndAnAddressChangeRestartsTheModuleThere)
{
    rig::Lab lab(kPlant);
    ASSERT_TRUE(lab.ok()) << lab.sim_log();
    lab.enter_host();
    std::string mail =
        "MHOST\r\nsmtp.example\r\nMPORT\r\n587\r\nMUSER\r\nme\r\nMPASS\r\npw\r\nMFROM\r\n"
        "a@b\r\nMTO1\r\nc@d\r\nMTO2\r\n\r\nMSUBJ\r\nhello\r\nEND\r\n";
    auto r = labtest::tcp_ask("192.0.2.30", 9998, text(mail), 1, 300);
    EXPECT_TRUE(r.reply.empty());  // a set text gets no answer
    ASSERT_TRUE(lab.wait_event("w", "restart"));
    json st = json::parse(lab.state("w"));
    EXPECT_EQ(st["wifi"]["MPORT"], "587");
    EXPECT_EQ(st["wifi"]["MSUBJ"], "hello");
    EXPECT_EQ(st["wifi"]["MTO2"], "");
    EXPECT_EQ(st["ip"], "192.0.2.30");
    auto got = lab.received("w");
    ASSERT_EQ(got.size(), 1u);
    EXPECT_EQ(as_text(got[0].bytes), mail);

    std::string ip = "IP\r\n192.0.2.35\r\nSUBM\r\n255.255.0.0\r\nGWAY\r\n192.0.2.254\r\nEND\r\n";
    labtest::tcp_ask("192.0.2.30", 9998, text(ip), 1, 300);
    ASSERT_TRUE(lab.wait_event("w", "restart", 2));
    st = json::parse(lab.state("w"));
    EXPECT_EQ(st["ip"], "192.0.2.35");
    EXPECT_EQ(st["mask"], "255.255.0.0");
    EXPECT_EQ(st["gateway"], "192.0.2.254");
    auto found = labtest::udp_ask("255.255.255.255", text("LN"));
    ASSERT_EQ(found.size(), 1u);
    EXPECT_EQ(found[0].from, "192.0.2.35");
    EXPECT_TRUE(labtest::tcp_ask("192.0.2.35", 9998, kVer, 10000).closed_by_unit);

    std::string port = "PORT\r\n9000\r\nHIP\r\n192.0.2.12\r\nHPORT\r\n10002\r\nEND\r\n";
    labtest::tcp_ask("192.0.2.35", 9998, text(port), 1, 300);
    ASSERT_TRUE(lab.wait_event("w", "restart", 3));
    EXPECT_TRUE(labtest::tcp_ask("192.0.2.35", 8000, text("UU"), 2).refused);
    EXPECT_EQ(labtest::tcp_ask("192.0.2.35", 9000, text("UU"), 2).reply.size(), 2u);
}
