// What the operator sees when the tool starts, and the ways to end it from
// the top menu while no unit is known.
#include <gtest/gtest.h>

#include "rig/emulator.h"
#include "rig/scratch_dir.h"
#include "shell_support.h"

using shell_test::kVersionText;
using shell_test::program;

namespace {

constexpr int kBlack = 0, kBlue = 4, kWhite = 7, kGrey = 6;

struct Placed {
    int row, col;
    const char* text;
    int fg, bg;
};

// Every text of the fixed windows, where it stands and in which colours.
const Placed kStartScreen[] = {
    {0, 1, "検索", kWhite, kBlue},  // current item
    {0, 20, "ポート:未指定", kBlue, kWhite},
    {0, 44, "IP指定追加", kBlue, kWhite},
    {2, 2, "検索済デバイス一覧", kBlack, kGrey},
    {3, 1, "No    MACアドレス     IPアドレス     機種", kBlack, kWhite},
    {13, 1, "IP自動取得      :", kBlue, kWhite},
    {14, 1, "IPアドレス      :", kBlue, kWhite},
    {15, 1, "サブネットマスク:", kBlue, kWhite},
    {16, 1, "ゲートウェイ    :", kBlue, kWhite},
    {23, 0, "[矢印]:選択 [Enter]:決定 [Esc]:キャンセル [F9]:終了", kBlack, kWhite},
    {23, 60, "KIVRASetL V1.10", kBlack, kWhite},
};

// The colours of the windows' blank areas, and of the base window between them.
const Placed kAreas[] = {
    {0, 0, "base before item 1", kBlack, kGrey},
    {0, 12, "item 1, last column", kWhite, kBlue},
    {0, 13, "bar between items", kBlack, kGrey},
    {0, 35, "item 2, last column", kBlue, kWhite},
    {0, 55, "item 3, last column", kBlue, kWhite},
    {0, 56, "bar after item 3", kBlack, kGrey},
    {3, 78, "list header, last column", kBlack, kWhite},
    {3, 79, "base right of the list", kBlack, kGrey},
    {4, 1, "list row 1", kBlue, kWhite},
    {11, 78, "list row 8, last column", kBlue, kWhite},
    {12, 1, "base between list and box", kBlack, kGrey},
    {16, 38, "info line 4, last column", kBlue, kWhite},
    {16, 39, "base right of the box", kBlack, kGrey},
    {22, 79, "base above the help bar", kBlack, kGrey},
    {23, 79, "help bar, last column", kBlack, kWhite},
};

bool start_screen_drawn(rig::Term& t)
{
    for (const Placed& p : kStartScreen) {
        std::string want = p.text;
        if (t.text(p.row, p.col, 80 - p.col).substr(0, want.size()) != want) return false;
        if (t.fg(p.row, p.col) != p.fg || t.bg(p.row, p.col) != p.bg) return false;
    }
    for (const Placed& a : kAreas)
        if (t.fg(a.row, a.col) != a.fg || t.bg(a.row, a.col) != a.bg) return false;
    return true;
}

TEST(StartScreen, EveryFixedTextStandsAtItsPlaceInItsColours)
{
    rig::ScratchDir dir;
    rig::Term t({program()}, 24, 80, {}, dir.path());
    ASSERT_TRUE(t.wait_text(kVersionText)) << t.dump();
    // Then each mismatch is reported on its own.
    t.wait_for([&] { return start_screen_drawn(t); });
    for (const Placed& p : kStartScreen) {
        std::string want = p.text;
        // Wide characters take two cells: read the same number of cells as
        // the text takes columns, then compare bytes.
        std::string got = t.text(p.row, p.col, 80 - p.col);
        EXPECT_EQ(got.substr(0, want.size()), want) << "row " << p.row << "\n" << t.dump();
        EXPECT_EQ(t.fg(p.row, p.col), p.fg) << p.text;
        EXPECT_EQ(t.bg(p.row, p.col), p.bg) << p.text;
    }
    for (const Placed& a : kAreas) {
        EXPECT_EQ(t.fg(a.row, a.col), a.fg) << a.text;
        EXPECT_EQ(t.bg(a.row, a.col), a.bg) << a.text;
    }
    EXPECT_FALSE(t.cursor_visible());
    EXPECT_FALSE(dir.exists("debug.log"));  // no log unless asked for
    t.f9();
    EXPECT_EQ(t.wait_exit(), 0);
}

TEST(StartScreen, ALargerTerminalUsesOnlyTheTopLeft80x24)
{
    rig::Term t({program()}, 40, 120);
    ASSERT_TRUE(t.wait_for([&] { return t.bg(23, 79) == kWhite; })) << t.dump();
    EXPECT_EQ(t.text(23, 60, 15), kVersionText);
    EXPECT_EQ(t.bg(23, 79), kWhite);
    EXPECT_NE(t.bg(23, 80), kWhite);
    EXPECT_NE(t.bg(24, 0), kWhite);
    EXPECT_EQ(t.text(23, 80, 40), std::string(40, ' '));
    EXPECT_EQ(t.row(24), std::string(120, ' '));
    t.f9();
    EXPECT_EQ(t.wait_exit(), 0);
}

// Both ways of ending from the top menu while no unit is known.
TEST(TopMenu, F9OrEscWithNoUnitEndsTheProgramNormally)
{
    struct {
        const char* key;
        void (rig::Term::*press)();
    } ends[] = {{"F9", &rig::Term::f9}, {"Esc", &rig::Term::esc}};
    for (auto& e : ends) {
        rig::ScratchDir dir;
        rig::Term t({program(), "-l"}, 24, 80, {}, dir.path());
        ASSERT_TRUE(t.wait_text(kVersionText)) << e.key << "\n" << t.dump();
        (t.*e.press)();
        EXPECT_EQ(t.wait_exit(), 0) << e.key;
        std::string log = dir.read("debug.log");
        ASSERT_GE(log.size(), 5u) << e.key;
        EXPECT_EQ(log.substr(log.size() - 5), "Exit\n") << e.key;
    }
}

TEST(TopMenu, DownBeforeAnySearchAsksForASearchAndTheMenuStays)
{
    rig::Term t({program()}, 24, 80);
    ASSERT_TRUE(t.wait_text(kVersionText)) << t.dump();
    t.right();  // the message appears whichever item is current
    ASSERT_TRUE(t.wait_row(0, "ポート"));
    t.down();
    ASSERT_TRUE(t.wait_row(4, "最初にデバイスを検索してください")) << t.dump();
    EXPECT_EQ(t.text(4, 1, 32), "最初にデバイスを検索してください");
    EXPECT_EQ(t.bg(4, 1), kWhite);
    // Every pass starts again on "検索".
    EXPECT_TRUE(t.wait_for([&] { return t.bg(0, 1) == kBlue && t.bg(0, 20) == kWhite; }))
        << t.dump();
    t.esc();
    EXPECT_EQ(t.wait_exit(), 0);
}

TEST(TopMenu, LeftAndRightWrapAroundTheThreeItems)
{
    rig::Term t({program()}, 24, 80);
    ASSERT_TRUE(t.wait_text(kVersionText)) << t.dump();
    struct {
        void (rig::Term::*press)();
        int current_col;
    } moves[] = {{&rig::Term::left, 44},  {&rig::Term::left, 20},  {&rig::Term::left, 1},
                 {&rig::Term::right, 20}, {&rig::Term::right, 44}, {&rig::Term::right, 1}};
    const int item_cols[] = {1, 20, 44};
    for (auto& m : moves) {
        (t.*m.press)();
        auto only_current = [&] {
            for (int col : item_cols)
                if (t.bg(0, col) != (col == m.current_col ? kBlue : kWhite)) return false;
            return true;
        };
        EXPECT_TRUE(t.wait_for(only_current)) << "after a move to " << m.current_col << "\n"
                                              << t.dump();
    }
    t.f9();
    EXPECT_EQ(t.wait_exit(), 0);
}

// The shell around the program shows its status and whether the terminal
// is back in its usual line mode with echo.
rig::Term in_shell(int rows, int cols)
{
    std::string script =
        rig::command_line(rig::with_emulator({program()})) +
        "; echo \"status=$?\"; stty -a | tr ' ' '\\n' | grep -x -e icanon -e echo "
        "| tr '\\n' ' '; echo; sleep 30";
    return rig::Term({"/bin/sh", "-c", script}, rows, cols);
}

TEST(SmallTerminal, TooFewColumnsOrRowsEndsWithTheTwoMessagesAndStatus255)
{
    const int sizes[][2] = {{24, 79}, {23, 80}};
    for (auto& s : sizes) {
        auto t = in_shell(s[0], s[1]);
        ASSERT_TRUE(t.wait_text("status=255")) << s[1] << "x" << s[0] << "\n" << t.dump();
        EXPECT_TRUE(t.wait_text("icanon echo")) << t.dump();
        EXPECT_EQ(t.row(0).substr(0, 36), "Error : Terminal Size is too Small!!") << t.dump();
        EXPECT_EQ(t.row(1).substr(0, 31), "        minimum = 80 x 24 chars") << t.dump();
        EXPECT_TRUE(t.cursor_visible());
        EXPECT_EQ(t.bg(0, 0), -1);  // no curses screen left behind
    }
}

TEST(StartScreen, AnUnknownTerminalTypeEndsWithOneLineNamingItAndStatus255)
{
    rig::Term t({"/bin/sh", "-c",
                 "TERM=no-such-term " + rig::command_line(rig::with_emulator({program()})) +
                     "; echo \"status=$?\"; sleep 30"});
    ASSERT_TRUE(t.wait_text("status=255")) << t.dump();
    EXPECT_EQ(t.row(0).substr(0, 44), "Error : unknown terminal type \"no-such-term\"") << t.dump();
}

TEST(TopMenu, AfterF9TheTerminalIsAsTheProgramFoundIt)
{
    auto t = in_shell(24, 80);
    ASSERT_TRUE(t.wait_text(kVersionText)) << t.dump();
    t.f9();
    ASSERT_TRUE(t.wait_text("status=0")) << t.dump();
    EXPECT_TRUE(t.wait_text("icanon echo")) << t.dump();
    EXPECT_TRUE(t.cursor_visible());
    EXPECT_FALSE(t.wait_text(kVersionText, 0)) << "the main screen is gone\n" << t.dump();
}

}  // namespace

