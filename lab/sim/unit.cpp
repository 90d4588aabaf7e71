// Byte helpers for record images and the unit's derived settings.
#include "lab/sim/unit.h"

#include <arpa/inet.h>

#include <cstdlib>

namespace sim {

uint16_t get_le16(const std::vector<uint8_t>& image, int at)
{
    if (at < 0 || static_cast<size_t>(at) + 2 > image.size()) return 0;
    return static_cast<uint16_t>(image[at] | (image[at + 1] << 8));
}

void put_le16(std::vector<uint8_t>& image, int at, uint16_t v)
{
    if (at < 0 || static_cast<size_t>(at) + 2 > image.size()) return;
    image[at] = static_cast<uint8_t>(v & 0xFF);
    image[at + 1] = static_cast<uint8_t>(v >> 8);
}

uint32_t get_ip(const std::vector<uint8_t>& image, int at)
{
    if (at < 0 || static_cast<size_t>(at) + 4 > image.size()) return 0;
    uint32_t ip;
    __builtin_memcpy(&ip, image.data() + at, 4);
    return ip;
}

void put_ip(std::vector<uint8_t>& image, int at, uint32_t ip)
{
    if (at < 0 || static_cast<size_t>(at) + 4 > image.size()) return;
    __builtin_memcpy(image.data() + at, &ip, 4);
}

void put_text(std::vector<uint8_t>& image, int at, int end, const std::string& text)
{
    if (end > static_cast<int>(image.size())) end = static_cast<int>(image.size());
    if (at < 0 || at >= end) return;
    int room = end - at - 1;  // the terminator always fits
    int n = static_cast<int>(text.size()) < room ? static_cast<int>(text.size()) : room;
    for (int i = 0; i < n; ++i) image[at + i] = static_cast<uint8_t>(text[i]);
    image[at + n] = 0;
}

std::string get_text(const std::vector<uint8_t>& image, int at)
{
    std::string s;
    for (size_t i = at; i < image.size() && image[i] != 0; ++i) s += static_cast<char>(image[i]);
    return s;
}

int host_bits_of(uint32_t mask)
{
    uint32_t m = ntohl(mask);
    int ones = 0;
    while (ones < 32 && (m & (0x80000000u >> ones))) ++ones;
    if (ones < 32 && (m << ones) != 0) return -1;
    return 32 - ones;
}

uint32_t mask_of(int host_bits)
{
    if (host_bits <= 0) return 0xFFFFFFFFu;
    if (host_bits >= 32) return 0;
    return htonl(0xFFFFFFFFu << host_bits);
}

std::string ip_text(uint32_t ip)
{
    char buf[INET_ADDRSTRLEN] = {};
    in_addr a{};
    a.s_addr = ip;
    inet_ntop(AF_INET, &a, buf, sizeof buf);
    return buf;
}

bool parse_ip(const std::string& text, uint32_t* ip)
{
    in_addr a{};
    if (inet_pton(AF_INET, text.c_str(), &a) != 1) return false;
    *ip = a.s_addr;
    return true;
}

bool record0_dhcp(const Unit& u)
{
    const auto& r = u.records[0];
    return r.size() >= 8 && r[4] == 0 && r[5] == 0 && r[7] == 0;
}

const std::string* Unit::wifi_value(const std::string& key) const
{
    for (const auto& kv : wifi)
        if (kv.first == key) return &kv.second;
    return nullptr;
}

void Unit::set_wifi(const std::string& key, const std::string& value)
{
    for (auto& kv : wifi)
        if (kv.first == key) {
            kv.second = value;
            return;
        }
    wifi.emplace_back(key, value);
}

int Unit::cmd_port() const
{
    if (is_wifi()) {
        const std::string* p = wifi_value("PORT");
        return p ? atoi(p->c_str()) & 0xFFFF : 0;
    }
    return get_le16(records[0], rec::kCmdPort);
}

}  // namespace sim
