// A version reply of any bytes: both versions only from two complete lines
// (both 0 otherwise), each the number after its marker; the line reader
// takes any text.
#include "device/KIVRAXPort.h"
#include "base/bounded_text.h"
#include "tests/fuzz/fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    std::vector<uint8_t> reply(data, data + size);
    int sketch = -77, text = -77;
    int r = ParseEspVersions(reply.data(), static_cast<int>(reply.size()), &sketch, &text);
    size_t lfs = 0;
    for (uint8_t b : reply) lfs += b == '\n';
    FUZZ_CHECK(r == (lfs >= 2 ? 1 : 0));
    if (r == 0) FUZZ_CHECK(sketch == 0 && text == 0);
    if (r == 1) {
        // The first line, up to its CR or LF and at most 31 characters.
        char line[32];
        size_t n = 0;
        while (n < reply.size() && n < 31 && reply[n] != '\r' && reply[n] != '\n') {
            line[n] = static_cast<char>(reply[n]);
            n++;
        }
        line[n] = '\0';
        FUZZ_CHECK(sketch == ParseEspVersionLine(line, "SKETCH VER : ", "SKETCH VER"));
        if (std::strncmp(line, "SKETCH VER : ", 13) == 0) FUZZ_CHECK(sketch == decimal_value(line + 13));
    }

    std::vector<char> one(reply.begin(), reply.end());
    one.push_back('\0');
    int v = ParseEspVersionLine(one.data(), "TEXT VER : ", "TEXT VER");
    if (std::strstr(one.data(), "TEXT VER") == nullptr) FUZZ_CHECK(v == 0);
    FUZZ_CHECK(ParseEspVersionLine(nullptr, "A", "B") == 0);
    return 0;
}
