#include "device/address_text.h"

#include "base/dotted_quad.h"

#include <arpa/inet.h>

#include <cstdint>
#include <cstdio>
#include <cstring>

int parse_dotted_quad(const char* text, in_addr_t* out)
{
    // The forms' own rule, and nothing after the address.
    in_addr a{};
    if (text == nullptr || !is_dotted_quad(text) || inet_pton(AF_INET, text, &a) != 1) return 0;
    if (out != nullptr) *out = a.s_addr;
    return 1;
}

void format_dotted(in_addr_t ip, char out[16])
{
    uint8_t b[4];
    std::memcpy(b, &ip, 4);
    std::snprintf(out, 16, "%u.%u.%u.%u", b[0], b[1], b[2], b[3]);
}
