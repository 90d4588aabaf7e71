// The JSON reader: one pass over the text with an explicit stack (no
// recursion), every byte checked against the length before it is looked at.
#include "cli/json.h"

#include "base/bounded_text.h"

#include <climits>
#include <cstring>

namespace {

enum class Expect : uint8_t { FirstOrClose, Member, AfterValue };

struct Frame {
    int token;  // the open array or object
    int last;   // its last child so far, -1 none
    Expect expect;
};

// Four hex digits at p (at least four bytes there): the value, or -1.
int hex4(const char* p)
{
    int v = 0;
    for (int k = 0; k < 4; k++) {
        const int d = hex_digit_value(p[k]);
        if (d < 0) return -1;
        v = v * 16 + d;
    }
    return v;
}

bool is_digit(char c) { return c >= '0' && c <= '9'; }

struct Reader {
    const char* s = nullptr;
    int n = 0;
    int at = 0;
    JsonToken* tok = nullptr;
    int cap = 0;
    int count = 0;
    Frame stack[JSON_MAX_DEPTH] = {};
    int depth = 0;
    JsonError err{nullptr, 0, 0, 0};

    bool fail_at(int where, const char* reason)
    {
        if (err.reason == nullptr) {
            err.reason = reason;
            err.offset = where;
        }
        return false;
    }
    bool fail(const char* reason) { return fail_at(at, reason); }
    bool more() const { return at < n; }
    void blanks()
    {
        while (at < n && (s[at] == ' ' || s[at] == '\t' || s[at] == '\n' || s[at] == '\r')) at++;
    }

    bool add(JsonType type, int start, int length)
    {
        if (count >= cap) return fail_at(start, "more values than the reader holds");
        const int parent = depth > 0 ? stack[depth - 1].token : -1;
        tok[count] = JsonToken{type, start, length, parent, 0, -1};
        if (depth > 0) {
            Frame& f = stack[depth - 1];
            if (f.last >= 0) tok[f.last].next = count;
            f.last = count;
            tok[f.token].children++;
        }
        count++;
        return true;
    }

    bool literal(const char* word, JsonType type)
    {
        const int len = static_cast<int>(std::strlen(word));
        if (n - at < len || std::memcmp(s + at, word, len) != 0) return fail("expected a value");
        if (!add(type, at, len)) return false;
        at += len;
        return true;
    }

    bool digits()
    {
        if (!more() || !is_digit(s[at])) return fail("a number needs a digit here");
        while (more() && is_digit(s[at])) at++;
        return true;
    }

    bool number()
    {
        const int start = at;
        if (s[at] == '-') at++;
        if (more() && s[at] == '0') {
            at++;
        } else if (!digits()) {
            return false;
        }
        if (more() && s[at] == '.') {
            at++;
            if (!digits()) return false;
        }
        if (more() && (s[at] == 'e' || s[at] == 'E')) {
            at++;
            if (more() && (s[at] == '+' || s[at] == '-')) at++;
            if (!digits()) return false;
        }
        return add(JsonType::Number, start, at - start);
    }

    // An escape at i (the backslash): its length in bytes, or 0 after a fault.
    int escape(int i)
    {
        const char* fault = nullptr;
        int len = 0;
        const int u = n - i >= 6 && s[i + 1] == 'u' ? hex4(s + i + 2) : -1;
        if (n - i < 2) {
            fault = "the text ends inside a string";
        } else if (s[i + 1] != '\0' && std::strchr("\"\\/bfnrt", s[i + 1]) != nullptr) {
            len = 2;
        } else if (s[i + 1] != 'u') {
            fault = "an unknown escape in a string";
        } else if (u < 0) {
            fault = "\\u needs four hex digits";
        } else if (u < 0xD800 || u > 0xDFFF) {
            len = 6;
        } else if (u <= 0xDBFF && n - i >= 12 && s[i + 6] == '\\' && s[i + 7] == 'u' &&
                   hex4(s + i + 8) >= 0xDC00 && hex4(s + i + 8) <= 0xDFFF) {
            len = 12;  // a high surrogate and its low half
        } else {
            fault = "a lone surrogate in a string";
        }
        if (fault != nullptr) fail_at(i, fault);
        return len;
    }

    bool string()
    {
        const int start = at + 1;
        int i = start;
        for (;;) {
            if (i >= n) return fail_at(i, "the text ends inside a string");
            const unsigned char c = static_cast<unsigned char>(s[i]);
            if (c == '"') break;
            int len = 1;
            if (c == '\\') {
                len = escape(i);
            } else if (c < 0x20) {
                return fail_at(i, "a control character in a string");
            } else if (c >= 0x80) {
                uint32_t ignored = 0;
                len = json_utf8_char(reinterpret_cast<const uint8_t*>(s + i), n - i, &ignored);
                if (len == 0) return fail_at(i, "a string that is not UTF-8");
            }
            if (len == 0) return false;
            i += len;
        }
        if (!add(JsonType::String, start, i - start)) return false;
        at = i + 1;
        return true;
    }

