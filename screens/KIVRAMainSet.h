// The device list and search, the settings menu of one unit with its model
// gate, IP address settings, the ping check and adding a unit by address.
#pragma once

#include <cstdint>
#include <netinet/in.h>

#include "device/ping.h"
#include "settings/ip_settings.h"
#include "settings/model_check.h"
#include "settings/unit_search.h"

// Device list and search
int OnSearchDevice(int port);
void print_xports(int first);
int OnDeviceItemChange(int item);

// Settings menu
int SetMainMenu(int i);
int loop_mainset(int i);
int GetModelName_ReplaceDeviceList(int i);
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
