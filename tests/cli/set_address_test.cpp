// kivraset set-address in the lab: one unit of each kind gets the bytes the
// IP screen sends for the same values, each refusal is said with nothing
// sent, and --all --from hands out consecutive addresses in MAC order past
// an address that answers ping and one another unit has.
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include "tests/cli/cli_run.h"
#include "tests/cli/unit_writes.h"

using clitest::kivraset;
using clitest::writes;
using nlohmann::json;

namespace {

// Record 0 as the unit sent it when read, with the write header and
// address, host bits and gateway as the IP screen puts them.
std::string record0_write(const rig::Lab& lab, const std::string& unit, uint8_t addr_last,
                          uint8_t hostbits, const uint8_t gateway[4])
{
    std::vector<uint8_t> image;
    for (const rig::JournalEntry& e : lab.sent(unit))
        if (e.proto == "udp" && e.bytes.size() == 124) image = e.bytes;
    if (image.size() != 124) return "no record 0 read";
    image[3] = 0xC0;
    const uint8_t addr[4] = {192, 0, 2, addr_last};
    for (int k = 0; k < 4; k++) image[4 + k] = addr[k], image[16 + k] = gateway[k];
    image[10] = hostbits;
    return rig::hex(image);
}

TEST(CliSetAddress, OneUnitOfEachKindGetsTheIpScreensBytesAndEachRefusalIsSaid)
{
    rig::Lab lab(R"({"hosts": ["192.0.2.50"], "units": [
      {"name": "x", "ip": "192.0.2.10", "mac": "00:80:a3:00:00:10", "gateway": "192.0.2.254"},
      {"name": "w", "ip": "192.0.2.20", "mac": "24:0a:c4:00:00:20", "module": "wifi", "mask": "255.255.0.0"},
      {"name": "far", "ip": "198.51.100.20", "mac": "00:80:a3:01:9c:2d"},
      {"name": "farw", "ip": "198.51.100.31", "mac": "24:0a:c4:00:00:30", "module": "wifi"},
      {"name": "y", "ip": "192.0.2.11", "mac": "00:80:a3:00:00:11"}]})");
    ASSERT_TRUE(lab.ok()) << lab.sim_log();

    clitest::Run r = kivraset(lab, {"set-address", "00-80-A3-00-00-10", "192.0.2.77", "--mask",
                                    "255.255.0.0", "--gateway=192.0.2.1"});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out,
              "MAC                ADDRESS     NEW ADDRESS  MASK         GATEWAY    RESULT\n"
              "00:80:a3:00:00:10  192.0.2.10  192.0.2.77   255.255.0.0  192.0.2.1  set\n");
    const uint8_t gw1[4] = {192, 0, 2, 1};
    EXPECT_EQ(writes(lab, "x"), std::vector<std::string>{record0_write(lab, "x", 77, 16, gw1)});

    // The mask stays the module's own.
    r = kivraset(lab, {"set-address", "192.0.2.20", "192.0.2.21"});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(writes(lab, "w"), std::vector<std::string>{"IP\r\n192.0.2.21\r\nSUBM\r\n255.255.0.0"
                                                         "\r\nGWAY\r\n0.0.0.0\r\nEND\r\n"});

    r = kivraset(lab, {"set-address", "--json", "00:80:a3:01:9c:2d", "198.51.100.30"});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(json::parse(r.out), json::parse(R"({"units": [{"mac": "00:80:a3:01:9c:2d",
        "address": "198.51.100.20", "interface": "veth-host", "dhcp": false,
        "new_address": "198.51.100.30", "mask": null, "gateway": null, "result": "set",
        "reason": null}], "skipped": [], "not_sent": []})"));
    EXPECT_EQ(writes(lab, "far"),
              std::vector<std::string>{"000000fc49502d534554555000009c2dc633641e"});

    struct Case {
        std::vector<std::string> args;
        int status;
        const char* err;
    } refusals[] = {
        {{"set-address", "00:80:a3:00:00:11", "192.0.2.50"},
         1,
         "kivraset set-address: 00:80:a3:00:00:11 (192.0.2.11): 192.0.2.50 answers ping: another "
         "host may have it; nothing sent\n"},
        {{"set-address", "00:80:a3:00:00:11", "--dhcp", "--gateway", "192.0.2.1"},
         2,
         "kivraset set-address: --dhcp takes no --mask or --gateway (the unit gets them by DHCP)\n"
         "Try 'kivraset set-address --help'.\n"},
        {{"set-address", "192.0.2.21", "--dhcp"},
         1,
         "kivraset set-address: 24:0a:c4:00:00:20 (192.0.2.21): a WiFi module cannot take its "
         "address by DHCP; nothing sent\n"},
        {{"set-address", "24:0a:c4:00:00:30", "198.51.100.32"},
         1,
         "kivraset set-address: 24:0a:c4:00:00:30: a WiFi module outside the host's networks (it "
         "is set only from inside its own network); nothing sent to it\n"},
        {{"set-address", "198.51.100.30", "198.51.100.40", "--mask", "255.255.0.0"},
         1,
         "kivraset set-address: 00:80:a3:01:9c:2d (198.51.100.30): outside the host's networks "
         "only its address can be set (--mask and --gateway cannot be sent to it); nothing sent "
         "to it\n"},
        {{"set-address", "00:80:a3:00:00:99", "192.0.2.40"},
         1,
         "kivraset set-address: 00:80:a3:00:00:99: no unit answers with this MAC address\n"},
        {{"set-address", "00:80:a3:00:00:11", "192.0.2.40", "--mask", "255.0.255.0"},
         2,
         "kivraset set-address: --mask 255.0.255.0: the mask has a gap in its one bits\n"},
        {{"set-address", "00:80:a3", "192.0.2.40"},
         2,
         "kivraset set-address: '00:80:a3' names no unit (a MAC address such as "
         "00:80:a3:10:00:01, or an IPv4 address)\nTry 'kivraset set-address --help'.\n"},
        {{"set-address", "00:80:a3:00:00:11", "224.0.0.1"},
         2,
         "kivraset set-address: ADDRESS 224.0.0.1: not an address a unit can have\n"},
        {{"set-address", "00:80:a3:00:00:11", "--from", "192.0.2.40"},
         2,
         "kivraset set-address: --from goes with --all\nTry 'kivraset set-address --help'.\n"},
    };
    for (const Case& c : refusals) {
        r = kivraset(lab, c.args);
        EXPECT_EQ(r.status, c.status) << c.args[1];
        EXPECT_EQ(r.err, c.err) << c.args[1];
    }
    for (const char* unit : {"y", "farw"}) EXPECT_EQ(writes(lab, unit).size(), 0u) << unit;
    EXPECT_EQ(writes(lab, "w").size(), 1u);
    EXPECT_EQ(writes(lab, "far").size(), 1u);
}

