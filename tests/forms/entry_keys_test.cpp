// The operator edits entry forms with real keys: a value is checked with
// Enter in the field and confirmed with Enter on "決定".
#include <gtest/gtest.h>

#include "forms/harness.h"
#include "rig/emulator.h"
#include "tests/screens/operator.h"

#include <cstdlib>

using forms_test::harness;
using forms_test::round_result;

namespace {

// Form 0 ("ポート", 0..65535) at 3, 15: the entry starts at screen column
// 15 + 2 + 13 = 30 on row 4, the button at column 37.
constexpr int PORT_ROW = 4;
constexpr int PORT_ENTRY = 30;
constexpr int PORT_BUTTON = 37;

TEST(EntryKeys, PortFormShowsLabelEntryAndButtonInItsFrame)
{
    rig::Term t(harness({"0"}));
    ASSERT_TRUE(t.wait_row(PORT_ROW, "決定")) << t.dump();
    t.settle();
    EXPECT_EQ(t.text(PORT_ROW, 17, 6), "ポート");
    EXPECT_EQ(t.text(PORT_ROW, PORT_BUTTON, 4), "決定");
    // Frame of 3 x 32 from 3, 15: corners at columns 15 and 46.
    EXPECT_EQ(t.text(3, 15, 1), "┌");
    EXPECT_EQ(t.text(3, 46, 1), "┐");
    EXPECT_EQ(t.text(5, 15, 1), "└");
    EXPECT_EQ(t.text(5, 47, 1), " ");
    // The entry and the frame are white on blue.
    EXPECT_EQ(t.fg(PORT_ROW, PORT_ENTRY), op::WHITE);
    EXPECT_EQ(t.bg(PORT_ROW, PORT_ENTRY), op::BLUE);
    EXPECT_EQ(t.bg(3, 15), op::BLUE);
    EXPECT_TRUE(forms_test::wait_for(t, [](rig::Term& s) { return s.cursor_visible(); }));
}

TEST(EntryKeys, OutOfRangePortIsClearedAndAValidOneConfirmed)
{
    rig::Term t(harness({"0"}));
    ASSERT_TRUE(t.wait_row(PORT_ROW, "決定")) << t.dump();
    t.type("65536");
    ASSERT_TRUE(t.wait_row(PORT_ROW, "65536")) << t.dump();
    t.enter();
    ASSERT_TRUE(t.wait_gone("65536")) << t.dump();
    // Still in the field: what is typed now lands there.
    t.type("8080");
    t.enter();
    t.enter();
    EXPECT_EQ(round_result(t, 1, 1), "text [8080]");
}

// Integer, IPv4 and decimal checks: each row is one form and one typed text.
struct Check {
    const char* form;
    const char* typed;
    bool accepted;
};

const Check checks[] = {
    {"19", "0", false},          // "自ポート" starts at 1
    {"19", "1", true},
    {"0", "0", true},            // the search port may be 0
    {"24", "0", true},
    {"28", "3", false},          // chattering of the new units: 4..20
    {"28", "4", true},
    {"28", "21", false},
    {"29", "0", true},
    {"0", "12a", false},         // not a number
    {"1", "192.168.1.20", true},
    {"1", "0.0.0.0", true},
    {"1", "255.255.255.255", true},
    {"1", "010.001.001.001", false},  // octal to the system's parsers
    {"1", "1. 2.3.4", false},         // inet_addr would make it the broadcast address
    {"1", "4294967297.1.1.1", false}, // wraps past 32 bits
    {"1", "256.1.1.1", false},
    {"1", "1.2.3", false},
    {"1", "1.2.3.4.", false},
    {"1", "1.2.3.4.5", false},
    {"1", "a.b.c.d", false},
    {"33", "-20", true},         // "初期値" -20..20
    {"33", "20", true},
    {"33", "20.00001", false},
    {"33", "-20.00001", false},
    {"14", "-100", true},
    {"14", "100.001", false},
};

TEST(EntryKeys, FormsAcceptOnlyValuesOfTheirKindAndLimits)
{
    for (const Check& c : checks) {
        SCOPED_TRACE(std::string("form ") + c.form + " typed \"" + c.typed + "\"");
        rig::Term t(harness({c.form}));
        ASSERT_TRUE(t.wait_text("決定")) << t.dump();
        t.type(c.typed);
        ASSERT_TRUE(t.wait_text(c.typed)) << t.dump();
        t.enter();
        if (c.accepted) {
            t.enter();   // on the button now
            std::string line = round_result(t, 1, 1);
            EXPECT_EQ(line.rfind("text [", 0), 0u) << line;
        } else {
            EXPECT_TRUE(t.wait_gone(c.typed)) << t.dump();
            // The cursor stays in the field: Esc ends the round from there.
            t.esc();
            EXPECT_EQ(round_result(t, 1, 0), "text []");
        }
    }
}

TEST(EntryKeys, DecimalValuesComeBackWithTheFormsDigits)
{
    rig::Term t(harness({"33"}));
    ASSERT_TRUE(t.wait_text("決定")) << t.dump();
    t.type("-20");
    t.enter();
    t.enter();
    EXPECT_EQ(round_result(t, 1, 1), "text [-20.00000]");
}

TEST(EntryKeys, BlankEntryStaysInTheFieldExceptForFreeText)
{
    // Integer and IPv4: Enter on a blank field does not reach the button, so
    // the second Enter does not confirm; Esc ends the round.
    for (const char* form : {"0", "1", "33"}) {
        SCOPED_TRACE(std::string("form ") + form);
        rig::Term t(harness({form}));
        ASSERT_TRUE(t.wait_text("決定")) << t.dump();
        t.enter();
        t.enter();
        t.esc();
        EXPECT_EQ(round_result(t, 1, 0), "text []");
    }
    // Free text may stay empty.
    rig::Term t(harness({"13"}));
    ASSERT_TRUE(t.wait_text("決定")) << t.dump();
    t.enter();
    t.enter();
    EXPECT_EQ(round_result(t, 1, 1), "text []");
}

TEST(EntryKeys, ValueWrittenByTheScreenPassesWithoutACheck)
{
    // The screen wrote 70000 into the port form; the operator did not change it.
    rig::Term t(harness({"0", "set", "70000"}));
    ASSERT_TRUE(t.wait_text("70000")) << t.dump();
    t.enter();
    t.enter();
    EXPECT_EQ(round_result(t, 1, 1), "text [70000]");

    // Shown again with the same value: once the operator changes it, it is
    // checked and refused.
    ASSERT_TRUE(t.wait_row(PORT_ROW, "70000")) << t.dump();
    ASSERT_EQ(t.text(PORT_ROW, PORT_ENTRY, 6), "70000 ") << t.dump();
    for (int i = 0; i < 5; i++) t.right();
    t.type("1");
    ASSERT_TRUE(t.wait_row(PORT_ROW, "700001")) << t.dump();
    t.enter();
    t.esc();
    EXPECT_EQ(round_result(t, 2, 0), "text []");
}

TEST(EntryKeys, FreeTextLosesTrailingSpacesAndKeepsLeadingOnes)
{
    rig::Term t(harness({"13"}));
    ASSERT_TRUE(t.wait_text("決定")) << t.dump();
    t.type("  abc   ");
    t.enter();
    t.enter();
    EXPECT_EQ(round_result(t, 1, 1), "text [  abc]");
}

TEST(EntryKeys, JapaneseTextIsRefusedOnTheButtonAndCleared)
{
    rig::Term t(harness({"13"}));
    ASSERT_TRUE(t.wait_text("決定")) << t.dump();
    t.type("ab日本");
    ASSERT_TRUE(t.wait_text("ab日本")) << t.dump();
    t.enter();   // free text passes its check
    t.enter();   // refused on the button
    ASSERT_TRUE(t.wait_gone("ab日本")) << t.dump();
    // Back in the field, which is empty: typing goes there again.
    t.type("ok");
    t.enter();
    t.enter();
    EXPECT_EQ(round_result(t, 1, 1), "text [ok]");
}

TEST(EntryKeys, JapaneseTextPassesWhereTheFormAllowsIt)
{
    // A buffer of 8 bytes: the text is cut before its third character rather
    // than written past the buffer or into the middle of a character.
    rig::Term t(harness({"13", "zenkaku", "size", "8"}));
    ASSERT_TRUE(t.wait_text("決定")) << t.dump();
    t.type("日本語");
    t.enter();
    t.enter();
    EXPECT_EQ(round_result(t, 1, 1), "text [日本]");
}

TEST(EntryKeys, CancelledJapaneseTextIsKeptWholeForTheNextShowing)
{
    rig::Term t(harness({"13", "zenkaku"}));
    ASSERT_TRUE(t.wait_text("決定")) << t.dump();
    t.type("a日本b");
    t.esc();
    EXPECT_EQ(round_result(t, 1, 0), "text [a日本b]");
    t.enter();
    t.enter();
    EXPECT_EQ(round_result(t, 2, 1), "text [a日本b]");
}

TEST(EntryKeys, LeftAndRightOnTheButtonGoBackToTheEntry)
{
    for (bool left : {true, false}) {
        SCOPED_TRACE(left ? "Left" : "Right");
        rig::Term t(harness({"0"}));
        ASSERT_TRUE(t.wait_text("決定")) << t.dump();
        t.type("80");
        t.enter();       // on the button
        if (left) t.left();
        else t.right();
        t.type("1");     // O_BLANK: the first key in the field replaces its text
        t.enter();
        t.enter();
        EXPECT_EQ(round_result(t, 1, 1), "text [1]");
    }
}

TEST(EntryKeys, EditingKeysMoveAndDeleteInsideTheEntry)
{
    rig::Term t(harness({"13"}));
    ASSERT_TRUE(t.wait_text("決定")) << t.dump();
    t.type("abcd");
    t.left();
    t.left();
    t.backspace();   // deletes b
    t.del();         // deletes c
    t.right();
    t.type("X");
    t.enter();
    t.enter();
    EXPECT_EQ(round_result(t, 1, 1), "text [adX]");
}

TEST(EntryKeys, F9EndsWithTheTextUnchangedAndEscCancels)
{
    rig::Term t(harness({"0"}));
    ASSERT_TRUE(t.wait_text("決定")) << t.dump();
    t.type("123");
    t.esc();
    EXPECT_EQ(round_result(t, 1, 0), "text [123]");
    // The text stays in the form for the next showing.
    ASSERT_TRUE(t.wait_text("123")) << t.dump();
    t.type("45");   // O_BLANK: replaces 123
    t.f9();
    EXPECT_EQ(round_result(t, 2, -999), "field [45]");
}

TEST(EntryKeys, TextLeftUncheckedWithEscIsCheckedWhenConfirmedLater)
{
    rig::Term t(harness({"0"}));
    ASSERT_TRUE(t.wait_text("決定")) << t.dump();
    t.type("70000");
    t.esc();
    EXPECT_EQ(round_result(t, 1, 0), "text [70000]");
    // Shown again holding 70000, untouched, even after one more Esc: Enter
    // still checks it and clears it.
    ASSERT_TRUE(t.wait_row(PORT_ROW, "70000")) << t.dump();
    t.esc();
    EXPECT_EQ(round_result(t, 2, 0), "text [70000]");
    t.enter();
    t.esc();
    EXPECT_EQ(round_result(t, 3, 0), "text []");
}

TEST(EntryKeys, FormsPlacedPastTheScreenEdgeAreMovedOntoIt)
{
    // Form 22 ("接続先", 43 columns) at its place 5, 40 would reach column 83.
    rig::Term t(harness({"22"}));
    ASSERT_TRUE(t.wait_text("決定")) << t.dump();
    t.settle();
    EXPECT_EQ(t.text(5, 37, 1), "┌");
    EXPECT_EQ(t.text(5, 79, 1), "┐");
    EXPECT_NE(t.row(6).find("接続先"), std::string::npos) << t.dump();
    t.type("10.0.0.1");
    t.enter();
    t.enter();
    EXPECT_EQ(round_result(t, 1, 1), "text [10.0.0.1]");

    // Placed below the last row: it ends on the last row. A larger terminal
    // changes nothing, as the program uses its top-left 80 x 24 cells.
    for (int cols : {80, 100}) {
        rig::Term low(harness({"7", "at", "30", "70"}), 30, cols);
        ASSERT_TRUE(low.wait_text("決定")) << low.dump();
        low.settle();
        EXPECT_EQ(low.text(21, 48, 1), "┌") << cols;
        EXPECT_EQ(low.text(23, 79, 1), "┘") << cols;
    }
}

}  // namespace

namespace {

TEST(EntryKeys, AFormWhoseTerminalIsGoneEndsAsOnF9)
{
    // No keys can ever come: the loops give up instead of spinning, so the
    // program ends (the bound only guards against a hang).
    for (const char* form : {"0", "16"}) {
        std::string cmd = "TERM=xterm-256color timeout 60 " +
                          rig::command_line(rig::with_emulator(forms_test::harness({form}))) +
                          " </dev/null >/dev/null 2>&1";
        EXPECT_EQ(std::system(cmd.c_str()), 0) << "form " << form;
    }
}

}  // namespace