namespace {

// The tool keeps its fixed 80 x 24 area whatever the window does, and paints
// it whole again after the window has been smaller.
TEST(StartScreen, ResizingTheTerminalWindowNeitherEndsNorBreaksTheTool)
{
    rig::Term t({program()}, 24, 80);
    ASSERT_TRUE(t.wait_text(kVersionText)) << t.dump();
    const int sizes[][2] = {{10, 40}, {24, 80}, {5, 20}, {30, 100}, {24, 80}};
    for (auto& s : sizes) {
        t.resize(s[0], s[1]);
        t.settle();
        t.right();
        t.settle();
    }
    t.down();  // the list's first row asks for a search
    ASSERT_TRUE(t.wait_text("最初にデバイスを検索してください")) << t.dump();
    // Everything is back where it was, and the pass starts again on "検索".
    ASSERT_TRUE(t.wait_for([&] { return t.bg(0, 1) == kBlue; })) << t.dump();
    EXPECT_EQ(t.text(23, 60, 15), kVersionText) << t.dump();
    EXPECT_EQ(t.text(2, 2, 18), "検索済デバイス一覧");
    EXPECT_EQ(t.text(16, 1, 17), "ゲートウェイ    :");
    EXPECT_EQ(t.bg(0, 44), kWhite);
    EXPECT_EQ(t.bg(11, 78), kWhite);
    EXPECT_EQ(t.bg(12, 79), kGrey);
    t.f9();
    EXPECT_EQ(t.wait_exit(), 0) << t.dump();
}

}  // namespace

namespace {

// A board without the Japanese locale still shows every text as characters.
TEST(StartScreen, WithoutTheJapaneseLocaleTheTextsAreStillCharacters)
{
    rig::ScratchDir no_locales;
    rig::Term t({program()}, 24, 80, {"LOCPATH=" + no_locales.path(), "LANG=", "LC_ALL="});
    ASSERT_TRUE(t.wait_text(kVersionText)) << t.dump();
    EXPECT_TRUE(t.wait_row(2, "検索済デバイス一覧")) << t.dump();
    EXPECT_EQ(t.text(23, 0, 51), "[矢印]:選択 [Enter]:決定 [Esc]:キャンセル [F9]:終了");
    t.f9();
    EXPECT_EQ(t.wait_exit(), 0);
}

}  // namespace
