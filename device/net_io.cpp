#include "device/net_io.h"

#include "device/KIVRAXPort.h"
#include "base/DebugLog.h"

#include <arpa/inet.h>
#include <cerrno>
#include <cstring>
#include <ctime>
#include <poll.h>
#include <sys/socket.h>

long long monotonic_us()
{
    timespec ts{};
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return ts.tv_sec * 1000000LL + ts.tv_nsec / 1000;
}

long long Deadline::remaining_us() const
{
    long long left = end_us - monotonic_us();
    return left > 0 ? left : 0;
}

int Deadline::remaining_ms() const
{
    return static_cast<int>((remaining_us() + 999) / 1000);
}

int wait_ready(int fd, short events, int timeout_ms)
{
    Deadline until = Deadline::after_ms(timeout_ms);
    for (;;) {
        pollfd p{fd, events, 0};
        int r = ::poll(&p, 1, until.remaining_ms());
        if (r > 0) return 1;
        if (r == 0) return 0;
        if (errno != EINTR) return -1;
    }
}

int wait_readable(int fd, int timeout_ms)
{
    return wait_ready(fd, POLLIN, timeout_ms);
}

int error_or_eio(int err)
{
    return err > 0 ? err : EIO;
}

namespace {

int set_timeout(int fd, int option, int ms)
{
    timeval tv{};
    tv.tv_sec = ms / 1000;
    tv.tv_usec = (ms % 1000) * 1000;
    return ::setsockopt(fd, SOL_SOCKET, option, &tv, sizeof tv);
}

}  // namespace

UniqueFd open_udp(int send_timeout_ms)
{
    UniqueFd fd(::socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0));
    if (!fd.valid()) {
        PrnDebug("socket creation failed\n");
        return UniqueFd();
    }
    int on = 1;
    if (::setsockopt(fd.get(), SOL_SOCKET, SO_BROADCAST, &on, sizeof on) < 0) {
        PrnDebug("broadcast setting failed\n");
        return UniqueFd();
    }
    if (set_timeout(fd.get(), SO_SNDTIMEO, send_timeout_ms) < 0) {
        PrnDebug("timeout setting failed\n");
        return UniqueFd();
    }
    return fd;
}

int send_broadcast(int fd, const void* data, size_t len, int ifindex)
{
    sockaddr_in to{};
    to.sin_family = AF_INET;
    to.sin_port = htons(XPORT_UDP_PORT);
    to.sin_addr.s_addr = htonl(INADDR_BROADCAST);
    iovec iov{const_cast<void*>(data), len};
    msghdr msg{};
    msg.msg_name = &to;
    msg.msg_namelen = sizeof to;
    msg.msg_iov = &iov;
    msg.msg_iovlen = 1;
    alignas(cmsghdr) unsigned char control[CMSG_SPACE(sizeof(in_pktinfo))] = {};
    if (ifindex > 0) {
        msg.msg_control = control;
        msg.msg_controllen = sizeof control;
        cmsghdr* c = CMSG_FIRSTHDR(&msg);
        c->cmsg_level = IPPROTO_IP;
        c->cmsg_type = IP_PKTINFO;
        c->cmsg_len = CMSG_LEN(sizeof(in_pktinfo));
        in_pktinfo info{};
        info.ipi_ifindex = ifindex;
        std::memcpy(CMSG_DATA(c), &info, sizeof info);
    }
    return ::sendmsg(fd, &msg, 0) < 0 ? -1 : 0;
}

int open_tcp(const char* ip, int port, const char* connect_failed, UniqueFd& out, int* error)
{
    int ignored = 0;
    if (error == nullptr) error = &ignored;
    UniqueFd fd(::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0));
    if (!fd.valid()) {
        *error = error_or_eio(errno);
        PrnDebug("socket creation failed\n");
        return -1;
    }
    sockaddr_in addr{};
    addr.sin_family = AF_INET;
    addr.sin_port = htons(static_cast<uint16_t>(port));
    addr.sin_addr.s_addr = inet_addr(ip != nullptr ? ip : "");
    if (ConnectCore(fd.ref(), &addr, TCP_CONNECT_MS) != 1) {
        *error = error_or_eio(errno);
        PrnDebug(connect_failed);
        return -1;
    }
    if (set_timeout(fd.get(), SO_SNDTIMEO, TCP_IO_MS) < 0 ||
        set_timeout(fd.get(), SO_RCVTIMEO, TCP_IO_MS) < 0) {
        *error = error_or_eio(errno);
        PrnDebug("timeout setting failed\n");
        return -1;
    }
    out = static_cast<UniqueFd&&>(fd);
    return 0;
}

int send_all(int fd, const void* data, int len)
{
    const uint8_t* p = static_cast<const uint8_t*>(data);
    int sent = 0;
    while (sent < len) {
        ssize_t n = ::send(fd, p + sent, len - sent, MSG_NOSIGNAL);
        if (n < 0) {
            if (errno == EINTR) continue;
            return -1;
        }
        if (n == 0) {
            errno = EIO;
            return -1;
        }
        sent += static_cast<int>(n);
    }
    return 0;
}

RecvResult recv_bytes(int fd, uint8_t* buf, int len, bool one_at_a_time, int max_calls,
                      const Deadline& deadline)
{
    RecvResult res{0, false, false, 0};
    int calls = 0;
    while (res.got < len && calls < max_calls) {
        long long left_ms = deadline.remaining_ms();
        int wait_ms = left_ms < TCP_IO_MS ? static_cast<int>(left_ms) : TCP_IO_MS;
        int w = wait_readable(fd, wait_ms);
        if (w <= 0) {
            // Silence counts as a receive time-out, as the socket's own would.
            res.failed = true;
            res.error = w == 0 ? EAGAIN : error_or_eio(errno);
            return res;
        }
        int want = one_at_a_time ? 1 : len - res.got;
        ssize_t n = ::recv(fd, buf + res.got, want, 0);
        calls++;
        if (n < 0) {
            if (errno == EINTR) continue;
            res.failed = true;
            res.error = error_or_eio(errno);
            return res;
        }
        // 0 means the unit closed its end: the call is used, nothing arrives.
        res.got += static_cast<int>(n);
    }
    res.used_up = res.got < len;
    return res;
}
