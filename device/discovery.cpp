// Finding units: the XPort's discovery exchange on UDP 30718, broadcast to
// the segment of every host interface (search) or sent to one address
// (adding a unit).
#include "device/KIVRAXPort.h"
#include "device/net_io.h"
#include "base/DebugLog.h"
#include "base/bounded_text.h"

#include <arpa/inet.h>
#include <net/if.h>
#include <cerrno>
#include <algorithm>
#include <cstring>
#include <unistd.h>

static_assert(HOST_IFNAME_LEN == IF_NAMESIZE, "an interface name fills host_ifname");

void (*xport_search_progress)() = nullptr;

namespace {

sockaddr_in udp_target(in_addr_t ip)
{
    sockaddr_in to{};
    to.sin_family = AF_INET;
    to.sin_port = htons(XPORT_UDP_PORT);
    to.sin_addr.s_addr = ip;
    return to;
}

// Both discovery queries to one address, 50 ms apart. 0, or -1 when one
// could not be sent (the second is then not sent).
int send_discovery(int fd, in_addr_t ip)
{
    sockaddr_in to = udp_target(ip);
    const sockaddr* dst = reinterpret_cast<const sockaddr*>(&to);
    if (::sendto(fd, discovery_query1, sizeof discovery_query1, 0, dst, sizeof to) < 0) return -1;
    ::usleep(DISCOVERY_GAP_MS * 1000);
    if (::sendto(fd, discovery_query2, sizeof discovery_query2, 0, dst, sizeof to) < 0) return -1;
    return 0;
}

// The same unit answering again: same source address and same MAC address.
// Two units that share an address are both kept, so the operator sees the clash.
bool unit_known(const DeviceEntry& reply, int count)
{
    for (int i = 0; i < count && i < XPORT_MAX; i++)
        if (xportset[i].addr.sin_addr.s_addr == reply.addr.sin_addr.s_addr &&
            std::memcmp(xportset[i].mac, reply.mac, sizeof reply.mac) == 0)
            return true;
    return false;
}

// The interfaces of the search under way, to name the one a reply came in on.
SearchInterface searched[SEARCH_IF_MAX];
int searched_count = 0;

void name_interface(int index, char (&out)[HOST_IFNAME_LEN])
{
    out[0] = '\0';
    if (index <= 0) return;
    for (int k = 0; k < searched_count; k++) {
        if (searched[k].index != index) continue;
        copy_text(out, sizeof out, searched[k].name);
        return;
    }
    char name[IF_NAMESIZE];
    if (if_indextoname(static_cast<unsigned>(index), name) != nullptr) copy_text(out, sizeof out, name);
}

// Every datagram read from fd then says which host interface it came in on.
void report_arrival_interface(int fd)
{
    int on = 1;
    ::setsockopt(fd, IPPROTO_IP, IP_PKTINFO, &on, sizeof on);
}

// Both queries on every interface: the first on each in turn, 50 ms, then
// the second on each. One interface gets exactly what a single broadcast
// gets; a failed send still leaves the others and the wait for replies.
void broadcast_discovery(int fd, const SearchInterface* ifs, int count)
{
    const int sends = count > 0 ? count : 1;
    for (int k = 0; k < sends; k++)
        send_broadcast(fd, discovery_query1, sizeof discovery_query1, count > 0 ? ifs[k].index : 0);
    ::usleep(DISCOVERY_GAP_MS * 1000);
    for (int k = 0; k < sends; k++)
        send_broadcast(fd, discovery_query2, sizeof discovery_query2, count > 0 ? ifs[k].index : 0);
}

// Moves the wait on by 1 s after a reply; the part of a second that was
// still left of the previous wait is kept.
Deadline renewed(const Deadline& d)
{
    long long left = d.remaining_us();
    return Deadline{monotonic_us() + SEARCH_RENEW_MS * 1000LL + left % 1000000LL};
}

// Room for the answers of a full plant arriving at once. Asked with force
// where the process may (the system's ceiling does not apply then), else as
// far as that ceiling allows; a smaller buffer only risks losing answers.
void widen_receive_buffer(int fd)
{
    int size = SEARCH_RCVBUF;
    if (::setsockopt(fd, SOL_SOCKET, SO_RCVBUFFORCE, &size, sizeof size) == 0) return;
    ::setsockopt(fd, SOL_SOCKET, SO_RCVBUF, &size, sizeof size);
}

// One datagram of a discovery exchange: its bytes, its source and the host
// interface it came in on (0 when the socket did not say). Its length, or
// -1 when the receive failed (logged).
ssize_t receive_reply(int sock, uint8_t (&reply)[DISCOVERY_REPLY_MAX], sockaddr_in* from,
                      int* arrived_on)
{
    iovec iov{reply, sizeof reply};
    alignas(cmsghdr) unsigned char control[CMSG_SPACE(sizeof(in_pktinfo))];
    msghdr msg{};
    msg.msg_name = from;
    msg.msg_namelen = sizeof *from;
    msg.msg_iov = &iov;
    msg.msg_iovlen = 1;
    msg.msg_control = control;
    msg.msg_controllen = sizeof control;
    const ssize_t n = ::recvmsg(sock, &msg, 0);
    if (n < 0) {
        PrnDebug("recv error\n");
        return -1;
    }
    *arrived_on = 0;
    for (cmsghdr* c = CMSG_FIRSTHDR(&msg); c != nullptr; c = CMSG_NXTHDR(&msg, c)) {
        if (c->cmsg_level != IPPROTO_IP || c->cmsg_type != IP_PKTINFO) continue;
        in_pktinfo info{};
        std::memcpy(&info, CMSG_DATA(c), sizeof info);
        *arrived_on = info.ipi_ifindex;
    }
    return n;
}

// An entry from a reply (the entry is cleared first: bytes of a short reply
// that never arrived read as zero, not as what an earlier reply left there).
void take_reply(const uint8_t* reply, ssize_t n, const sockaddr_in& from, int arrived_on,
                DeviceEntry& e)
{
    e = DeviceEntry{};
    e.model = -1;
    e.unit_id = -1;
    ParseDiscoveryReply(reply, static_cast<int>(n), &e);
    e.addr = from;
    e.host_if = arrived_on;
    name_interface(arrived_on, e.host_ifname);
    if (inet_ntop(AF_INET, &from.sin_addr, e.ipstr, sizeof e.ipstr) == nullptr) e.ipstr[0] = '\0';
}

}  // namespace

