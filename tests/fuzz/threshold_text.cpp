// Threshold and width codes as texts: any text gives a code in range (0 when
// it is not a number); any code gives a text that stays in its buffer, fits
// the 10 columns of its cell and form, and reads back as the code (one apart
// for widths and the thermocouple, whose two scales differ); a value inside
// the range comes back within two steps and half its last decimal. A width
// written with "DL" reads back by "DJ" as written.
#include "device/KIVRAXPort.h"
#include "settings/threshold_text.h"
#include "tests/fuzz/fuzz_support.h"

#include <cmath>
#include <memory>

namespace {
const double kFullScale[8] = {100, 1, 10, 30, 20, 20, 3276.8, 100};  // 7: other ranges
const double kLastDecimal[8] = {1e-3, 1e-5, 1e-4, 1e-4, 1e-4, 1e-4, 1e-1, 0};
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    FuzzInput in{data, size};
    const int range = static_cast<int8_t>(in.byte()), w = in.byte() & 1;
    const size_t room = in.byte() % (THRESHOLD_TEXT_LEN + 8);
    const int code = in.int32(), c = w ? code & 0xFFFF : static_cast<int16_t>(code);
    const std::vector<char> text = in.text();
    const double v = std::strtod(text.data(), nullptr);
    const int r = range >= 0 && range <= 6 ? range : 7;
    const double fs = kFullScale[r], low = w || r == 4 || r == 5 ? 0 : -fs, high = w ? 2 * fs : fs;
    auto near = [v](const char* t, double tol) {
        return std::fabs(std::strtod(t, nullptr) - v) <= tol;
    };

    const int pct = EncodeThresholdStr(text.data()),
              unit = EncodeThresholdStrRange(text.data(), range, w);
    FUZZ_CHECK(pct >= -32768 && pct <= 32767 && unit >= (w ? 0 : -32768) &&
               unit <= (w ? 65535 : 32767));
    FUZZ_CHECK(!std::isnan(v) || (pct == 0 && unit == 0));

    std::unique_ptr<char[]> small(new char[room]);  // a write past it is caught
    DecodeThresholdStrRange(code, small.get(), range, w, room);
    FUZZ_CHECK(room == 0 || std::memchr(small.get(), 0, room) != nullptr);
    DecodeThresholdStr(code, small.get(), room);
    FUZZ_CHECK(room == 0 || std::memchr(small.get(), 0, room) != nullptr);

    char t[THRESHOLD_TEXT_LEN];
    DecodeThresholdStr(code, t);
    FUZZ_CHECK(std::strlen(t) <= 10 && EncodeThresholdStr(t) == static_cast<int16_t>(code));
    DecodeThresholdStr(pct, t);
    FUZZ_CHECK(!(v >= -100 && v <= 100) || near(t, 100.0 / 32768 + 5e-4));
    DecodeThresholdStrRange(code, t, range, w);
    FUZZ_CHECK(std::strlen(t) <= 10 && (r < 7 || t[0] == '\0'));
    const int back = EncodeThresholdStrRange(t, range, w);
    const bool zero_ma = !w && low == 0 && c == -32768;  // shown as 0 mA
    if (r < 7) FUZZ_CHECK(zero_ma ? back == 0 : std::abs(back - c) <= (w || r == 6 ? 1 : 0));
    DecodeThresholdStrRange(unit, t, range, w);
    FUZZ_CHECK(r == 7 || !(v >= low && v <= high) || near(t, 2 * fs / 32768 + kLastDecimal[r] / 2));

    uint8_t dl[10], ds[5];
    const int d = (code >> 16) & 1, input = (code >> 17) & 7, dir = (code >> 20) & 1,
              on = (code >> 21) & 1;
    BuildDOAlertWrite(d, input, dir, code, dl);
    BuildDOAlertStart(d, on, ds);
    const uint8_t dj[11] = {'D',   'J',   dl[2], ds[3], dl[3],  dl[4],
                            dl[5], dl[6], dl[7], dl[8], CMD_END};
    int e = -1, i = -1, di = -1, wd = -1;
    FUZZ_CHECK(ParseDOAlertReply(dj, &e, &i, &di, &wd) == 0 && e == on && i == input && di == dir);
    FUZZ_CHECK(wd == (code & 0xFFFF) && dl[9] == CMD_END && ds[4] == CMD_END);
    return 0;
}
