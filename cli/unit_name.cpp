// Units as the command line names them: by MAC address or by IPv4 address.
#include "cli/kivraset.h"

#include "base/bounded_text.h"

#include <arpa/inet.h>

#include <cstdio>
#include <cstring>

namespace {

// Six pairs of hex digits, one separator (':' or '-') throughout.
bool parse_mac(const char* text, uint8_t mac[6])
{
    if (std::strlen(text) != 17) return false;
    const char sep = text[2];
    if (sep != ':' && sep != '-') return false;
    for (int k = 0; k < 6; k++) {
        const char* p = text + 3 * k;
        const int hi = hex_digit_value(p[0]), lo = hex_digit_value(p[1]);
        if (hi < 0 || lo < 0 || (k < 5 && p[2] != sep)) return false;
        mac[k] = static_cast<uint8_t>(hi * 16 + lo);
    }
    return true;
}

}  // namespace

int parse_unit_name(const char* text, UnitName* out)
{
    if (text == nullptr || out == nullptr) return -1;
    UnitName u{};
    in_addr a{};
    if (parse_mac(text, u.mac)) {
        u.kind = UnitNameKind::Mac;
    } else if (inet_pton(AF_INET, text, &a) == 1) {
        // The system's reader takes only four decimal parts 0..255 without
        // leading zeros, so "010.0.0.1" is never read as octal.
        u.kind = UnitNameKind::Address;
        u.ip = a.s_addr;
    } else {
        return -1;
    }
    *out = u;
    return 0;
}

void format_mac(const uint8_t mac[6], char out[18])
{
    std::snprintf(out, 18, "%02x:%02x:%02x:%02x:%02x:%02x", mac[0], mac[1], mac[2], mac[3], mac[4],
                  mac[5]);
}