int get_xport_information(int sock, sockaddr_in* addr, int index)
{
    uint8_t reply[DISCOVERY_REPLY_MAX];
    sockaddr_in from{};
    int arrived_on = 0;
    const ssize_t n = receive_reply(sock, reply, &from, &arrived_on);
    if (n < 0) return 0;
    if (addr != nullptr) *addr = from;
    // Outside the table (all 256 entries stored) the reply is read and dropped.
    if (index < 0 || index >= XPORT_MAX) return 1;
    take_reply(reply, n, from, arrived_on, xportset[index]);
    return 1;
}

int TakeDiscoveryReply(int sock)
{
    sockaddr_in from{};
    int slot = xportcount < XPORT_MAX ? xportcount : -1;
    if (get_xport_information(sock, &from, slot) != 1) return -1;
    if (slot < 0 || !IsAcceptedDeviceType(xportset[slot].devtype)) return 0;
    // A unit answering both queries is listed once.
    if (unit_known(xportset[slot], xportcount)) return 0;
    xportcount++;
    return 1;
}

int XPortSearch()
{
    SearchInterface ifs[SEARCH_IF_MAX];
    const int count = ListSearchInterfaces(ifs, SEARCH_IF_MAX);
    return XPortSearchOn(ifs, count > 0 ? count : 0);
}

int XPortSearchOn(const SearchInterface* ifs, int count)
{
    return XPortSearchUntil(ifs, count, nullptr, nullptr);
}

