// Memory commands: a reply of any length and any byte count n is read only
// when it holds n whole hex pairs (nothing stored otherwise); the builders
// write their fixed lengths for any address and count, and a built write
// reads back as the data it carries.
#include "device/KIVRAXPort.h"
#include "tests/fuzz/fuzz_support.h"

namespace {

int hex_value(uint8_t c)
{
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return -1;
}

void check_address(const uint8_t* out, int address)
{
    for (int k = 0; k < 4; k++)
        FUZZ_CHECK(hex_value(out[2 + k]) == ((address >> (12 - 4 * k)) & 0x0F) &&
                   !(out[2 + k] >= 'a' && out[2 + k] <= 'f'));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    FuzzInput in{data, size};
    const int n = in.int32();
    const int address = in.int32();
    const uint8_t wdata[2] = {in.byte(), in.byte()};
    std::vector<uint8_t> reply = in.rest();
    const int len = static_cast<int>(reply.size());

    // The reply.
    const size_t room = n > 0 && n <= len ? static_cast<size_t>(n) : 1;
    std::vector<uint8_t> got(room, 0xEE);
    int r = ParseMemoryReply(reply.data(), len, n, got.data());
    bool whole = n >= 0 && len >= 6 && n <= (len - 6) / 2;
    for (int k = 0; whole && k < 2 * n; k++) whole = hex_value(reply[6 + k]) >= 0;
    FUZZ_CHECK(r == (whole ? 0 : -1));
    for (size_t k = 0; k < room; k++) {
        if (r == 0 && static_cast<int>(k) < n)
            FUZZ_CHECK(got[k] == hex_value(reply[6 + 2 * k]) * 16 + hex_value(reply[7 + 2 * k]));
        else
            FUZZ_CHECK(got[k] == 0xEE);
    }

    // The builders.
    uint8_t out[13];
    std::memset(out, 0xEE, sizeof out);
    BuildMemoryRead(address, out);
    FUZZ_CHECK(out[0] == 'M' && out[1] == 'R' && out[6] == CMD_END && out[7] == 0xEE);
    check_address(out, address);

    std::memset(out, 0xEE, sizeof out);
    int w = BuildMemoryWrite(address, wdata, n, out);
    if (n != 1 && n != 2) {
        FUZZ_CHECK(w == -1);
        for (uint8_t b : out) FUZZ_CHECK(b == 0xEE);
        return 0;
    }
    FUZZ_CHECK(w == 7 + 2 * n && out[0] == 'M' && out[1] == 'W' && out[w - 1] == CMD_END);
    for (int k = w; k < 13; k++) FUZZ_CHECK(out[k] == 0xEE);
    check_address(out, address);
    uint8_t back[2] = {0, 0};
    FUZZ_CHECK(ParseMemoryReply(out, w, n, back) == 0);
    FUZZ_CHECK(std::memcmp(back, wdata, n) == 0);
    return 0;
}
