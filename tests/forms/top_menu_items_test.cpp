// The top menu's form items in the running tool: the search port and the
// address of a unit to add. No test here confirms an address, and the tool
// runs in a lab without units all the same.
#include <gtest/gtest.h>

#include "forms/harness.h"
#include "tests/screens/operator.h"

#include <string>

namespace {

const char* const header = "No    MACアドレス     IPアドレス     機種";

// The tool with its main screen drawn, the cursor on "検索".
struct Tool : op::Session {
    Tool() : Session(R"({"units": []})") {}
    bool started()
    {
        bool up = lab.ok() && t.wait_text("KIVRASetL V1.10");
        t.settle();
        return up;
    }
    // Opens the port item's form (item 2): every pass starts on item 1.
    bool open_port()
    {
        t.right();
        t.enter();
        bool shown = t.wait_row(4, "ポート") && t.wait_row(4, "決定");
        t.settle();
        return shown;
    }
    bool open_add()
    {
        t.right();
        t.right();
        t.enter();
        bool shown = t.wait_row(4, "追加IP") && t.wait_row(4, "決定");
        t.settle();
        return shown;
    }
    // The form is gone once the list header it covered is whole again.
    bool form_closed() { return t.wait_row(3, header); }
};

TEST(TopMenuItems, ThePortItemShowsTheConfirmedPort)
{
    Tool tool;
    ASSERT_TRUE(tool.started()) << tool.t.dump();
    rig::Term& t = tool.t;
    ASSERT_TRUE(tool.open_port()) << t.dump();
    // Form 0 at 3, 15 with its entry at column 30.
    EXPECT_EQ(t.text(3, 15, 1), "┌");
    EXPECT_EQ(t.text(4, 17, 6), "ポート");
    EXPECT_TRUE(forms_test::wait_for(t, [](rig::Term& s) { return s.cursor_visible(); }));
    t.type("8080");
    t.enter();
    t.enter();
    ASSERT_TRUE(t.wait_row(0, "ポート:8080")) << t.dump();
    ASSERT_TRUE(tool.form_closed()) << t.dump();
    EXPECT_EQ(t.text(0, 20, 16), "ポート:8080     ");
    EXPECT_TRUE(forms_test::wait_for(t, [](rig::Term& s) { return !s.cursor_visible(); }));

    // Shown again, the form still holds 8080; 0 means no port.
    ASSERT_TRUE(tool.open_port()) << t.dump();
    EXPECT_EQ(t.text(4, 30, 6), "8080  ");
    t.type("0");   // the first key replaces the whole entry
    t.enter();
    t.enter();
    ASSERT_TRUE(t.wait_row(0, "ポート:未指定")) << t.dump();
    ASSERT_TRUE(tool.form_closed()) << t.dump();

    // Refused values never reach the item.
    ASSERT_TRUE(tool.open_port()) << t.dump();
    t.type("65536");
    t.enter();
    t.type("502");
    t.enter();
    t.enter();
    ASSERT_TRUE(t.wait_row(0, "ポート:502")) << t.dump();
}

TEST(TopMenuItems, EscInThePortFormMeansNoPort)
{
    Tool tool;
    ASSERT_TRUE(tool.started()) << tool.t.dump();
    rig::Term& t = tool.t;
    ASSERT_TRUE(tool.open_port()) << t.dump();
    t.type("8080");
    t.enter();
    t.enter();
    ASSERT_TRUE(t.wait_row(0, "ポート:8080")) << t.dump();
    ASSERT_TRUE(tool.open_port()) << t.dump();
    t.type("9000");
    t.esc();
    ASSERT_TRUE(t.wait_row(0, "ポート:未指定")) << t.dump();
    ASSERT_TRUE(tool.form_closed()) << t.dump();
}

TEST(TopMenuItems, F9InEitherFormEndsTheProgramAtOnce)
{
    for (bool port : {true, false}) {
        SCOPED_TRACE(port ? "port form" : "add form");
        Tool tool;
        ASSERT_TRUE(tool.started()) << tool.t.dump();
        ASSERT_TRUE(port ? tool.open_port() : tool.open_add()) << tool.t.dump();
        tool.t.type("12");
        tool.t.f9();
        EXPECT_EQ(tool.t.wait_exit(), 0);
    }
}

TEST(TopMenuItems, EscInTheAddFormReturnsToTheMenu)
{
    Tool tool;
    ASSERT_TRUE(tool.started()) << tool.t.dump();
    rig::Term& t = tool.t;
    ASSERT_TRUE(tool.open_add()) << t.dump();
    // Form 1 at 3, 20: a 17-column entry at column 35.
    EXPECT_EQ(t.text(3, 20, 1), "┌");
    EXPECT_EQ(t.text(4, 22, 6), "追加IP");
    t.type("192.0.2.10");
    t.esc();
    ASSERT_TRUE(tool.form_closed()) << t.dump();
    EXPECT_EQ(t.text(0, 44, 10), "IP指定追加");
    // The menu starts again on "検索"; Esc there with no unit ends the program.
    t.esc();
    EXPECT_EQ(t.wait_exit(), 0);
}

}  // namespace

namespace {

// A form open while the operator shrinks and restores the terminal window
// comes back whole at the next key, not only after the form has closed.
TEST(TopMenuItems, APortFormComesBackWholeAfterTheWindowWasSmaller)
{
    Tool tool;
    ASSERT_TRUE(tool.started()) << tool.t.dump();
    ASSERT_TRUE(tool.open_port()) << tool.t.dump();
    tool.t.resize(10, 20);
    tool.t.settle();
    tool.t.resize(24, 80);
    tool.t.settle();
    tool.t.left();   // moves the cursor inside the entry
    // The whole area is painted again; wait until its last row has arrived too.
    EXPECT_TRUE(tool.t.wait_for([&] {
        return tool.t.text(3, 46, 1) == "┐" && tool.t.text(4, 37, 4) == "決定" &&
               tool.t.text(5, 15, 1) == "└" && tool.t.text(23, 60, 15) == "KIVRASetL V1.10";
    })) << tool.t.dump();
    tool.t.f9();
    EXPECT_EQ(tool.t.wait_exit(), 0) << tool.t.dump();
}

}  // namespace
