// The bounded copies: never past the destination, always terminated, the
// whole source when it fits, else a prefix cut at a character boundary (so
// whole characters in give whole characters out); the decimal reader is
// strtol clamped to int.
#include "base/bounded_text.h"
#include "tests/fuzz/fuzz_support.h"

#include <climits>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    FuzzInput in{data, size};
    const size_t dstsize = in.byte();
    const size_t srclen = in.byte() * 2;
    std::vector<uint8_t> raw = in.rest();
    const char* src = reinterpret_cast<const char*>(raw.data());

    // utf8_fit on the raw bytes, any room.
    for (size_t room : {dstsize, dstsize / 2, raw.size()}) {
        size_t fit = utf8_fit(src, raw.size(), room);
        if (raw.size() <= room) FUZZ_CHECK(fit == raw.size());
        else FUZZ_CHECK(fit <= room && (fit == 0 || !is_continuation(raw[fit])));
    }

    // copy_text_n into a destination of exactly dstsize bytes.
    std::vector<char> dst(dstsize > 0 ? dstsize : 1, 'Z');
    size_t limit = srclen < raw.size() ? srclen : raw.size();
    size_t whole = 0;
    while (whole < limit && src[whole] != '\0') whole++;
    size_t n = copy_text_n(dstsize > 0 ? dst.data() : nullptr, dstsize, src, limit);
    if (dstsize == 0) {
        FUZZ_CHECK(n == 0 && dst[0] == 'Z');
    } else {
        FUZZ_CHECK(n <= whole && n < dstsize && dst[n] == '\0');
        FUZZ_CHECK(n == 0 || std::memcmp(dst.data(), src, n) == 0);
        if (whole < dstsize) FUZZ_CHECK(n == whole);
        else FUZZ_CHECK(n == 0 || !is_continuation(raw[n]));
        if (whole_utf8(src, whole)) FUZZ_CHECK(whole_utf8(dst.data(), n) && (whole < dstsize || n + 4 > dstsize - 1));
    }

    // copy_text of a terminated source.
    std::vector<char> text(raw.begin(), raw.end());
    text.push_back('\0');
    std::vector<char> dst2(dstsize > 0 ? dstsize : 1, 'Z');
    size_t m = copy_text(dstsize > 0 ? dst2.data() : nullptr, dstsize, text.data());
    if (dstsize > 0) FUZZ_CHECK(m == std::strlen(dst2.data()) && m < dstsize);
    FUZZ_CHECK(copy_text(dst2.data(), dst2.size(), nullptr) == 0 && dst2[0] == '\0');

    long v = std::strtol(text.data(), nullptr, 10);
    int expect = v > INT_MAX ? INT_MAX : v < INT_MIN ? INT_MIN : static_cast<int>(v);
    FUZZ_CHECK(decimal_value(text.data()) == expect);
    return 0;
}
