// Threshold and width codes of the analog inputs, as numbers and as the
// texts the mail alert screen shows: in percent of full scale, and in the
// unit of the input's range. A threshold code is a signed 16-bit fraction
// of full scale (32767 is +full scale), a width code an unsigned 16-bit
// fraction of twice the full scale. Pure conversions, no unit and no curses.
#pragma once

#include <cstddef>

constexpr int THRESHOLD_TEXT_LEN = 32;  // a threshold text with its terminator
constexpr int THRESHOLD_RANGES = 7;     // ranges 0..6 have a unit and a scale

// The unit texts of ranges 0..6, then an empty text.
extern const char* const RangeUnit[8];

// ---- numbers ----

// The threshold code of a percentage (limited to -32768..32767).
int threshold_code_of_percent(double percent);
// The percentage of a threshold code (its low 16 bits, signed).
double threshold_percent(int code);
// The code of a value in the unit of `range`: a threshold code when
// is_width is 0, else a width code (0..65535; a negative width gives 0).
// A range outside 0..6 scales as 100.
int threshold_code_of_value(double value, int range, int is_width);
// The value in the unit of `range` of a threshold (is_width 0) or width
// code; false for a range outside 0..6, which has no unit (value unset).
bool threshold_value(int code, int range, int is_width, double* value);

// ---- texts ----

int EncodeThresholdStr(const char* text);  // the leading number of text, in percent
void DecodeThresholdStr(int code, char* buffer, size_t size = THRESHOLD_TEXT_LEN);
int EncodeThresholdStrRange(const char* text, int range, int is_width);
// An empty text for a range outside 0..6.
void DecodeThresholdStrRange(int code, char* buffer, int range, int is_width,
                             size_t size = THRESHOLD_TEXT_LEN);