TEST(CliSetAddress, AllFromGivesConsecutiveAddressesInMacOrderPastTakenOnes)
{
    rig::Lab lab(R"({"hosts": ["192.0.2.101"], "units": [
      {"name": "a", "ip": "192.0.2.102", "mac": "00:80:a3:00:00:04", "gateway": "192.0.2.254"},
      {"name": "b", "ip": "192.0.2.11", "mac": "00:80:a3:00:00:02", "module": "gc", "devtype": "X6", "model": 2},
      {"name": "w", "ip": "192.0.2.105", "mac": "24:0a:c4:00:00:03", "module": "wifi"},
      {"name": "far", "ip": "198.51.100.10", "mac": "00:80:a3:00:00:01"}]})");
    ASSERT_TRUE(lab.ok()) << lab.sim_log();

    clitest::Run r = kivraset(lab, {"set-address", "--all", "--from", "192.0.2.100"});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out,
              "MAC                ADDRESS        NEW ADDRESS  MASK           GATEWAY      RESULT\n"
              "00:80:a3:00:00:01  198.51.100.10  192.0.2.100  -              -            set\n"
              "00:80:a3:00:00:02  192.0.2.11     192.0.2.103  255.255.255.0  0.0.0.0      set\n"
              "00:80:a3:00:00:04  192.0.2.102    192.0.2.104  255.255.255.0  192.0.2.254  set\n"
              "24:0a:c4:00:00:03  192.0.2.105    192.0.2.105  255.255.255.0  0.0.0.0      set\n"
              "skipped 192.0.2.101: it answers ping\n"
              "skipped 192.0.2.102: another unit has it\n");
    const uint8_t gw0[4] = {0, 0, 0, 0}, gw254[4] = {192, 0, 2, 254};
    EXPECT_EQ(writes(lab, "far"), std::vector<std::string>{"000000fc49502d53455455500000000"
                                                           "1c0000264"});
    EXPECT_EQ(writes(lab, "b"), std::vector<std::string>{record0_write(lab, "b", 103, 8, gw0)});
    EXPECT_EQ(writes(lab, "w"), std::vector<std::string>{"IP\r\n192.0.2.105\r\nSUBM\r\n255.255.255"
                                                         ".0\r\nGWAY\r\n0.0.0.0\r\nEND\r\n"});
    EXPECT_EQ(writes(lab, "a"), std::vector<std::string>{record0_write(lab, "a", 104, 8, gw254)});

    // Again: each unit comes to its own address, but the second finds 102 free now.
    r = kivraset(lab, {"set-address", "--all", "--from=192.0.2.100", "--json"});
    EXPECT_EQ(r.status, 0) << r.err;
    const json j = json::parse(r.out, nullptr, false);
    ASSERT_EQ(j["units"].size(), 4u) << r.out;
    std::vector<std::string> got;
    for (const json& u : j["units"])
        got.push_back(u["address"].get<std::string>() + " " + u["new_address"].get<std::string>());
    EXPECT_EQ(got,
              (std::vector<std::string>{"192.0.2.100 192.0.2.100", "192.0.2.103 192.0.2.102",
                                        "192.0.2.104 192.0.2.104", "192.0.2.105 192.0.2.105"}));
    EXPECT_EQ(j["skipped"], json::parse(R"([{"address": "192.0.2.101", "reason": "it answers ping"},
        {"address": "192.0.2.103", "reason": "another unit has it"}])"));
}

}  // namespace
