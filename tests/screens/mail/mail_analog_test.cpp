// The analog side of the mail alert screen end to end: the input rows of
// models 9 and 11 in memory at 0x0432, the threshold window in percent with
// three or four columns, the DO alert windows of model 10 in the unit of the
// watched input, and an apply that stops at a failed step and is repeated whole.
#include "mail_session.h"

#include <gtest/gtest.h>

using namespace mailtest;

namespace {

std::string cmd(const std::string& text, std::initializer_list<int> tail = {0xC8})
{
    std::string s = text;
    for (int b : tail) s += static_cast<char>(b);
    return s;
}

// Screen places of the threshold window (at row 4, column 2).
constexpr int AW_HEADER = 6, AW_CH1 = 8, AW_LOW = 12, AW_HIGH = 24, AW_LED = 36, AW_MAIL = 48;
constexpr int AW_OK_ROW = 15, AW_OK_COL = 30;

TEST(MailAnalog, Model9WritesItsRowsToMemoryAndThresholdsAfterFailedStepsAreRepeated)
{
    Operator s(R"({"units": [
      {"name": "x9", "ip": "192.0.2.30", "model": 9, "memory": {"0432": "0103"},
       "records": {"6": {"28": "f7", "29": "03"}},
       "ai": [{"low": 49152, "high": 16384, "led": 1, "mail": 2}, {"low": 0, "high": 32767}],
       "faults_on": [{"on_text": "MW0432", "close_early": true, "times": 1},
                     {"on_text": "AL!", "close_early": true, "times": 1}]},
      {"name": "x8", "ip": "192.0.2.31", "model": 8, "ai": [{"mail": 1}, {}, {}]}]})",
                {"-l"});
    ASSERT_TRUE(s.open_mail("192.0.2.30")) << s.t.dump();
    auto& t = s.t;
    EXPECT_TRUE(s.wait_bg(ROW_DI1, COL_CELL2, YELLOW));
    EXPECT_TRUE(s.wait_bg(ROW_DI1 + 1, COL_CELL3, YELLOW));
    EXPECT_TRUE(s.wait_bg(ROW_DI1 + 2, COL_FIELD, YELLOW));
    EXPECT_EQ(s.commands_since("x9", "MR")[0], cmd("MR0432"));

    // Every row off; then the threshold window.
    for (int row : {ROW_PORT, ROW_FROM, ROW_TO1, ROW_TO2, ROW_SUBJECT}) ASSERT_TRUE(s.move("d", row));
    ASSERT_TRUE(s.move("d", ROW_DI1, COL_CELL2) && s.move("l", ROW_DI1));
    ASSERT_TRUE(s.move("d", ROW_DI1 + 1, COL_CELL3));
    ASSERT_TRUE(s.move("l", ROW_DI1 + 1, COL_CELL2) && s.move("l", ROW_DI1 + 1));
    ASSERT_TRUE(s.move("d", ROW_DI1 + 2) && s.move("d", 18));
    t.enter();
    ASSERT_TRUE(t.wait_text("Ch2 :")) << t.dump();
    EXPECT_TRUE(cells_are(t, AW_HEADER, 5, "       閾値Low[%]  閾値High[%] LED点灯条件", 50));
    EXPECT_TRUE(cells_are(t, AW_CH1, AW_LOW, "-50.000", 10));
    EXPECT_TRUE(cells_are(t, AW_CH1, AW_HIGH, "+50.000", 10));
    EXPECT_TRUE(cells_are(t, AW_CH1, AW_LED, "範囲外", 10));
    EXPECT_TRUE(cells_are(t, AW_CH1 + 2, AW_HIGH, "+100.000", 10));
    EXPECT_TRUE(cells_are(t, AW_CH1 + 4, 5, "", 40)) << "two inputs";
    ASSERT_TRUE(s.move("r", AW_CH1, AW_HIGH));
    s.edit("75");
    EXPECT_TRUE(cells_are(t, AW_CH1, AW_HIGH, "+75.000", 10));
    ASSERT_TRUE(s.move("r", AW_CH1, AW_LED));
    t.enter();
    ASSERT_TRUE(t.wait_text("点灯条件")) << t.dump();
    s.keys("ln");
    EXPECT_TRUE(cells_are(t, AW_CH1, AW_LED, "範囲内", 10));
    ASSERT_TRUE(s.move("d", AW_CH1 + 2, AW_LED)) << "the column stays";
    ASSERT_TRUE(s.move("d", AW_OK_ROW, AW_OK_COL));
    t.enter();
    ASSERT_TRUE(t.wait_gone("Ch2 :")) << t.dump();

    // Apply three times: the memory write fails, then channel 1's
    // threshold; each failure stops what follows and stays on 設定反映.
    ASSERT_TRUE(s.move("d", ROW_APPLY, COL_APPLY));
    const std::string mw = cmd("MW0432E0E0"), al0 = cmd("AL \"C0006000"),
                      al1 = cmd("AL! 00007FFF");
    for (int pass = 0; pass < 3; pass++) {
        t.enter();
        if (pass == 2) break;
        ASSERT_TRUE(s.wait_message(15, "通信エラー", "")) << pass << t.dump();
        t.enter();
        ASSERT_TRUE(s.wait_bg(ROW_APPLY, COL_APPLY, BLUE)) << t.dump();
    }
    ASSERT_TRUE(s.applied()) << t.dump();
    const std::vector<std::string> want = {mw, mw, al0, al1, mw, al0, al1};
    EXPECT_EQ(s.commands_since("x9", "MW"), want);
    auto w6 = s.record_writes("x9", 6);
    ASSERT_EQ(w6.size(), 1u);
    EXPECT_EQ(w6[0][28], 0xF0) << "no row sends mail: bits 0..2 cleared, the others kept";
    EXPECT_EQ(w6[0][29], 0x03) << "byte 29 kept as read";
    const std::string log = s.debug_log();
    EXPECT_NE(log.find("sendrecv failed\n"), std::string::npos);
    EXPECT_NE(log.find("threshold setting send error\n"), std::string::npos);

    // Model 8: four columns; Esc in its window and F9 in a form write nothing.
    t.enter();
    ASSERT_TRUE(t.wait_gone(MENU_TITLE)) << t.dump();
    ASSERT_TRUE(s.open_menu("192.0.2.31") && s.reopen_mail()) << t.dump();
    for (int row : {ROW_PORT, ROW_FROM, ROW_TO1, ROW_TO2, ROW_SUBJECT, 18})
        ASSERT_TRUE(s.move("d", row));
    t.enter();
    ASSERT_TRUE(t.wait_text("Ch3 :")) << t.dump();
    EXPECT_TRUE(cells_are(t, AW_HEADER, 5,
                              "       閾値Low[%]  閾値High[%] LED点灯条件 AIメール送信", 55));
    EXPECT_TRUE(cells_are(t, AW_CH1, AW_MAIL, "点灯時", 10));
    t.esc();
    ASSERT_TRUE(t.wait_gone("Ch3 :")) << t.dump();
    // F9 in a form of the window ends the program.
    t.enter();
    ASSERT_TRUE(t.wait_text("Ch3 :")) << t.dump();
    t.enter();
    ASSERT_TRUE(t.wait_text("閾値[%]")) << t.dump();
    t.f9();
    EXPECT_EQ(t.wait_exit(), 0);
    for (const auto& b : s.tcp_in("x8")) EXPECT_FALSE(b.size() > 1 && b[0] == 'A' && b[1] == 'L');
    EXPECT_TRUE(s.record_writes("x8", 3).empty());
}

}  // namespace

