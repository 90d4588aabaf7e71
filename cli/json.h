// JSON for the command line: a writer for --json listings and settings
// files, and a reader for settings files. Both are bounded and never throw:
// the reader fills a token table the caller owns (no allocation), nests at
// most JSON_MAX_DEPTH deep, never reads past the length it is given and
// reports the first fault with its place; the writer always writes valid
// JSON (a byte that is not UTF-8 is written as U+FFFD).
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>

constexpr int JSON_MAX_DEPTH = 32;

// ---- reader ----

enum class JsonType : uint8_t { Null, False, True, Number, String, Array, Object };

// One value of a parsed document. Tokens are in document order; an object's
// children alternate key (a String) and value.
struct JsonToken {
    JsonType type;
    int start;     // first byte of the value in the text (a string: after its quote)
    int length;    // bytes of a number or a string's content (escapes as written)
    int parent;    // the enclosing array or object, -1 for the whole document
    int children;  // items of an array, keys and values of an object
    int next;      // the next sibling, -1 for the last
};

struct JsonError {
    const char* reason;  // nullptr when the text was read
    int offset;          // byte where the fault was found
    int line;            // 1-based
    int column;          // 1-based, in bytes
};

struct JsonDoc {
    const char* text;
    int length;
    const JsonToken* tokens;
    int count;  // tokens used; token 0 is the whole document
    JsonError error;
};

// Reads length bytes of text into at most capacity tokens. 0, or -1 with
// doc->error saying what is wrong and where (bad syntax, text after the
// value, nested deeper than JSON_MAX_DEPTH, more values than tokens, a
// string that is not UTF-8 or holds a control character).
int json_parse(const char* text, size_t length, JsonToken* tokens, int capacity, JsonDoc* doc);

// The first child of an array or object, or the next sibling; -1 when none.
int json_first(const JsonDoc& doc, int token);
int json_next(const JsonDoc& doc, int token);
// The value of an object's member with this key (the first one), -1 when absent.
int json_member(const JsonDoc& doc, int object, const char* key);
// A string's text, unescaped, terminated, into out (size bytes). Its length,
// or -1 when it does not fit, -2 when it holds a zero character, -3 when the
// token is not a string; out then holds "".
int json_text(const JsonDoc& doc, int token, char* out, size_t size);
// 1 when the string token's text is key.
int json_text_is(const JsonDoc& doc, int token, const char* key);
// An integer number (no fraction or exponent) within lo..hi: 0 and *out, else -1.
int json_integer(const JsonDoc& doc, int token, long long lo, long long hi, long long* out);

// The code points of a string token, in order.
struct JsonStringWalk {
    const char* p;  // the next byte of the string's content as written
    const char* end;
    // The next code point; false at the end of the string.
    bool next(uint32_t* c);
};
JsonStringWalk json_walk(const JsonDoc& doc, int token);

// One UTF-8 character at p (at most left bytes): its length and *c, or 0
// when the bytes are not a whole, shortest, non-surrogate character.
int json_utf8_char(const uint8_t* p, size_t left, uint32_t* c);
// The UTF-8 form of code point c into out; its length (1..4).
size_t json_utf8_encode(uint32_t c, char out[4]);

// ---- writer ----

// Where written bytes go.
using JsonSink = void (*)(void* ctx, const char* bytes, size_t n);
void json_sink_file(void* file, const char* bytes, size_t n);  // ctx: FILE*

// Commas and nesting are kept by the writer; values are written in order,
// an object's as key() then the value. Nesting beyond JSON_MAX_DEPTH is
// not written.
class JsonWriter {
  public:
    JsonWriter(JsonSink sink, void* ctx) : sink_(sink), ctx_(ctx) {}
    explicit JsonWriter(FILE* f) : sink_(json_sink_file), ctx_(f) {}

    void begin_object() { open('{'); }
    void end_object() { close('}'); }
    void begin_array() { open('['); }
    void end_array() { close(']'); }
    void key(const char* k);
    void string(const char* s);
    void string_n(const char* s, size_t n);
    void integer(long long v);
    void boolean(bool b) { scalar(b ? "true" : "false"); }
    void null() { scalar("null"); }
    // A number already in JSON's form (as a parsed document holds it).
    void number_text(const char* text, size_t n);
    // Writes one value of a parsed document, with everything inside it.
    void value(const JsonDoc& doc, int token);
    // One line feed, after the whole document.
    void end_line() { put("\n", 1); }
    // Each member and item on a line of its own, indented by this many
    // blanks per level, ": " after keys (0, the default: compact).
    void set_indent(int blanks) { indent_ = blanks; }

  private:
    void put(const char* bytes, size_t n) { sink_(ctx_, bytes, n); }
    void before_value();
    void open(char c);
    void close(char c);
    void scalar(const char* text);
    void code_point(uint32_t c);
    void new_line(int depth);

    JsonSink sink_;
    void* ctx_;
    int depth_ = 0;
    int skipped_ = 0;  // levels opened beyond the limit, not written
    bool has_items_[JSON_MAX_DEPTH + 1] = {};
    bool after_key_ = false;
    int indent_ = 0;
};
