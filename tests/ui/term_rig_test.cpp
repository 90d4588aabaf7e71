// The terminal rig itself: what a test reads must be what a terminal shows.
#include <gtest/gtest.h>

#include "rig/term.h"

namespace {

rig::Term shell(const std::string& script, int rows = 24, int cols = 80,
                std::vector<std::string> env = {})
{
    return rig::Term({"/bin/sh", "-c", script}, rows, cols, std::move(env));
}

TEST(TermRig, WideCharactersTakeTwoCellsAndAreReadOnce)
{
    rig::Term t({"/bin/sh", "-c", "printf '\\033[3;5H検索済デバイスX'; sleep 30"});
    ASSERT_TRUE(t.wait_text("検索済デバイスX")) << t.dump();
    EXPECT_EQ(t.text(2, 4, 15), "検索済デバイスX");
    EXPECT_EQ(t.text(2, 18, 1), "X");  // 7 wide characters fill columns 4..17
    EXPECT_EQ(t.row(2).size(), std::string("    検索済デバイスX").size() + 80 - 19);
}

TEST(TermRig, ColoursAreReadAsIndexesAndDefaultIsMinusOne)
{
    rig::Term t({"/bin/sh", "-c", "printf 'a\\033[34;47mb\\033[37;44mc\\033[0md'; sleep 30"});
    ASSERT_TRUE(t.wait_text("abcd")) << t.dump();
    struct {
        int col, fg, bg;
    } cells[] = {{0, -1, -1}, {1, 4, 7}, {2, 7, 4}, {3, -1, -1}};
    for (auto& c : cells) {
        EXPECT_EQ(t.fg(0, c.col), c.fg) << "column " << c.col;
        EXPECT_EQ(t.bg(0, c.col), c.bg) << "column " << c.col;
    }
}

TEST(TermRig, TheProgramSeesTheSizeTheTypeAndTheExtraEnvironment)
{
    auto t = shell("echo \"$(stty size) $TERM $EXTRA\"; exit 7", 30, 100, {"EXTRA=yes"});
    EXPECT_EQ(t.wait_exit(), 7);
    EXPECT_TRUE(t.wait_text("30 100 xterm-256color yes")) << t.dump();
}

TEST(TermRig, KeysArriveAsTheTerminalSendsThem)
{
    // od prints what arrived, in octal, after the line is read raw.
    rig::Term t(
        {"/bin/sh", "-c", "stty raw -echo; echo ready; head -c 17 | od -An -c -w17; sleep 30"});
    ASSERT_TRUE(t.wait_text("ready"));
    t.up();
    t.down();
    t.f9();
    t.keypad_enter();
    t.enter();
    t.type("ab");
    ASSERT_TRUE(t.wait_text("a   b")) << t.dump();
    std::string all = t.row(0) + t.row(1);
    EXPECT_NE(all.find("033   O   A 033   O   B 033   [   2   0   ~ 033   O   M  \\n   a   b"),
              std::string::npos)
        << t.dump();
}

TEST(TermRig, CursorVisibilityFollowsTheProgram)
{
    rig::Term t(
        {"/bin/sh", "-c", "printf '\\033[?25lhidden'; read x; printf '\\033[?25hshown'; sleep 30"});
    ASSERT_TRUE(t.wait_text("hidden"));
    EXPECT_FALSE(t.cursor_visible());
    t.enter();
    ASSERT_TRUE(t.wait_text("shown"));
    EXPECT_TRUE(t.cursor_visible());
}

TEST(TermRig, ARunningProgramIsEndedWhenTheTermGoesAndWaitExitSaysSo)
{
    auto t = shell("sleep 30");
    EXPECT_EQ(t.wait_exit(200), -1);
    EXPECT_EQ(shell("exit 0").wait_exit(), 0);
    EXPECT_EQ(shell("kill -SEGV $$").wait_exit(), 128 + 11);
}

TEST(TermRig, WaitGoneAndSettle)
{
    rig::Term t(
        {"/bin/sh", "-c", "stty -echo; printf first; read x; printf '\\r\\033[Ksecond'; sleep 30"});
    ASSERT_TRUE(t.wait_row(0, "first"));
    EXPECT_FALSE(t.wait_gone("first", 300));
    t.enter();
    EXPECT_TRUE(t.wait_gone("first"));
    t.settle();
    EXPECT_EQ(t.text(0, 0, 6), "second");
    EXPECT_GT(t.bytes_read(), 10u);
}

}  // namespace
