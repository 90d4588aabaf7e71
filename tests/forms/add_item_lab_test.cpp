// "IP指定追加" in the running tool, inside a private lab network: a unit added
// by its address is listed and the tool goes on to the device list.
#include <gtest/gtest.h>

#include "forms/harness.h"
#include "tests/screens/operator.h"

#include <string>

namespace {

using op::BLUE;
using op::WHITE;
constexpr int FIRST_LIST_ROW = op::LIST_FIRST_ROW;

TEST(AddItem, AUnitAddedByItsAddressIsListedAndTheListTakesTheKeys)
{
    op::Session s(R"({"units":[{"name":"u1","ip":"192.0.2.10","cmd_port":10001}]})");
    rig::Term& t = s.t;
    ASSERT_TRUE(s.lab.ok() && t.wait_text("KIVRASetL V1.10")) << s.lab.sim_log() << t.dump();
    t.settle();

    // The search port first, so the added unit is asked its model too.
    t.right();
    t.enter();
    ASSERT_TRUE(t.wait_row(4, "ポート")) << t.dump();
    t.type("10001");
    t.enter();
    t.enter();
    ASSERT_TRUE(t.wait_row(0, "ポート:10001")) << t.dump();

    t.right();
    t.right();
    t.enter();
    ASSERT_TRUE(t.wait_row(4, "追加IP")) << t.dump();
    t.type("192.0.2.10");
    t.enter();
    t.enter();
    ASSERT_TRUE(t.wait_row(FIRST_LIST_ROW, "192.0.2.10", 30000)) << t.dump();
    // The list row is current; "IP指定追加" is no longer highlighted.
    EXPECT_TRUE(forms_test::wait_for(t, [](rig::Term& s) {
        return s.bg(FIRST_LIST_ROW, 1) == BLUE && s.bg(0, 44) == WHITE && s.fg(0, 44) == BLUE;
    })) << t.dump();
    EXPECT_TRUE(s.lab.wait_received("u1", op::UU)) << "the model query goes to the search port";

    // Esc goes back to the top menu, where Esc no longer ends the program.
    t.esc();
    EXPECT_TRUE(forms_test::wait_for(t, [](rig::Term& s) { return s.bg(0, 1) == BLUE; })) << t.dump();
    t.f9();
    EXPECT_EQ(t.wait_exit(), 0);
}

}  // namespace