    // One value; an array or object is only opened (pushed).
    bool value()
    {
        if (!more()) return fail("expected a value");
        const char c = s[at];
        if (c == '{' || c == '[') {
            if (depth >= JSON_MAX_DEPTH) return fail("nested too deeply");
            if (!add(c == '{' ? JsonType::Object : JsonType::Array, at, 0)) return false;
            stack[depth++] = Frame{count - 1, -1, Expect::FirstOrClose};
            at++;
            return true;
        }
        if (c == '"') return string();
        if (c == 't') return literal("true", JsonType::True);
        if (c == 'f') return literal("false", JsonType::False);
        if (c == 'n') return literal("null", JsonType::Null);
        if (c == '-' || is_digit(c)) return number();
        return fail("expected a value");
    }

    // The next step inside the innermost open array or object.
    bool step()
    {
        Frame& f = stack[depth - 1];
        const bool object = tok[f.token].type == JsonType::Object;
        const char closer = object ? '}' : ']';
        blanks();
        if (!more())
            return fail(object ? "the text ends inside an object"
                               : "the text ends inside an array");
        const char c = s[at];
        if (c == closer && f.expect != Expect::Member) {
            at++;
            tok[f.token].length = at - tok[f.token].start;
            depth--;
            return true;
        }
        if (f.expect == Expect::AfterValue) {
            if (c != ',')
                return fail(object ? "expected , or } after a member"
                                   : "expected , or ] after an item");
            at++;
            f.expect = Expect::Member;
            return true;
        }
        if (object) {
            if (c != '"') return fail("expected a key (a string)");
            if (!string()) return false;
            blanks();
            if (!more() || s[at] != ':') return fail("expected : after a key");
            at++;
            blanks();
        }
        f.expect = Expect::AfterValue;
        return value();
    }
};

}  // namespace

int json_parse(const char* text, size_t length, JsonToken* tokens, int capacity, JsonDoc* doc)
{
    if (doc == nullptr) return -1;
    Reader r;
    r.s = text;
    r.n = static_cast<int>(length < INT_MAX ? length : 0);
    r.tok = tokens;
    r.cap = capacity;
    if (text == nullptr || tokens == nullptr || capacity <= 0) {
        r.fail("nothing to read");
    } else if (length >= INT_MAX) {
        r.fail("the text is too long");
    } else {
        r.blanks();
        bool ok = r.value();
        while (ok && r.depth > 0) ok = r.step();
        if (ok) {
            r.blanks();
            if (r.more()) r.fail("text after the value");
        }
    }
    doc->text = text;
    doc->length = r.n;
    doc->tokens = tokens;
    doc->count = r.err.reason == nullptr ? r.count : 0;
    doc->error = r.err;
    if (r.err.reason == nullptr) return 0;
    doc->error.line = 1;
    doc->error.column = 1;
    for (int k = 0; k < r.err.offset && k < r.n; k++) {
        if (text[k] == '\n') {
            doc->error.line++;
            doc->error.column = 1;
        } else {
            doc->error.column++;
        }
    }
    return -1;
}

int json_first(const JsonDoc& doc, int token)
{
    if (token < 0 || token >= doc.count || doc.tokens[token].children == 0) return -1;
    const JsonType t = doc.tokens[token].type;
    return t == JsonType::Array || t == JsonType::Object ? token + 1 : -1;
}

int json_next(const JsonDoc& doc, int token)
{
    return token < 0 || token >= doc.count ? -1 : doc.tokens[token].next;
}

bool JsonStringWalk::next(uint32_t* c)
{
    if (p >= end) return false;
    if (*p != '\\') {
        const int len = json_utf8_char(reinterpret_cast<const uint8_t*>(p), end - p, c);
        if (len == 0) return false;  // not from a parsed document
        p += len;
        return true;
    }
    static const char plain[] = "\"\\/bfnrt";
    static const char value[] = "\"\\/\b\f\n\r\t";
    const char* k = end - p >= 2 ? std::strchr(plain, p[1]) : nullptr;
    if (k != nullptr && *k != '\0') {
        *c = static_cast<unsigned char>(value[k - plain]);
        p += 2;
        return true;
    }
    const int u = end - p >= 6 && p[1] == 'u' ? hex4(p + 2) : -1;
    if (u < 0) return false;
    p += 6;
    *c = static_cast<uint32_t>(u);
    if (u >= 0xD800 && u <= 0xDBFF && end - p >= 6 && p[0] == '\\' && p[1] == 'u') {
        const int low = hex4(p + 2);
        if (low >= 0xDC00 && low <= 0xDFFF) {
            *c = 0x10000 + ((static_cast<uint32_t>(u) - 0xD800) << 10) + (low - 0xDC00);
            p += 6;
        }
    }
    return true;
}

