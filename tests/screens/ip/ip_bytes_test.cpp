// What the IP screens put on the wire, checked without a unit: the moves of
// the row machine, the record 0 image and the address texts they are built
// from (the WiFi "IP" text: tests/device/wifi_set_text_test.cpp).
#include "screens/ip/ip_screen.h"

#include "device/KIVRAXPort.h"
#include "device/record_fields.h"

#include <gtest/gtest.h>

#include <arpa/inet.h>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

namespace {

in_addr_t ip(const char* text)
{
    in_addr_t a = 0;
    EXPECT_EQ(parse_dotted_quad(text, &a), 1) << text;
    return a;
}

TEST(IpRows, EveryMoveOfTheScreenLandsOnTheRowAnOperatorExpects)
{
    struct Case {
        const char* story;
        int row;
        Move move;
        int dhcp_on, samenet, to;
    };
    const Case cases[] = {
        {"Up from the DHCP row wraps to the apply button", IPROW_DHCP, MOVE_UP, 0, 1,
         IPROW_APPLY},
        {"Down from DHCP with ON skips the greyed fields", IPROW_DHCP, MOVE_DOWN, 1, 1,
         IPROW_APPLY},
        {"Down from DHCP with OFF goes to the address", IPROW_DHCP, MOVE_DOWN, 0, 1,
         IPROW_ADDRESS},
        {"address-only screen: Down from DHCP with OFF", IPROW_DHCP, MOVE_DOWN, 0, 0,
         IPROW_ADDRESS},
        {"address-only screen: Down from DHCP with ON", IPROW_DHCP, MOVE_DOWN, 1, 0, IPROW_APPLY},
        {"Up from the address goes to DHCP", IPROW_ADDRESS, MOVE_UP, 0, 1, IPROW_DHCP},
        {"Down from the address goes to the mask", IPROW_ADDRESS, MOVE_DOWN, 0, 1, IPROW_MASK},
        {"address-only screen: Down from the address applies", IPROW_ADDRESS, MOVE_DOWN, 0, 0,
         IPROW_APPLY},
        {"Up from the mask goes to the address", IPROW_MASK, MOVE_UP, 0, 1, IPROW_ADDRESS},
        {"Down from the mask goes to the gateway", IPROW_MASK, MOVE_DOWN, 0, 1, IPROW_GATEWAY},
        {"Up from the gateway goes to the mask", IPROW_GATEWAY, MOVE_UP, 0, 1, IPROW_MASK},
        {"Down from the gateway goes to the apply button", IPROW_GATEWAY, MOVE_DOWN, 0, 1,
         IPROW_APPLY},
        {"Up from apply with ON goes to DHCP", IPROW_APPLY, MOVE_UP, 1, 1, IPROW_DHCP},
        {"Up from apply with OFF goes to the gateway", IPROW_APPLY, MOVE_UP, 0, 1, IPROW_GATEWAY},
        {"address-only screen: Up from apply with OFF", IPROW_APPLY, MOVE_UP, 0, 0,
         IPROW_ADDRESS},
        {"address-only screen: Up from apply with ON", IPROW_APPLY, MOVE_UP, 1, 0, IPROW_DHCP},
        {"Down from apply wraps to DHCP", IPROW_APPLY, MOVE_DOWN, 0, 1, IPROW_DHCP},
        {"Down from apply wraps to DHCP with ON too", IPROW_APPLY, MOVE_DOWN, 1, 0, IPROW_DHCP},
        {"a row that does not exist ends the screen", 6, MOVE_DOWN, 0, 1, 0},
        {"row 0 does not exist either", 0, MOVE_UP, 1, 0, 0},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ip_next_row(c.row, c.move, c.dhcp_on, c.samenet), c.to) << c.story;
}

TEST(IpRows, WithDhcpOnNoMoveEverReachesAGreyedField)
{
    for (int samenet = 0; samenet <= 1; samenet++) {
        for (int row : {IPROW_DHCP, IPROW_APPLY}) {
            for (Move move : {MOVE_UP, MOVE_DOWN}) {
                int to = ip_next_row(row, move, 1, samenet);
                EXPECT_TRUE(to == IPROW_DHCP || to == IPROW_APPLY)
                    << "row " << row << " move " << move << " reached " << to;
            }
        }
    }
}

TEST(IpAddressText, OnlyPlainDottedDecimalAddressesAreAddresses)
{
    struct Case {
        const char* text;
        int ok;
        const char* plain;
    };
    const Case cases[] = {
        {"192.0.2.50", 1, "192.0.2.50"},
        {"0.0.0.0", 1, "0.0.0.0"},
        {"255.255.255.255", 1, "255.255.255.255"},
        {"192.168.001.010", 0, nullptr},  // ten to some readers, eight to others
        {"010.0.0.1", 0, nullptr},
        {"10.0.0.1", 1, "10.0.0.1"},
        {"256.0.0.1", 0, nullptr},
        {"1.2.3", 0, nullptr},
        {"1.2.3.4.5", 0, nullptr},
        {"1. 2.3.4", 0, nullptr},
        {"+1.2.3.4", 0, nullptr},
        {"1.2.3.4 ", 0, nullptr},
        {"0001.2.3.4", 0, nullptr},
        {"", 0, nullptr},
        {"1.2.3.4;reboot", 0, nullptr},
    };
    for (const Case& c : cases) {
        in_addr_t a = 0;
        ASSERT_EQ(parse_dotted_quad(c.text, &a), c.ok) << c.text;
        if (!c.ok) continue;
        char out[16];
        format_dotted(a, out);
        EXPECT_STREQ(out, c.plain) << c.text;
    }
    EXPECT_EQ(parse_dotted_quad(nullptr, nullptr), 0);
}

std::string hex_of(const std::vector<uint8_t>& bytes)
{
    std::string s;
    char b[4];
    for (uint8_t v : bytes) {
        std::snprintf(b, sizeof b, "%02x ", v);
        s += b;
    }
    return s;
}

std::vector<uint8_t> patterned_record0()
{
    std::vector<uint8_t> r(SETUP0_LEN);
    for (int k = 0; k < SETUP0_LEN; k++) r[k] = static_cast<uint8_t>(0x80 + k * 7);
    return r;
}

TEST(IpRecord0, AStaticAddressChangesOnlyHeaderAddressMaskAndGateway)
{
    const std::vector<uint8_t> read = patterned_record0();
    struct Case {
        const char *addr, *mask, *gw;
        uint8_t hostbits;
    };
    const Case cases[] = {
        {"192.0.2.77", "255.255.255.0", "192.0.2.254", 8},
        {"10.1.2.3", "255.255.0.0", "10.1.0.1", 16},
        {"10.1.2.3", "0.0.0.0", "0.0.0.0", 32},
        {"10.1.2.3", "255.255.255.255", "10.1.2.1", 0},
    };
    for (const Case& c : cases) {
        std::vector<uint8_t> out(SETUP0_LEN, 0);
        ASSERT_EQ(build_record0_write(read.data(), 0, ip(c.addr), ip(c.mask), ip(c.gw), out.data()),
                  0)
            << c.mask;
        std::vector<uint8_t> want = read;
        const uint8_t head[4] = {0x00, 0x00, 0x00, 0xC0};
        std::memcpy(&want[0], head, 4);
        in_addr_t a = ip(c.addr), g = ip(c.gw);
        std::memcpy(&want[4], &a, 4);
        want[10] = c.hostbits;
        std::memcpy(&want[16], &g, 4);
        EXPECT_EQ(hex_of(out), hex_of(want)) << c.addr << " " << c.mask;
    }
}

TEST(IpRecord0, DhcpZeroesAddressMaskAndGatewayAndKeepsTheRest)
{
    const std::vector<uint8_t> read = patterned_record0();
    std::vector<uint8_t> out(SETUP0_LEN, 0);
    // The edited texts are not looked at with DHCP on, whatever they hold.
    ASSERT_EQ(build_record0_write(read.data(), 1, ip("1.2.3.4"), ip("255.0.255.0"), ip("5.6.7.8"),
                                  out.data()),
              0);
    for (int k = 0; k < SETUP0_LEN; k++) {
        uint8_t want = read[k];
        if (k < 3) want = 0x00;
        if (k == 3) want = 0xC0;
        if ((k >= 4 && k <= 7) || k == 10 || (k >= 16 && k <= 19)) want = 0;
        EXPECT_EQ(out[k], want) << "byte " << k;
    }
}

TEST(IpRecord0, AMaskWithAHoleIsRefused)
{
    const std::vector<uint8_t> read = patterned_record0();
    for (const char* mask : {"255.255.0.255", "255.0.255.0", "0.255.255.255", "255.255.255.1"}) {
        std::vector<uint8_t> out(SETUP0_LEN, 0);
        EXPECT_EQ(build_record0_write(read.data(), 0, ip("10.0.0.2"), ip(mask), ip("10.0.0.1"),
                                      out.data()),
                  -1)
            << mask;
    }
}

}  // namespace
