// A WiFi unit's parameters over its key/value text protocol, against
// simulated WiFi modules.
#include "device/KIVRAXPort.h"
#include "fake_unit.h"
#include "lab_support.h"
#include "wifi_example.h"

#include <arpa/inet.h>
#include <gtest/gtest.h>

#include <cstring>

using namespace devtest;

namespace {

void place_unit(int i, const char* ip)
{
    ResetXPortEntry(i);
    std::strcpy(xportset[i].ipstr, ip);
}

// Everything a unit received over TCP on the module's port, per connection.
std::vector<std::vector<uint8_t>> module_requests(const rig::Lab& lab, const std::string& unit)
{
    std::vector<std::vector<uint8_t>> out;
    int conn = -1;
    for (const rig::JournalEntry& e : lab.received(unit)) {
        if (e.proto != "tcp" || e.local.find(":9998") == std::string::npos) continue;
        if (e.conn != conn) out.emplace_back();
        conn = e.conn;
        out.back().insert(out.back().end(), e.bytes.begin(), e.bytes.end());
    }
    return out;
}

TEST(WifiModule, DumpAndVersionFillTheEntry)
{
    rig::Lab lab(plant({
        std::string(R"({"name":"w","ip":"192.0.2.10","module":"wifi",)") + kExamplePlantKeys + "}",
        R"({"name":"w2","ip":"192.0.2.11","module":"wifi","versions":["SKETCH VER12","TEXT VER3"]})",
    }));
    ASSERT_TRUE(lab.ok()) << lab.sim_log();
    lab.enter_host();
    LogDir dir;
    place_unit(0, "192.0.2.10");
    // Leftovers of another unit in the slot must not survive.
    std::strcpy(xportset[0].mpass, "leftover");
    std::memset(xportset[0].setup3, 0x77, SETUP_LEN);

    ASSERT_EQ(Get_ESP_Port(0), 0) << dir.log();
    const DeviceEntry& e = xportset[0];
    expect_example_entry(e);
    EXPECT_EQ(e.sketch_ver, 12);
    EXPECT_EQ(e.text_ver, 3);
    EXPECT_EQ(e.setup3[0], 0);
    EXPECT_STREQ(e.ipstr, "192.0.2.10") << "the key IP changes nothing";
    EXPECT_EQ(module_requests(lab, "w"),
              (std::vector<std::vector<uint8_t>>{text_bytes("DUMP\nEND\n", true), text_bytes("VER\n", true)}));
    EXPECT_EQ(dir.log(), "Get_ESP_Parameter\n");

    InitDebug();
    place_unit(1, "192.0.2.11");
    ASSERT_EQ(Get_ESP_Parameter(1), 0);
    EXPECT_EQ(xportset[1].sketch_ver, 12);
    EXPECT_EQ(xportset[1].text_ver, 3);
    EXPECT_EQ(dir.log(), "Get_ESP_Parameter\n");
}

TEST(WifiModule, BrokenDumpsFailWithTheirOwnLines)
{
    rig::Lab lab(plant({
        R"({"name":"stops","ip":"192.0.2.10","module":"wifi","faults":{"dump_stops_after_end":true}})",
        R"({"name":"long","ip":"192.0.2.11","module":"wifi","faults":{"long_dump_line":300}})",
        R"({"name":"shut","ip":"192.0.2.12","module":"wifi","faults":{"close_early":true}})",
        R"({"name":"refused","ip":"192.0.2.13","module":"wifi","faults":{"refused":true}})",
    }));
    ASSERT_TRUE(lab.ok()) << lab.sim_log();
    lab.enter_host();
    LogDir dir;
    struct Case { const char* ip; const char* log; };
    const Case cases[] = {
        // Waits for the line after "END" until the receive time-out.
        {"192.0.2.10", "Get_ESP_Parameter\nsocket recv error\n"},
        {"192.0.2.11", "Get_ESP_Parameter\nno linefeed found\n"},
        // Closed mid-dump: a failure, not a loop on empty reads.
        {"192.0.2.12", "Get_ESP_Parameter\nsocket recv error\n"},
        {"192.0.2.13", "Get_ESP_Parameter\nconnection failed\nconnect timeout failed\n"},
    };
    for (const Case& c : cases) {
        InitDebug();
        place_unit(0, c.ip);
        Clock::time_point start = Clock::now();
        EXPECT_EQ(Get_ESP_Port(0), -1) << c.ip;
        EXPECT_LT(seconds_since(start), 3.5) << c.ip;
        EXPECT_EQ(dir.log(), c.log) << c.ip;
    }
}

TEST(WifiModule, SetTextsGoOutWhole)
{
    rig::Lab lab(plant({
        R"({"name":"w","ip":"192.0.2.10","module":"wifi"})",
        R"({"name":"refused","ip":"192.0.2.11","module":"wifi","faults":{"refused":true}})",
    }));
    ASSERT_TRUE(lab.ok()) << lab.sim_log();
    lab.enter_host();
    LogDir dir;
    place_unit(0, "192.0.2.10");
    place_unit(1, "192.0.2.11");
    std::string text = "MHOST\r\n" + std::string(200, 'm') + "\r\nMPORT\r\n25\r\nMUSER\r\nbob\r\nMPASS\r\npw\r\n"
                       "MFROM\r\na@b\r\nMTO1\r\nc@d\r\nMTO2\r\n\r\nMSUBJ\r\nhi\r\nEND\r\n";
    EXPECT_EQ(Set_ESP_Parameter(0, text.c_str()), 0);
    EXPECT_EQ(dir.log(), "Set_ESP_Parameter\n");
    ASSERT_TRUE(lab.wait_journal([&](const std::vector<rig::JournalEntry>&) {
        std::vector<std::vector<uint8_t>> got = module_requests(lab, "w");
        return !got.empty() && got[0].size() >= text.size();
    }));
    EXPECT_EQ(module_requests(lab, "w"), (std::vector<std::vector<uint8_t>>{text_bytes(text)}));

    InitDebug();
    EXPECT_EQ(Set_ESP_Parameter(1, text.c_str()), -1);
    EXPECT_EQ(dir.log(), "Set_ESP_Parameter\nconnection failed\nconnect timeout failed\n");
}

// The dump went through, then the module stays silent on "VER": the
// parameters read stay in the entry, the result is a failure.
TEST(WifiModule, AVersionRequestThatFailsKeepsWhatTheDumpStored)
{
    rig::Lab lab(plant({}));
    ASSERT_TRUE(lab.ok()) << lab.sim_log();
    ASSERT_EQ(lab.run_in_host({"ip", "link", "set", "lo", "up"}), 0);
    lab.enter_host();
    LogDir dir;
    const std::string dump = "PORT\r\n8000\r\nMPASS\r\nsecret\r\nEND\r\n\r\n";
    {
        FakeTcpUnit module(ESP_TCP_PORT, {{{text_bytes(dump), 0}}, {}});
        ASSERT_EQ(module.port, ESP_TCP_PORT);
        place_unit(0, "127.0.0.1");
        EXPECT_EQ(Get_ESP_Port(0), -1);
    }
    EXPECT_EQ(xportset[0].esp_port, 8000);
    EXPECT_STREQ(xportset[0].mpass, "secret");
    EXPECT_EQ(xportset[0].sketch_ver, 0);
    EXPECT_EQ(dir.log(), "Get_ESP_Parameter\nrecv error\n");

    // A module that closes before its second version line: no failure, no versions.
    InitDebug();
    {
        FakeTcpUnit module(ESP_TCP_PORT, {{{text_bytes(dump), 0}}, {{text_bytes("SKETCH VER : 12\r\n"), 0}, {{}, -1}}});
        ASSERT_EQ(module.port, ESP_TCP_PORT);
        EXPECT_EQ(Get_ESP_Parameter(0), 0);
    }
    EXPECT_EQ(xportset[0].sketch_ver, 0);
    EXPECT_EQ(xportset[0].text_ver, 0);
    EXPECT_EQ(dir.log(), "Get_ESP_Parameter\n");
}

}  // namespace
