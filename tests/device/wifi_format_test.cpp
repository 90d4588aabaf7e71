// The WiFi module's dump and version texts, read from byte strings.
#include "device/KIVRAXPort.h"
#include "wifi_example.h"

#include <arpa/inet.h>
#include <gtest/gtest.h>

#include <string>

namespace {

// A module's reply as a byte source: after its last byte the connection
// is closed (0) or a receive fails (-1).
struct Bytes {
    std::string data;
    int after_end;
    size_t pos = 0;
};

int next_byte(void* ctx, uint8_t* b)
{
    Bytes* src = static_cast<Bytes*>(ctx);
    if (src->pos >= src->data.size()) return src->after_end;
    *b = static_cast<uint8_t>(src->data[src->pos++]);
    return 1;
}

int dump(const std::string& text, DeviceEntry* e, int after_end = 0)
{
    Bytes src{text, after_end};
    return ReadEspDump(next_byte, &src, e);
}

TEST(WifiDump, StoresTheKeysItKeepsAndSkipsTheOthers)
{
    DeviceEntry e{};
    ASSERT_EQ(dump(devtest::kExampleDump, &e), ESP_DUMP_OK);
    devtest::expect_example_entry(e);
    EXPECT_STREQ(e.ipstr, "") << "the key IP changes nothing";
}

TEST(WifiDump, LineLengthsAndEndings)
{
    DeviceEntry e{};
    // 255 characters and the LF fit a line; 300 do not.
    const std::string longest(255, 'h');
    ASSERT_EQ(dump("MHOST\r\n" + longest + "\nEND\r\n\r\n", &e), ESP_DUMP_OK);
    EXPECT_EQ(std::string(e.mhost), longest) << "a line ended by LF alone ends at the LF";
    EXPECT_EQ(dump("MHOST\r\n" + std::string(300, 'h') + "\r\nEND\r\n\r\n", &e), ESP_DUMP_NO_LINEFEED);
    EXPECT_EQ(dump(std::string(256, 'K') + "\r\n", &e), ESP_DUMP_NO_LINEFEED);
}

TEST(WifiDump, EndsAfterTheLineThatFollowsEnd)
{
    DeviceEntry e{};
    // The pair after END is never read: the dump stops there.
    EXPECT_EQ(dump("PORT\r\n8000\r\nEND\r\n\r\nPORT\r\n9000\r\n", &e, -1), ESP_DUMP_OK);
    EXPECT_EQ(e.esp_port, 8000);
    // A module that stops right after "END" leaves the dump waiting for a line.
    EXPECT_EQ(dump("PORT\r\n8000\r\nEND\r\n", &e, -1), ESP_DUMP_RECV_ERROR);
    // A connection closed in the middle is a failure, not an endless read.
    EXPECT_EQ(dump("PORT\r\n80", &e, 0), ESP_DUMP_RECV_ERROR);
    EXPECT_EQ(dump("", &e, 0), ESP_DUMP_RECV_ERROR);
}

TEST(WifiDump, OneHundredTwentyEightPairsWithoutEnd)
{
    DeviceEntry e{};
    std::string text;
    for (int i = 0; i < 128; i++) {
        text += 'K';
        text += std::to_string(i) + "\r\nv\r\n";
    }
    EXPECT_EQ(dump(text + "END\r\n\r\n", &e), ESP_DUMP_NO_END);
    std::string shorter;
    for (int i = 0; i < 127; i++) shorter += "K\r\nv\r\n";
    EXPECT_EQ(dump(shorter + "END\r\n\r\n", &e), ESP_DUMP_OK);
}

TEST(WifiDump, ClearingLeavesNoValueOfAnotherUnit)
{
    DeviceEntry e{};
    ASSERT_EQ(dump("MPASS\r\nold\r\nPORT\r\n8000\r\nSUBM\r\n255.0.0.0\r\nEND\r\n\r\n", &e), ESP_DUMP_OK);
    e.sketch_ver = 5;
    ClearEspFields(&e);
    EXPECT_STREQ(e.mpass, "");
    EXPECT_EQ(e.esp_port, 0);
    EXPECT_EQ(e.netmask, 0u);
    EXPECT_EQ(e.sketch_ver, 0);
}

TEST(WifiVersion, WithAndWithoutSpacedMarkers)
{
    struct Case { std::string reply; int ok; int sketch; int text; };
    const Case cases[] = {
        {"SKETCH VER : 12\r\nTEXT VER : 3\r\n", 1, 12, 3},
        {"SKETCH VER12\r\nTEXT VER3\r\n", 1, 12, 3},
        {"SKETCH VER : 12\r\nsomething else\r\n", 1, 12, 0},
        {"hello\r\nTEXT VER : 7\r\n", 1, 0, 7},
        {"SKETCH VER : 12\r\nTEXT VER : 3", 0, 0, 0},   // the second line never ended
        {"SKETCH VER : 12", 0, 0, 0},
        {"", 0, 0, 0},
        // Lines are cut to 31 characters before they are read.
        {"SKETCH VER : 12345678901234567890\r\nTEXT VER : 1\r\n", 1, 2147483647, 1},
    };
    for (const Case& c : cases) {
        int sketch = -1, text = -1;
        EXPECT_EQ(ParseEspVersions(reinterpret_cast<const uint8_t*>(c.reply.data()),
                                   static_cast<int>(c.reply.size()), &sketch, &text), c.ok) << c.reply;
        EXPECT_EQ(sketch, c.sketch) << c.reply;
        EXPECT_EQ(text, c.text) << c.reply;
    }
}

}  // namespace
