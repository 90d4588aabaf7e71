// One field's value in a settings file: written as JSON, read and checked
// from JSON, compared and copied. What the writer, the reader and the
// comparison of settings files share; not for other callers.
#pragma once

#include "cli/settings_file.h"

namespace settings_values {

// Where field f's item lives in s (the table's ref).
void* ref(int f, int item, UnitSettings& s);
const void* ref(int f, int item, const UnitSettings& s);

// Writes the value of field f's item (the writer has written its key);
// thresholds and widths in the units of `scales`.
void write(JsonWriter& w, int f, int item, const UnitSettings& s, const UnitSettings& scales);
// Whether the writer has a value to write (a DO alert's range only when known).
bool has_value(int f, int item, const UnitSettings& s);

// Reads token tok of doc as field f's item of a unit of the family of s
// into s. nullptr, or the reason it cannot be taken (into why, size bytes).
const char* read(const JsonDoc& doc, int tok, int f, int item, UnitSettings& s, char* why,
                 size_t size);

// Copies field f's item from one struct to the other.
void copy(int f, int item, const UnitSettings& from, UnitSettings& to);

}  // namespace settings_values
