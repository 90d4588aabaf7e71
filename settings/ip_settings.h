// The IP address group: DHCP, address, mask and gateway of one unit, read
// from its table entry and written back as setup record 0 of an XPort unit,
// the "IP" text of a WiFi module, or the set-address broadcast for a unit
// outside the host's networks. Every failure is a StepResult whose message
// the IP screens show at row 18; an index outside the device table fails at
// once, with no message.
#pragma once

#include "settings/settings_steps.h"

#include <netinet/in.h>

#include <cstdint>

struct IpSettings {
    bool dhcp = false;      // the unit takes its address automatically
    in_addr_t address = 0;  // its static address, network order
    in_addr_t netmask = 0;  // network order
    in_addr_t gateway = 0;  // network order
};

// A unit of the host's networks: what was not read yet is read first
// (records, or a WiFi module's parameters), then the values are taken from
// the entry. Fails with "通信エラー".
StepResult read_ip_settings(int unit, IpSettings& out);
// A unit outside the host's networks: only its address is known (DHCP off,
// mask and gateway 0); nothing is exchanged.
StepResult read_ip_address(int unit, IpSettings& out);

// Writes the values back, in this order: a static address that another
// host answers a ping at is refused, and so is DHCP on a WiFi module; a
// unit outside the host's networks gets the set-address broadcast (a WiFi
// module cannot); a mask whose one bits have a gap is refused; then the
// module's "IP" text, or record 0. On success the unit restarts with its
// new settings: an XPort unit is to be searched again, a WiFi module keeps
// its entry.
StepResult apply_ip_settings(int unit, IpSettings& values);
// The apply's steps, as StepResult::failed names them.
enum IpApplyStep {
    IP_STEP_PING,           // the address answers a ping (refused)
    IP_STEP_DHCP_WIFI,      // DHCP on a WiFi module (refused)
    IP_STEP_OUTSIDE_WIFI,   // a WiFi module outside the host's networks (refused)
    IP_STEP_BROADCAST,      // the set-address broadcast
    IP_STEP_MASK,           // a mask with a gap (refused)
    IP_STEP_WIFI_TEXT,      // the WiFi module's "IP" text
    IP_STEP_RECORD0,        // setup record 0
    IP_APPLY_STEPS
};

// True when address is the unit's current address (the one it answers at).
bool is_own_address(int unit, in_addr_t address);
// The set-address broadcast, out of the host interface the unit answered on
// (ifindex, DeviceEntry::host_if; 0 by the default route): the unit with
// this MAC takes the address. 1 sent, 0 not (logged).
int SetIPAddressOnly(const uint8_t* mac, in_addr_t ip, int ifindex = 0);
