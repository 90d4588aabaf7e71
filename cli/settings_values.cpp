// One field's value: JSON text out, JSON text in with its checks, compared
// and copied, by the field's type.
//
// Numbers that stand for codes are exact both ways: a threshold code c is
// written as c x fs / 32768 in the item's unit (fs the full scale of the
// range, 100 for percent) with every decimal it has, and read back by
// rounding to the nearest code, so what an export wrote comes back as the
// very codes it read, and a value typed by hand goes to the nearest code,
// as the screen's entry does.
#include "cli/settings_values.h"

#include "base/dotted_quad.h"
#include "device/address_text.h"

#include <arpa/inet.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace settings_values {
namespace {

// A unit the thresholds and widths are given in.
struct Scale {
    const char* name;
    double fs;     // full scale: the value of code 32768
    int decimals;  // enough for c x fs / 32768 to be written exactly
};
constexpr Scale kPercent{"%", 100.0, 13};
// Ranges 0..6: ±100 mV, ±1 V, ±10 V, ±30 V, two 0-20 mA, thermocouple
// (tenths of a degree: code c is c / 10 °C).
constexpr Scale kRangeScales[THRESHOLD_RANGES] = {
    {"mV", 100.0, 13}, {"V", 1.0, 15},   {"V", 10.0, 14},   {"V", 30.0, 14},
    {"mA", 20.0, 13},  {"mA", 20.0, 13}, {"°C", 3276.8, 1},
};
const Scale& scale_of(int range)
{
    return range >= 0 && range < THRESHOLD_RANGES ? kRangeScales[range] : kPercent;
}

const SettingsField& row(int f) { return settings_fields[f]; }

size_t text_capacity(const SettingsField& r)
{
    return r.group == SettingsGroup::InputExtension ? EXT_DEST_LEN : MAIL_TEXT_LEN;
}

int item_scale(int f, int item, const UnitSettings& s)
{
    const bool width = row(f).group == SettingsGroup::DoAlerts;
    if (item < 0 || item >= (width ? MAIL_DO_COUNT : MAIL_AI_INPUTS)) return -1;
    return width ? s.do_scale[item] : s.ai_scale[item];
}

// A number written with `decimals` decimals, trailing zeros dropped.
void put_decimal(JsonWriter& w, double v, int decimals)
{
    char text[64];
    int n = std::snprintf(text, sizeof text, "%.*f", decimals, v);
    if (n <= 0 || n >= static_cast<int>(sizeof text)) n = std::snprintf(text, sizeof text, "0");
    if (std::strchr(text, '.') != nullptr) {
        while (n > 0 && text[n - 1] == '0') n--;
        if (n > 0 && text[n - 1] == '.') n--;
    }
    if (n == 2 && text[0] == '-' && text[1] == '0') {  // -0
        text[0] = '0';
        n = 1;
    }
    w.number_text(text, static_cast<size_t>(n));
}

bool is_utf8(const char* p, size_t n)
{
    for (size_t at = 0; at < n;) {
        uint32_t c = 0;
        const int len = json_utf8_char(reinterpret_cast<const uint8_t*>(p + at), n - at, &c);
        if (len == 0) return false;
        at += static_cast<size_t>(len);
    }
    return true;
}

// A unit text as a string, or as {"hex": "..."} when its bytes are not UTF-8.
void put_text(JsonWriter& w, const char* p, size_t capacity)
{
    const size_t n = strnlen(p, capacity);
    if (is_utf8(p, n)) {
        w.string_n(p, n);
        return;
    }
    char hex[2 * MAIL_TEXT_LEN + 1];
    for (size_t k = 0; k < n && k < MAIL_TEXT_LEN; k++)
        std::snprintf(hex + 2 * k, 3, "%02x", static_cast<unsigned char>(p[k]));
    hex[2 * (n < MAIL_TEXT_LEN ? n : MAIL_TEXT_LEN)] = '\0';
    w.begin_object();
    w.key("hex");
    w.string(hex);
    w.end_object();
}

void put_address(JsonWriter& w, in_addr_t a)
{
    char text[16];
    format_dotted(a, text);
    w.string(text);
}

}  // namespace

void* ref(int f, int item, UnitSettings& s) { return row(f).ref(s, item); }
const void* ref(int f, int item, const UnitSettings& s)
{
    return row(f).ref(const_cast<UnitSettings&>(s), item);
}

bool has_value(int f, int item, const UnitSettings& s)
{
    return row(f).type != FieldType::Range || *static_cast<const int*>(ref(f, item, s)) >= 0;
}

