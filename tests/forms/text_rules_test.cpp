// The text rules behind the forms: which texts count as multibyte, how
// trailing spaces are cut, what an IPv4 entry accepts, and bounded copies.
#include <gtest/gtest.h>

#include "ui/NQ_Forms.h"
#include "ui/ipv4_field_type.h"
#include "base/bounded_text.h"

#include <clocale>
#include <cstring>
#include <string>

namespace {

class TextRules : public ::testing::Test {
  protected:
    void SetUp() override
    {
        if (!std::setlocale(LC_CTYPE, "ja_JP.UTF-8") && !std::setlocale(LC_CTYPE, "ja_JP.utf8")) {
            ASSERT_NE(std::setlocale(LC_CTYPE, "C.UTF-8"), nullptr);
        }
    }
};

TEST_F(TextRules, MultibyteCharactersAnywhereMakeATextZenkaku)
{
    struct { const char* text; int expected; } cases[] = {
        {"", 0},
        {"abc 123.-_@", 0},
        {"日本", 1},
        {"user@例え.jp", 1},
        {"abc°", 1},            // two bytes are enough
        {"\xE6\x97", 0},       // a cut character is no character
        {"\x80\x80\x80", 0},   // stray continuation bytes
        {"ab\xFF" "c", 0},     // an invalid byte is passed over
        {"\xFF" "日", 1},      // and the search goes on after it
    };
    for (const auto& c : cases) EXPECT_EQ(is_zenkakustr(c.text), c.expected) << c.text;
    EXPECT_EQ(is_zenkakustr(nullptr), 0);
}

TEST_F(TextRules, OnlyTrailingSpacesAreCut)
{
    struct { const char* text; const char* expected; int length; } cases[] = {
        {"abc   ", "abc", 3},
        {"  abc  ", "  abc", 5},
        {"   ", "", 0},
        {"", "", 0},
        {"a\t ", "a\t", 2},     // only the space character is cut
        {"日本 ", "日本", 6},
    };
    for (const auto& c : cases) {
        char buf[32];
        std::strcpy(buf, c.text);
        EXPECT_EQ(cut_rightspace(buf), c.length) << '"' << c.text << '"';
        EXPECT_STREQ(buf, c.expected);
    }
}

TEST_F(TextRules, AnIPv4EntryIsAStrictDottedQuad)
{
    struct { const char* text; int ok; } cases[] = {
        {"192.168.0.10", 1},
        {"0.0.0.0", 1},
        {"255.255.255.255", 1},
        {"10.0.0.1      ", 1},     // the field's padding
        {"010.001.001.001", 0},    // leading zeros read as octal elsewhere
        {"1.2.3.04", 0},
        {"1. 2.3.4", 0},           // inet_addr would give the broadcast address
        {" 1.2.3.4", 0},
        {"1.2.3.4 x", 0},
        {"4294967297.1.1.1", 0},   // wraps past 32 bits
        {"256.0.0.1", 0},
        {"1.2.3.256", 0},
        {"1.2.3", 0},
        {"1.2.3.4.5", 0},
        {"1.2.3.", 0},
        {".1.2.3", 0},
        {"1..2.3", 0},
        {"1.2.3.4.", 0},
        {"0x1.2.3.4", 0},
        {"-1.2.3.4", 0},
        {"", 0},
        {"     ", 0},
        {"1234.1.1.1", 0},
    };
    for (const auto& c : cases) EXPECT_EQ(is_dotted_quad(c.text), c.ok) << '"' << c.text << '"';
    EXPECT_EQ(is_dotted_quad(nullptr), 0);
}

TEST_F(TextRules, CopiesStopInsideTheBufferAndBetweenCharacters)
{
    struct { const char* src; size_t size; const char* expected; } cases[] = {
        {"abc", 10, "abc"},
        {"abcdef", 4, "abc"},
        {"日本語", 8, "日本"},     // 9 bytes: the third character does not fit
        {"日本語", 7, "日本"},
        {"日本語", 6, "日"},
        {"日", 3, ""},
        {"", 1, ""},
    };
    for (const auto& c : cases) {
        char buf[16];
        std::memset(buf, 'X', sizeof buf);
        size_t n = copy_text(buf, c.size, c.src);
        EXPECT_STREQ(buf, c.expected) << c.src << " into " << c.size;
        EXPECT_EQ(n, std::strlen(c.expected));
        EXPECT_EQ(buf[c.size], 'X') << "wrote past the buffer";
    }
    char one = 'X';
    EXPECT_EQ(copy_text(&one, 0, "abc"), 0u);
    EXPECT_EQ(one, 'X');
}

}  // namespace