JsonStringWalk json_walk(const JsonDoc& doc, int token)
{
    if (token < 0 || token >= doc.count || doc.tokens[token].type != JsonType::String)
        return JsonStringWalk{doc.text, doc.text};
    const char* start = doc.text + doc.tokens[token].start;
    return JsonStringWalk{start, start + doc.tokens[token].length};
}

namespace {

bool is_string(const JsonDoc& doc, int token)
{
    return token >= 0 && token < doc.count && doc.tokens[token].type == JsonType::String;
}

}  // namespace

namespace {

// Calls take(bytes, len, c) with the UTF-8 form of each code point of a
// string token until it returns false; false then, else true.
template <class Take>
bool each_character(const JsonDoc& doc, int token, Take take)
{
    JsonStringWalk w = json_walk(doc, token);
    uint32_t c = 0;
    while (w.next(&c)) {
        char bytes[4];
        if (!take(bytes, json_utf8_encode(c, bytes), c)) return false;
    }
    return true;
}

}  // namespace

int json_text(const JsonDoc& doc, int token, char* out, size_t size)
{
    if (out == nullptr || size == 0) return -1;
    out[0] = '\0';
    if (!is_string(doc, token)) return -3;
    size_t used = 0;
    int fault = 0;
    each_character(doc, token, [&](const char* bytes, size_t len, uint32_t c) {
        fault = c == 0 ? -2 : used + len >= size ? -1 : 0;
        if (fault != 0) return false;
        std::memcpy(out + used, bytes, len);
        used += len;
        return true;
    });
    out[fault != 0 ? 0 : used] = '\0';
    return fault != 0 ? fault : static_cast<int>(used);
}

int json_text_is(const JsonDoc& doc, int token, const char* key)
{
    if (key == nullptr || !is_string(doc, token)) return 0;
    const size_t want = std::strlen(key);
    size_t at = 0;
    const bool same = each_character(doc, token, [&](const char* bytes, size_t len, uint32_t c) {
        if (c == 0 || want - at < len || std::memcmp(key + at, bytes, len) != 0) return false;
        at += len;
        return true;
    });
    return same && at == want ? 1 : 0;
}

int json_member(const JsonDoc& doc, int object, const char* key)
{
    if (object < 0 || object >= doc.count || doc.tokens[object].type != JsonType::Object) return -1;
    for (int k = json_first(doc, object); k >= 0;) {
        const int v = json_next(doc, k);
        if (json_text_is(doc, k, key)) return v;
        k = json_next(doc, v);
    }
    return -1;
}

int json_integer(const JsonDoc& doc, int token, long long lo, long long hi, long long* out)
{
    if (token < 0 || token >= doc.count || doc.tokens[token].type != JsonType::Number) return -1;
    const char* p = doc.text + doc.tokens[token].start;
    const int len = doc.tokens[token].length;
    const bool negative = p[0] == '-';
    long long v = 0;
    for (int k = negative ? 1 : 0; k < len; k++) {
        if (!is_digit(p[k])) return -1;  // a fraction or an exponent
        const int d = p[k] - '0';
        if (v > (LLONG_MAX - d) / 10) return -1;
        v = v * 10 + d;
    }
    if (negative) v = -v;
    if (v < lo || v > hi) return -1;
    if (out != nullptr) *out = v;
    return 0;
}

int json_utf8_char(const uint8_t* p, size_t left, uint32_t* c)
{
    if (p == nullptr || left == 0) return 0;
    const uint8_t b = p[0];
    if (b < 0x80) {
        *c = b;
        return 1;
    }
    int len = 0;
    uint8_t lo = 0x80, hi = 0xBF;  // the second byte's range
    if (b >= 0xC2 && b <= 0xDF) {
        len = 2;
    } else if (b >= 0xE0 && b <= 0xEF) {
        len = 3;
        if (b == 0xE0) lo = 0xA0;  // shortest form
        if (b == 0xED) hi = 0x9F;  // no surrogates
    } else if (b >= 0xF0 && b <= 0xF4) {
        len = 4;
        if (b == 0xF0) lo = 0x90;
        if (b == 0xF4) hi = 0x8F;  // up to U+10FFFF
    } else {
        return 0;
    }
    if (left < static_cast<size_t>(len) || p[1] < lo || p[1] > hi) return 0;
    uint32_t v = b & (0xFF >> (len + 1));
    for (int k = 1; k < len; k++) {
        if ((p[k] & 0xC0) != 0x80) return 0;
        v = (v << 6) | (p[k] & 0x3F);
    }
    *c = v;
    return len;
}

size_t json_utf8_encode(uint32_t c, char out[4])
{
    if (c < 0x80) {
        out[0] = static_cast<char>(c);
        return 1;
    }
    const size_t len = c < 0x800 ? 2 : c < 0x10000 ? 3 : 4;
    static const unsigned char lead[5] = {0, 0, 0xC0, 0xE0, 0xF0};
    for (size_t k = len - 1; k > 0; k--, c >>= 6) out[k] = static_cast<char>(0x80 | (c & 0x3F));
    out[0] = static_cast<char>(lead[len] | c);
    return len;
}
