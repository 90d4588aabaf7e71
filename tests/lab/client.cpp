#include "client.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdlib>

namespace labtest {

namespace {

struct Fd {
    int fd;
    explicit Fd(int f) : fd(f) {}
    ~Fd()
    {
        if (fd >= 0) close(fd);
    }
};

sockaddr_in address(const std::string& ip, int port)
{
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_port = htons(static_cast<uint16_t>(port));
    inet_pton(AF_INET, ip.c_str(), &a.sin_addr);
    return a;
}

long long ms_now()
{
    return std::chrono::duration_cast<std::chrono::milliseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

}  // namespace

std::vector<Datagram> udp_ask(const std::string& ip, const Bytes& request, size_t want, int wait_ms)
{
    std::vector<Datagram> out;
    Fd s(socket(AF_INET, SOCK_DGRAM, 0));
    if (s.fd < 0) return out;
    int one = 1;
    setsockopt(s.fd, SOL_SOCKET, SO_BROADCAST, &one, sizeof one);
    int room = 4 << 20;  // a whole plant may answer at once
    setsockopt(s.fd, SOL_SOCKET, SO_RCVBUFFORCE, &room, sizeof room);
    sockaddr_in to = address(ip, 30718);
    sendto(s.fd, request.data(), request.size(), 0, reinterpret_cast<sockaddr*>(&to), sizeof to);
    long long end = ms_now() + wait_ms;
    bool grace = false;
    for (;;) {
        if (!grace && out.size() >= want) {
            grace = true;
            end = std::min(end, ms_now() + 200);
        }
        long long left = end - ms_now();
        if (left <= 0) break;
        pollfd p{s.fd, POLLIN, 0};
        if (poll(&p, 1, static_cast<int>(left)) <= 0) break;
        uint8_t buf[65536];  // room for the largest datagram
        sockaddr_in from{};
        socklen_t len = sizeof from;
        ssize_t n = recvfrom(s.fd, buf, sizeof buf, 0, reinterpret_cast<sockaddr*>(&from), &len);
        if (n < 0) break;
        char txt[INET_ADDRSTRLEN];
        inet_ntop(AF_INET, &from.sin_addr, txt, sizeof txt);
        out.push_back({txt, Bytes(buf, buf + n)});
    }
    return out;
}

bool silent(const std::string& ip, const Bytes& request)
{
    return udp_ask(ip, request, 1, 700).empty();
}

TcpResult tcp_ask(const std::string& ip, int port, const Bytes& request, size_t want, int wait_ms)
{
    TcpResult r;
    Fd s(socket(AF_INET, SOCK_STREAM, 0));
    if (s.fd < 0) return r;
    sockaddr_in to = address(ip, port);
    if (connect(s.fd, reinterpret_cast<sockaddr*>(&to), sizeof to) != 0) {
        r.refused = errno == ECONNREFUSED;
        return r;
    }
    r.connected = true;
    if (!request.empty() && send(s.fd, request.data(), request.size(), MSG_NOSIGNAL) < 0) return r;
    while (r.reply.size() < want) {
        pollfd p{s.fd, POLLIN, 0};
        if (poll(&p, 1, wait_ms) <= 0) break;
        uint8_t buf[4096];
        ssize_t n = recv(s.fd, buf, sizeof buf, 0);
        if (n <= 0) {
            r.closed_by_unit = true;
            break;
        }
        r.reply.insert(r.reply.end(), buf, buf + n);
    }
    return r;
}

Bytes cat(std::initializer_list<Bytes> parts)
{
    Bytes out;
    for (const Bytes& p : parts) out.insert(out.end(), p.begin(), p.end());
    return out;
}

Bytes text(const std::string& s) { return Bytes(s.begin(), s.end()); }

bool ping(const std::string& ip)
{
    std::string cmd = "ping -q -c 1 -w 2 " + ip + " >/dev/null 2>&1";
    return system(cmd.c_str()) == 0;
}

}  // namespace labtest
