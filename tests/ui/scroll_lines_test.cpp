// Loading scroll-box lines: every copy stays inside its line, and numbers
// outside the table change nothing.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "ui/NQ_Menu.h"

namespace {

TEST(ScrollLines, ADeviceListLineWithAThreeDigitNumberAndTheLongestModelFitsWhole)
{
    const char* line = "256   00:20:4A:12:34:56   192.168.100.200   ZR-301 V2(G)\n";
    set_scrollbuf(1, 255, line);
    EXPECT_STREQ(myscr[1].lines[255], line);
}

TEST(ScrollLines, ATooLongLineIsCutAtACharacterAndKeepsItsLineFeed)
{
    struct {
        std::string text;
        std::string expected;
    } cases[] = {
        {std::string(79, 'a'), std::string(79, 'a')},
        {std::string(80, 'a'), std::string(79, 'a')},
        {std::string(100, 'a') + "\n", std::string(78, 'a') + "\n"},
        // 26 three-byte characters are 78 bytes; the 27th does not fit beside the line feed.
        {[] {
             std::string s;
             for (int i = 0; i < 30; ++i) s += "機";
             return s + "\n";
         }(),
         [] {
             std::string s;
             for (int i = 0; i < 26; ++i) s += "機";
             return s + "\n";
         }()},
        {[] {
             std::string s = "x";
             for (int i = 0; i < 30; ++i) s += "機";
             return s;
         }(),
         [] {
             std::string s = "x";
             for (int i = 0; i < 26; ++i) s += "機";
             return s;
         }()},
    };
    for (auto& c : cases) {
        set_scrollbuf(2, 0, c.text.c_str());
        EXPECT_EQ(std::string(myscr[2].lines[0]), c.expected) << c.text.size();
        EXPECT_LT(std::strlen(myscr[2].lines[0]), size_t(SCROLL_LINE_BYTES));
    }
}

TEST(ScrollLines, NumbersOutsideTheTablesChangeNothing)
{
    set_scrollmenu(3, 5, 8);
    set_scrollbuf(3, 0, "kept\n");
    ScrollBox before[SCROLL_BOXES];
    std::memcpy(before, myscr, sizeof myscr);
    set_scrollbuf(3, 256, "line 256");
    set_scrollbuf(3, -1, "line -1");
    set_scrollbuf(10, 0, "box 10");
    set_scrollbuf(-1, 0, "box -1");
    set_scrollbuf(3, 0, nullptr);
    set_scrollmenu(10, 1, 1);
    set_scrollmenu(-1, 1, 1);
    EXPECT_EQ(std::memcmp(before, myscr, sizeof myscr), 0);

    set_scrollmenu(3, 1000, 8);  // a box never holds more lines than it has
    EXPECT_EQ(myscr[3].nlines, SCROLL_LINES);
    set_scrollmenu(3, -4, -1);
    EXPECT_EQ(myscr[3].nlines, 0);
    EXPECT_EQ(myscr[3].nrows, 0);
}

}  // namespace
