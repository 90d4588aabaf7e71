// The texts that set a WiFi module's keys: the IP, input extension and mail
// texts byte for byte, and a value holding a line break refused wherever it
// stands.
#include "device/wifi_set_text.h"
#include "device/address_text.h"

#include <gtest/gtest.h>

#include <string>

namespace {

in_addr_t ip(const char* text)
{
    in_addr_t a = 0;
    EXPECT_EQ(parse_dotted_quad(text, &a), 1) << text;
    return a;
}

TEST(WifiSetText, EachSettingsGroupSendsItsKeysAsLinesEndedByEnd)
{
    char out[2048];
    const std::string want_ip =
        "IP\r\n192.0.2.60\r\nSUBM\r\n255.255.255.0\r\nGWAY\r\n192.0.2.1\r\nEND\r\n";
    EXPECT_EQ(
        build_wifi_ip_text(ip("192.0.2.60"), ip("255.255.255.0"), ip("192.0.2.1"), out, sizeof out),
        static_cast<int>(want_ip.size()));
    EXPECT_EQ(std::string(out), want_ip);

    const std::string want_ext = "PORT\r\n10001\r\nHIP\r\nhost.example\r\nHPORT\r\n-1\r\nEND\r\n";
    EXPECT_EQ(build_wifi_extend_text(10001, "host.example", -1, out, sizeof out),
              static_cast<int>(want_ext.size()));
    EXPECT_EQ(std::string(out), want_ext);

    const WifiMailKeys mail{"mail.example.org", 2525, "u", "", "a@b", "c@d", "", "Alarm"};
    const std::string want_mail =
        "MHOST\r\nmail.example.org\r\nMPORT\r\n2525\r\nMUSER\r\nu\r\nMPASS\r\n\r\nMFROM\r\na@b\r\n"
        "MTO1\r\nc@d\r\nMTO2\r\n\r\nMSUBJ\r\nAlarm\r\nEND\r\n";
    EXPECT_EQ(build_wifi_mail_text(mail, out, sizeof out), static_cast<int>(want_mail.size()));
    EXPECT_EQ(std::string(out), want_mail);

    // One byte short of the text and its terminator: nothing to send.
    EXPECT_EQ(build_wifi_ip_text(ip("192.0.2.60"), ip("255.255.255.0"), ip("192.0.2.1"), out,
                                 want_ip.size()),
              WIFI_TEXT_TOO_LONG);
    EXPECT_STREQ(out, "");
}

TEST(WifiSetText, AValueWithACarriageReturnOrLineFeedAnywhereIsNeverBuilt)
{
    char out[2048];
    for (const char* bad : {"two\rlines", "two\nlines", "\r", "end\n", "a\r\nMTO1"}) {
        for (int k = 0; k < 7; k++) {
            const char* v[7] = {"h", "u", "p", "a@b", "c@d", "e@f", "s"};
            v[k] = bad;
            const WifiMailKeys mail{v[0], 25, v[1], v[2], v[3], v[4], v[5], v[6]};
            std::snprintf(out, sizeof out, "left");
            EXPECT_EQ(build_wifi_mail_text(mail, out, sizeof out), WIFI_TEXT_LINE_BREAK) << k;
            EXPECT_STREQ(out, "") << k;
        }
        EXPECT_EQ(build_wifi_extend_text(1, bad, 2, out, sizeof out), WIFI_TEXT_LINE_BREAK);
        EXPECT_FALSE(wifi_value_ok(bad));
    }
    EXPECT_TRUE(wifi_value_ok("a\tb c\x7f"));
}

}  // namespace
