// Placeholder definitions until the screens are written; removed by then.
#include "screens/KIVRAMainSet.h"

MyIpEntry MyIp[MYIP_MAX];
int MyIpCnt = 0;
int GetMyNetwork() { return 0; }
int IsSameNetwork(in_addr_t, in_addr_t, in_addr_t) { return 0; }
int OnSearchDevice(int) { return 0; }
void* tfunc_RecvModel(void*) { return nullptr; }
int GetXPortData(int) { return 0; }
void print_xports(int) {}
int OnDeviceItemChange(int) { return 0; }
int SetMainMenu(int) { return -2; }
int loop_mainset(int) { return -2; }
int GetModelName_ReplaceDeviceList(int) { return -1; }
int modelcheck2(int) { return -1; }
void DeleteXPort(int) {}
int OnSetInputExtend(int) { return 0; }
int OnSetMailAlert(int) { return 0; }
int OnSetEtc(int) { return 0; }
int OnAddDevice(const char*, int) { return 0; }
