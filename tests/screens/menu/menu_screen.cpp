// The settings menu of one unit: its items, the model check before a group
// opens, the gate's refusals, and leaving it.
#include <gtest/gtest.h>

#include "tests/screens/operator.h"

using namespace op;

namespace {

TEST(MenuScreen, TheMenuShowsItsFourGroupsAndEscReturnsToTheList)
{
    Session s(R"({"units": [{"name": "a", "ip": "192.0.2.10", "model": 0}]})");
    ASSERT_TRUE(s.ready() && s.search()) << s.lab.sim_log() << s.t.dump();
    ASSERT_TRUE(s.open_menu("192.0.2.10")) << s.t.dump();

    EXPECT_TRUE(cells_are(s.t, 13, 2, MENU_TITLE, cells(MENU_TITLE)));
    const char* items[4] = {"IPアドレス設定", "入力延長設定", "メールアラート設定", "その他の設定"};
    for (int k = 0; k < 4; k++) EXPECT_TRUE(cells_are(s.t, MENU_ITEM_ROW + k, 4, items[k], 20));
    // The highlight is drawn with the menu's first update of its items.
    EXPECT_TRUE(s.wait_bg(MENU_ITEM_ROW, 4, BLUE)) << "item 1 is current\n" << s.t.dump();
    EXPECT_TRUE(s.wait_bg(MENU_ITEM_ROW + 1, 4, WHITE)) << s.t.dump();

    s.t.esc();
    ASSERT_TRUE(s.t.wait_gone(MENU_TITLE)) << s.t.dump();
    EXPECT_EQ(s.row_of("192.0.2.10"), LIST_FIRST_ROW) << "the unit stays listed";
    EXPECT_EQ(count_received(s.lab, "a", UU), 0) << "nothing asked without a group";

    // F9 in the menu ends the program.
    ASSERT_TRUE(s.open_menu("192.0.2.10")) << s.t.dump();
    s.t.f9();
    EXPECT_EQ(s.t.wait_exit(), 0);
}

// One choice in the menu and what the operator sees: a refusal text, or
// nothing at all when the gate lets the group through, or the group's
// screen over the menu.
struct GateStep {
    const char* ip;
    int item;
    const char* refusal;   // nullptr: offered; OPENS: offered, its screen opens
};
const char* const OPENS = "(its screen opens)";

void run_gate_steps(Session& s, const GateStep* steps, size_t n)
{
    for (size_t k = 0; k < n; k++) {
        const GateStep& g = steps[k];
        SCOPED_TRACE(std::string(g.ip) + " item " + std::to_string(g.item));
        ASSERT_TRUE(s.open_menu(g.ip)) << s.t.dump();
        s.choose(g.item);
        if (g.refusal == OPENS) {
            // The screen covers the menu; Esc leaves it, a second Esc the menu.
            ASSERT_TRUE(s.t.wait_gone(MENU_TITLE, 20000)) << s.t.dump();
            s.t.esc();
            ASSERT_TRUE(s.t.wait_text(MENU_TITLE)) << s.t.dump();
            s.t.esc();
            ASSERT_TRUE(s.t.wait_gone(MENU_TITLE, 20000)) << s.t.dump();
        } else if (g.refusal != nullptr) {
            ASSERT_TRUE(s.t.wait_row(MSG18_TEXT_ROW, g.refusal, 20000)) << s.t.dump();
            EXPECT_TRUE(cells_are(s.t, MSG18_TEXT_ROW, MSG_TEXT_COL, g.refusal, 47));
            EXPECT_TRUE(cells_are(s.t, MSG18_TEXT_ROW + 1, MSG_TEXT_COL, "", 47));
            s.t.enter();
            ASSERT_TRUE(s.t.wait_gone(g.refusal)) << s.t.dump();
            EXPECT_TRUE(s.t.wait_text(MENU_TITLE)) << "back in the menu\n" << s.t.dump();
            s.t.esc();
            ASSERT_TRUE(s.t.wait_gone(MENU_TITLE)) << s.t.dump();
        } else {
            // Offered: no box appears, so this Esc reaches the menu and closes it
            // (a message box would take it and leave the menu open).
            s.t.esc();
            ASSERT_TRUE(s.t.wait_gone(MENU_TITLE, 20000)) << s.t.dump();
        }
    }
}

TEST(MenuScreen, WiredUnitsGetOnlyTheGroupsOfTheirModel)
{
    Session s(R"({"units": [
      {"name": "m1",   "ip": "192.0.2.10", "model": 1},
      {"name": "m2",   "ip": "192.0.2.11", "model": 2},
      {"name": "m2gc", "ip": "192.0.2.12", "model": 2, "module": "gc", "devtype": "X6"},
      {"name": "m3",   "ip": "192.0.2.13", "model": 3}
    ]})");
    ASSERT_TRUE(s.searched()) << s.lab.sim_log() << s.t.dump();
    const GateStep steps[] = {
        {"192.0.2.10", EXTEND, "入力延長なし。"},
        {"192.0.2.10", MAIL, "メールアラート機能なし。"},
        {"192.0.2.10", ETC, "その他の機能なし。"},
        {"192.0.2.11", EXTEND, "入力延長なし。"},
        {"192.0.2.11", MAIL, OPENS},
        {"192.0.2.12", EXTEND, OPENS},
        {"192.0.2.13", EXTEND, OPENS},
        {"192.0.2.13", MAIL, "メールアラート機能なし。"},
    };
    run_gate_steps(s, steps, std::size(steps));
    // Every choice of a group asked the unit its model once more.
    EXPECT_EQ(count_received(s.lab, "m1", UU), 1 + 3);
    EXPECT_EQ(count_received(s.lab, "m2gc", UU), 1 + 1);
}

