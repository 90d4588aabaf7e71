// Applying the IP screens' settings: setup record 0 of an XPort unit, the
// "IP" text of a WiFi module, or the set-address broadcast for a unit outside
// the host's networks; and the address texts and images they are built from.
#include "screens/KIVRAMainSet.h"
#include "screens/ip/ip_screen.h"

#include "device/KIVRAXPort.h"
#include "device/record_fields.h"
#include "base/DebugLog.h"
#include "ui/ipv4_field_type.h"

#include <arpa/inet.h>

#include <cstdio>
#include <cstring>

namespace {

const char kIpText[] = "IP\r\n%s\r\nSUBM\r\n%s\r\nGWAY\r\n%s\r\nEND\r\n";

void applied() { ip_message("設定完了しました。", "デバイスを再起動します。"); }

void comm_error() { ip_message("通信エラー", ""); }

}  // namespace

int parse_dotted_quad(const char* text, in_addr_t* out)
{
    // The forms' own rule (no leading zeros, which other readers take for
    // octal), and nothing after the address.
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

int is_own_address(const char* addr, int i)
{
    if (addr == nullptr || i < 0 || i >= xportcount) return 0;
    const char* own = xportset[i].ipstr;
    size_t n = strnlen(own, sizeof xportset[i].ipstr);
    return std::strlen(addr) == n && std::memcmp(addr, own, n) == 0 ? 1 : 0;
}

int format_wifi_ip_text(char* out, size_t size, const char* addr, const char* mask, const char* gw)
{
    int n = std::snprintf(out, size, kIpText, addr, mask, gw);
    if (n < 0 || static_cast<size_t>(n) >= size) return -1;
    return n;
}

int SetIPAddressOnly(const uint8_t* mac, in_addr_t ip, int ifindex)
{
    if (mac == nullptr) return 0;
    uint8_t dgram[IP_SETUP_LEN];
    BuildIPSetup(mac, ip, dgram);
    char text[16];
    format_dotted(ip, text);
    PrnDebugf("IP SET : MAC %x-%x-%x-%x-%x-%x : IP %s\n", mac[0], mac[1], mac[2], mac[3], mac[4],
              mac[5], text);
    // Sent to every host of the unit's segment; the unit with this MAC takes the address.
    if (UDP_BroadcastOn(ifindex, dgram, IP_SETUP_LEN) != 0) {
        PrnDebug("UDP SendRecv Error\n");
        return 0;
    }
    return 1;
}

int OnSetIP(const char* addr, const char* mask, const char* gw, int i)
{
    if (addr == nullptr || i < 0 || i >= xportcount) return 0;
    DeviceEntry& e = xportset[i];
    const bool dhcp_on = dhcp_sel == 1;
    const bool wifi = e.modtype == 3;

    // An address that some host already answers at would collide; the unit's
    // own address answers, so it is not asked.
    if (!dhcp_on) {
        if (!is_own_address(addr, i) && SendPingCmd(addr) == 0) {
            ip_message("衝突の恐れがあるため", "そのIPアドレスには設定できません。");
            return 0;
        }
    } else if (wifi) {
        ip_message("この機器はDHCP設定", "することができません。");
        return 0;
    }

    // The edit buffers hold plain dotted addresses (the screen keeps no other
    // text); anything else is never turned into an address of 0 or all ones.
    in_addr_t ip = 0;
    in_addr_t netmask = 0;
    in_addr_t gateway = 0;
    if (!dhcp_on && !parse_dotted_quad(addr, &ip)) return 0;

    if (e.samenet == 0) {
        // A WiFi module does not answer "IP-SETUP": nothing it cannot take is sent.
        if (wifi) {
            comm_error();
            return 0;
        }
        if (SetIPAddressOnly(e.mac, ip, e.host_if) == 0) {
            comm_error();
            return 0;
        }
        applied();
        DeleteXPort(i);
        return 1;
    }

    if (mask == nullptr || gw == nullptr) return 0;
    if (!dhcp_on && (!parse_dotted_quad(mask, &netmask) || !parse_dotted_quad(gw, &gateway)))
        return 0;
    uint8_t image[SETUP0_LEN];
    if (build_record0_write(e.setup0, dhcp_on, ip, netmask, gateway, image) != 0) {
        ip_message("サブネットマスク設定エラー", "");
        return 0;
    }

    if (wifi) {
        char text[3 * IP_TEXT_LEN + sizeof kIpText];
        if (format_wifi_ip_text(text, sizeof text, addr, mask, gw) < 0 ||
            Set_ESP_Parameter(i, text) < 0) {
            comm_error();
            return 0;
        }
        // The module restarts with its new address; the entry stays listed.
        applied();
        return 1;
    }

    uint8_t reply[4];
    if (UDP_SendRecv(e.addr.sin_addr.s_addr, image, SETUP0_LEN, reply, sizeof reply) != 0) {
        PrnDebug("Failed to Send SetupRecord 0\n");
        comm_error();
        return 0;
    }
    applied();
    DeleteXPort(i);
    return 1;
}
