// The analog settings' value conversions and the bytes built from them.
#include "device/analog_commands.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

namespace {

std::string text(const uint8_t* b, int n)
{
    std::string s;
    char h[4];
    for (int k = 0; k < n; k++) {
        if (b[k] >= 0x30 && b[k] < 0x7F) {
            s += static_cast<char>(b[k]);
        } else {
            std::snprintf(h, sizeof h, "<%02X", b[k]);
            s += h;
            s += '>';
        }
    }
    return s;
}

TEST(EtcValues, OutputCodesAndTemperaturesConvertBothWaysWithoutWrapping)
{
    struct Output {
        int channel, kind;
        double value;
        const char* request;  // the "AQ" write, 0x20.. bytes as <hex>
        const char* shown;    // the value read back from that code, "%+.5f"
    };
    const Output outputs[] = {
        {0, AO_VOLTAGE, 10.0, "AQ<20>7FFF<C8>", "+9.99969"},
        {0, AO_VOLTAGE, -10.0, "AQ<20>8000<C8>", "-10.00000"},
        {0, AO_VOLTAGE, 0.0, "AQ<20>0000<C8>", "+0.00000"},
        {1, AO_CURRENT, 20.0, "AQ<29>7FFF<C8>", "+19.99939"},
        {2, AO_CURRENT, 15.0, "AQ<2A>6000<C8>", "+15.00000"},
        {1, AO_VOLTAGE, 12.5, "AQ<21>7FFF<C8>", "+9.99969"},      // saturates, never wraps
        {1, AO_VOLTAGE, -0.00031, "AQ<21>FFFF<C8>", "-0.00031"},  // toward zero
    };
    for (const Output& o : outputs) {
        uint8_t req[AO_WRITE_LEN];
        const int code = ao_code_from_value(o.kind, o.value);
        ASSERT_EQ(build_ao_write(o.channel, o.kind, code, req), 0);
        EXPECT_EQ(text(req, AO_WRITE_LEN), o.request) << o.value;
        char shown[32];
        std::snprintf(shown, sizeof shown, "%+.5f", ao_value_from_code(o.kind, code));
        EXPECT_STREQ(shown, o.shown) << o.value;
    }
    uint8_t req[AO_WRITE_LEN] = {};
    EXPECT_EQ(build_ao_write(0, AO_UNKNOWN, 0, req), -1) << "an unknown kind is never written";
    EXPECT_EQ(ao_kind_from_digits(1), AO_VOLTAGE);
    EXPECT_EQ(ao_kind_from_digits(0), AO_CURRENT);
    EXPECT_EQ(ao_kind_from_digits(2), AO_UNKNOWN);
    bool clamped = false;
    EXPECT_EQ(ao_clamp(AO_VOLTAGE, 15.0, &clamped), 10.0);  // 15 mA switched to voltage
    EXPECT_TRUE(clamped);
    EXPECT_EQ(ao_clamp(AO_CURRENT, -0.5, &clamped), 0.0);
    EXPECT_TRUE(clamped);
    EXPECT_EQ(ao_clamp(AO_CURRENT, 7.5, &clamped), 7.5);
    EXPECT_FALSE(clamped);

    struct Temperature {
        double entered;  // degrees
        int pattern;     // what "TF" carries
        const char* shown;
    };
    const Temperature temps[] = {
        {-10.0, 0xFF9C, "-10.0"},    {3276.7, 0x7FFF, "+3276.7"}, {-3276.8, 0x8000, "-3276.8"},
        {4000.0, 0x7FFF, "+3276.7"}, {-0.15, 0xFFFF, "-0.1"},     {0.7, 0x0007, "+0.7"},
    };
    for (const Temperature& t : temps) {
        const int tenths = temp_tenths_from_degrees(t.entered);
        EXPECT_EQ(temp_pattern_from_tenths(tenths), t.pattern) << t.entered;
        char shown[32];
        std::snprintf(shown, sizeof shown, "%+.1f", temp_tenths_from_pattern(t.pattern) * 0.1);
        EXPECT_STREQ(shown, t.shown) << t.entered;
    }
    // Every temperature shown with one decimal comes back as the same tenths.
    for (int tenths = -32768; tenths <= 32767; tenths++) {
        char shown[32];
        std::snprintf(shown, sizeof shown, "%.1f", tenths * 0.1);
        ASSERT_EQ(temp_tenths_from_degrees(std::stod(shown)), tenths) << shown;
    }
    // A sampling code its request byte cannot carry is not built.
    uint8_t ap[SAMPLING_WRITE_LEN];
    EXPECT_EQ(build_sampling_write(0xDF, ap), 0);
    EXPECT_EQ(text(ap, SAMPLING_WRITE_LEN), "AP<FF><C8>");
    EXPECT_EQ(build_sampling_write(0xE0, ap), -1);
}

}  // namespace
