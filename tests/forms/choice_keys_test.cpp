// The operator picks a choice: Left/Right ring over two or three choices,
// Up/Down over a list, Enter takes the highlighted one.
#include <gtest/gtest.h>

#include "forms/harness.h"
#include "tests/screens/operator.h"

using forms_test::harness;
using forms_test::round_result;

namespace {

struct Cell {
    int row;
    int col;
};

// The choice is highlighted (pair 4, blue on white) or not (pair 5, white on blue).
bool highlighted(rig::Term& t, Cell c)
{
    return t.fg(c.row, c.col) == op::BLUE && t.bg(c.row, c.col) == op::WHITE;
}
bool plain(rig::Term& t, Cell c)
{
    return t.fg(c.row, c.col) == op::WHITE && t.bg(c.row, c.col) == op::BLUE;
}

// Form 16 "SMTP-AUTH" at 5, 20; form 18 "メール送信" at 5, 30; form 26 "定期通知" at 12, 15.
const Cell auth[] = {{7, 25}, {7, 36}};
const Cell mail[] = {{7, 35}, {7, 46}, {7, 57}};
Cell period(int i) { return {14 + i, 19}; }

// Waits until exactly the choice `on` of `cells` is highlighted.
bool shows_only(rig::Term& t, const Cell* cells, int n, int on)
{
    return forms_test::wait_for(t, [&](rig::Term& s) {
        bool ok = true;
        for (int i = 0; i < n; i++) ok = ok && (i + 1 == on ? highlighted(s, cells[i]) : plain(s, cells[i]));
        return ok;
    });
}

TEST(ChoiceKeys, TwoChoicesRingWithLeftAndRight)
{
    rig::Term t(harness({"16", "sel", "2"}));
    ASSERT_TRUE(t.wait_text("SMTP-AUTH")) << t.dump();
    // The label can arrive before the choices: wait for the whole form.
    ASSERT_TRUE(forms_test::wait_for(
        t, [](rig::Term& s) { return s.text(auth[1].row, auth[1].col, 3) == "OFF"; }))
        << t.dump();
    EXPECT_EQ(t.text(6, 31, 9), "SMTP-AUTH");
    EXPECT_EQ(t.text(auth[0].row, auth[0].col, 3), "ON ");
    EXPECT_EQ(t.text(auth[1].row, auth[1].col, 3), "OFF");
    ASSERT_TRUE(shows_only(t, auth, 2, 2)) << t.dump();
    EXPECT_TRUE(forms_test::wait_for(t, [](rig::Term& s) { return !s.cursor_visible(); }));
    t.right();   // past the last: the first
    ASSERT_TRUE(shows_only(t, auth, 2, 1)) << t.dump();
    t.up();      // not a moving key here
    t.down();
    ASSERT_TRUE(shows_only(t, auth, 2, 1)) << t.dump();
    t.left();    // before the first: the last
    ASSERT_TRUE(shows_only(t, auth, 2, 2)) << t.dump();
    t.left();
    t.enter();
    EXPECT_EQ(round_result(t, 1, 1), "choice [ON]");
}

TEST(ChoiceKeys, ThreeChoicesRingBothWays)
{
    rig::Term t(harness({"18", "sel", "1"}));
    ASSERT_TRUE(t.wait_text("消灯時")) << t.dump();
    ASSERT_TRUE(shows_only(t, mail, 3, 1)) << t.dump();
    t.left();
    ASSERT_TRUE(shows_only(t, mail, 3, 3)) << t.dump();
    t.right();
    t.right();
    ASSERT_TRUE(shows_only(t, mail, 3, 2)) << t.dump();
    t.enter();
    EXPECT_EQ(round_result(t, 1, 2), "choice [点灯時]");
}

TEST(ChoiceKeys, ListsMoveWithUpAndDownAndIgnoreLeftAndRight)
{
    Cell cells[5];
    for (int i = 0; i < 5; i++) cells[i] = period(i + 1);
    rig::Term t(harness({"26", "sel", "5"}));
    ASSERT_TRUE(t.wait_text("180sec")) << t.dump();
    EXPECT_EQ(t.text(13, 17, 8), "定期通知");
    EXPECT_EQ(t.text(cells[4].row, cells[4].col, 6), "180sec");
    ASSERT_TRUE(shows_only(t, cells, 5, 5)) << t.dump();
    t.left();
    t.right();
    ASSERT_TRUE(shows_only(t, cells, 5, 5)) << t.dump();
    t.down();   // past the last: the first
    ASSERT_TRUE(shows_only(t, cells, 5, 1)) << t.dump();
    t.up();
    t.up();
    ASSERT_TRUE(shows_only(t, cells, 5, 4)) << t.dump();
    t.enter();
    EXPECT_EQ(round_result(t, 1, 4), "choice [60sec]");
}

TEST(ChoiceKeys, TheLongestListFitsAboveTheHelpBar)
{
    rig::Term t(harness({"25", "sel", "16"}));
    ASSERT_TRUE(t.wait_text("None")) << t.dump();
    t.settle();
    EXPECT_EQ(t.text(20, 19, 4), "None");
    EXPECT_EQ(t.text(21, 15, 1), "└");
    EXPECT_TRUE(forms_test::wait_for(t, [](rig::Term& s) { return highlighted(s, {20, 19}); }));
    t.enter();
    EXPECT_EQ(round_result(t, 1, 16), "choice [None]");
}

TEST(ChoiceKeys, AStartTheFormDoesNotHaveStartsOnTheFirstChoice)
{
    for (const char* start : {"0", "6", "-1", "99"}) {
        SCOPED_TRACE(std::string("start ") + start);
        Cell cells[5];
        for (int i = 0; i < 5; i++) cells[i] = period(i + 1);
        rig::Term t(harness({"26", "sel", start}));
        ASSERT_TRUE(t.wait_text("180sec")) << t.dump();
        ASSERT_TRUE(shows_only(t, cells, 5, 1)) << t.dump();
        t.enter();
        EXPECT_EQ(round_result(t, 1, 1), "choice [None]");
    }
}

TEST(ChoiceKeys, OnlyTheStartChoiceLooksChosenWhenTheFormOpensAgain)
{
    rig::Term t(harness({"18", "sel", "1"}));
    ASSERT_TRUE(t.wait_text("消灯時")) << t.dump();
    t.right();
    t.right();
    ASSERT_TRUE(shows_only(t, mail, 3, 3)) << t.dump();
    t.esc();
    EXPECT_EQ(round_result(t, 1, 0), "choice []");
    // Shown again starting on choice 1: choice 3 is no longer highlighted.
    ASSERT_TRUE(shows_only(t, mail, 3, 1)) << t.dump();
    t.f9();
    EXPECT_EQ(round_result(t, 2, -999), "choice []");
}

}  // namespace
