// Network settings derived from a unit's record 0, and the same-network rule.
#include <gtest/gtest.h>

#include <arpa/inet.h>

#include <cstring>
#include <string>

#include "screens/KIVRAMainSet.h"
#include "screens/list/list_parts.h"

namespace {

in_addr_t a(const char* dotted) { return inet_addr(dotted); }

std::string dotted(in_addr_t v)
{
    char t[INET_ADDRSTRLEN];
    inet_ntop(AF_INET, &v, t, sizeof t);
    return t;
}

struct RecordCase {
    const char* story;
    uint8_t addr[4];     // record 0 bytes 4..7
    uint8_t hostbits;    // byte 10
    uint8_t gw[4];       // bytes 16..19
    const char* current; // where the unit answered the search
    int dhcp;
    const char* ip;
    const char* mask;
    const char* gateway;
};

const RecordCase record_cases[] = {
    {"a static unit takes address, mask and gateway from its record", {192, 0, 2, 77}, 8,
     {192, 0, 2, 254}, "192.0.2.10", 0, "192.0.2.77", "255.255.255.0", "192.0.2.254"},
    {"sixteen host bits make a class B mask", {172, 16, 1, 2}, 16, {0, 0, 0, 0}, "172.16.1.2", 0,
     "172.16.1.2", "255.255.0.0", "0.0.0.0"},
    {"a DHCP unit keeps its current address with a class C mask", {0, 0, 0, 0}, 8, {9, 9, 9, 9},
     "192.0.2.10", 1, "192.0.2.10", "255.255.255.0", "0.0.0.0"},
    {"a DHCP unit in a class A network gets 255.0.0.0", {0, 0, 0, 0}, 0, {0, 0, 0, 0}, "10.1.2.3", 1,
     "10.1.2.3", "255.0.0.0", "0.0.0.0"},
    {"a DHCP unit in a class B network gets 255.255.0.0", {0, 0, 0, 0}, 0, {0, 0, 0, 0}, "128.0.0.1", 1,
     "128.0.0.1", "255.255.0.0", "0.0.0.0"},
    {"0.0.3.0 counts as DHCP: byte 6 is not looked at", {0, 0, 3, 0}, 8, {192, 0, 2, 1}, "192.0.2.11",
     1, "192.0.2.11", "255.255.255.0", "0.0.0.0"},
    {"0.0.0.1 is a static address", {0, 0, 0, 1}, 24, {0, 0, 0, 0}, "192.0.2.12", 0, "0.0.0.1",
     "255.0.0.0", "0.0.0.0"},
};

TEST(ListNetwork, RecordZeroGivesDhcpFlagAddressMaskAndGateway)
{
    for (const RecordCase& c : record_cases) {
        uint8_t setup0[124] = {};
        std::memcpy(setup0 + 4, c.addr, 4);
        setup0[10] = c.hostbits;
        std::memcpy(setup0 + 16, c.gw, 4);
        const UnitNetwork n = derive_unit_network(setup0, a(c.current));
        EXPECT_EQ(n.dhcp, c.dhcp) << c.story;
        EXPECT_EQ(dotted(n.addr), c.ip) << c.story;
        EXPECT_EQ(dotted(n.netmask), c.mask) << c.story;
        EXPECT_EQ(dotted(n.gateway), c.gateway) << c.story;
    }
}

TEST(ListNetwork, AUnitIsInTheHostsNetworkWhenTheMaskedAddressesAgree)
{
    struct {
        const char *host, *mask, *unit;
        int same;
    } cases[] = {
        {"192.0.2.1", "255.255.255.0", "192.0.2.10", 1},
        {"192.0.2.1", "255.255.255.0", "198.51.100.10", 0},
        {"192.0.2.1", "255.255.255.0", "192.0.3.10", 0},
        {"192.0.2.1", "255.255.0.0", "192.0.3.10", 1},
        {"192.0.2.1", "255.255.255.255", "192.0.2.1", 1},
        {"192.0.2.1", "255.255.255.255", "192.0.2.2", 0},
        {"10.0.0.1", "0.0.0.0", "198.51.100.10", 1},
    };
    for (const auto& c : cases)
        EXPECT_EQ(IsSameNetwork(a(c.host), a(c.mask), a(c.unit)), c.same) << c.host << " " << c.unit;
}

}  // namespace
