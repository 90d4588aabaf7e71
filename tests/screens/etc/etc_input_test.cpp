// The analog input screens end to end: what an operator sees when "その他の
//設定" opens on models 8 and 10, what each choice and "設定反映" send,
// byte for byte, and how failures leave the screen and the unit.
#include "tests/screens/etc/etc_session.h"

#include <gtest/gtest.h>

using namespace etctest;

namespace {

constexpr int ROW_SAMP = 4, ROW_AI1 = 6, ROW_AI2 = 8, ROW_AI3 = 10, COL_ITEM = 23;
// The per-channel screen: value rows and column, " OK ".
constexpr int CH_RANGE = 6, CH_TYPE = 8, CH_COL = 19, CH_OK_ROW = 19, CH_OK_COL = 32;

TEST(EtcInput, FirstGenerationReadsAtOpeningAndWritesSamplingAndRanges)
{
    Session s(R"({"units": [{"name": "a", "ip": "192.0.2.10", "model": 8,
      "memory": {"0491": "02"}, "ai": [{"range": 1}, {"range": 0}, {"range": 3}]}]})",
              {"-l"});
    ASSERT_TRUE(s.searched()) << s.lab.sim_log() << s.t.dump();
    const size_t n = open_etc(s, "a", "192.0.2.10");
    const char* shown[][3] = {{"その他の設定", nullptr, nullptr},
                              {"ADC サンプリング:", "50Hz", nullptr},
                              {"AI1 入力レンジ  :", "+/-1V", nullptr},
                              {"AI2 入力レンジ  :", "+/-100mV", nullptr},
                              {"AI3 入力レンジ  :", "+/-30V", nullptr}};
    ASSERT_TRUE(cells_are(s.t, ROW_AI3, COL_ITEM, shown[4][1], 14, 20000));
    EXPECT_TRUE(cells_are(s.t, 2, 2, shown[0][0], 12));
    for (int k = 1; k <= 4; k++) {
        EXPECT_TRUE(cells_are(s.t, 2 + 2 * k, 4, shown[k][0], 17));
        EXPECT_TRUE(cells_are(s.t, 2 + 2 * k, COL_ITEM, shown[k][1], 14));
    }
    EXPECT_TRUE(cells_are(s.t, 12, 41, "設定反映", 16));
    EXPECT_EQ(s.requests("a", n, 4),
              (Requests{cmd("MR0491"), cmd("AJ", {0x20}), cmd("AJ", {0x21}), cmd("AJ", {0x22})}));

    // "400Hz" from "50Hz", then "+/-10V" for AI2, then "設定反映".
    s.keys("nddn");
    EXPECT_TRUE(cells_are(s.t, ROW_SAMP, COL_ITEM, "400Hz", 14));
    s.keys("ddnddn");
    EXPECT_TRUE(cells_are(s.t, ROW_AI2, COL_ITEM, "+/-10V", 14));
    s.keys("ddn");
    ASSERT_TRUE(s.applied()) << s.t.dump();
    EXPECT_EQ(s.requests("a", n + 4, 4),
              (Requests{cmd("AP", {0x24}), cmd("AR", {0x20, 0x21}), cmd("AR", {0x21, 0x22}),
                        cmd("AR", {0x22, 0x23})}));
    s.t.enter();
    EXPECT_TRUE(s.t.wait_for([&] { return s.row_of("192.0.2.10") < 0; })) << "the unit restarts";
    EXPECT_NE(s.debug_log().find("Etc Setting\n"), std::string::npos);
    EXPECT_NE(s.debug_log().find("etc setting menu\nAI model setting\n"), std::string::npos);
}

