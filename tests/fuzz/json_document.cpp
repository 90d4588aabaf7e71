// The command line's JSON reader on any bytes: it never reads past the text
// (the input is a heap block of exactly its size), a fault is placed inside
// the text, and a document it reads is written, read again and written again
// to the same bytes with the same values.
#include "cli/json.h"
#include "tests/fuzz/fuzz_support.h"

#include <string>

namespace {

constexpr int TOKENS = 512;

void append(void* ctx, const char* bytes, size_t n)
{
    static_cast<std::string*>(ctx)->append(bytes, n);
}

std::string written(const JsonDoc& doc)
{
    std::string out;
    JsonWriter w(append, &out);
    w.value(doc, 0);
    return out;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    FuzzInput in{data, size};
    const size_t room = in.byte();  // the size of a text buffer to read strings into
    std::vector<uint8_t> text = in.rest();
    static JsonToken tokens[TOKENS], again_tokens[TOKENS];
    JsonDoc doc;
    const char* p = reinterpret_cast<const char*>(text.data());
    if (json_parse(p, text.size(), tokens, TOKENS, &doc) != 0) {
        FUZZ_CHECK(doc.error.reason != nullptr && doc.count == 0);
        FUZZ_CHECK(doc.error.offset >= 0 && static_cast<size_t>(doc.error.offset) <= text.size());
        FUZZ_CHECK(doc.error.line >= 1 && doc.error.column >= 1);
        return 0;
    }
    FUZZ_CHECK(doc.count >= 1 && doc.count <= TOKENS);

    const std::string once = written(doc);
    JsonDoc again;
    FUZZ_CHECK(json_parse(once.data(), once.size(), again_tokens, TOKENS, &again) == 0);
    FUZZ_CHECK(again.count == doc.count);
    FUZZ_CHECK(written(again) == once);

    std::vector<char> a(room + 1), b(room + 1);
    for (int k = 0; k < doc.count; k++) {
        const JsonToken& t = doc.tokens[k];
        const JsonToken& u = again.tokens[k];
        FUZZ_CHECK(t.type == u.type && t.parent == u.parent && t.children == u.children &&
                   t.next == u.next);
        FUZZ_CHECK(t.start >= 0 && t.length >= 0 && t.start + t.length <= doc.length);
        if (t.type != JsonType::String) continue;
        // Each text reads the same from both documents, and never past its room.
        const int la = json_text(doc, k, a.data(), a.size());
        const int lb = json_text(again, k, b.data(), b.size());
        FUZZ_CHECK(la == lb && std::string(a.data()) == std::string(b.data()));
        FUZZ_CHECK(la < 0 ? a[0] == '\0' : static_cast<size_t>(la) < a.size());
    }
    return 0;
}
