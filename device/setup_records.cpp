// The XPort's numbered setup records: one UDP request and its reply on port 30718.
#include "device/KIVRAXPort.h"
#include "device/net_io.h"
#include "base/DebugLog.h"

#include <arpa/inet.h>
#include <cerrno>

int UDP_SendRecv(in_addr_t ip, const uint8_t* request, int reqlen, uint8_t* reply, int replen)
{
    if (request == nullptr || reqlen < 0) return -1;
    UniqueFd fd = open_udp(UDP_REPLY_MS);
    if (!fd.valid()) return -1;
    sockaddr_in to{};
    to.sin_family = AF_INET;
    to.sin_port = htons(XPORT_UDP_PORT);
    to.sin_addr.s_addr = ip;
    if (::sendto(fd.get(), request, reqlen, 0, reinterpret_cast<const sockaddr*>(&to), sizeof to) < 0) {
        PrnDebug("socket send error\n");
        return -1;
    }
    if (reply == nullptr || replen <= 0) return 0;

    // 1 s for the first datagram; a reply that comes in several datagrams
    // must be complete 1 s after its first one arrived.
    Deadline wait = Deadline::after_ms(UDP_REPLY_MS);
    bool first = true;
    int got = 0;
    while (got < replen) {
        int r = wait_readable(fd.get(), wait.remaining_ms());
        if (r < 0) {
            PrnDebug("socket select failed\n");
            return -1;
        }
        if (r == 0) {
            PrnDebug("udpsendrecv timed out\n");
            return -1;
        }
        // Each datagram goes into the space still free; a longer one is cut there.
        ssize_t n = ::recvfrom(fd.get(), reply + got, replen - got, 0, nullptr, nullptr);
        if (n < 0) {
            if (errno == EINTR) continue;
            PrnDebug("socket receive error\n");
            return -1;
        }
        got += static_cast<int>(n);
        if (first) {
            first = false;
            wait = Deadline::after_ms(UDP_LATER_MS);
        }
    }
    return 0;
}

int UDP_BroadcastOn(int ifindex, const uint8_t* request, int reqlen)
{
    if (request == nullptr || reqlen < 0) return -1;
    UniqueFd fd = open_udp(UDP_REPLY_MS);
    if (!fd.valid()) return -1;
    if (send_broadcast(fd.get(), request, static_cast<size_t>(reqlen), ifindex) < 0) {
        PrnDebug("socket send error\n");
        return -1;
    }
    return 0;
}

int GetSetupRecord(in_addr_t ip, int record, uint8_t* buffer, int length)
{
    uint8_t request[4];
    if (buffer == nullptr || length <= 0 || BuildRecordRead(record, request) < 0) return 0;
    return UDP_SendRecv(ip, request, sizeof request, buffer, length) == 0 ? 1 : 0;
}
