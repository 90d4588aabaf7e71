// The forms' text helpers: a text of single bytes is never taken for
// multibyte and a whole two- or three-byte character always is; trailing
// blanks are cut and nothing else changes.
#include "tests/fuzz/fuzz_support.h"
#include "ui/NQ_Forms.h"

#include <clocale>
#include <string>

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    if (std::setlocale(LC_CTYPE, "C.UTF-8") == nullptr) std::abort();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    FuzzInput in{data, size};
    std::vector<char> text = in.text();
    const size_t len = std::strlen(text.data());

    bool high = false;   // a byte that can start a multibyte character
    bool two = false;    // a whole two- or three-byte character of the plane below the surrogates
    for (size_t i = 0; i < len; i++) {
        uint8_t b = static_cast<uint8_t>(text[i]);
        uint8_t c = i + 1 < len ? static_cast<uint8_t>(text[i + 1]) : 0;
        uint8_t d = i + 2 < len ? static_cast<uint8_t>(text[i + 2]) : 0;
        high |= b >= 0xC2;
        two |= b >= 0xC2 && b <= 0xDF && is_continuation(c);
        two |= b >= 0xE1 && b <= 0xEC && is_continuation(c) && is_continuation(d);
    }
    const int zen = is_zenkakustr(text.data());
    FUZZ_CHECK(zen == 0 || zen == 1);
    if (!high) FUZZ_CHECK(zen == 0);
    if (two) FUZZ_CHECK(zen == 1);
    FUZZ_CHECK(is_zenkakustr(nullptr) == 0);

    std::string before(text.data());
    const int n = cut_rightspace(text.data());
    FUZZ_CHECK(n >= 0 && static_cast<size_t>(n) == std::strlen(text.data()));
    FUZZ_CHECK(before.compare(0, n, text.data()) == 0);
    FUZZ_CHECK(before.find_first_not_of(' ', n) == std::string::npos);
    FUZZ_CHECK(n == 0 || text[n - 1] != ' ');
    FUZZ_CHECK(cut_rightspace(nullptr) == 0);
    return 0;
}