TEST(MenuScreen, WifiModulesAndUnusualModelsMeetTheGate)
{
    Session s(R"({"units": [
      {"name": "w1",  "ip": "192.0.2.10", "model": 1, "module": "wifi"},
      {"name": "w3",  "ip": "192.0.2.11", "model": 3, "module": "wifi"},
      {"name": "m7",  "ip": "192.0.2.12", "model": 7, "answer": "mi"},
      {"name": "m12", "ip": "192.0.2.13", "model": 12},
      {"name": "m8",  "ip": "192.0.2.14", "model": 8}
    ]})");
    ASSERT_TRUE(s.searched()) << s.lab.sim_log() << s.t.dump();
    const GateStep steps[] = {
        {"192.0.2.10", EXTEND, OPENS},
        {"192.0.2.10", MAIL, OPENS},
        {"192.0.2.11", MAIL, "メールアラート機能なし。"},
        {"192.0.2.12", EXTEND, "モデルチェック エラー"},
        {"192.0.2.12", MAIL, "メールアラート機能なし。"},
        {"192.0.2.13", EXTEND, "モデルチェック エラー"},
        {"192.0.2.13", MAIL, "メールアラート機能なし。"},
        {"192.0.2.13", ETC, "その他の機能なし。"},
        {"192.0.2.14", ETC, nullptr},
    };
    run_gate_steps(s, steps, std::size(steps));
}

TEST(MenuScreen, AUnitWithItsRotarySwitchAtFIsToldToChangeIt)
{
    Session s(R"({"units": [
      {"name": "f",  "ip": "192.0.2.10", "model": 2, "unit_id": 15},
      {"name": "at", "ip": "192.0.2.11", "model": 2, "answer": "at"}
    ]})");
    ASSERT_TRUE(s.ready() && s.search()) << s.lab.sim_log() << s.t.dump();
    for (const char* ip : {"192.0.2.10", "192.0.2.11"}) {
        SCOPED_TRACE(ip);
        ASSERT_TRUE(s.open_menu(ip)) << s.t.dump();
        s.choose(MAIL);
        ASSERT_TRUE(s.t.wait_row(MSG18_TEXT_ROW, "ロータリースイッチを")) << s.t.dump();
        EXPECT_TRUE(cells_are(s.t, MSG18_TEXT_ROW, MSG_TEXT_COL, "ロータリースイッチを", 47));
        EXPECT_TRUE(cells_are(s.t, MSG18_TEXT_ROW + 1, MSG_TEXT_COL, "[F]以外にしてください。", 47));
        s.t.esc();   // Esc only closes the box
        ASSERT_TRUE(s.t.wait_gone("ロータリースイッチを")) << s.t.dump();
        EXPECT_TRUE(s.t.wait_text(MENU_TITLE));
        s.t.esc();
        ASSERT_TRUE(s.t.wait_gone(MENU_TITLE));
        EXPECT_GE(s.row_of(ip), 0) << "the unit stays listed";
    }
    // The refused answer ends the check at once: one query each.
    EXPECT_EQ(count_received(s.lab, "f", UU), 1);
    EXPECT_EQ(count_received(s.lab, "at", UU), 1);
}

TEST(MenuScreen, AUnitThatNeverAnswersGivesACommunicationErrorAfterFiveAttempts)
{
    Session s(R"({"units": [{"name": "mute", "ip": "192.0.2.10", "faults": {"tcp_silent": true}}]})");
    ASSERT_TRUE(s.ready() && s.search()) << s.lab.sim_log() << s.t.dump();
    ASSERT_TRUE(s.open_menu("192.0.2.10")) << s.t.dump();
    s.choose(EXTEND);
    ASSERT_TRUE(s.t.wait_row(MSG18_TEXT_ROW, "通信エラー。", 60000)) << s.t.dump();
    EXPECT_TRUE(cells_are(s.t, MSG18_TEXT_ROW + 1, MSG_TEXT_COL, "", 47));
    // Each attempt asked "UU" and, silent, "MI" on a new connection.
    EXPECT_EQ(count_received(s.lab, "mute", UU), 5);
    EXPECT_EQ(count_received(s.lab, "mute", rig::unhex("4d49c8")), 5);
    s.t.enter();
    ASSERT_TRUE(s.t.wait_gone("通信エラー。"));
    EXPECT_TRUE(s.t.wait_text(MENU_TITLE));
}

}  // namespace
