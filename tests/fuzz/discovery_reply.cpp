// A discovery reply of any length: only the bytes it holds are stored, and
// only into the fields the reply fills; the type check accepts exactly the
// listed device types.
#include "device/KIVRAXPort.h"
#include "tests/fuzz/fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    std::vector<uint8_t> reply(data, data + size);
    const int len = static_cast<int>(size);
    DeviceEntry* e = new DeviceEntry;
    std::memset(e, 0xA5, sizeof *e);
    DeviceEntry before = *e;
    ParseDiscoveryReply(reply.data(), len, e);

    const int n = len < DISCOVERY_REPLY_MAX ? len : DISCOVERY_REPLY_MAX;
    FUZZ_CHECK(e->disc_nib5 == (n > 5 ? reply[5] >> 4 : 0xA5));
    FUZZ_CHECK(e->disc_nib6 == (n > 6 ? reply[6] >> 4 : 0xA5));
    FUZZ_CHECK(static_cast<uint8_t>(e->devtype[0]) == (n > 8 ? reply[8] : 0xA5));
    FUZZ_CHECK(static_cast<uint8_t>(e->devtype[1]) == (n > 9 ? reply[9] : 0xA5));
    for (int k = 0; k < 6; k++) FUZZ_CHECK(e->mac[k] == (n > 24 + k ? reply[24 + k] : 0xA5));
    // Nothing else of the entry changes.
    std::memcpy(&before.disc_nib5, &e->disc_nib5, 1);
    std::memcpy(&before.disc_nib6, &e->disc_nib6, 1);
    std::memcpy(before.devtype, e->devtype, 2);
    std::memcpy(before.mac, e->mac, 6);
    FUZZ_CHECK(std::memcmp(&before, e, sizeof before) == 0);

    static const char* const accepted[] = {"X1", "X2", "X4", "X5", "X6", "X9", "_L"};
    int expect = 0;
    for (const char* t : accepted) expect |= (e->devtype[0] == t[0] && e->devtype[1] == t[1]);
    FUZZ_CHECK(IsAcceptedDeviceType(e->devtype) == expect);
    delete e;
    return 0;
}
