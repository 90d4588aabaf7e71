// A host with two networks: the discovery queries go out on both interfaces
// and every unit is listed with the interface it answered on.
#include "device/KIVRAXPort.h"
#include "lab_support.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

using namespace devtest;

namespace {

const char* const two_networks = R"({"units": [
  {"name": "a1", "ip": "192.0.2.10"},
  {"name": "a2", "ip": "198.51.100.10", "devtype": "X1"},
  {"name": "b1", "net": 2, "ip": "203.0.113.10", "module": "wifi"},
  {"name": "b2", "net": 2, "ip": "198.18.0.10", "query": "both"}
]})";

const char* interface_of(const char* ip)
{
    for (int i = 0; i < xportcount; i++)
        if (std::strcmp(xportset[i].ipstr, ip) == 0) return xportset[i].host_ifname;
    return "(not found)";
}

// The discovery datagrams a unit received: "f6 from a.b.c.d" / "LN from ...".
std::vector<std::string> queries(const rig::Lab& lab, const std::string& unit, std::string* port)
{
    std::vector<std::string> out;
    for (const rig::JournalEntry& e : lab.received(unit)) {
        if (e.proto != "udp" || e.local != "255.255.255.255:30718") continue;
        const size_t colon = e.peer.find(':');
        *port = e.peer.substr(colon + 1);
        out.push_back((e.bytes.size() == 4 ? "f6 from " : "LN from ") + e.peer.substr(0, colon));
    }
    return out;
}

TEST(SearchNetworks, BothInterfacesAreAskedAndEachUnitKeepsTheInterfaceItAnsweredOn)
{
    rig::Lab lab(two_networks);
    ASSERT_TRUE(lab.ok()) << lab.sim_log();
    lab.enter_host();
    LogDir dir;

    SearchInterface ifs[SEARCH_IF_MAX];
    ASSERT_EQ(ListSearchInterfaces(ifs, SEARCH_IF_MAX), 2);
    EXPECT_STREQ(ifs[0].name, "veth-host");
    EXPECT_STREQ(ifs[1].name, "veth-host2");

    ASSERT_EQ(XPortSearch(), 4) << lab.sim_log();
    EXPECT_STREQ(interface_of("192.0.2.10"), "veth-host");
    EXPECT_STREQ(interface_of("198.51.100.10"), "veth-host");
    EXPECT_STREQ(interface_of("203.0.113.10"), "veth-host2");
    EXPECT_STREQ(interface_of("198.18.0.10"), "veth-host2");

    // One socket: both queries from the same port, each out of each interface
    // with that interface's address, and a network hears only its own.
    std::string port_a, port_b;
    const std::vector<std::string> first{"f6 from 192.0.2.1", "LN from 192.0.2.1"};
    const std::vector<std::string> second{"f6 from 203.0.113.1", "LN from 203.0.113.1"};
    EXPECT_EQ(queries(lab, "a1", &port_a), first);
    EXPECT_EQ(queries(lab, "b2", &port_b), second);
    EXPECT_EQ(port_a, port_b);

    // Only the interfaces asked for: the first network hears nothing more.
    const size_t heard = lab.received("a1").size();
    ASSERT_EQ(XPortSearchOn(&ifs[1], 1), 2);
    EXPECT_STREQ(interface_of("203.0.113.10"), "veth-host2");
    EXPECT_EQ(lab.received("a1").size(), heard);
    EXPECT_EQ(queries(lab, "b1", &port_b),
              (std::vector<std::string>{second[0], second[1], second[0], second[1]}));
}

}  // namespace