void write(JsonWriter& w, int f, int item, const UnitSettings& s, const UnitSettings& scales)
{
    const SettingsField& r = row(f);
    const void* p = ref(f, item, s);
    const int code = r.type == FieldType::Bool || r.type == FieldType::Text ||
                             r.type == FieldType::Dotted || r.type == FieldType::Address ||
                             r.type == FieldType::Mask || r.type == FieldType::Output
                         ? 0
                         : *static_cast<const int*>(p);
    switch (r.type) {
    case FieldType::Bool:
        w.boolean(*static_cast<const bool*>(p));
        return;
    case FieldType::Int:
        w.integer(code);
        return;
    case FieldType::Choice:
    case FieldType::Range: {
        const int k = code - r.lo;
        const char* name =
            r.choices != nullptr && k >= 0 && k < r.choice_count ? r.choices[k] : nullptr;
        if (name != nullptr && name[0] != '\0')
            w.string(name);
        else
            w.integer(code);
        return;
    }
    case FieldType::Text:
    case FieldType::Dotted:
        put_text(w, static_cast<const char*>(p), text_capacity(r));
        return;
    case FieldType::Address:
    case FieldType::Mask:
        put_address(w, *static_cast<const in_addr_t*>(p));
        return;
    case FieldType::Unit:
        w.string(scale_of(item_scale(f, item, scales)).name);
        return;
    case FieldType::Threshold:
    case FieldType::Width: {
        const Scale& sc = scale_of(item_scale(f, item, scales));
        const int c =
            r.type == FieldType::Width ? code & 0xFFFF : static_cast<int16_t>(code & 0xFFFF);
        put_decimal(w, c * sc.fs / 32768.0, sc.decimals);
        return;
    }
    case FieldType::Tenths:
        put_decimal(w, code / 10.0, 1);
        return;
    case FieldType::Output:
        put_decimal(w, static_cast<const AnalogOutput*>(p)->value, 14);
        return;
    }
}

void copy(int f, int item, const UnitSettings& from, UnitSettings& to)
{
    const SettingsField& r = row(f);
    const void* src = ref(f, item, from);
    void* dst = ref(f, item, to);
    switch (r.type) {
    case FieldType::Bool:
        *static_cast<bool*>(dst) = *static_cast<const bool*>(src);
        return;
    case FieldType::Text:
    case FieldType::Dotted:
        std::memcpy(dst, src, text_capacity(r));
        return;
    case FieldType::Address:
    case FieldType::Mask:
        *static_cast<in_addr_t*>(dst) = *static_cast<const in_addr_t*>(src);
        return;
    case FieldType::Output:
        *static_cast<AnalogOutput*>(dst) = *static_cast<const AnalogOutput*>(src);
        return;
    default:
        *static_cast<int*>(dst) = *static_cast<const int*>(src);
        return;
    }
}

}  // namespace settings_values

bool settings_value_equal(int f, int item, const UnitSettings& a, const UnitSettings& b)
{
    using settings_values::ref;
    const SettingsField& r = settings_fields[f];
    const void* pa = ref(f, item, a);
    const void* pb = ref(f, item, b);
    switch (r.type) {
    case FieldType::Bool:
        return *static_cast<const bool*>(pa) == *static_cast<const bool*>(pb);
    case FieldType::Text:
    case FieldType::Dotted:
        return std::strncmp(
                   static_cast<const char*>(pa), static_cast<const char*>(pb),
                   r.group == SettingsGroup::InputExtension ? EXT_DEST_LEN : MAIL_TEXT_LEN) == 0;
    case FieldType::Address:
    case FieldType::Mask:
        return *static_cast<const in_addr_t*>(pa) == *static_cast<const in_addr_t*>(pb);
    case FieldType::Output:
        return *static_cast<const AnalogOutput*>(pa) == *static_cast<const AnalogOutput*>(pb);
    case FieldType::Threshold:
    case FieldType::Width:  // 16-bit codes, however the int holds them
        return ((*static_cast<const int*>(pa) ^ *static_cast<const int*>(pb)) & 0xFFFF) == 0;
    default:
        return *static_cast<const int*>(pa) == *static_cast<const int*>(pb);
    }
}

namespace {

struct TextSink {
    char* out;
    size_t size;
    size_t used;
};
void to_text(void* ctx, const char* bytes, size_t n)
{
    TextSink& t = *static_cast<TextSink*>(ctx);
    for (size_t k = 0; k < n && t.used + 1 < t.size; k++) t.out[t.used++] = bytes[k];
    t.out[t.used] = '\0';
}

}  // namespace

void settings_value_text(int f, int item, const UnitSettings& s, const UnitSettings& scales,
                         char* out, size_t size)
{
    if (out == nullptr || size == 0) return;
    out[0] = '\0';
    if (f < 0 || f >= settings_field_count || item < 0 || item >= SETTINGS_ITEMS_MAX) return;
    TextSink t{out, size, 0};
    JsonWriter w(to_text, &t);
    settings_values::write(w, f, item, s, scales);
}

void merge_settings(const UnitSettings& file, UnitSettings& unit)
{
    for (int f = 0; f < settings_field_count; f++) {
        const SettingsField& r = settings_fields[f];
        if (r.flags & (FIELD_CONTEXT | FIELD_READ_ONLY)) continue;
        for (int k = 0; k < SETTINGS_ITEMS_MAX; k++) {
            if ((file.present.items[f] & (1u << k)) == 0) continue;
            const bool dest = r.group == SettingsGroup::InputExtension && r.item != nullptr &&
                              (r.type == FieldType::Text || r.type == FieldType::Dotted);
            if (dest && k < 2 && !settings_value_equal(f, k, file, unit))
                unit.ext.dest_cut[k] = false;
            settings_values::copy(f, k, file, unit);
        }
    }
}