TEST(EtcInput, FailuresEscapeAndUnnamedCodesNeverWriteWhatWasNotMeant)
{
    Session s(R"({"units": [
      {"name": "mute", "ip": "192.0.2.10", "model": 8, "faults_on": [{"on_text": "MR0491", "silent": true}]},
      {"name": "flaky", "ip": "192.0.2.11", "model": 8, "faults_on": [{"on_text": "AR!", "close_early": true}]},
      {"name": "odd", "ip": "192.0.2.12", "model": 8, "memory": {"0491": "f0"}, "ai": [{"range": 9}]},
      {"name": "junk", "ip": "192.0.2.13", "model": 8, "faults_on": [{"on_text": "MR0491", "garbage": true}]}
    ]})",
              {"-l"});
    ASSERT_TRUE(s.searched()) << s.lab.sim_log() << s.t.dump();

    // A unit silent at opening: the message, then the settings menu again.
    open_etc(s, "mute", "192.0.2.10");
    ASSERT_TRUE(s.wait_message(MSG_SETTINGS, "通信エラー", "")) << s.t.dump();
    s.t.enter();
    EXPECT_TRUE(s.t.wait_gone("ADC サンプリング:")) << s.t.dump();
    EXPECT_TRUE(s.t.wait_text(MENU_TITLE));
    EXPECT_NE(s.debug_log().find("sendrecv error\n"), std::string::npos);
    s.t.esc();

    // A write failing in the middle: the later range write is never sent, the
    // screen stays with its values; Esc then writes nothing.
    size_t n = open_etc(s, "flaky", "192.0.2.11");
    ASSERT_TRUE(cells_are(s.t, ROW_AI3, COL_ITEM, "+/-100mV", 14, 20000)) << s.t.dump();
    s.keys("ddddn");
    ASSERT_TRUE(s.wait_message(MSG_SETTINGS, "通信エラー", "")) << s.t.dump();
    const Requests sent = s.requests("flaky", n + 4, 3);
    EXPECT_EQ(sent,
              (Requests{cmd("AP", {0x20}), cmd("AR", {0x20, 0x20}), cmd("AR", {0x21, 0x20})}));
    s.t.enter();
    EXPECT_TRUE(cells_are(s.t, ROW_SAMP, COL_ITEM, "10Hz", 14)) << "the screen stays";
    s.keys("ununx");
    ASSERT_TRUE(s.t.wait_text(MENU_TITLE)) << s.t.dump();
    EXPECT_EQ(s.requests("flaky", n + 4, 0).size(), sent.size()) << "Esc writes nothing";
    s.t.esc();

    // Codes without a text show empty; a sampling code its request byte cannot
    // carry is not sent until one is chosen; the range code goes back as read.
    n = open_etc(s, "odd", "192.0.2.12");
    ASSERT_TRUE(cells_are(s.t, ROW_AI2, COL_ITEM, "+/-100mV", 14, 20000)) << s.t.dump();
    EXPECT_TRUE(cells_are(s.t, ROW_SAMP, COL_ITEM, "", 14));
    EXPECT_TRUE(cells_are(s.t, ROW_AI1, COL_ITEM, "", 14));
    s.keys("ddddn");
    ASSERT_TRUE(s.wait_message(MSG_SETTINGS, "サンプリングを", "選択してください。")) << s.t.dump();
    s.t.enter();
    s.keys("uuuunn");
    EXPECT_TRUE(cells_are(s.t, ROW_SAMP, COL_ITEM, "10Hz", 14)) << "the list starts on choice 1";
    s.keys("ddddn");
    ASSERT_TRUE(s.applied()) << s.t.dump();
    EXPECT_EQ(s.requests("odd", n + 4, 4),
              (Requests{cmd("AP", {0x20}), cmd("AR", {0x20, 0x29}), cmd("AR", {0x21, 0x20}),
                        cmd("AR", {0x22, 0x20})}));
    s.t.enter();

    // A reply whose digits are not hexadecimal is a failed read: nothing is asked after it.
    n = open_etc(s, "junk", "192.0.2.13");
    ASSERT_TRUE(s.wait_message(MSG_SETTINGS, "通信エラー", "")) << s.t.dump();
    EXPECT_EQ(s.requests("junk", n, 1), (Requests{cmd("MR0491")}));
    s.keys("nx");

    // F9 in a form ends the program.
    open_etc(s, "flaky", "192.0.2.11");
    ASSERT_TRUE(cells_are(s.t, ROW_AI3, COL_ITEM, "+/-100mV", 14, 20000)) << s.t.dump();
    s.keys("n");
    s.t.f9();
    EXPECT_EQ(s.t.wait_exit(), 0);
}

