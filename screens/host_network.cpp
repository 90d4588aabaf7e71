// The host's own IPv4 interfaces and the same-network rule that decides
// whether a unit can be configured fully or only by address.
#include "screens/KIVRAMainSet.h"

#include <arpa/inet.h>
#include <net/if.h>
#include <sys/ioctl.h>
#include <sys/socket.h>

#include <cstdio>
#include <cstring>

#include "device/unique_fd.h"
#include "shell/DebugLog.h"

MyIpEntry MyIp[MYIP_MAX];
int MyIpCnt = 0;

namespace {

constexpr int IFCONF_BYTES = 2048;

}  // namespace

int IsSameNetwork(in_addr_t host, in_addr_t mask, in_addr_t unit)
{
    return (mask & (host ^ unit)) == 0 ? 1 : 0;
}

int GetMyNetwork()
{
    MyIpCnt = 0;
    // The socket only carries the interface requests; nothing is sent on it.
    UniqueFd sock(::socket(AF_INET, SOCK_DGRAM, 0));
    if (!sock.valid()) {
        PrnDebug("socket creation failed\n");
        return -1;
    }

    // Interface records are sizeof(ifreq) long; the buffer is aligned for them.
    ifreq records[IFCONF_BYTES / sizeof(ifreq)];
    std::memset(records, 0, sizeof records);
    ifconf ifc{};
    ifc.ifc_len = sizeof records;
    ifc.ifc_req = records;
    if (::ioctl(sock.get(), SIOCGIFCONF, &ifc) < 0) ifc.ifc_len = 0;

    int n = ifc.ifc_len / static_cast<int>(sizeof(ifreq));
    const int capacity = static_cast<int>(sizeof records / sizeof records[0]);
    if (n > capacity) n = capacity;

    const in_addr_t loopback = htonl(INADDR_LOOPBACK);
    for (int k = 0; k < n && MyIpCnt < MYIP_MAX; k++) {
        const ifreq& rec = records[k];
        MyIpEntry& e = MyIp[MyIpCnt];
        std::snprintf(e.ifname, sizeof e.ifname, "%.*s", IFNAMSIZ, rec.ifr_name);
        if (rec.ifr_addr.sa_family != AF_INET) continue;
        sockaddr_in sin;
        std::memcpy(&sin, &rec.ifr_addr, sizeof sin);
        if (sin.sin_addr.s_addr == loopback) continue;

        // An interface whose mask cannot be read is left out rather than
        // given whatever mask the previous one had.
        ifreq maskreq{};
        std::memcpy(maskreq.ifr_name, rec.ifr_name, IFNAMSIZ);
        if (::ioctl(sock.get(), SIOCGIFNETMASK, &maskreq) < 0) continue;
        sockaddr_in msin;
        std::memcpy(&msin, &maskreq.ifr_netmask, sizeof msin);

        e.ip = sin.sin_addr.s_addr;
        e.mask = msin.sin_addr.s_addr;
        char ip[INET_ADDRSTRLEN], mask[INET_ADDRSTRLEN];
        inet_ntop(AF_INET, &e.ip, ip, sizeof ip);
        inet_ntop(AF_INET, &e.mask, mask, sizeof mask);
        PrnDebugf("MYIP%d : %s : %s : %s\n", MyIpCnt, e.ifname, ip, mask);
        MyIpCnt++;
    }
    return MyIpCnt;
}
