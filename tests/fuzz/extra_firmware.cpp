// The extra-firmware reply of any length into an out buffer of any size:
// the text from byte 16 up to a zero byte, at most 17 characters, always
// terminated inside out; 1 exactly when it holds "GC".
#include "device/KIVRAXPort.h"
#include "tests/fuzz/fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    FuzzInput in{data, size};
    const int outsize = in.byte() % 40;
    std::vector<uint8_t> reply = in.rest();
    std::vector<char> out(outsize > 0 ? outsize : 1, 'Z');
    int r = ParseExtraFirmware(reply.data(), static_cast<int>(reply.size()), outsize > 0 ? out.data() : nullptr,
                               outsize);
    if (outsize == 0) {
        FUZZ_CHECK(r == 0 && out[0] == 'Z');
        return 0;
    }
    size_t n = strnlen(out.data(), out.size());
    FUZZ_CHECK(n < out.size() && n <= 17);
    size_t expect = 0;
    while (16 + expect < reply.size() && expect < 17 && expect < static_cast<size_t>(outsize - 1) &&
           reply[16 + expect] != 0)
        expect++;
    FUZZ_CHECK(n == expect);
    FUZZ_CHECK(n == 0 || std::memcmp(out.data(), reply.data() + 16, n) == 0);
    FUZZ_CHECK(r == (std::strstr(out.data(), "GC") != nullptr ? 1 : 0));
    return 0;
}
