// The host's own IPv4 interfaces and the same-network rule that decides
// whether a unit can be configured fully or only by address.
#include "settings/unit_search.h"

#include <arpa/inet.h>
#include <ifaddrs.h>
#include <sys/socket.h>

#include <cstdio>
#include <cstring>

#include "base/DebugLog.h"

MyIpEntry MyIp[MYIP_MAX];
int MyIpCnt = 0;

int IsSameNetwork(in_addr_t host, in_addr_t mask, in_addr_t unit)
{
    return (mask & (host ^ unit)) == 0 ? 1 : 0;
}

int IsUnitAddress(in_addr_t ip)
{
    const uint32_t h = ntohl(ip);
    const uint32_t first = h >> 24;
    if (first == 0 || first == 127 || first >= 224) return 0;
    for (int j = 0; j < MyIpCnt && j < MYIP_MAX; j++)
        if (MyIp[j].mask != 0xFFFFFFFFu && ip == (MyIp[j].ip | ~MyIp[j].mask)) return 0;
    return 1;
}

int GetMyNetwork()
{
    MyIpCnt = 0;
    // Every IPv4 address of every interface, each with its own mask:
    // secondary addresses too, and as many interfaces as the system has.
    ifaddrs* list = nullptr;
    if (::getifaddrs(&list) != 0) {
        PrnDebug("socket creation failed\n");
        return -1;
    }

    const in_addr_t loopback = htonl(INADDR_LOOPBACK);
    for (const ifaddrs* a = list; a != nullptr && MyIpCnt < MYIP_MAX; a = a->ifa_next) {
        if (a->ifa_addr == nullptr || a->ifa_addr->sa_family != AF_INET) continue;
        MyIpEntry& e = MyIp[MyIpCnt];
        std::snprintf(e.ifname, sizeof e.ifname, "%s", a->ifa_name != nullptr ? a->ifa_name : "");
        sockaddr_in sin;
        std::memcpy(&sin, a->ifa_addr, sizeof sin);
        if (sin.sin_addr.s_addr == loopback) continue;
        // An address without a mask is left out rather than given some other one.
        if (a->ifa_netmask == nullptr || a->ifa_netmask->sa_family != AF_INET) continue;
        sockaddr_in msin;
        std::memcpy(&msin, a->ifa_netmask, sizeof msin);

        e.ip = sin.sin_addr.s_addr;
        e.mask = msin.sin_addr.s_addr;
        char ip[INET_ADDRSTRLEN], mask[INET_ADDRSTRLEN];
        inet_ntop(AF_INET, &e.ip, ip, sizeof ip);
        inet_ntop(AF_INET, &e.mask, mask, sizeof mask);
        PrnDebugf("MYIP%d : %s : %s : %s\n", MyIpCnt, e.ifname, ip, mask);
        MyIpCnt++;
    }
    ::freeifaddrs(list);
    return MyIpCnt;
}
