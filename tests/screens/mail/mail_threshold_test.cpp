// The threshold and width texts of the analog inputs: percent of full scale
// and the unit of each input range, both ways, at the values where the
// rounding and the limits of 16 bits matter.
#include "screens/mail/KIVRAMailSet.h"

#include <gtest/gtest.h>

#include <string>

namespace {

TEST(Threshold, TextsAndCodesAgreeAtEveryEdgeOfEveryRange)
{
    // Percent texts to codes and codes back to texts.
    const struct { const char* text; int code; } encode[] = {
        {"100", 32767}, {"-100", -32768}, {"50", 16384}, {"0.001", 0},
        {"0.002", 1},   {"-0.002", -1},   {"150", 32767}, {"-1e30", -32768}, {"abc", 0},
    };
    for (const auto& c : encode) EXPECT_EQ(EncodeThresholdStr(c.text), c.code) << c.text;
    const struct { int code; const char* text; } decode[] = {
        {32767, "+100.000"}, {0, "+0.000"}, {-32768, "-100.000"}, {16384, "+50.000"},
        {-1, "-0.003"},      {0xFFFF, "-0.003"},  // only the low 16 bits count
    };
    for (const auto& c : decode) {
        char buf[THRESHOLD_TEXT_LEN];
        DecodeThresholdStr(c.code, buf);
        EXPECT_STREQ(buf, c.text) << c.code;
    }

    // Texts in the range's unit: thresholds (width 0) and widths (1).
    const struct { const char* text; int range, width, code; } encode_range[] = {
        {"10", 2, 0, 32767},     {"5", 2, 0, 16384},     {"-10", 2, 0, -32768},
        {"20", 2, 1, 65535},     {"-1", 2, 1, 0},        {"1000.0", 6, 0, 10000},
        {"6553.5", 6, 1, 65535}, {"-40", 3, 0, -32768},  {"50", 9, 0, 16384},  // 100.0 off the table
    };
    for (const auto& c : encode_range)
        EXPECT_EQ(EncodeThresholdStrRange(c.text, c.range, c.width), c.code)
            << c.text << " range " << c.range << " width " << c.width;
    const struct { int code, range, width; const char* text; } decode_range[] = {
        {10000, 6, 0, "+1000.0"},  {-32768, 4, 0, "+0.0000"}, {-32768, 5, 0, "+0.0000"},
        {-16384, 4, 0, "-10.0000"}, {65535, 2, 1, "+20.0000"}, {0, 2, 1, "+0.0000"},
        {32767, 0, 0, "+100.000"}, {32767, 6, 0, "+3276.7"},  {-32768, 6, 0, "-3276.8"},
        {16384, 1, 0, "+0.50000"}, {1, 9, 0, ""},             {1, -1, 1, ""},
    };
    for (const auto& c : decode_range) {
        char buf[THRESHOLD_TEXT_LEN] = "junk";
        DecodeThresholdStrRange(c.code, buf, c.range, c.width);
        EXPECT_STREQ(buf, c.text) << c.code << " range " << c.range << " width " << c.width;
    }
    EXPECT_STREQ(RangeUnit[0], "[mV]");
    EXPECT_STREQ(RangeUnit[6], "[°C]");
    EXPECT_STREQ(RangeUnit[7], "");
}

}  // namespace
