// The JSON writer: compact output, strings in one canonical form (the short
// escapes, \u00XX for other control characters, everything else as UTF-8),
// so a document written, read and written again comes out byte for byte the same.
#include "cli/json.h"

#include <cstdio>
#include <cstring>

void json_sink_file(void* file, const char* bytes, size_t n)
{
    if (file != nullptr && n > 0) std::fwrite(bytes, 1, n, static_cast<FILE*>(file));
}

void JsonWriter::new_line(int depth)
{
    if (indent_ <= 0) return;
    put("\n", 1);
    for (int k = 0; k < depth * indent_; k++) put(" ", 1);
}

void JsonWriter::before_value()
{
    if (after_key_) {
        after_key_ = false;
        return;
    }
    if (depth_ == 0) return;
    if (has_items_[depth_]) put(",", 1);
    has_items_[depth_] = true;
    new_line(depth_);
}

void JsonWriter::open(char c)
{
    if (skipped_ > 0 || depth_ >= JSON_MAX_DEPTH) {
        skipped_++;
        return;
    }
    before_value();
    put(&c, 1);
    has_items_[++depth_] = false;
}

void JsonWriter::close(char c)
{
    if (skipped_ > 0) {
        skipped_--;
        return;
    }
    if (depth_ == 0) return;
    if (has_items_[depth_]) new_line(depth_ - 1);
    depth_--;
    after_key_ = false;
    put(&c, 1);
}

void JsonWriter::scalar(const char* text)
{
    if (skipped_ > 0) return;
    before_value();
    put(text, std::strlen(text));
}

void JsonWriter::code_point(uint32_t c)
{
    static const char plain[] = "\"\\\b\f\n\r\t";
    static const char letter[] = "\"\\bfnrt";
    const char* k = c != 0 && c < 0x80 ? std::strchr(plain, static_cast<int>(c)) : nullptr;
    char out[8];
    size_t len = 0;
    if (k != nullptr) {
        out[0] = '\\';
        out[1] = letter[k - plain];
        len = 2;
    } else if (c < 0x20) {
        len = static_cast<size_t>(
            std::snprintf(out, sizeof out, "\\u%04x", static_cast<unsigned>(c)));
    } else {
        len = json_utf8_encode(c, out);
    }
    put(out, len);
}

void JsonWriter::string_n(const char* s, size_t n)
{
    if (skipped_ > 0) return;
    before_value();
    put("\"", 1);
    const uint8_t* p = reinterpret_cast<const uint8_t*>(s);
    size_t at = 0;
    while (p != nullptr && at < n) {
        uint32_t c = 0;
        const int len = json_utf8_char(p + at, n - at, &c);
        // A byte that starts no UTF-8 character stands for one unknown character.
        code_point(len > 0 ? c : 0xFFFD);
        at += len > 0 ? static_cast<size_t>(len) : 1;
    }
    put("\"", 1);
}

void JsonWriter::string(const char* s) { string_n(s, s != nullptr ? std::strlen(s) : 0); }

void JsonWriter::key(const char* k)
{
    if (skipped_ > 0) return;
    string(k);
    put(indent_ > 0 ? ": " : ":", indent_ > 0 ? 2 : 1);
    after_key_ = true;
}

void JsonWriter::integer(long long v)
{
    char text[24];
    std::snprintf(text, sizeof text, "%lld", v);
    scalar(text);
}

void JsonWriter::number_text(const char* text, size_t n)
{
    if (skipped_ > 0) return;
    before_value();
    put(text, n);
}

void JsonWriter::value(const JsonDoc& doc, int token)
{
    if (token < 0 || token >= doc.count) return;
    const JsonToken& t = doc.tokens[token];
    switch (t.type) {
    case JsonType::Null:
        null();
        return;
    case JsonType::False:
    case JsonType::True:
        boolean(t.type == JsonType::True);
        return;
    case JsonType::Number:
        number_text(doc.text + t.start, static_cast<size_t>(t.length));
        return;
    case JsonType::String: {
        if (skipped_ > 0) return;
        before_value();
        put("\"", 1);
        JsonStringWalk w = json_walk(doc, token);
        uint32_t c = 0;
        while (w.next(&c)) code_point(c);
        put("\"", 1);
        return;
    }
    case JsonType::Array:
    case JsonType::Object:
        break;
    }
    const bool object = t.type == JsonType::Object;
    open(object ? '{' : '[');
    // Nesting is bounded by the reader's JSON_MAX_DEPTH, so is this recursion.
    for (int k = json_first(doc, token); k >= 0; k = json_next(doc, k)) {
        // An object's children come in pairs: the key, then its value.
        if (object && skipped_ == 0) {
            value(doc, k);
            put(":", 1);
            after_key_ = true;
            k = json_next(doc, k);
        }
        value(doc, k);
    }
    close(object ? '}' : ']');
}
