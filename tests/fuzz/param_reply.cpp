// Parameter-byte replies: a write is taken only when both bytes come back,
// a read only when the code does; a refused read stores nothing.
#include "device/KIVRAXPort.h"
#include "tests/fuzz/fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size < 4) return 0;
    std::vector<uint8_t> request(data, data + 2);
    std::vector<uint8_t> reply(data + 2, data + 4);

    const bool echoed = reply[0] == request[0] && reply[1] == request[1];
    FUZZ_CHECK(CheckParamWriteReply(request.data(), reply.data()) == (echoed ? 0 : -1));

    int value = -77;
    int r = ParseParamReadReply(request.data(), reply.data(), &value);
    if (reply[0] == request[0]) FUZZ_CHECK(r == 0 && value == reply[1]);
    else FUZZ_CHECK(r == -1 && value == -77);
    FUZZ_CHECK(ParseParamReadReply(request.data(), reply.data(), nullptr) == r);
    return 0;
}
