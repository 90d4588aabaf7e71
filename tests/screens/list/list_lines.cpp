// The device list's lines as the operator reads them, built straight from
// table entries (no terminal, no network).
#include <gtest/gtest.h>

#include <arpa/inet.h>

#include <cstring>
#include <string>

#include "device/KIVRAXPort.h"
#include "screens/list/list_parts.h"
#include "ui/NQ_Menu.h"

namespace {

struct LineCase {
    const char* story;
    int index;
    uint8_t mac[6];
    const char* ip;
    const char* devtype;
    int model;
    int modtype;
    const char* expected;
};

const LineCase line_cases[] = {
    {"hex case alternates: the third and fifth bytes in capitals", 0, {0x00, 0x80, 0xa3, 0xab, 0xcd, 0xef},
     "192.0.2.10", "X5", 0, 0, " 0 00-80-A3-ab-CD-ef 192.0.2.10      ZR-201\n"},
    {"a unit whose model was never read shows its device type", 3, {0xde, 0xad, 0xbe, 0xef, 0x0a, 0x0b},
     "198.51.100.7", "X5", -1, 0, " 3 de-ad-BE-ef-0A-0b 198.51.100.7    X5\n"},
    {"a WiFi module without its model shows WiFi", 1, {1, 2, 3, 4, 5, 6}, "192.0.2.20", "_L", -1, 3,
     " 1 01-02-03-04-05-06 192.0.2.20      WiFi\n"},
    {"a WiFi module of a wired model gets the W name", 2, {1, 2, 3, 4, 5, 6}, "192.0.2.21", "_L", 4, 3,
     " 2 01-02-03-04-05-06 192.0.2.21      ZR-205W\n"},
    {"an analog model on a WiFi module shows **", 4, {1, 2, 3, 4, 5, 6}, "192.0.2.22", "_L", 8, 3,
     " 4 01-02-03-04-05-06 192.0.2.22      **\n"},
    {"GC firmware adds (G)", 5, {1, 2, 3, 4, 5, 6}, "192.0.2.23", "X6", 0, 1,
     " 5 01-02-03-04-05-06 192.0.2.23      ZR-201(G)\n"},
    {"a model without a name shows the device type", 6, {1, 2, 3, 4, 5, 6}, "192.0.2.24", "X9", 12, 0,
     " 6 01-02-03-04-05-06 192.0.2.24      X9\n"},
    {"model 7 has no name either", 7, {1, 2, 3, 4, 5, 6}, "192.0.2.25", "X1", 7, 0,
     " 7 01-02-03-04-05-06 192.0.2.25      X1\n"},
    {"a model number out of range counts as model 0", 8, {1, 2, 3, 4, 5, 6}, "192.0.2.26", "X5", 42, 0,
     " 8 01-02-03-04-05-06 192.0.2.26      ZR-201\n"},
    {"so does a negative one below -1", 9, {1, 2, 3, 4, 5, 6}, "192.0.2.27", "X5", -5, 0,
     " 9 01-02-03-04-05-06 192.0.2.27      ZR-201\n"},
    {"the longest line still ends with its line feed", 255, {0xff, 0xff, 0xff, 0xff, 0xff, 0xff},
     "255.255.255.255", "X6", 10, 1, " 255 ff-ff-FF-ff-FF-ff 255.255.255.255 ZR-301 V2(G)\n"},
};

TEST(ListLines, EachUnitIsOneLineOfNumberMacAddressAndModel)
{
    for (const LineCase& c : line_cases) {
        ResetXPortEntry(c.index);
        DeviceEntry& e = xportset[c.index];
        std::memcpy(e.mac, c.mac, 6);
        std::snprintf(e.ipstr, sizeof e.ipstr, "%s", c.ip);
        e.devtype[0] = c.devtype[0];
        e.devtype[1] = c.devtype[1];
        e.model = c.model;
        e.modtype = c.modtype;
        char line[SCROLL_LINE_BYTES];
        format_list_line(c.index, line, sizeof line);
        EXPECT_EQ(std::string(line), c.expected) << c.story;
    }
}

TEST(ListLines, AnAddressTextWithoutTerminatorIsCutAtItsField)
{
    ResetXPortEntry(0);
    DeviceEntry& e = xportset[0];
    std::memset(e.ipstr, '9', sizeof e.ipstr);   // as if a unit had filled it to the brim
    e.devtype[0] = 'X';
    e.devtype[1] = '5';
    char line[SCROLL_LINE_BYTES];
    format_list_line(0, line, sizeof line);
    EXPECT_EQ(std::string(line), " 0 00-00-00-00-00-00 999999999999999 X5\n");
}

TEST(ListLines, AnIndexOutsideTheTableGivesAnEmptyLine)
{
    char line[SCROLL_LINE_BYTES] = "x";
    format_list_line(-1, line, sizeof line);
    EXPECT_STREQ(line, "");
    format_list_line(XPORT_MAX, line, sizeof line);
    EXPECT_STREQ(line, "");
}

}  // namespace
