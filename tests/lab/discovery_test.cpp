// The XPort side of a unit on UDP 30718: discovery answers, as a search sees them.
#include <gtest/gtest.h>

#include <algorithm>

#include "client.h"
#include "rig/lab.h"

using labtest::Bytes;

namespace {

const char* kPlant = R"({
  "units": [
    { "name": "plain", "ip": "192.0.2.10", "mac": "00:80:a3:01:02:03", "devtype": "X5", "nib5": 10, "nib6": 3 },
    { "name": "wifi", "ip": "192.0.2.11", "mac": "00:80:a3:01:02:04", "module": "wifi" },
    { "name": "both", "ip": "192.0.2.12", "mac": "00:80:a3:01:02:05", "devtype": "X9", "query": "both" },
    { "name": "far", "ip": "198.51.100.20", "mac": "00:80:a3:01:02:06", "devtype": "X3" },
    { "name": "mute", "ip": "192.0.2.13", "faults": { "udp_silent": true } }
  ]})";

const Bytes kF6 = {0x00, 0x00, 0x00, 0xF6};
const Bytes kLN = {'L', 'N'};

int count_from(const std::vector<labtest::Datagram>& d, const std::string& ip)
{
    return static_cast<int>(
        std::count_if(d.begin(), d.end(), [&](auto& x) { return x.from == ip; }));
}

}  // namespace

TEST(Discovery, EachUnitAnswersItsQueryFromItsOwnAddress)
{
    rig::Lab lab(kPlant);
    ASSERT_TRUE(lab.ok()) << lab.sim_log();
    lab.enter_host();

    auto f6 = labtest::udp_ask("255.255.255.255", kF6, 3);
    auto ln = labtest::udp_ask("255.255.255.255", kLN, 2);
    struct Case {
        const char* ip;
        int f6, ln;
    } cases[] = {
        {"192.0.2.10", 1, 0},    {"192.0.2.11", 0, 1}, {"192.0.2.12", 1, 1},
        {"198.51.100.20", 1, 0}, {"192.0.2.13", 0, 0},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(count_from(f6, c.ip), c.f6) << c.ip;
        EXPECT_EQ(count_from(ln, c.ip), c.ln) << c.ip;
    }
    for (const auto& d : f6) {
        if (d.from != "192.0.2.10") continue;
        ASSERT_EQ(d.bytes.size(), 30u);
        EXPECT_EQ(d.bytes[5], 0xA0);
        EXPECT_EQ(d.bytes[6], 0x30);
        EXPECT_EQ(d.bytes[8], 'X');
        EXPECT_EQ(d.bytes[9], '5');
        EXPECT_EQ(Bytes(d.bytes.begin() + 24, d.bytes.end()),
                  (Bytes{0x00, 0x80, 0xA3, 0x01, 0x02, 0x03}));
    }
    for (const auto& d : ln) {
        if (d.from == "192.0.2.11") {
            EXPECT_EQ(rig::hex({d.bytes.begin() + 8, d.bytes.begin() + 10}), "5f4c");
        }
    }

    // Every unit journals both broadcasts, the silent one too.
    for (const char* unit : {"plain", "wifi", "both", "far", "mute"}) {
        auto got = lab.received(unit);
        ASSERT_EQ(got.size(), 2u) << unit;
        EXPECT_EQ(got[0].bytes, kF6);
        EXPECT_EQ(got[0].local, "255.255.255.255:30718");
        EXPECT_EQ(got[1].bytes, kLN);
    }
}

TEST(Discovery, AskingOneAddressReachesOnlyThatUnit)
{
    rig::Lab lab(kPlant);
    ASSERT_TRUE(lab.ok()) << lab.sim_log();
    lab.enter_host();
    auto got = labtest::udp_ask("198.51.100.20", kF6);
    ASSERT_EQ(got.size(), 1u);
    EXPECT_EQ(got[0].from, "198.51.100.20");
    EXPECT_EQ(got[0].bytes[9], '3');
    EXPECT_TRUE(lab.received("plain").empty());
    auto far = lab.received("far");
    ASSERT_EQ(far.size(), 1u);
    EXPECT_EQ(far[0].local, "198.51.100.20:30718");
    EXPECT_EQ(far[0].peer.rfind("192.0.2.1:", 0), 0u);
}

TEST(Discovery, UnitAddressesAnswerPingAndOthersDoNot)
{
    rig::Lab lab(R"({"hosts": ["192.0.2.50"], "units": [{ "name": "a", "ip": "192.0.2.10" },
                                                       { "name": "b", "ip": "198.51.100.7" }]})");
    ASSERT_TRUE(lab.ok()) << lab.sim_log();
    lab.enter_host();
    EXPECT_TRUE(labtest::ping("192.0.2.10"));
    EXPECT_TRUE(labtest::ping("198.51.100.7"));
    EXPECT_TRUE(labtest::ping("192.0.2.50"));
    EXPECT_FALSE(labtest::ping("192.0.2.99"));
}