int XPortSearchUntil(const SearchInterface* ifs, int count, bool (*found_all)(void* ctx),
                     void* ctx)
{
    searched_count = ifs == nullptr || count < 0 ? 0 : count < SEARCH_IF_MAX ? count : SEARCH_IF_MAX;
    for (int k = 0; k < searched_count; k++) searched[k] = ifs[k];
    InitXPortSet();
    if (xport_search_progress != nullptr) xport_search_progress();

    UniqueFd fd = open_udp(SEARCH_FIRST_MS);
    if (!fd.valid()) return -1;
    widen_receive_buffer(fd.get());
    report_arrival_interface(fd.get());
    broadcast_discovery(fd.get(), searched, searched_count);

    Deadline wait = Deadline::after_ms(SEARCH_FIRST_MS);
    const Deadline limit = Deadline::after_ms(SEARCH_LIMIT_MS);
    for (;;) {
        int r = wait_readable(fd.get(), wait.remaining_ms());
        if (r < 0) {
            PrnDebug("socket error\n");
            return -1;
        }
        if (r == 0) break;
        if (TakeDiscoveryReply(fd.get()) == 1 && found_all != nullptr && found_all(ctx)) break;
        // A unit that never stops answering ends the search at the limit.
        if (limit.remaining_us() == 0) break;
        wait = renewed(wait);
        if (wait.end_us > limit.end_us) wait = limit;
    }
    if (limit.remaining_us() == 0) PrnDebug("XportSearch : search time limit reached\n");
    PrnDebugf("XportSearch : %d Xport devices found\n", xportcount);
    return xportcount;
}

int XPortAdd(const char* address)
{
    if (xportcount + 1 > XPORT_MAX) return -1;
    in_addr asked{};
    if (address == nullptr || inet_aton(address, &asked) == 0) return -3;
    for (int i = 0; i < xportcount; i++)
        if (inet_addr(xportset[i].ipstr) == asked.s_addr) return -2;

    UniqueFd fd = open_udp(UDP_REPLY_MS);
    if (!fd.valid()) return -1;
    report_arrival_interface(fd.get());
    if (send_discovery(fd.get(), asked.s_addr) < 0) {
        PrnDebug("socket send error\n");
        return -1;
    }
    // One wait of 1 s in all. Only the first accepted reply from the address
    // asked is appended; the others are read and dropped.
    Deadline wait = Deadline::after_ms(UDP_REPLY_MS);
    bool added = false;
    for (;;) {
        int r = wait_readable(fd.get(), wait.remaining_ms());
        if (r < 0) {
            PrnDebug("socket select failed\n");
            return -1;
        }
        if (r == 0) break;
        sockaddr_in from{};
        int slot = !added && xportcount < XPORT_MAX ? xportcount : -1;
        if (get_xport_information(fd.get(), &from, slot) == 1 && slot >= 0 &&
            IsAcceptedDeviceType(xportset[slot].devtype) && from.sin_addr.s_addr == asked.s_addr) {
            xportcount++;
            added = true;
        }
    }
    return added ? xportcount : -3;
}

namespace {

// Reads replies on fd for at most ms: 1 once the unit with this MAC answered
// (*out), 0 when it did not in time, -1 when the socket failed.
int await_mac(int fd, const uint8_t mac[6], int ms, DeviceEntry* out)
{
    const Deadline wait = Deadline::after_ms(ms);
    for (;;) {
        const int r = wait_readable(fd, wait.remaining_ms());
        if (r < 0) {
            PrnDebug("socket error\n");
            return -1;
        }
        if (r == 0) return 0;
        uint8_t reply[DISCOVERY_REPLY_MAX];
        sockaddr_in from{};
        int arrived_on = 0;
        const ssize_t n = receive_reply(fd, reply, &from, &arrived_on);
        if (n < 0) continue;
        DeviceEntry e;
        take_reply(reply, n, from, arrived_on, e);
        if (!IsAcceptedDeviceType(e.devtype) || std::memcmp(e.mac, mac, sizeof e.mac) != 0)
            continue;
        *out = e;
        return 1;
    }
}

}  // namespace

int XPortFindMac(const uint8_t mac[6], int ifindex, int wait_ms, DeviceEntry* out)
{
    if (mac == nullptr || out == nullptr) return -1;
    UniqueFd fd = open_udp(SEARCH_FIRST_MS);
    if (!fd.valid()) return -1;
    report_arrival_interface(fd.get());
    // The two queries as the search sends them, 50 ms apart, and again
    // until the unit answers one of them.
    const Deadline limit = Deadline::after_ms(wait_ms);
    int r = 0;
    while (r == 0 && limit.remaining_us() > 0) {
        send_broadcast(fd.get(), discovery_query1, sizeof discovery_query1, ifindex);
        r = await_mac(fd.get(), mac, std::min(DISCOVERY_GAP_MS, limit.remaining_ms()), out);
        if (r != 0) break;
        send_broadcast(fd.get(), discovery_query2, sizeof discovery_query2, ifindex);
        r = await_mac(fd.get(), mac, std::min(REFIND_RESEND_MS, limit.remaining_ms()), out);
    }
    return r;
}
