// Record 0 and the subnet mask: every contiguous mask is its host-bit count
// and back, any other mask is refused; a written record 0 changes only the
// header, the address, the mask and the gateway, and reads back as the
// network settings it was built from.
#include "device/KIVRAXPort.h"
#include "device/record_fields.h"
#include "tests/fuzz/fuzz_support.h"

#include <arpa/inet.h>

namespace {

bool contiguous(uint32_t m) { return (~m & (~m + 1)) == 0; }   // the zeros are one run at the bottom

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    FuzzInput in{data, size};
    const uint8_t dhcp = in.byte() & 1;
    const in_addr_t addr = static_cast<in_addr_t>(in.int32());
    const in_addr_t gw = static_cast<in_addr_t>(in.int32());
    const int hostbits = in.byte() % 34;
    const uint32_t raw_mask = static_cast<uint32_t>(in.int32());
    std::vector<uint8_t> setup0 = in.rest();
    setup0.resize(SETUP0_LEN, 0x5A);

    for (int h = 0; h <= 32; h++) FUZZ_CHECK(XSubnetEncode(XsubnetDecode(h)) == h);
    const int enc = XSubnetEncode(htonl(raw_mask));
    if (contiguous(raw_mask)) FUZZ_CHECK(enc >= 0 && enc <= 32 && XsubnetDecode(enc) == htonl(raw_mask));
    else FUZZ_CHECK(enc == -1);

    // A mask made from a host-bit count, or the raw one half of the time.
    const in_addr_t mask = hostbits <= 32 ? XsubnetDecode(hostbits) : htonl(raw_mask);
    std::vector<uint8_t> out(SETUP0_LEN + 1, 0xEE);
    int r = build_record0_write(setup0.data(), dhcp, addr, mask, gw, out.data());
    FUZZ_CHECK(out[SETUP0_LEN] == 0xEE);
    if (!dhcp && XSubnetEncode(mask) < 0) {
        FUZZ_CHECK(r == -1);
        return 0;
    }
    FUZZ_CHECK(r == 0);
    FUZZ_CHECK(out[0] == 0 && out[1] == 0 && out[2] == 0 && out[3] == 0xC0);
    for (int k = 4; k < SETUP0_LEN; k++) {
        const bool network = (k >= 4 && k < 8) || k == 10 || (k >= 16 && k < 20);
        if (!network) FUZZ_CHECK(out[k] == setup0[k]);
    }
    const in_addr_t current = static_cast<in_addr_t>(in.int32() ^ 0x01020304);
    UnitNetwork n = derive_unit_network(out.data(), current);
    const uint8_t* a = reinterpret_cast<const uint8_t*>(&addr);
    if (dhcp || (a[0] == 0 && a[1] == 0 && a[3] == 0)) {
        FUZZ_CHECK(n.dhcp == 1 && n.addr == current && n.gateway == 0);
        FUZZ_CHECK(XSubnetEncode(n.netmask) == 8 || XSubnetEncode(n.netmask) == 16 ||
                   XSubnetEncode(n.netmask) == 24);
    } else {
        FUZZ_CHECK(n.dhcp == 0 && n.addr == addr && n.netmask == mask && n.gateway == gw);
    }
    return 0;
}
