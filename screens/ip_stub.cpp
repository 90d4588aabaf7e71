// Placeholder definitions until the screens are written; removed by then.
#include "screens/KIVRAMainSet.h"

int SetIPMenu(int) { return -2; }
int SetIPOnly(int) { return -2; }
int loop_ipset(char*, int) { return -2; }
int loop_ipset2(char*, int) { return -2; }
int loop_ipset3(char*, char*, char*, int) { return -2; }
int loop_ipset_subnet(char*, int) { return -2; }
int loop_ipset_gateway(char*, int) { return -2; }
int OnChangeSelDHCP(int) { return 0; }
int OnChangeSelDHCPSame(int) { return 0; }
int OnSetIP(const char*, const char*, const char*, int) { return 0; }
int SetIPAddressOnly(const uint8_t*, in_addr_t) { return 0; }
int SendPingCmd(const char*) { return 1; }
void CheckPing(const char*, int) {}
