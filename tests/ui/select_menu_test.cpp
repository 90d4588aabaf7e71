// The selection menu and the scroll box as an operator moves through them,
// run in the toolkit's harness program.
#include <gtest/gtest.h>

#include "rig/term.h"

namespace {

constexpr int kBlue = 4, kWhite = 7;

std::string harness() { return KIVRA_BINARY_DIR "/tests/menu_harness"; }

rig::Term start(const std::string& mode, int flags = 0)
{
    return rig::Term({harness(), mode, std::to_string(flags)});
}

using Key = void (rig::Term::*)();

// Screen columns of the three items of the horizontal menu (row 2).
const int kItemCols[] = {1, 21, 41};

bool highlighted(rig::Term& t, int row, int col)
{
    return t.fg(row, col) == kWhite && t.bg(row, col) == kBlue;
}
bool plain(rig::Term& t, int row, int col)
{
    return t.fg(row, col) == kBlue && t.bg(row, col) == kWhite;
}

// Which horizontal item is highlighted, 0 if none or several.
int current_item(rig::Term& t)
{
    int found = 0;
    for (int i = 0; i < 3; ++i) {
        if (highlighted(t, 2, kItemCols[i])) {
            if (found) return 0;
            found = i + 1;
        } else if (!plain(t, 2, kItemCols[i])) {
            return 0;
        }
    }
    return found;
}

TEST(SelectMenu, AHorizontalMenuWrapsAroundAtBothEnds)
{
    auto t = start("h");
    ASSERT_TRUE(t.wait_row(21, "onchange=1")) << t.dump();
    EXPECT_EQ(current_item(t), 1);
    struct {
        Key key;
        int item;
        const char* calls;
    } steps[] = {
        {&rig::Term::left, 3, "onchange=1,3"},     // Left on item 1 goes to the last
        {&rig::Term::right, 1, "onchange=1,3,1"},  // Right on the last goes to item 1
        {&rig::Term::right, 2, "onchange=1,3,1,2"},    {&rig::Term::right, 3, "onchange=1,3,1,2,3"},
        {&rig::Term::left, 2, "onchange=1,3,1,2,3,2"},
    };
    for (auto& s : steps) {
        (t.*s.key)();
        ASSERT_TRUE(t.wait_row(21, s.calls)) << t.dump();
        EXPECT_EQ(current_item(t), s.item) << s.calls << "\n" << t.dump();
    }
    t.enter();
    ASSERT_TRUE(t.wait_row(20, "pass=1 result=2 top=0 marked=2 ")) << t.dump();  // it stays
    // Nothing after Enter; the next run starts again on item 1.
    EXPECT_TRUE(t.wait_row(21, "onchange=1,3,1,2,3,2|1 ")) << t.dump();
    t.f9();
    EXPECT_EQ(t.wait_exit(), 0);
}

// Up and Down leave a menu only where exitflags allow it, unmarking the row;
// elsewhere they do nothing, which the following Enter proves by choosing
// the same item in the same run.
TEST(SelectMenu, VerticalEndsAndHorizontalUpDownLeaveOnlyWhereAllowed)
{
    struct {
        const char* mode;
        int flags;
        int downs_first;  // Downs to reach the end before the key under test
        Key key;
        const char* results;
    } cases[] = {
        {"v", 0, 0, &rig::Term::up, "results=1 "},
        {"v", 0, 4, &rig::Term::down, "results=5 "},
        {"v", 3, 0, &rig::Term::up, "results=-1,1 "},
        {"v", 3, 4, &rig::Term::down, "results=-2,1 "},
        {"v", 1, 4, &rig::Term::down, "results=5 "},
        {"v", 2, 0, &rig::Term::up, "results=1 "},
        {"v", 0, 2, &rig::Term::left, "results=3 "},  // sideways keys do nothing
        {"v", 0, 2, &rig::Term::right, "results=3 "},
        {"h", 2, 0, &rig::Term::down, "results=-2,1 "},  // the top menu bar
        {"h", 2, 0, &rig::Term::up, "results=1 "},
        {"h", 1, 0, &rig::Term::up, "results=-1,1 "},
        {"h", 0, 0, &rig::Term::down, "results=1 "},
    };
    for (auto& c : cases) {
        auto t = start(c.mode, c.flags);
        ASSERT_TRUE(t.wait_row(21, "onchange=1")) << t.dump();
        std::string calls = "onchange=1";
        for (int i = 0; i < c.downs_first; ++i) {
            t.down();
            calls += ',';
            calls += std::to_string(i + 2);
            ASSERT_TRUE(t.wait_row(21, calls)) << t.dump();
        }
        (t.*c.key)();
        bool leaves = std::string(c.results).find('-') != std::string::npos;
        if (leaves) {
            ASSERT_TRUE(t.wait_row(20, "pass=1 result=-")) << t.dump();
            EXPECT_TRUE(t.wait_row(20, "marked=none ")) << t.dump();
        }
        t.enter();
        EXPECT_TRUE(t.wait_row(19, c.results)) << c.mode << " flags " << c.flags << "\n"
                                               << t.dump();
        EXPECT_TRUE(t.wait_row(21, calls + (leaves ? "|1|1 " : "|1 "))) << t.dump();
        t.f9();
        EXPECT_EQ(t.wait_exit(), 0);
    }
}

TEST(SelectMenu, EscUnmarksTheRowAndF9LeavesItMarked)
{
    auto t = start("v", 3);
    ASSERT_TRUE(t.wait_row(21, "onchange=1")) << t.dump();
    EXPECT_TRUE(highlighted(t, 2, 1));
    t.esc();
    ASSERT_TRUE(t.wait_row(20, "pass=1 result=0 top=0 marked=none ")) << t.dump();
    t.f9();
    EXPECT_EQ(t.wait_exit(), 0);
    EXPECT_TRUE(t.wait_text("last=-999 marked=1 ")) << t.dump();
}

TEST(SelectMenu, TheKeypadEnterKeyDoesNotChoose)
{
    auto t = start("v");
    ASSERT_TRUE(t.wait_row(21, "onchange=1")) << t.dump();
    t.keypad_enter();
    t.down();
    ASSERT_TRUE(t.wait_row(21, "onchange=1,2")) << t.dump();
    t.enter();
    EXPECT_TRUE(t.wait_row(20, "pass=1 result=2")) << t.dump();
    t.f9();
    EXPECT_EQ(t.wait_exit(), 0);
}

// Rows 2..9 of the harness show scroll box 1: "line01" .. "line10".
std::string shown_lines(rig::Term& t)
{
    std::string out;
    for (int r = 2; r <= 9; ++r) out += t.text(r, 1, 6) + (r < 9 ? " " : "");
    return out;
}
int highlighted_row(rig::Term& t)
{
    int found = -1;
    for (int r = 2; r <= 9; ++r) {
        if (highlighted(t, r, 1)) {
            if (found >= 0) return -2;
            found = r - 1;
        } else if (!plain(t, r, 1)) {
            return -3;
        }
    }
    return found;
}

TEST(ScrollBox, TenLinesOverEightRowsScrollOneLineAtATime)
{
    auto t = start("s");
    ASSERT_TRUE(t.wait_row(21, "onchange=1")) << t.dump();
    EXPECT_EQ(shown_lines(t), "line01 line02 line03 line04 line05 line06 line07 line08");
    EXPECT_EQ(highlighted_row(t), 1);

    std::string calls = "onchange=1";
    struct {
        Key key;
        int item;
        const char* lines;
        int row;
    } steps[] = {
        {&rig::Term::down, 2, "line01 line02 line03 line04 line05 line06 line07 line08", 2},
        {&rig::Term::down, 3, "line01 line02 line03 line04 line05 line06 line07 line08", 3},
        {&rig::Term::down, 4, "line01 line02 line03 line04 line05 line06 line07 line08", 4},
        {&rig::Term::down, 5, "line01 line02 line03 line04 line05 line06 line07 line08", 5},
        {&rig::Term::down, 6, "line01 line02 line03 line04 line05 line06 line07 line08", 6},
        {&rig::Term::down, 7, "line01 line02 line03 line04 line05 line06 line07 line08", 7},
        {&rig::Term::down, 8, "line01 line02 line03 line04 line05 line06 line07 line08", 8},
        {&rig::Term::down, 9, "line02 line03 line04 line05 line06 line07 line08 line09", 8},
        {&rig::Term::down, 10, "line03 line04 line05 line06 line07 line08 line09 line10", 8},
        {&rig::Term::up, 9, "line03 line04 line05 line06 line07 line08 line09 line10", 7},
        {&rig::Term::up, 8, "line03 line04 line05 line06 line07 line08 line09 line10", 6},
        {&rig::Term::up, 7, "line03 line04 line05 line06 line07 line08 line09 line10", 5},
        {&rig::Term::up, 6, "line03 line04 line05 line06 line07 line08 line09 line10", 4},
        {&rig::Term::up, 5, "line03 line04 line05 line06 line07 line08 line09 line10", 3},
        {&rig::Term::up, 4, "line03 line04 line05 line06 line07 line08 line09 line10", 2},
        {&rig::Term::up, 3, "line03 line04 line05 line06 line07 line08 line09 line10", 1},
        {&rig::Term::up, 2, "line02 line03 line04 line05 line06 line07 line08 line09", 1},
    };
    for (auto& s : steps) {
        (t.*s.key)();
        calls += ',';
        calls += std::to_string(s.item);
        // onchange runs after the move is on screen.
        ASSERT_TRUE(t.wait_row(21, calls + " ")) << t.dump();
        EXPECT_EQ(shown_lines(t), s.lines) << "item " << s.item;
        EXPECT_EQ(highlighted_row(t), s.row) << "item " << s.item << "\n" << t.dump();
        if (s.item == 10) {
            t.down();  // further Downs at the end do nothing
        }
    }
    t.enter();
    ASSERT_TRUE(t.wait_row(20, "pass=1 result=2 top=1 marked=1 ")) << t.dump();
    EXPECT_TRUE(t.wait_row(21, calls + "|1 ")) << t.dump();  // nothing after the extra Down
    t.f9();
    EXPECT_EQ(t.wait_exit(), 0);
}

TEST(ScrollBox, EachMenuRunStartsFromTheFirstLineWhateverTheBoxLastShowed)
{
    auto t = start("s");
    ASSERT_TRUE(t.wait_row(21, "onchange=1")) << t.dump();
    t.down();
    ASSERT_TRUE(t.wait_row(21, "onchange=1,2")) << t.dump();
    t.enter();  // the harness then draws the list from line 3, as a settings screen may
    ASSERT_TRUE(t.wait_row(20, "pass=1 result=2 top=0")) << t.dump();
    ASSERT_TRUE(t.wait_row(21, "onchange=1,2|1 ")) << t.dump();
    EXPECT_EQ(shown_lines(t), "line01 line02 line03 line04 line05 line06 line07 line08");
    EXPECT_EQ(highlighted_row(t), 1);
    t.enter();
    ASSERT_TRUE(t.wait_row(20, "pass=2 result=1 top=0")) << t.dump();
    t.f9();
    EXPECT_EQ(t.wait_exit(), 0);
}

TEST(MessageBox, AnyKeyClosesItAndF9DoesNotEndTheProgram)
{
    auto t = start("m", 5);
    ASSERT_TRUE(t.wait_for([&] { return t.text(13, 64, 1) == "┘"; })) << t.dump();
    // A framed box of 4 x 50 at row 10, column 15, in the base colours.
    EXPECT_EQ(t.text(10, 15, 1), "┌");
    EXPECT_EQ(t.text(10, 64, 1), "┐");
    EXPECT_EQ(t.text(13, 15, 1), "└");
    EXPECT_EQ(t.text(13, 64, 1), "┘");
    EXPECT_EQ(t.text(11, 17, 18), "一行目のメッセージ");
    EXPECT_EQ(t.fg(11, 17), 0);
    EXPECT_EQ(t.bg(11, 17), 6);
    // A line wider than the box stops at its border.
    EXPECT_EQ(t.text(12, 15, 50), "│ " + std::string(47, 'W') + "│");

    Key keys[] = {&rig::Term::enter, &rig::Term::f9, &rig::Term::esc, &rig::Term::down, nullptr};
    for (int n = 1; n <= 5; ++n) {
        if (keys[n - 1])
            (t.*keys[n - 1])();
        else
            t.type("x");
        ASSERT_TRUE(t.wait_row(20, "closed=" + std::to_string(n))) << t.dump();
    }
    ASSERT_TRUE(t.wait_row(21, "onchange=1")) << t.dump();
    // What the box covered was drawn again before the box's close was shown.
    for (int r = 10; r <= 13; ++r) EXPECT_EQ(t.text(r, 10, 21), "background background") << r;
    t.f9();
    EXPECT_EQ(t.wait_exit(), 0);
}

}  // namespace
