// kivraset list in the lab: a plant over two host networks as a table and as
// JSON, the interfaces it may search, and what it says when no unit is listed.
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include "rig/term.h"
#include "tests/cli/cli_run.h"

using clitest::kivraset;
using nlohmann::json;

namespace {

const char* const mixed_plant = R"({"units": [
  {"name": "di",   "ip": "192.0.2.10", "mac": "00:80:a3:00:01:10", "model": 0, "gateway": "192.0.2.254"},
  {"name": "gc",   "ip": "192.0.2.11", "mac": "00:80:a3:00:01:11", "module": "gc", "devtype": "X6", "model": 2, "dhcp": true},
  {"name": "far",  "ip": "198.51.100.10", "mac": "00:80:a3:00:01:12", "devtype": "X1"},
  {"name": "wifi", "net": 2, "ip": "203.0.113.11", "mac": "24:0a:c4:00:02:11", "module": "wifi", "model": 5},
  {"name": "ai",   "net": 2, "ip": "203.0.113.12", "mac": "00:80:a3:00:02:12", "model": 8, "cmd_port": 10002},
  {"name": "far2", "net": 2, "ip": "198.18.0.10", "mac": "00:80:a3:00:02:13"}
]})";

const char* const table =
    "MAC                ADDRESS        MASK           GATEWAY      DHCP  MODEL      INTERFACE\n"
    "00:80:a3:00:01:10  192.0.2.10     255.255.255.0  192.0.2.254  off   ZR-201     veth-host\n"
    "00:80:a3:00:01:11  192.0.2.11     255.255.255.0  0.0.0.0      on    ZR-203(G)  veth-host\n"
    "00:80:a3:00:01:12  198.51.100.10  -              -            -     X1         veth-host\n"
    "00:80:a3:00:02:12  203.0.113.12   255.255.255.0  0.0.0.0      off   X5         veth-host2\n"
    "00:80:a3:00:02:13  198.18.0.10    -              -            -     X5         veth-host2\n"
    "24:0a:c4:00:02:11  203.0.113.11   255.255.255.0  0.0.0.0      off   ZR-206W    veth-host2\n";

int discovery_heard(const rig::Lab& lab, const std::string& unit)
{
    int n = 0;
    for (const rig::JournalEntry& e : lab.received(unit)) n += e.local == "255.255.255.255:30718";
    return n;
}

TEST(CliList, AMixedPlantOverTwoHostNetworksAsATableAndAsJson)
{
    rig::Lab lab(mixed_plant);
    ASSERT_TRUE(lab.ok()) << lab.sim_log();

    clitest::Run r = kivraset(lab, {"list", "--port", "10001"});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, table);
    EXPECT_EQ(r.err, "") << "no progress when standard error is not a terminal";

    r = kivraset(lab, {"list", "--json", "--port=10001"});
    ASSERT_EQ(r.status, 0) << r.err;
    const json j = json::parse(r.out, nullptr, false);
    ASSERT_TRUE(j.is_object()) << r.out;
    EXPECT_EQ(j["interfaces"], json::parse(R"(["veth-host", "veth-host2"])"));
    ASSERT_EQ(j["units"].size(), 6u) << r.out;
    EXPECT_EQ(j["units"][1], json::parse(R"j({"mac": "00:80:a3:00:01:11", "address": "192.0.2.11",
        "mask": "255.255.255.0", "gateway": "0.0.0.0", "dhcp": true, "model": 2,
        "model_name": "ZR-203(G)", "unit_id": 1, "device_type": "X6", "module": "gc",
        "interface": "veth-host", "same_network": true})j"));
    EXPECT_EQ(j["units"][4], json::parse(R"({"mac": "00:80:a3:00:02:13", "address": "198.18.0.10",
        "mask": null, "gateway": null, "dhcp": null, "model": null, "model_name": null,
        "unit_id": null, "device_type": "X5", "module": "xport", "interface": "veth-host2",
        "same_network": false})"));
    EXPECT_EQ(j["units"][5]["module"], "wifi");
    EXPECT_EQ(j["failed"], json::array());

    // Only the second network is asked; the first hears nothing more.
    const int heard = discovery_heard(lab, "di");
    r = kivraset(lab, {"list", "-i", "veth-host2", "-i", "veth-host2"});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out.find("veth-host\n"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("24:0a:c4:00:02:11  203.0.113.11"), std::string::npos) << r.out;
    EXPECT_EQ(discovery_heard(lab, "di"), heard);
    EXPECT_EQ(discovery_heard(lab, "ai"), 3 * 2);

    // On a terminal, standard error says what is being searched.
    rig::Term t(lab.in_host({rig::kivraset_path(), "list", "-iveth-host"}));
    EXPECT_TRUE(t.wait_text("kivraset list: searching veth-host...")) << t.dump();
    EXPECT_TRUE(t.wait_text("00:80:a3:00:01:10  192.0.2.10")) << t.dump();
}

TEST(CliList, NoUnitListedSaysWhyAndEndsWithStatusOne)
{
    rig::Lab lab(R"({"networks": 2, "units": [{"name": "bad", "net": 2, "ip": "203.0.113.10",
        "mac": "00:80:a3:00:02:10", "faults": {"unreadable_record": 0}}]})");
    ASSERT_TRUE(lab.ok()) << lab.sim_log();

    struct Case {
        std::vector<std::string> args;
        int status;
        const char* out;
        const char* err;
    } cases[] = {
        {{"list"},
         1,
         "",
         "kivraset list: unit 00:80:a3:00:02:10 (203.0.113.10 on veth-host2): reading setup "
         "record 0 failed; not listed\n"},
        {{"list", "--json", "-i", "veth-host"},
         1,
         "{\"interfaces\":[\"veth-host\"],\"units\":[],\"failed\":[]}\n",
         "kivraset list: no unit answered on veth-host\n"},
        {{"list", "-i", "nosuch0"}, 2, "", "kivraset list: -i nosuch0: no such interface\n"},
        {{"list", "-i", "lo"},
         2,
         "",
         "kivraset list: -i lo: the search cannot use this interface (it must be up, broadcast "
         "and have an IPv4 address; loopback is never searched)\n"},
        {{"list", "--port", "65536"},
         2,
         "",
         "kivraset list: --port 65536: not a port number (1-65535)\n"},
    };
    for (const Case& c : cases) {
        const clitest::Run r = kivraset(lab, c.args);
        EXPECT_EQ(r.status, c.status) << c.args.back();
        EXPECT_EQ(r.out, c.out) << c.args.back();
        EXPECT_EQ(r.err, c.err) << c.args.back();
    }
}

}  // namespace