namespace {

// Screen places of the DO window (at row 4, column 2): items 1..8.
constexpr int DW_ROW[9] = {0, 6, 8, 9, 10, 11, 14, 15, 17};
constexpr int DW_COL = 19, DW_UNIT = 36, DW_OK = 42;

TEST(MailAnalog, Model10DoWindowsShowTheWatchedInputsUnitAndTheApplyWritesThresholdsThenDoAlerts)
{
    Operator s(R"({"units": [{"name": "x10", "ip": "192.0.2.40", "model": 10,
       "ai": [{"range": 2, "low": 49152, "high": 16384, "mail": 1},
              {"range": 4, "low": 32768, "high": 32767, "led": 1}, {"range": 12, "high": 8192}],
       "do": [{"enable": 1, "input": 0, "direction": 1, "width": 0},
              {"enable": 0, "input": 2, "direction": 0, "width": 100}],
       "faults_on": [{"on_text": "DL", "close_early": true, "times": 1}]}]})",
               {"-l"});
    ASSERT_TRUE(s.open_mail("192.0.2.40")) << s.t.dump();
    auto& t = s.t;
    const std::vector<std::string> reads = s.commands_since("x10", "AK");
    const std::vector<std::string> want_reads = {cmd("AK "), cmd("AK!"), cmd("AK\""), cmd("DJ "),
                                                 cmd("DJ!"), cmd("AJ "), cmd("AJ!"), cmd("AJ\"")};
    EXPECT_EQ(reads, want_reads);
    EXPECT_TRUE(cells_are(t, 16, 4, "   アナログ閾値設定    設定画面へ", 33));
    EXPECT_TRUE(cells_are(t, 18, 4, "   DOアラート設定      DO1設定", 30));
    EXPECT_TRUE(cells_are(t, 18, COL_DO2, "DO2設定", 16));
    ASSERT_TRUE(s.move("u", ROW_APPLY, COL_APPLY) && s.move("u", 18) &&
                s.move("u", 16) && s.move("u", ROW_SUBJECT) &&
                s.move("d", 16) && s.move("d", 18));

    // DO1 watches AI1 (±10 V): a width of 20.0 is the whole width code.
    t.enter();
    ASSERT_TRUE(t.wait_text("DO1 アラート条件設定")) << t.dump();
    const char* shown[] = {"開始", "AI1", "範囲内", "-5.0000", "+5.0000", "+0.0000", "ON優先"};
    for (int k = 1; k <= 7; k++) EXPECT_TRUE(cells_are(t, DW_ROW[k], DW_COL, shown[k - 1], 15));
    EXPECT_TRUE(cells_are(t, DW_ROW[4], DW_UNIT, "[V]", 8));
    for (int k = 2; k <= 6; k++) ASSERT_TRUE(s.move("d", DW_ROW[k], DW_COL));
    s.edit("20");
    EXPECT_TRUE(cells_are(t, DW_ROW[6], DW_COL, "+20.0000", 15));
    ASSERT_TRUE(s.move("d", DW_ROW[7], DW_COL) && s.move("d", DW_ROW[8], DW_OK));
    t.enter();
    ASSERT_TRUE(t.wait_gone("DO1 アラート条件設定")) << t.dump();

    // DO2 watches AI3, whose range has no unit: its items are empty and do
    // nothing; switched to AI2 (0-20 mA) it shows AI2's values in mA.
    ASSERT_TRUE(s.move("r", 18, COL_DO2));
    t.enter();
    ASSERT_TRUE(t.wait_text("DO2 アラート条件設定")) << t.dump();
    EXPECT_TRUE(cells_are(t, DW_ROW[2], DW_COL, "AI3", 15));
    EXPECT_TRUE(cells_are(t, DW_ROW[4], DW_COL, "", 15));
    EXPECT_TRUE(cells_are(t, DW_ROW[6], DW_UNIT, "", 8));
    for (int k = 2; k <= 4; k++) ASSERT_TRUE(s.move("d", DW_ROW[k], DW_COL));
    t.enter();
    ASSERT_TRUE(s.move("u", DW_ROW[3], DW_COL)) << "the window stays open";
    ASSERT_TRUE(s.move("u", DW_ROW[2], DW_COL));
    t.enter();
    ASSERT_TRUE(t.wait_text("監視対象AI")) << t.dump();
    s.keys("ln");
    EXPECT_TRUE(cells_are(t, DW_ROW[2], DW_COL, "AI2", 15));
    EXPECT_TRUE(cells_are(t, DW_ROW[3], DW_COL, "範囲外", 15));
    EXPECT_TRUE(cells_are(t, DW_ROW[4], DW_COL, "+0.0000", 15));
    EXPECT_TRUE(cells_are(t, DW_ROW[5], DW_COL, "+20.0000", 15));
    EXPECT_TRUE(cells_are(t, DW_ROW[6], DW_COL, "+0.0610", 15));
    EXPECT_TRUE(cells_are(t, DW_ROW[6], DW_UNIT, "[mA]", 8));
    ASSERT_TRUE(s.move("d", DW_ROW[3], DW_COL) && s.move("d", DW_ROW[4], DW_COL));
    t.enter();
    ASSERT_TRUE(t.wait_text("閾値[mA]")) << t.dump();
    t.type("25");
    t.enter();  // above 20 mA: refused, the entry is emptied
    s.fill_form("10");
    EXPECT_TRUE(cells_are(t, DW_ROW[4], DW_COL, "+10.0000", 15));
    for (int k = 5; k <= 8; k++) t.down();
    ASSERT_TRUE(s.wait_bg(DW_ROW[8], DW_OK, BLUE));
    t.enter();
    ASSERT_TRUE(t.wait_gone("DO2 アラート条件設定")) << t.dump();

    // The first DO write fails: thresholds were sent, nothing after it.
    ASSERT_TRUE(s.move("d", ROW_APPLY, COL_APPLY));
    t.enter();
    ASSERT_TRUE(s.wait_message(15, "通信エラー", "")) << t.dump();
    t.enter();
    ASSERT_TRUE(s.wait_bg(ROW_APPLY, COL_APPLY, BLUE));
    t.enter();
    ASSERT_TRUE(s.applied()) << t.dump();
    const std::string al0 = cmd("AL !C0004000"), al1 = cmd("AL!(40007FFF"), al2 = cmd("AL\" 00002000"),
                      dl0 = cmd("DL  !FFFF"), ds0 = cmd("DS !"), dl1 = cmd("DL!! 0064"), ds1 = cmd("DS! ");
    const std::vector<std::string> want = {al0, al1, al2, dl0, al0, al1, al2, dl0, ds0, dl1, ds1};
    EXPECT_EQ(s.commands_since("x10", "AL"), want);
    for (int n = 3; n <= 7; n++) EXPECT_EQ(s.record_writes("x10", n).size(), 1u) << n;
    const std::string log = s.debug_log();
    EXPECT_NE(log.find("DOalert setting send error\n"), std::string::npos);
    EXPECT_NE(log.find("AI range select error\n"), std::string::npos);
}

}  // namespace
