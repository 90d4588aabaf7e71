// Threshold commands: an "AK" reply is taken only when its eight digits are
// hexadecimal (nothing stored otherwise) and gives values in range; an "AL"
// request built from any arguments reads back as the led flag, the mail code
// and the low 16 bits of both thresholds, with the channel byte on 0x20.
#include "device/KIVRAXPort.h"
#include "tests/fuzz/fuzz_support.h"

#include <cctype>

namespace {

bool all_hex(const uint8_t* p, int n)
{
    for (int k = 0; k < n; k++)
        if (!std::isxdigit(p[k])) return false;
    return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size < 13) return 0;
    std::vector<uint8_t> reply(data, data + 13);
    FuzzInput in{data + 13, size - 13};

    int led = -77, mail = -77, high = -77, low = -77;
    int r = ParseThresholdReply(reply.data(), &led, &mail, &high, &low);
    if (!all_hex(reply.data() + 4, 8)) {
        FUZZ_CHECK(r == -1 && led == -77 && mail == -77 && high == -77 && low == -77);
    } else {
        FUZZ_CHECK(r == 0 && (led == 0 || led == 1) && mail >= 0 && mail <= 3);
        FUZZ_CHECK(high >= 0 && high <= 0xFFFF && low >= 0 && low <= 0xFFFF);
    }

    const int channel = in.byte() % 3;
    const int a_led = in.int32();
    const int a_mail = in.int32();
    const int a_high = in.int32();
    const int a_low = in.int32();
    uint8_t out[14];
    std::memset(out, 0xEE, sizeof out);
    // A mail code outside its two bits is refused and nothing is built.
    if (BuildThresholdWrite(channel, a_led, a_mail, a_high, a_low, out) != 0) {
        FUZZ_CHECK(a_mail < 0 || a_mail > 3);
        for (uint8_t b : out) FUZZ_CHECK(b == 0xEE);
        return 0;
    }
    FUZZ_CHECK(out[0] == 'A' && out[1] == 'L' && out[2] == 0x20 + channel && out[12] == CMD_END);
    FUZZ_CHECK(out[13] == 0xEE && all_hex(out + 4, 8));
    FUZZ_CHECK(ParseThresholdReply(out, &led, &mail, &high, &low) == 0);
    FUZZ_CHECK(led == (a_led != 0 ? 1 : 0) && high == (a_high & 0xFFFF) && low == (a_low & 0xFFFF));
    FUZZ_CHECK(mail == a_mail && (out[3] & 0xF4) == 0x20);
    return 0;
}
