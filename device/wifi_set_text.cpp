#include "device/wifi_set_text.h"

#include "device/address_text.h"

#include <cstdio>
#include <cstring>
#include <iterator>

bool wifi_value_ok(const char* text)
{
    return text == nullptr || std::strpbrk(text, "\r\n") == nullptr;
}

int build_wifi_set_text(const WifiPair* pairs, int count, char* out, size_t size)
{
    if (out == nullptr || size == 0) return WIFI_TEXT_TOO_LONG;
    out[0] = '\0';
    for (int k = 0; k < count; k++)
        if (!wifi_value_ok(pairs[k].text)) return WIFI_TEXT_LINE_BREAK;
    size_t n = 0;
    for (int k = 0; k <= count; k++) {
        int m;
        if (k == count)
            m = std::snprintf(out + n, size - n, "END\r\n");
        else if (pairs[k].text != nullptr)
            m = std::snprintf(out + n, size - n, "%s\r\n%s\r\n", pairs[k].key, pairs[k].text);
        else
            m = std::snprintf(out + n, size - n, "%s\r\n%d\r\n", pairs[k].key, pairs[k].number);
        if (m < 0 || static_cast<size_t>(m) >= size - n) {
            out[0] = '\0';
            return WIFI_TEXT_TOO_LONG;
        }
        n += static_cast<size_t>(m);
    }
    return static_cast<int>(n);
}

int build_wifi_ip_text(in_addr_t addr, in_addr_t mask, in_addr_t gw, char* out, size_t size)
{
    char a[16], m[16], g[16];
    format_dotted(addr, a);
    format_dotted(mask, m);
    format_dotted(gw, g);
    const WifiPair pairs[] = {{"IP", a, 0}, {"SUBM", m, 0}, {"GWAY", g, 0}};
    return build_wifi_set_text(pairs, static_cast<int>(std::size(pairs)), out, size);
}

int build_wifi_extend_text(int port, const char* hip, int hport, char* out, size_t size)
{
    const WifiPair pairs[] = {{"PORT", nullptr, port}, {"HIP", hip, 0}, {"HPORT", nullptr, hport}};
    return build_wifi_set_text(pairs, static_cast<int>(std::size(pairs)), out, size);
}

int build_wifi_mail_text(const WifiMailKeys& k, char* out, size_t size)
{
    const WifiPair pairs[] = {
        {"MHOST", k.host, 0}, {"MPORT", nullptr, k.port}, {"MUSER", k.user, 0},
        {"MPASS", k.pass, 0}, {"MFROM", k.from, 0},       {"MTO1", k.to1, 0},
        {"MTO2", k.to2, 0},   {"MSUBJ", k.subj, 0},
    };
    return build_wifi_set_text(pairs, static_cast<int>(std::size(pairs)), out, size);
}
