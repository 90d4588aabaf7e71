// Output defaults, temperatures, sampling and thermocouple settings: a value
// gives a code in range within one step of it (toward zero); a code read and
// written back unchanged is written as read, in texts that fit the 10 columns
// of their forms; a kind or sampling code a request cannot carry is refused
// with nothing built; an "AQ" write reads back by "MR" as written, and "TC"
// and "TF" carry the thermocouple settings as "TJ" gave them.
#include "device/KIVRAXPort.h"
#include "device/analog_commands.h"
#include "tests/fuzz/fuzz_support.h"

#include <algorithm>
#include <cctype>
#include <cmath>

namespace {
bool fits(const char* format, double v)
{
    char text[32];
    return std::snprintf(text, sizeof text, format, v) <= 10;
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    FuzzInput in{data, size};
    const int kind = static_cast<int8_t>(in.byte()) % 3, channel = in.byte() % ANALOG_CHANNELS;
    const uint64_t bits = uint64_t(uint32_t(in.int32())) << 32 | uint32_t(in.int32());
    double value;
    std::memcpy(&value, &bits, sizeof value);
    const int code = in.int32();
    std::vector<uint8_t> tj = in.rest();
    tj.resize(TC_REPLY_LEN);

    // Output defaults: entered, read, and written with "AQ" as "MR" reads them back.
    const bool known = kind == AO_VOLTAGE || kind == AO_CURRENT;
    const double fs = kind == AO_CURRENT ? 20.0 : 10.0, read = ao_value_from_code(kind, code);
    const int entered = ao_code_from_value(kind, value);
    FUZZ_CHECK(entered >= -32768 && entered <= 32767 &&
               ((known && !std::isnan(value)) || entered == 0));
    bool clamped = false;
    const double v = ao_clamp(kind, value, &clamped);
    FUZZ_CHECK(clamped == !(v == value) && v >= (kind == AO_CURRENT ? 0 : -10) && v <= fs);
    const double written = ao_value_from_code(kind, ao_code_from_value(kind, v));
    FUZZ_CHECK(!known ||
               (std::fabs(written) <= std::fabs(v) && std::fabs(v - written) <= fs / 32768));
    FUZZ_CHECK(!known || (ao_code_from_value(kind, read) == int16_t(code) && fits("%+.5f", read)));
    uint8_t aq[AO_WRITE_LEN];
    std::memset(aq, 0xEE, sizeof aq);
    if (build_ao_write(channel, kind, code, aq) != 0) {
        FUZZ_CHECK(!known && aq[0] == 0xEE && aq[AO_WRITE_LEN - 1] == 0xEE);
    } else {
        const uint8_t mr[AO_REPLY_LEN] = {
            'M',   'R',   '0',   'B',   '0',    '3', '0', uint8_t('1' - kind),
            aq[3], aq[4], aq[5], aq[6], CMD_END};
        int digits = -1, back = 0;
        FUZZ_CHECK(known && aq[2] == 0x20 + channel + 8 * kind && aq[7] == CMD_END &&
                   std::count_if(aq + 3, aq + 7, ::islower) == 0);
        FUZZ_CHECK(parse_ao_reply(mr, &digits, &back) == 0 && ao_kind_from_digits(digits) == kind);
        FUZZ_CHECK(back == int16_t(code));
    }

    // A temperature shown and confirmed unchanged keeps its pattern.
    const int tenths = temp_tenths_from_pattern(code), t = temp_tenths_from_degrees(value);
    char shown[32];
    std::snprintf(shown, sizeof shown, "%.1f", tenths * 0.1);
    FUZZ_CHECK(temp_pattern_from_tenths(tenths) == (code & 0xFFFF) && fits("%+.1f", tenths * 0.1));
    FUZZ_CHECK(temp_tenths_from_degrees(std::strtod(shown, nullptr)) == tenths);
    FUZZ_CHECK(t >= -32768 && t <= 32767 && (!std::isnan(value) || t == 0));
    FUZZ_CHECK(!(std::fabs(value) <= 3276.8) || (std::fabs(t - value * 10) <= 1 + 1e-6 &&
                                                 std::fabs(t) <= std::fabs(value * 10) + 2e-6));

    // Sampling codes beyond what the "AP" byte carries.
    uint8_t ap[SAMPLING_WRITE_LEN];
    std::memset(ap, 0xEE, sizeof ap);
    const bool carried = code >= 0 && code <= SAMPLING_CODE_MAX;
    FUZZ_CHECK(build_sampling_write(code, ap) == (carried ? 0 : -1));
    FUZZ_CHECK(carried ? ap[2] == 0x20 + code && ap[3] == CMD_END : ap[0] == 0xEE && ap[3] == 0xEE);

    // Thermocouple settings as "TJ" gave them, written back by "TC" and "TF".
    TcSettings tc{-77, -77, -77, -77, -77};
    if (parse_tc_reply(tj.data(), &tc) != 0) {
        FUZZ_CHECK(tc.type == -77 && tc.flags == -77 && tc.mode == -77 && tc.low == -77 &&
                   tc.high == -77);
        return 0;
    }
    std::vector<uint8_t> tcw(TC_WRITE_LEN), tfw(TF_WRITE_LEN);
    build_tc_write(channel, tc, tcw.data());
    build_tf_write(channel, tc, tfw.data());
    FUZZ_CHECK(tcw[3] == 0x20 + (tj[3] & 0x0F) && tcw[4] == 0x20 + (tj[4] & 7) &&
               tfw[3] == 0x20 + (tj[5] & 3));
    for (int k = 0; k < 8; k++) FUZZ_CHECK(tfw[4 + k] == std::toupper(tj[6 + k]));
    return 0;
}
