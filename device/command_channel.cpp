// The controller's command channel: one short TCP connection per exchange
// at the unit's command port.
#include "device/KIVRAXPort.h"
#include "base/bounded_text.h"
#include "device/net_io.h"
#include "base/DebugLog.h"

#include <cerrno>
#include <fcntl.h>
#include <poll.h>
#include <sys/socket.h>

namespace {

constexpr int kRecvCalls = 100;   // receive calls allowed for one reply

int set_nonblock(int fd, bool on)
{
    int flags = ::fcntl(fd, F_GETFL, 0);
    if (flags < 0) return -1;
    flags = on ? (flags | O_NONBLOCK) : (flags & ~O_NONBLOCK);
    return ::fcntl(fd, F_SETFL, flags);
}

}  // namespace

// On failure errno holds the reason (ETIMEDOUT when the time-out passed).
int ConnectCore(int& sock, const sockaddr_in* address, int timeout_ms)
{
    if (set_nonblock(sock, true) < 0) {
        int err = errno;
        PrnDebug("socket set nonblock failed\n");
        errno = err;
        return -1;
    }
    if (::connect(sock, reinterpret_cast<const sockaddr*>(address), sizeof *address) < 0) {
        if (errno != EINPROGRESS) {
            int err = errno;
            PrnDebug("socket connect failed\n");
            errno = err;
            return -1;
        }
        int w = wait_ready(sock, POLLOUT, timeout_ms);
        if (w < 0) {
            int err = errno;
            PrnDebug("socket select failed\n");
            errno = err;
            return -1;
        }
        if (w == 0) {
            PrnDebug("socket select timeout\n");
            errno = ETIMEDOUT;
            return -1;
        }
        int so_error = 0;
        socklen_t len = sizeof so_error;
        if (::getsockopt(sock, SOL_SOCKET, SO_ERROR, &so_error, &len) < 0 || so_error != 0) {
            int err = so_error != 0 ? so_error : errno;
            PrnDebug("connection failed\n");
            errno = error_or_eio(err);
            return -1;
        }
    }
    if (set_nonblock(sock, false) < 0) {
        int err = errno;
        PrnDebug("socket unset nonblock failed\n");
        errno = err;
        return -1;
    }
    return 1;
}

int SendRecv(const char* ip, int port, int reqlen, const uint8_t* request, int replen, uint8_t* reply)
{
    if (ip == nullptr || ip[0] == '\0') return 3;
    if (request == nullptr || reqlen < 0 || replen < 0 || (reply == nullptr && replen > 0)) return -1;
    UniqueFd fd;
    if (open_tcp(ip, port, "connect timeout failed\n", fd, nullptr) < 0) return -1;
    if (send_all(fd.get(), request, reqlen) < 0) {
        PrnDebug("socket send error\n");
        return -1;
    }
    RecvResult r = recv_bytes(fd.get(), reply, replen, false, kRecvCalls,
                              Deadline::after_ms(TCP_REPLY_DEADLINE_MS));
    // A reply cut short (the unit closed early, or the calls ran out) is a
    // failure: its missing bytes were never received.
    if (r.failed || r.got < replen) {
        PrnDebug("socket recv error\n");
        return -1;
    }
    return 0;
}

int SendRecvRaw(int index, int reqlen, const uint8_t* request, int replen, uint8_t* reply)
{
    if (index < 0 || index >= XPORT_MAX) return -1;
    char ip[sizeof xportset[0].ipstr + 1];
    copy_text_n(ip, sizeof ip, xportset[index].ipstr, sizeof xportset[index].ipstr);
    if (ip[0] == '\0') return -1;
    return SendRecv(ip, GetCmdPort(index), reqlen, request, replen, reply) == 0 ? 0 : -1;
}
