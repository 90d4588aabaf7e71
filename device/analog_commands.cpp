// Building and reading the analog settings commands, and the conversions
// between the controller's codes and the values an operator works with.
#include "device/analog_commands.h"

#include "device/KIVRAXPort.h"

#include <cmath>
#include <cstdio>

namespace {

constexpr int kSamplingAddress = 0x0491;
constexpr int kOutputAddress = 0x0B03;  // output c at 0x0B03 + 0x30 * c
constexpr int kOutputStride = 0x30;
constexpr double kCodeScale = 32768.0;  // full scale in output codes
// Decimal input is binary inside: 3276.7 is a hair below itself. Entered
// tenths are taken whole before truncation.
constexpr double kEntryRounding = 1e-6;

double full_scale(int kind) { return kind == AO_CURRENT ? 20.0 : 10.0; }

uint8_t param(int value) { return static_cast<uint8_t>(0x20 + value); }

void put_hex4(uint8_t* out, int value)
{
    char text[5];
    std::snprintf(text, sizeof text, "%04X", value & 0xFFFF);
    for (int k = 0; k < 4; k++) out[k] = static_cast<uint8_t>(text[k]);
}

void lettered(const char* name, int channel, uint8_t* out)
{
    out[0] = static_cast<uint8_t>(name[0]);
    out[1] = static_cast<uint8_t>(name[1]);
    out[2] = param(channel);
}

}  // namespace

// ---- value conversions ----

int ao_kind_from_digits(int digits)
{
    if (digits == 1) return AO_VOLTAGE;
    if (digits == 0) return AO_CURRENT;
    return AO_UNKNOWN;
}

int ao_code_from_value(int kind, double value)
{
    if (kind != AO_VOLTAGE && kind != AO_CURRENT) return 0;
    const double code = std::trunc(value / full_scale(kind) * kCodeScale);
    if (std::isnan(code)) return 0;
    if (code > 32767.0) return 32767;  // full scale itself
    if (code < -32768.0) return -32768;
    return static_cast<int>(code);
}

double ao_value_from_code(int kind, int code)
{
    const int signed_code = static_cast<int16_t>(static_cast<uint16_t>(code & 0xFFFF));
    return signed_code * full_scale(kind) / kCodeScale;
}

double ao_clamp(int kind, double value, bool* clamped)
{
    const double low = kind == AO_CURRENT ? 0.0 : -10.0;
    const double high = kind == AO_CURRENT ? 20.0 : 10.0;
    double v = value;
    if (v < low) v = low;
    if (v > high) v = high;
    if (std::isnan(v)) v = 0.0;
    if (clamped != nullptr) *clamped = v != value;
    return v;
}

int temp_tenths_from_pattern(int pattern)
{
    const int p = pattern & 0xFFFF;
    return p > 32767 ? p - 65536 : p;
}

int temp_pattern_from_tenths(int tenths) { return tenths & 0xFFFF; }

int temp_tenths_from_degrees(double degrees)
{
    if (std::isnan(degrees)) return 0;
    const double tenths = degrees * 10.0;
    const double whole = std::trunc(tenths + (tenths < 0 ? -kEntryRounding : kEntryRounding));
    if (whole > 32767.0) return 32767;
    if (whole < -32768.0) return -32768;
    return static_cast<int>(whole);
}

// ---- requests and replies ----

void build_sampling_read(uint8_t out[SAMPLING_READ_LEN]) { BuildMemoryRead(kSamplingAddress, out); }

int parse_sampling_reply(const uint8_t reply[SAMPLING_REPLY_LEN], int* code)
{
    uint8_t b = 0;
    if (ParseMemoryReply(reply, SAMPLING_REPLY_LEN, 1, &b) != 0) return -1;
    *code = b;
    return 0;
}

void build_range_read(int channel, uint8_t out[RANGE_READ_LEN])
{
    lettered("AJ", channel, out);
    out[3] = CMD_END;
}

int parse_range_reply(const uint8_t reply[RANGE_REPLY_LEN]) { return reply[3] & 0x0F; }

int build_sampling_write(int code, uint8_t out[SAMPLING_WRITE_LEN])
{
    if (code < 0 || code > SAMPLING_CODE_MAX) return -1;
    lettered("AP", code, out);
    out[3] = CMD_END;
    return 0;
}

void build_range_write(int channel, int range, uint8_t out[RANGE_WRITE_LEN])
{
    lettered("AR", channel, out);
    out[3] = param(range & 0x0F);
    out[4] = CMD_END;
}

void build_tc_read(int channel, uint8_t out[TC_READ_LEN])
{
    lettered("TJ", channel, out);
    out[3] = CMD_END;
}

int parse_tc_reply(const uint8_t reply[TC_REPLY_LEN], TcSettings* tc)
{
    // The two temperatures are four hexadecimal digits each from byte 6,
    // read as the two bytes of each.
    uint8_t t[4];
    if (ParseMemoryReply(reply, TC_REPLY_LEN, 4, t) != 0) return -1;
    tc->type = reply[3] & 0x0F;
    tc->flags = reply[4] & 0x07;
    tc->mode = reply[5] & 0x03;
    tc->low = t[0] << 8 | t[1];
    tc->high = t[2] << 8 | t[3];
    return 0;
}

void build_tc_write(int channel, const TcSettings& tc, uint8_t out[TC_WRITE_LEN])
{
    lettered("TC", channel, out);
    out[3] = param(tc.type & 0x0F);
    out[4] = param(tc.flags & 0x07);
    out[5] = CMD_END;
}

void build_tf_write(int channel, const TcSettings& tc, uint8_t out[TF_WRITE_LEN])
{
    lettered("TF", channel, out);
    out[3] = param(tc.mode & 0x03);
    put_hex4(out + 4, tc.low);
    put_hex4(out + 8, tc.high);
    out[12] = CMD_END;
}

void build_ao_read(int channel, uint8_t out[AO_READ_LEN])
{
    BuildMemoryRead(kOutputAddress + kOutputStride * channel, out);
}

int parse_ao_reply(const uint8_t reply[AO_REPLY_LEN], int* kind_digits, int* code)
{
    uint8_t b[3];
    if (ParseMemoryReply(reply, AO_REPLY_LEN, 3, b) != 0) return -1;
    *kind_digits = b[0];
    *code = static_cast<int16_t>(static_cast<uint16_t>(b[1] << 8 | b[2]));
    return 0;
}

int build_ao_write(int channel, int kind, int code, uint8_t out[AO_WRITE_LEN])
{
    if (kind != AO_VOLTAGE && kind != AO_CURRENT) return -1;
    lettered("AQ", channel + (kind == AO_CURRENT ? 8 : 0), out);
    put_hex4(out + 3, code);
    out[7] = CMD_END;
    return 0;
}
