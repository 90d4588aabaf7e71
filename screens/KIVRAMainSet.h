// The device list and search, the settings menu of one unit with its model
// gate, IP address settings, the ping check and adding a unit by address.
#pragma once

#include <cstdint>
#include <netinet/in.h>

#include "device/ping.h"
#include "settings/ip_settings.h"

constexpr int MYIP_MAX = 64;

struct MyIpEntry {
    char ifname[256];   // interface name as the system reports it
    in_addr_t ip;       // interface address, network order
    in_addr_t mask;     // interface netmask, network order
};

extern MyIpEntry MyIp[MYIP_MAX];
extern int MyIpCnt;

// Device list and search
int GetMyNetwork();
int IsSameNetwork(in_addr_t host, in_addr_t mask, in_addr_t unit);
int OnSearchDevice(int port);
void* tfunc_RecvModel(void* arg);
int GetXPortData(int i);
// Every screen calls this before it shows or writes unit i's record images
// or network settings (dhcp, netmask, gateway). Reads what was not read yet:
// records 0 and 5 and then the GetXPortData reads of an XPort unit, the
// parameters of a WiFi module, with their usual log lines. 0 when everything
// is read; -1 when a read failed, and the screen must then show "通信エラー"
// and not open. Draws nothing itself.
int EnsureUnitData(int i);
void print_xports(int first);
int OnDeviceItemChange(int item);

// Settings menu
int SetMainMenu(int i);
int loop_mainset(int i);
int GetModelName_ReplaceDeviceList(int i);
int modelcheck2(int i);
void DeleteXPort(int i);
int OnSetInputExtend(int i);
int OnSetMailAlert(int i);
int OnSetEtc(int i);

// IP address settings
int SetIPMenu(int i);
int SetIPOnly(int i);
int loop_ipset(char* addr, int i);
int loop_ipset2(char* addr, int i);
int loop_ipset3(char* addr, char* mask, char* gw, int i);
int loop_ipset_subnet(char* mask, int i);
int loop_ipset_gateway(char* gw, int i);
int OnChangeSelDHCP(int sel);
int OnChangeSelDHCPSame(int sel);
int OnSetIP(const char* addr, const char* mask, const char* gw, int i);

// Ping check (the ping itself: device/ping.h) and adding a unit by address
void CheckPing(const char* addr, int i);
int OnAddDevice(const char* addr, int port);