TEST(EtcInput, SecondGenerationEditsEachChannelOnItsOwnScreenAndWritesAllThree)
{
    Session s(R"({"units": [{"name": "v2", "ip": "192.0.2.10", "model": 10,
      "memory": {"0491": "01"},
      "ai": [{"range": 2},
             {"range": 6, "tc_type": 1, "tc_flags": 5, "tc_out": 3, "tc_low": 65436, "tc_high": 1000},
             {"range": 0, "tc_type": 12}]}]})");
    ASSERT_TRUE(s.searched()) << s.lab.sim_log() << s.t.dump();
    const size_t n = open_etc(s, "v2", "192.0.2.10");
    ASSERT_TRUE(cells_are(s.t, ROW_AI3, COL_ITEM, "設定画面へ", 14, 20000)) << s.t.dump();
    EXPECT_TRUE(cells_are(s.t, ROW_SAMP, COL_ITEM, "16.6Hz", 14));
    EXPECT_TRUE(cells_are(s.t, ROW_AI1, 4, "AI1 入力設定  :", 15));
    EXPECT_EQ(s.requests("v2", n, 7),
              (Requests{cmd("MR0491"), cmd("AJ", {0x20}), cmd("AJ", {0x21}), cmd("AJ", {0x22}),
                        cmd("TJ", {0x20}), cmd("TJ", {0x21}), cmd("TJ", {0x22})}));

    // AI1: not a thermocouple, so Down and Up skip the greyed rows.
    s.keys("dn");
    ASSERT_TRUE(cells_are(s.t, 4, 3, "アナログ入力 AI1 設定", 21)) << s.t.dump();
    EXPECT_TRUE(cells_are(s.t, CH_RANGE, CH_COL, "+/-10V", 16));
    EXPECT_TRUE(s.wait_fg(CH_TYPE, CH_COL, GREY)) << s.t.dump();
    s.t.down();
    EXPECT_TRUE(s.wait_bg(CH_OK_ROW, CH_OK_COL, BLUE)) << s.t.dump();
    s.t.up();
    EXPECT_TRUE(s.wait_bg(CH_RANGE, CH_COL, BLUE)) << s.t.dump();
    // Switching to "熱電対" makes them usable at once.
    s.keys("nddddn");
    EXPECT_TRUE(cells_are(s.t, CH_RANGE, CH_COL, "熱電対", 16));
    EXPECT_TRUE(s.wait_fg(CH_TYPE, CH_COL, BLUE)) << s.t.dump();
    s.t.down();
    EXPECT_TRUE(s.wait_bg(CH_TYPE, CH_COL, BLUE)) << s.t.dump();
    s.keys("ndn");
    EXPECT_TRUE(cells_are(s.t, CH_TYPE, CH_COL, "J 熱電対", 16));
    s.keys("dddddn");
    s.fill_form("-10");
    EXPECT_TRUE(cells_are(s.t, 16, CH_COL, "-10.0", 16));
    s.keys("dn");
    s.fill_form("3276.7");
    EXPECT_TRUE(cells_are(s.t, 17, CH_COL, "3276.7", 16));
    s.keys("dn");
    ASSERT_TRUE(s.t.wait_gone("アナログ入力 AI1 設定")) << s.t.dump();

    // AI2 shows what was read; a change dropped with Esc is not written.
    s.keys("dn");
    ASSERT_TRUE(cells_are(s.t, 4, 3, "アナログ入力 AI2 設定", 21)) << s.t.dump();
    const char* ai2[] = {"J 熱電対", "有効", "無効", "最大値"};
    for (int k = 0; k < 4; k++) EXPECT_TRUE(cells_are(s.t, CH_TYPE + k, CH_COL, ai2[k], 16));
    EXPECT_TRUE(cells_are(s.t, 15, CH_COL, "4-20 mA", 16));
    EXPECT_TRUE(cells_are(s.t, 16, CH_COL, "-10.0", 16));
    EXPECT_TRUE(cells_are(s.t, 17, CH_COL, "+100.0", 16));
    s.keys("nuuuuun");
    EXPECT_TRUE(cells_are(s.t, CH_RANGE, CH_COL, "+/-1V", 16));
    EXPECT_TRUE(s.wait_fg(CH_TYPE, CH_COL, GREY)) << "greyed at once\n" << s.t.dump();
    s.keys("x");
    // AI3: a type code without a text shows empty.
    s.keys("dn");
    ASSERT_TRUE(cells_are(s.t, 4, 3, "アナログ入力 AI3 設定", 21)) << s.t.dump();
    EXPECT_TRUE(cells_are(s.t, CH_TYPE, CH_COL, "", 16));
    s.keys("xdn");

    ASSERT_TRUE(s.applied()) << s.t.dump();
    EXPECT_EQ(s.requests("v2", n + 7, 10),
              (Requests{cmd("AP", {0x21}), cmd("AR", {0x20, 0x26}), cmd("AR", {0x21, 0x26}),
                        cmd("AR", {0x22, 0x20}), cmd("TC", {0x20, 0x21, 0x20}),
                        cmd("TC", {0x21, 0x21, 0x25}), cmd("TC", {0x22, 0x2C, 0x20}),
                        cmd("TF", {0x20, 0x20}, "FF9C7FFF"), cmd("TF", {0x21, 0x23}, "FF9C03E8"),
                        cmd("TF", {0x22, 0x20}, "00000000")}));
}

}  // namespace
