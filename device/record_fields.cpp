// Reading and writing the named fields of setup record images, and the
// record 0 contents of the IP settings.
#include "device/record_fields.h"

#include "device/KIVRAXPort.h"
#include "base/bounded_text.h"

#include <cstring>

int record_length(int record) { return record == 0 ? SETUP0_LEN : SETUP_LEN; }

bool field_fits(const RecordField& f, int len)
{
    return f.offset >= 4 && f.room >= 1 && f.offset + f.room <= len;
}

namespace {

bool usable(const uint8_t* image, const RecordField& f)
{
    return image != nullptr && field_fits(f, record_length(f.record));
}

}  // namespace

int get_byte(const uint8_t* image, const RecordField& f)
{
    return usable(image, f) ? image[f.offset] : 0;
}

void put_byte(uint8_t* image, const RecordField& f, int value)
{
    if (usable(image, f)) image[f.offset] = static_cast<uint8_t>(value & 0xFF);
}

int get_le16(const uint8_t* image, const RecordField& f)
{
    if (!usable(image, f)) return 0;
    return image[f.offset] | (image[f.offset + 1] << 8);
}

void put_le16(uint8_t* image, const RecordField& f, int value)
{
    if (!usable(image, f)) return;
    image[f.offset] = static_cast<uint8_t>(value & 0xFF);
    image[f.offset + 1] = static_cast<uint8_t>((value >> 8) & 0xFF);
}

in_addr_t get_ipv4(const uint8_t* image, const RecordField& f)
{
    in_addr_t ip = 0;
    if (usable(image, f)) std::memcpy(&ip, image + f.offset, 4);
    return ip;
}

void put_ipv4(uint8_t* image, const RecordField& f, in_addr_t ip)
{
    if (usable(image, f)) std::memcpy(image + f.offset, &ip, 4);
}

size_t get_text(const uint8_t* image, const RecordField& f, char* out, size_t outsize)
{
    if (out == nullptr || outsize == 0) return 0;
    out[0] = '\0';
    if (!usable(image, f)) return 0;
    return copy_text_n(out, outsize, reinterpret_cast<const char*>(image + f.offset),
                       static_cast<size_t>(f.room));
}

size_t put_text(uint8_t* image, const RecordField& f, const char* text)
{
    if (!usable(image, f) || f.room < 1) return 0;
    const size_t len = text != nullptr ? std::strlen(text) : 0;
    const size_t n = utf8_fit(text, len, static_cast<size_t>(f.room - 1));
    if (n > 0) std::memcpy(image + f.offset, text, n);
    image[f.offset + n] = 0;
    return n;
}

UnitNetwork derive_unit_network(const uint8_t* setup0, in_addr_t current)
{
    UnitNetwork n{};
    if (setup0[4] == 0 && setup0[5] == 0 && setup0[7] == 0) {
        n.dhcp = 1;
        n.addr = current;
        const uint8_t first = reinterpret_cast<const uint8_t*>(&current)[0];
        n.netmask = XsubnetDecode(first < 128 ? 24 : first < 192 ? 16 : 8);
        n.gateway = 0;
    } else {
        n.dhcp = 0;
        n.addr = get_ipv4(setup0, rec::ip);
        n.netmask = XsubnetDecode(get_byte(setup0, rec::host_bits));
        n.gateway = get_ipv4(setup0, rec::gateway);
    }
    return n;
}

int build_record0_write(const uint8_t* setup0, int dhcp_on, in_addr_t addr, in_addr_t mask,
                        in_addr_t gw, uint8_t* out)
{
    std::memcpy(out, setup0, SETUP0_LEN);
    if (dhcp_on) {
        put_ipv4(out, rec::ip, 0);
        put_byte(out, rec::host_bits, 0);
        put_ipv4(out, rec::gateway, 0);
    } else {
        int hostbits = XSubnetEncode(mask);
        if (hostbits < 0 || hostbits > 32) return -1;
        put_ipv4(out, rec::ip, addr);
        put_byte(out, rec::host_bits, hostbits);
        put_ipv4(out, rec::gateway, gw);
    }
    SetRecordWriteHeader(out, 0, 0);  // record 0 alone
    return 0;
}
