// The analog output screen end to end on models 9 and 11: the rows each
// model has, the kind and value edits with their range messages, and the
// "AQ" writes, byte for byte.
#include "tests/screens/etc/etc_session.h"

#include <gtest/gtest.h>

using namespace etctest;

namespace {

constexpr int COL_KIND = 11, COL_VALUE = 23, ROW_APPLY = 12, COL_APPLY = 37;
int row_of_output(int c) { return 6 + 2 * c; }

TEST(EtcOutput, TwoAndThreeOutputsAreReadEditedWithinTheirRangesAndWritten)
{
    Session s(R"({"units": [
      {"name": "ao9", "ip": "192.0.2.10", "model": 9,
       "memory": {"0b03": "01", "0b04": "80", "0b05": "00", "0b33": "00", "0b34": "60", "0b35": "00"}},
      {"name": "ao11", "ip": "192.0.2.11", "model": 11,
       "memory": {"0b03": "01", "0b33": "02", "0b34": "12", "0b35": "34",
                  "0b63": "00", "0b64": "20", "0b65": "00"}}
    ]})");
    ASSERT_TRUE(s.searched()) << s.lab.sim_log() << s.t.dump();

    // Model 9: two rows, no "AO3 :".
    size_t n = open_etc(s, "ao9", "192.0.2.10");
    ASSERT_TRUE(cells_are(s.t, row_of_output(1), COL_VALUE, "+15.00000", 12, 20000)) << s.t.dump();
    EXPECT_TRUE(cells_are(s.t, 4, 3, "アナログ出力初期値", 18));
    const char* rows9[][3] = {{"AO1 :", "電圧[v]", "-10.00000"},
                              {"AO2 :", "電流[mA]", "+15.00000"}};
    for (int c = 0; c < 2; c++) {
        EXPECT_TRUE(cells_are(s.t, row_of_output(c), 5, rows9[c][0], 5));
        EXPECT_TRUE(cells_are(s.t, row_of_output(c), COL_KIND, rows9[c][1], 10));
        EXPECT_TRUE(cells_are(s.t, row_of_output(c), COL_VALUE, rows9[c][2], 12));
    }
    EXPECT_TRUE(cells_are(s.t, row_of_output(2), 5, "", 30));
    EXPECT_TRUE(cells_are(s.t, ROW_APPLY, COL_APPLY, "設定反映", 16));
    EXPECT_EQ(s.requests("ao9", n, 2), (Requests{cmd("MR0B03"), cmd("MR0B33")}));
    s.t.up();
    EXPECT_TRUE(s.wait_bg(ROW_APPLY, COL_APPLY, BLUE)) << s.t.dump();
    s.t.up();
    EXPECT_TRUE(s.wait_bg(row_of_output(1), COL_KIND, BLUE)) << "Up from apply: the last row";
    // 15 mA switched to voltage is brought to +10 V with the voltage message.
    s.keys("nln");
    ASSERT_TRUE(s.wait_message(MSG_SETTINGS, "電圧の設定範囲は", "+/-10V です。")) << s.t.dump();
    s.t.enter();
    EXPECT_TRUE(cells_are(s.t, row_of_output(1), COL_KIND, "電圧[v]", 10));
    EXPECT_TRUE(cells_are(s.t, row_of_output(1), COL_VALUE, "+10.00000", 12));
    // 12 V entered is limited to +10 V.
    s.keys("urn");
    s.fill_form("12");
    ASSERT_TRUE(s.wait_message(MSG_SETTINGS, "電圧の設定範囲は", "+/-10V です。")) << s.t.dump();
    s.t.enter();
    EXPECT_TRUE(cells_are(s.t, row_of_output(0), COL_VALUE, "+10.00000", 12));
    s.keys("ddn");
    ASSERT_TRUE(s.applied()) << s.t.dump();
    EXPECT_EQ(s.requests("ao9", n + 2, 2),
              (Requests{cmd("AQ", {0x20}, "7FFF"), cmd("AQ", {0x21}, "7FFF")}));
    s.t.enter();

    // Model 11: three rows; an output of a kind without a name is written
    // only once a kind is chosen; a negative current is brought to 0.
    n = open_etc(s, "ao11", "192.0.2.11");
    ASSERT_TRUE(cells_are(s.t, row_of_output(2), COL_VALUE, "+5.00000", 12, 20000)) << s.t.dump();
    EXPECT_TRUE(cells_are(s.t, row_of_output(2), 5, "AO3 :", 5));
    EXPECT_TRUE(cells_are(s.t, row_of_output(0), COL_VALUE, "+0.00000", 12));
    EXPECT_TRUE(cells_are(s.t, row_of_output(1), COL_KIND, "", 10));
    EXPECT_TRUE(cells_are(s.t, row_of_output(1), COL_VALUE, "", 12));
    EXPECT_EQ(s.requests("ao11", n, 3), (Requests{cmd("MR0B03"), cmd("MR0B33"), cmd("MR0B63")}));
    s.keys("uu");
    EXPECT_TRUE(s.wait_bg(row_of_output(2), COL_KIND, BLUE)) << "Up from apply: the third row";
    s.keys("rn");
    s.fill_form("-0.5");
    ASSERT_TRUE(s.wait_message(MSG_SETTINGS, "電流の設定範囲は", "0-20 mV です。")) << s.t.dump();
    s.t.enter();
    EXPECT_TRUE(cells_are(s.t, row_of_output(2), COL_VALUE, "+0.00000", 12));
    s.keys("dn");
    ASSERT_TRUE(s.wait_message(MSG_SETTINGS, "AO 種別を", "選択してください。")) << s.t.dump();
    s.t.enter();
    EXPECT_EQ(s.requests("ao11", n + 3, 0).size(), 0u) << "nothing written";
    s.keys("ddnn");
    EXPECT_TRUE(cells_are(s.t, row_of_output(1), COL_KIND, "電圧[v]", 10));
    EXPECT_TRUE(cells_are(s.t, row_of_output(1), COL_VALUE, "+0.00000", 12));
    s.keys("ddn");
    ASSERT_TRUE(s.applied()) << s.t.dump();
    EXPECT_EQ(s.requests("ao11", n + 3, 3),
              (Requests{cmd("AQ", {0x20}, "0000"), cmd("AQ", {0x21}, "0000"),
                        cmd("AQ", {0x2A}, "0000")}));
}

}  // namespace
