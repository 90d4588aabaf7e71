// The host interfaces a broadcast search sends its queries on.
#include "base/bounded_text.h"
#include "device/KIVRAXPort.h"

#include <ifaddrs.h>
#include <net/if.h>
#include <sys/socket.h>

int IsSearchInterface(unsigned flags, int family)
{
    if (family != AF_INET) return 0;
    if ((flags & IFF_UP) == 0 || (flags & IFF_LOOPBACK) != 0 || (flags & IFF_BROADCAST) == 0)
        return 0;
    return 1;
}

int ListSearchInterfaces(SearchInterface* out, int max)
{
    if (out == nullptr || max <= 0) return 0;
    ifaddrs* list = nullptr;
    if (::getifaddrs(&list) != 0) return -1;
    int count = 0;
    for (const ifaddrs* a = list; a != nullptr && count < max; a = a->ifa_next) {
        if (a->ifa_addr == nullptr || a->ifa_name == nullptr) continue;
        if (!IsSearchInterface(a->ifa_flags, a->ifa_addr->sa_family)) continue;
        // A secondary address is listed under a label ("eth0:1"): the
        // interface is the part before the colon, searched once.
        char name[HOST_IFNAME_LEN];
        size_t len = 0;
        while (a->ifa_name[len] != '\0' && a->ifa_name[len] != ':') len++;
        copy_text_n(name, sizeof name, a->ifa_name, len);
        const unsigned index = if_nametoindex(name);
        if (index == 0) continue;
        bool listed = false;
        for (int k = 0; k < count; k++) listed = listed || out[k].index == static_cast<int>(index);
        if (listed) continue;
        out[count].index = static_cast<int>(index);
        copy_text(out[count].name, sizeof out[count].name, name);
        count++;
    }
    ::freeifaddrs(list);
    return count;
}
