// Placeholder definitions until the exchanges are written; removed by then.
#include "device/KIVRAXPort.h"

void (*xport_search_progress)() = nullptr;
int get_xport_information(int, sockaddr_in*, int) { return 0; }
int XPortSearch() { return -1; }
int XPortAdd(const char*) { return -1; }
int UDP_SendRecv(in_addr_t, const uint8_t*, int, uint8_t*, int) { return -1; }
int GetSetupRecord(in_addr_t, int, uint8_t*, int) { return 0; }
in_addr_t XsubnetDecode(int) { return 0; }
int XSubnetEncode(in_addr_t) { return -1; }
int ConnectCore(int&, const sockaddr_in*, int) { return -1; }
int SendRecv(const char*, int, int, const uint8_t*, int, uint8_t*) { return -1; }
int SendRecvRaw(int, int, const uint8_t*, int, uint8_t*) { return -1; }
int GetUnitModelID(const char*, int, int*, int*) { return -1; }
int setPICparameter_new(const char*, int, int, int) { return -1; }
int getPICparameter_new(const char*, int, int, int, int*) { return -1; }
int NQKivraSetDiMailEnable(int, int) { return -1; }
int NQKivraGetDiMailEnable(int, int*) { return -1; }
int NQKivraSetDiMailLogic(int, int) { return -1; }
int NQKivraGetDiMailLogic(int, int*) { return -1; }
int NQKivraSetDisconnectionTime(int, int) { return -1; }
int NQKivraGetDisconnectionTime(int, int*) { return -1; }
int NQKivraSetNoticeTime(int, int) { return -1; }
int NQKivraGetNoticeTime(int, int*) { return -1; }
int NQKivraSetDiDetectTime(int, int) { return -1; }
int NQKivraGetDiDetectTime(int, int*) { return -1; }
int GetADCThreshold(int, int, int*, int*, int*, int*) { return -1; }
int SetADCThreshold(int, int, int, int, int, int) { return -1; }
int Get_ESP_Parameter(int) { return -1; }
int Get_ESP_Port(int) { return -1; }
int Set_ESP_Parameter(int, const char*) { return -1; }
int ModelQuery(const char*, int, const ModelQueryLog&, int*, int*, int*) { return -1; }
