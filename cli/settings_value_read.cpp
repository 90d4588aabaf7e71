// One field's value read from a settings file and checked against what the
// unit's family can take: type, range, room, the codes of its choices, the
// unit of its numbers. A value is stored only once it passed every check.
#include "cli/settings_values.h"

#include "base/bounded_text.h"
#include "device/address_text.h"

#include <arpa/inet.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace settings_values {
namespace {

struct Scale {
    const char* name;
    double fs;
};
// As the writer's: percent, then ranges 0..6.
constexpr Scale kPercent{"%", 100.0};
constexpr Scale kRangeScales[THRESHOLD_RANGES] = {
    {"mV", 100.0}, {"V", 1.0}, {"V", 10.0}, {"V", 30.0}, {"mA", 20.0}, {"mA", 20.0}, {"°C", 3276.8},
};

const SettingsField& row(int f) { return settings_fields[f]; }

const char* say(char* why, size_t size, const char* format, long long a = 0, long long b = 0)
{
    std::snprintf(why, size, format, a, b);
    return why;
}

// A JSON number as a double; false for another token or a text too long to be a value.
bool number(const JsonDoc& doc, int tok, double* v)
{
    if (doc.tokens[tok].type != JsonType::Number || doc.tokens[tok].length >= 40) return false;
    char text[40];
    std::memcpy(text, doc.text + doc.tokens[tok].start,
                static_cast<size_t>(doc.tokens[tok].length));
    text[doc.tokens[tok].length] = '\0';
    *v = std::strtod(text, nullptr);
    return std::isfinite(*v);
}

// The row of the same group and item with this key, -1 none.
int sibling(int f, const char* key)
{
    for (int g = 0; g < settings_field_count; g++) {
        const SettingsField& r = row(g);
        if (r.group == row(f).group && r.item != nullptr && row(f).item != nullptr &&
            std::strcmp(r.item, row(f).item) == 0 && std::strcmp(r.key, key) == 0)
            return g;
    }
    return -1;
}
bool sibling_given(int f, const char* key, int item, const UnitSettings& s)
{
    const int g = sibling(f, key);
    return g >= 0 && (s.present.items[g] & (1u << item)) != 0;
}

const char* read_text(const JsonDoc& doc, int tok, const SettingsField& r, char* buf, int room,
                      bool wifi, char* why, size_t size)
{
    int n = -3;
    if (doc.tokens[tok].type == JsonType::String) {
        n = json_text(doc, tok, buf, static_cast<size_t>(room) + 1);
        if (n == -2) return "a text cannot hold a zero character";
    } else if (doc.tokens[tok].type == JsonType::Object) {
        const int hex = json_member(doc, tok, "hex");
        if (hex < 0 || doc.tokens[tok].children != 2 || doc.tokens[hex].type != JsonType::String)
            return "expected a text, or an object holding only \"hex\"";
        char digits[2 * MAIL_TEXT_LEN + 2];
        const int len = json_text(doc, hex, digits, sizeof digits);
        if (len < 0 || len % 2 != 0) return "hex: expected an even number of hex digits";
        if (len / 2 > room) return say(why, size, "longer than its room of %lld bytes", room);
        for (int k = 0; k < len / 2; k++) {
            const int hi = hex_digit_value(digits[2 * k]), lo = hex_digit_value(digits[2 * k + 1]);
            if (hi < 0 || lo < 0) return "hex: expected an even number of hex digits";
            if (hi == 0 && lo == 0) return "a text cannot hold a zero character";
            buf[k] = static_cast<char>(hi * 16 + lo);
        }
        buf[len / 2] = '\0';
        n = len / 2;
    } else {
        return "expected a text";
    }
    if (n == -1) return say(why, size, "longer than its room of %lld bytes", room);
    if (n < 0) return "expected a text";
    if (wifi && std::strpbrk(buf, "\r\n") != nullptr)
        return "a WiFi module cannot take a line break";
    if (r.type == FieldType::Dotted && buf[0] != '\0' && !parse_dotted_quad(buf, nullptr))
        return "expected a dotted address or \"\" (this unit takes no host name)";
    const char* at = std::strchr(buf, '@');
    if ((r.flags & FIELD_SENDER) && buf[0] != '\0') {
        if (at == nullptr || at == buf || at[1] == '\0') return "expected user@domain";
        if (!wifi && (at - buf > 23 || std::strlen(at + 1) > 23))
            return "the user and the domain may have 23 bytes each";
    }
    if ((r.flags & FIELD_RECIPIENT) && buf[0] != '\0' &&
        (at == nullptr || at == buf || at[1] == '\0'))
        return "expected an address with @ inside it";
    return nullptr;
}

const char* read_choice(const JsonDoc& doc, int tok, const SettingsField& r, int* code, char* why,
                        size_t size)
{
    long long v = 0;
    if (doc.tokens[tok].type == JsonType::Number) {
        if ((r.flags & FIELD_UNSET_15) && json_integer(doc, tok, 15, 15, &v) == 0) {
            *code = 15;
            return nullptr;
        }
        if (json_integer(doc, tok, r.lo, r.hi, &v) != 0)
            return say(why, size, "expected a code %lld..%lld or the text of one", r.lo, r.hi);
        *code = static_cast<int>(v);
        return nullptr;
    }
    if (doc.tokens[tok].type != JsonType::String) return "expected a choice's text or its code";
    for (int k = 0; k < r.choice_count && r.lo + k <= r.hi; k++) {
        const char* name = r.choices[k];
        if (name != nullptr && name[0] != '\0' && json_text_is(doc, tok, name)) {
            *code = r.lo + k;
            return nullptr;
        }
    }
    return "not one of this field's choices";
}

// The range whose unit the item's numbers are given in: the item's "range"
// (thresholds: the input's range; DO alerts: the watched input's), -1 none.
int given_range(int f, int item, const UnitSettings& s)
{
    if (!sibling_given(f, "range", item, s)) return -1;
    const bool width = row(f).group == SettingsGroup::DoAlerts;
    return width ? s.do_range[item] : s.mail.thresholds.ai_range[item];
}

const char* read_unit(const JsonDoc& doc, int tok, int f, int item, UnitSettings& s, int* scale)
{
    if (json_text_is(doc, tok, "%")) {
        *scale = -1;
        return nullptr;
    }
    const int range = given_range(f, item, s);
    for (int k = 0; k < THRESHOLD_RANGES; k++) {
        if (!json_text_is(doc, tok, kRangeScales[k].name)) continue;
        const int g = sibling(f, "range");
        const bool ranged = g >= 0 && (settings_field_items(g, s.model, s.modtype) >> item & 1u);
        if (range < 0 && !ranged) return "expected \"%\" (this unit's inputs have no range)";
        if (range < 0) return "a unit other than % needs the input's \"range\" in the same item";
        if (range != k && std::strcmp(kRangeScales[range].name, kRangeScales[k].name) != 0)
            return "not the unit of the item's \"range\"";
        *scale = range;
        return nullptr;
    }
    if (range >= 0 && range < THRESHOLD_RANGES)
        return "expected \"%\" or the unit of the item's \"range\"";
    return "expected \"%\" (the item's range has no unit of its own)";
}

// A threshold (-32768..32767) or width (0..65535) code from a value in the item's unit.
const char* read_code(const JsonDoc& doc, int tok, int f, int item, const UnitSettings& s,
                      int* code, char* why, size_t size)
{
    if (!sibling_given(f, "unit", item, s)) return "needs \"unit\" in the same item";
    const bool width = row(f).type == FieldType::Width;
    const int range = width ? s.do_scale[item] : s.ai_scale[item];
    const Scale& sc = range >= 0 && range < THRESHOLD_RANGES ? kRangeScales[range] : kPercent;
    double v = 0;
    if (!number(doc, tok, &v)) return "expected a number";
    const double lo = width ? 0.0 : -sc.fs, hi = width ? 2.0 * sc.fs : sc.fs;
    if (v < lo || v > hi) {
        std::snprintf(why, size, "outside %g..%g %s", lo, hi, sc.name);
        return why;
    }
    const long long c = std::llround(v * 32768.0 / sc.fs);
    const long long top = width ? 65535 : 32767;
    // As a unit reports it: the code's 16-bit pattern (a threshold of -1 is 65535).
    *code = static_cast<int>(c > top ? top : c) & 0xFFFF;
    return nullptr;
}

const char* read_output(const JsonDoc& doc, int tok, int f, int item, UnitSettings& s, char* why,
                        size_t size)
{
    if (!sibling_given(f, "kind", item, s)) return "needs \"kind\" in the same item";
    AnalogOutput& out = s.ao.output[item];
    double v = 0;
    if (!number(doc, tok, &v)) return "expected a number";
    if (out.kind == AO_UNKNOWN) {
        if (v != 0.0) return "an output of unknown kind holds 0";
        out.value = 0.0;
        return nullptr;
    }
    const double full = out.kind == AO_CURRENT ? 20.0 : 10.0;
    if (std::fabs(v) > full) {
        std::snprintf(why, size, "outside -%g..%g %s", full, full,
                      out.kind == AO_CURRENT ? "mA" : "V");
        return why;
    }
    // What the unit will hold: the code the output is written as.
    out.value = ao_value_from_code(out.kind, ao_code_from_value(out.kind, v));
    return nullptr;
}

}  // namespace

