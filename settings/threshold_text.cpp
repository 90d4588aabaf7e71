// Threshold and width codes as numbers and texts.
#include "settings/threshold_text.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>

const char* const RangeUnit[8] = {"[mV]", "[V]", "[V]", "[V]", "[mA]", "[mA]", "[°C]", ""};

namespace {

struct RangeRow {
    double fs;        // full scale of the encoding
    double top;       // text of threshold 32767
    double bottom;    // text of threshold -32768
    double width_fs;  // text of width 65535
    const char* format;
};

// Ranges 0..6: ±100 mV, ±1 V, ±10 V, ±30 V, two 0-20 mA, thermocouple.
// The thermocouple encodes with 3276.8 and decodes with 3276.7.
const RangeRow kRanges[THRESHOLD_RANGES] = {
    {100.0, 100.0, -100.0, 200.0, "%+.3lf"},     {1.0, 1.0, -1.0, 2.0, "%+.5lf"},
    {10.0, 10.0, -10.0, 20.0, "%+.4lf"},         {30.0, 30.0, -30.0, 60.0, "%+.4lf"},
    {20.0, 20.0, 0.0, 40.0, "%+.4lf"},           {20.0, 20.0, 0.0, 40.0, "%+.4lf"},
    {3276.8, 3276.7, -3276.8, 6553.5, "%+.1lf"},
};

double text_value(const char* text) { return text != nullptr ? std::strtod(text, nullptr) : 0.0; }

long clamp(long v, long lo, long hi) { return v < lo ? lo : v > hi ? hi : v; }

// The integer part of x, with values far outside 16 bits held at a bound
// that still clamps the same way.
long whole(double x)
{
    if (!(x == x)) return 0;  // not a number
    if (x > 1e9) return 1000000000L;
    if (x < -1e9) return -1000000000L;
    return static_cast<long>(x);
}

void write_text(char* buffer, size_t size, const char* format, double v)
{
    if (buffer == nullptr || size == 0) return;
    std::snprintf(buffer, size, format, v);
}

}  // namespace

int threshold_code_of_percent(double v)
{
    const int s = v < 0 ? -1 : 1;
    const long n = whole(((v < 0 ? -v : v) * 32768.0 + 50.0) / 100.0);
    return static_cast<int>(clamp(s * n, -32768, 32767));
}

double threshold_percent(int code)
{
    const int c = static_cast<int16_t>(code & 0xFFFF);
    return c == 32767 ? 100.0 : c * 100.0 / 32768.0;
}

int threshold_code_of_value(double v, int range, int is_width)
{
    const double fs = range >= 0 && range < THRESHOLD_RANGES ? kRanges[range].fs : 100.0;
    const int s = is_width == 0 && v < 0 ? -1 : 1;
    const long n = whole((s * v * 32768.0 + fs / 2.0) / fs);
    if (is_width != 0) return static_cast<int>(clamp(n, 0, 65535));
    return static_cast<int>(clamp(s * n, -32768, 32767));
}

bool threshold_value(int code, int range, int is_width, double* value)
{
    if (range < 0 || range >= THRESHOLD_RANGES || value == nullptr) return false;
    const RangeRow& r = kRanges[range];
    if (is_width == 0) {
        const int c = static_cast<int16_t>(code & 0xFFFF);
        *value = c == 32767 ? r.top : c == -32768 ? r.bottom : c * r.top / 32768.0;
    } else {
        const unsigned u = static_cast<unsigned>(code) & 0xFFFFu;
        *value = u == 65535 ? r.width_fs : u == 0 ? 0.0 : u * r.width_fs / 65535.0;
    }
    return true;
}

int EncodeThresholdStr(const char* text) { return threshold_code_of_percent(text_value(text)); }

void DecodeThresholdStr(int code, char* buffer, size_t size)
{
    write_text(buffer, size, "%+4.3lf", threshold_percent(code));
}

int EncodeThresholdStrRange(const char* text, int range, int is_width)
{
    return threshold_code_of_value(text_value(text), range, is_width);
}

void DecodeThresholdStrRange(int code, char* buffer, int range, int is_width, size_t size)
{
    if (buffer == nullptr || size == 0) return;
    buffer[0] = '\0';
    double v = 0.0;
    if (threshold_value(code, range, is_width, &v))
        write_text(buffer, size, kRanges[range].format, v);
}
