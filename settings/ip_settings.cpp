// The IP address group's read and apply as step tables.
#include "settings/ip_settings.h"

#include "base/DebugLog.h"
#include "base/bounded_text.h"
#include "device/KIVRAXPort.h"
#include "device/address_text.h"
#include "device/ping.h"
#include "device/record_fields.h"
#include "device/wifi_set_text.h"
#include "settings/unit_search.h"
#include "base/message_rows.h"

namespace {

constexpr const char* kCommError = "通信エラー";

const DeviceEntry& entry(int unit) { return xportset[unit]; }

// ---- read ----

int ensure_read(int unit, IpSettings&) { return EnsureUnitData(unit) == 0 ? 0 : -1; }

in_addr_t current_address(int unit)
{
    char text[sizeof xportset[0].ipstr + 1];
    copy_text_n(text, sizeof text, entry(unit).ipstr, sizeof entry(unit).ipstr);
    in_addr_t a = 0;
    parse_dotted_quad(text, &a);
    return a;
}

int take_network(int unit, IpSettings& v)
{
    const DeviceEntry& e = entry(unit);
    v.dhcp = e.dhcp == 1;
    v.address = current_address(unit);
    v.netmask = e.netmask;
    v.gateway = e.gateway;
    return 0;
}

int take_address(int unit, IpSettings& v)
{
    // The DHCP state of a unit outside the host's networks has not been read.
    v = IpSettings{};
    v.address = current_address(unit);
    return 0;
}

const SettingsStep<IpSettings> kRead[] = {
    {.exchange = ensure_read, .message = kCommError, .row = MSG_ROW_MENU},
    {.exchange = take_network},
};
const SettingsStep<IpSettings> kReadAddress[] = {{.exchange = take_address}};

// ---- apply ----

bool inside(int unit) { return entry(unit).samenet != 0; }
bool wifi(int unit) { return is_wifi(entry(unit)); }

// An address that some host already answers at would collide; the unit's
// own address answers, so it is not asked.
bool static_elsewhere(int unit, const IpSettings& v)
{
    return !v.dhcp && !is_own_address(unit, v.address);
}
int nobody_answers(int, IpSettings& v)
{
    char text[16];
    format_dotted(v.address, text);
    return SendPingCmd(text) == 0 ? -1 : 0;
}

bool dhcp_on_wifi(int unit, const IpSettings& v) { return v.dhcp && wifi(unit); }
// A step that applies only where the settings cannot be written.
int refuse(int, IpSettings&) { return -1; }

// A WiFi module does not answer "IP-SETUP": nothing it cannot take is sent.
bool outside_wifi(int unit, const IpSettings&) { return !inside(unit) && wifi(unit); }
bool outside_xport(int unit, const IpSettings&) { return !inside(unit) && !wifi(unit); }
int set_address_only(int unit, IpSettings& v)
{
    return SetIPAddressOnly(entry(unit).mac, v.dhcp ? 0 : v.address, entry(unit).host_if) == 1 ? 0 : -1;
}

bool inside_any(int unit, const IpSettings&) { return inside(unit); }
bool inside_wifi(int unit, const IpSettings&) { return inside(unit) && wifi(unit); }
bool inside_xport(int unit, const IpSettings&) { return inside(unit) && !wifi(unit); }

int record0_image(int unit, const IpSettings& v, uint8_t* image)
{
    return build_record0_write(entry(unit).setup0, v.dhcp, v.address, v.netmask, v.gateway, image);
}
int mask_has_no_gap(int unit, IpSettings& v)
{
    uint8_t image[SETUP0_LEN];
    return record0_image(unit, v, image);
}
int send_ip_text(int unit, IpSettings& v)
{
    char text[96];
    if (build_wifi_ip_text(v.address, v.netmask, v.gateway, text, sizeof text) < 0) return -1;
    return Set_ESP_Parameter(unit, text) < 0 ? -1 : 0;
}
int write_record0(int unit, IpSettings& v)
{
    uint8_t image[SETUP0_LEN];
    uint8_t reply[4];
    if (record0_image(unit, v, image) != 0) return -1;
    return UDP_SendRecv(entry(unit).addr.sin_addr.s_addr, image, SETUP0_LEN, reply, sizeof reply);
}

constexpr int kRow = MSG_ROW_MENU;
constexpr SettingsStep<IpSettings> kApply[] = {
    {.exchange = nobody_answers,
     .message = "衝突の恐れがあるため",
     .detail = "そのIPアドレスには設定できません。",
     .row = kRow,
     .applies = static_elsewhere},
    {.exchange = refuse,
     .message = "この機器はDHCP設定",
     .detail = "することができません。",
     .row = kRow,
     .applies = dhcp_on_wifi},
    {.exchange = refuse, .message = kCommError, .row = kRow, .applies = outside_wifi},
    {.exchange = set_address_only, .message = kCommError, .row = kRow, .applies = outside_xport},
    {.exchange = mask_has_no_gap,
     .message = "サブネットマスク設定エラー",
     .row = kRow,
     .applies = inside_any},
    {.exchange = send_ip_text, .message = kCommError, .row = kRow, .applies = inside_wifi},
    {.exchange = write_record0,
     .message = kCommError,
     .row = kRow,
     .log = "Failed to Send SetupRecord 0\n",
     .applies = inside_xport},
};

static_assert(sizeof kApply / sizeof kApply[0] == IP_APPLY_STEPS);
static_assert(kApply[IP_STEP_PING].exchange == nobody_answers);
static_assert(kApply[IP_STEP_BROADCAST].exchange == set_address_only);
static_assert(kApply[IP_STEP_RECORD0].exchange == write_record0);

bool in_table(int unit) { return unit >= 0 && unit < xportcount && unit < XPORT_MAX; }
StepResult no_unit() { return settings_failure(0, nullptr, nullptr, 0, nullptr); }

}  // namespace

StepResult read_ip_settings(int unit, IpSettings& out)
{
    return in_table(unit) ? run_settings_steps(kRead, unit, out) : no_unit();
}

StepResult read_ip_address(int unit, IpSettings& out)
{
    return in_table(unit) ? run_settings_steps(kReadAddress, unit, out) : no_unit();
}

StepResult apply_ip_settings(int unit, IpSettings& values)
{
    return in_table(unit) ? run_settings_steps(kApply, unit, values) : no_unit();
}

bool is_own_address(int unit, in_addr_t address)
{
    return in_table(unit) && entry(unit).ipstr[0] != '\0' && current_address(unit) == address;
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