const char* read(const JsonDoc& doc, int tok, int f, int item, UnitSettings& s, char* why,
                 size_t size)
{
    const SettingsField& r = row(f);
    void* p = ref(f, item, s);
    long long v = 0;
    switch (r.type) {
    case FieldType::Bool: {
        const JsonType t = doc.tokens[tok].type;
        if (t != JsonType::True && t != JsonType::False) return "expected true or false";
        if (t == JsonType::True && r.hi == 0) return "this unit takes only false";
        *static_cast<bool*>(p) = t == JsonType::True;
        return nullptr;
    }
    case FieldType::Int:
        if (json_integer(doc, tok, r.lo, r.hi, &v) != 0)
            return say(why, size, "expected an integer %lld..%lld", r.lo, r.hi);
        *static_cast<int*>(p) = static_cast<int>(v);
        return nullptr;
    case FieldType::Choice:
    case FieldType::Range:
        return read_choice(doc, tok, r, static_cast<int*>(p), why, size);
    case FieldType::Text:
    case FieldType::Dotted: {
        char buf[MAIL_TEXT_LEN + 1];
        const int room = r.room(s.model, s.modtype);
        const char* fault = read_text(doc, tok, r, buf, room, is_wifi(s.modtype), why, size);
        if (fault != nullptr) return fault;
        const size_t cap = r.group == SettingsGroup::InputExtension ? EXT_DEST_LEN : MAIL_TEXT_LEN;
        std::memset(p, 0, cap);
        std::memcpy(p, buf, strnlen(buf, cap - 1));
        return nullptr;
    }
    case FieldType::Address:
    case FieldType::Mask: {
        char text[16];
        in_addr_t a = 0;
        if (json_text(doc, tok, text, sizeof text) < 0 || !parse_dotted_quad(text, &a))
            return "expected a dotted address";
        const uint32_t h = ntohl(a);
        if (r.type == FieldType::Mask && ((~h + 1) & ~h) != 0)
            return "a mask's one bits must not have a gap";
        *static_cast<in_addr_t*>(p) = a;
        return nullptr;
    }
    case FieldType::Unit:
        return read_unit(doc, tok, f, item, s, static_cast<int*>(p));
    case FieldType::Threshold:
    case FieldType::Width:
        return read_code(doc, tok, f, item, s, static_cast<int*>(p), why, size);
    case FieldType::Tenths: {
        double d = 0;
        if (!number(doc, tok, &d)) return "expected a number of degrees";
        if (d < -3276.8 || d > 3276.7) return "outside -3276.8..3276.7";
        *static_cast<int*>(p) = static_cast<int>(std::llround(d * 10.0));
        return nullptr;
    }
    case FieldType::Output:
        return read_output(doc, tok, f, item, s, why, size);
    }
    return "unknown field";
}

}  // namespace settings_values
