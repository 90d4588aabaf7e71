// The analog units' settings in their controllers: ADC sampling and input
// ranges, thermocouple and temperature-scale settings, analog output kinds and
// default values. Request builders, reply parsers and the value conversions
// are pure functions (no sockets, no curses).
#pragma once

#include <cstdint>

constexpr int ANALOG_CHANNELS = 3;

// ---- value conversions ----

// Kinds of an analog output. The controller reports 1 for voltage and 0 for
// current; any other report is an unknown kind that is never written.
constexpr int AO_VOLTAGE = 0;
constexpr int AO_CURRENT = 1;
constexpr int AO_UNKNOWN = -1;
int ao_kind_from_digits(int digits);
// The output code of a value (volts or milliamperes): the fraction of full
// scale (10 V, 20 mA) in 32768ths, truncated toward zero and saturated at
// -32768..32767, so +10 V and 20 mA give 0x7FFF. 0 for an unknown kind.
int ao_code_from_value(int kind, double value);
// The value of a signed 16-bit output code (its low 16 bits are taken).
double ao_value_from_code(int kind, int code);
// The value limited to the kind's range (-10..+10 V, 0..20 mA); *clamped
// tells whether it had to be.
double ao_clamp(int kind, double value, bool* clamped);

// Temperatures travel as 16-bit two's-complement patterns of tenths of a degree.
int temp_tenths_from_pattern(int pattern);  // 0xFF9C -> -100
int temp_pattern_from_tenths(int tenths);   // -100 -> 0xFF9C
// Degrees as entered to tenths: truncated toward zero, limited to -32768..32767.
int temp_tenths_from_degrees(double degrees);

// ---- requests and replies ----

constexpr int SAMPLING_READ_LEN = 7, SAMPLING_REPLY_LEN = 9;
constexpr int RANGE_READ_LEN = 4, RANGE_REPLY_LEN = 6;
constexpr int SAMPLING_WRITE_LEN = 4;
constexpr int RANGE_WRITE_LEN = 5;
constexpr int TC_READ_LEN = 4, TC_REPLY_LEN = 15;
constexpr int TC_WRITE_LEN = 6;
constexpr int TF_WRITE_LEN = 13;
constexpr int AO_READ_LEN = 7, AO_REPLY_LEN = 13;
constexpr int AO_WRITE_LEN = 8;
constexpr int SAMPLING_CODE_MAX = 0xFF - 0x20;  // the largest code its request byte can carry

// "MR0491": the sampling code, two hexadecimal digits at reply byte 6.
void build_sampling_read(uint8_t out[SAMPLING_READ_LEN]);
int parse_sampling_reply(const uint8_t reply[SAMPLING_REPLY_LEN], int* code);  // 0 or -1
// "AJ", 0x20 + c: the range code in the low 4 bits of reply byte 3.
void build_range_read(int channel, uint8_t out[RANGE_READ_LEN]);
int parse_range_reply(const uint8_t reply[RANGE_REPLY_LEN]);
// "AP", 0x20 + code. -1 (nothing built) for a code its byte cannot carry.
int build_sampling_write(int code, uint8_t out[SAMPLING_WRITE_LEN]);
// "AR", 0x20 + c, 0x20 + range (0..15).
void build_range_write(int channel, int range, uint8_t out[RANGE_WRITE_LEN]);

// Thermocouple and temperature-scale settings of one input.
struct TcSettings {
    int type;   // 0..15
    int flags;  // 1 cold-junction compensation, 2 burn-out detection, 4 burn-out to maximum
    int mode;   // temperature output type 0..3
    int low;    // lower and upper scale temperature, 16-bit patterns as read
    int high;
};
void build_tc_read(int channel, uint8_t out[TC_READ_LEN]);
// 0, or -1 (nothing stored) when a temperature digit is not hexadecimal.
int parse_tc_reply(const uint8_t reply[TC_REPLY_LEN], TcSettings* tc);
// "TC", 0x20 + c, 0x20 + type, 0x20 + flags; "TF", 0x20 + c, 0x20 + mode,
// low and high as "%04X%04X" of their low 16 bits.
void build_tc_write(int channel, const TcSettings& tc, uint8_t out[TC_WRITE_LEN]);
void build_tf_write(int channel, const TcSettings& tc, uint8_t out[TF_WRITE_LEN]);

// Analog output c: "MR0B03", "MR0B33", "MR0B63"; the reply holds the kind
// digits at byte 6 and the code at bytes 8..11. 0, or -1 when a digit is not
// hexadecimal (nothing stored).
void build_ao_read(int channel, uint8_t out[AO_READ_LEN]);
int parse_ao_reply(const uint8_t reply[AO_REPLY_LEN], int* kind_digits, int* code);
// "AQ", 0x20 + c (0x28 + c for current), the code's low 16 bits as "%04X".
// -1 (nothing built) for an unknown kind.
int build_ao_write(int channel, int kind, int code, uint8_t out[AO_WRITE_LEN]);
