// Figures of the lab itself: how long a plant of 256 units takes to come up, how
// fast all of them answer one discovery broadcast, and how many controller
// exchanges (connect, "UU", answer, close) the simulator serves per second.
#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <set>
#include <string>

#include "rig/lab.h"

namespace {

using Clock = std::chrono::steady_clock;

double ms_since(Clock::time_point t)
{
    return std::chrono::duration<double, std::milli>(Clock::now() - t).count();
}

std::string unit_ip(int i)
{
    return i < 245 ? "192.0.2." + std::to_string(10 + i) : "198.51.100." + std::to_string(i - 235);
}

std::string plant(int n)
{
    std::string units;
    for (int i = 0; i < n; ++i)
        units += std::string(i ? "," : "") + R"({"name": "u)" + std::to_string(i) +
                 R"(", "ip": ")" + unit_ip(i) + R"("})";
    return R"({"units": [)" + units + "]}";
}

// Broadcast F6 and wait until every unit answered; returns ms, or -1.
double discovery(int n)
{
    int s = socket(AF_INET, SOCK_DGRAM, 0);
    int one = 1, room = 4 << 20;
    setsockopt(s, SOL_SOCKET, SO_BROADCAST, &one, sizeof one);
    setsockopt(s, SOL_SOCKET, SO_RCVBUFFORCE, &room, sizeof room);
    sockaddr_in to{};
    to.sin_family = AF_INET;
    to.sin_port = htons(30718);
    to.sin_addr.s_addr = INADDR_BROADCAST;
    uint8_t q[4] = {0, 0, 0, 0xF6};
    auto t = Clock::now();
    sendto(s, q, 4, 0, reinterpret_cast<sockaddr*>(&to), sizeof to);
    std::set<uint32_t> from;
    while (static_cast<int>(from.size()) < n) {
        pollfd p{s, POLLIN, 0};
        if (poll(&p, 1, 3000) <= 0) break;
        uint8_t buf[64];
        sockaddr_in a{};
        socklen_t len = sizeof a;
        if (recvfrom(s, buf, sizeof buf, 0, reinterpret_cast<sockaddr*>(&a), &len) > 0)
            from.insert(a.sin_addr.s_addr);
    }
    double ms = ms_since(t);
    close(s);
    return static_cast<int>(from.size()) == n ? ms : -1;
}

bool model_exchange(const std::string& ip)
{
    int s = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_port = htons(10001);
    inet_pton(AF_INET, ip.c_str(), &a.sin_addr);
    bool ok =
        connect(s, reinterpret_cast<sockaddr*>(&a), sizeof a) == 0 && send(s, "UU", 2, 0) == 2;
    uint8_t b[2];
    ok = ok && recv(s, b, 2, MSG_WAITALL) == 2;
    close(s);
    return ok;
}

}  // namespace

int main()
{
    const int n = 256;
    auto t = Clock::now();
    rig::Lab lab(plant(n));
    if (!lab.ok()) {
        fprintf(stderr, "lab did not come up: %s\n", lab.sim_log().c_str());
        return 1;
    }
    printf("lab with %d units up in %.0f ms\n", n, ms_since(t));
    lab.enter_host();
    for (int round = 0; round < 3; ++round)
        printf("all %d units answered one broadcast in %.1f ms\n", n, discovery(n));
    const int exchanges = 1000;
    int ok = 0;
    t = Clock::now();
    for (int i = 0; i < exchanges; ++i) ok += model_exchange(unit_ip(i % n));
    double ms = ms_since(t);
    printf("%d of %d model exchanges, %.0f per second (%.2f ms each)\n", ok, exchanges,
           exchanges * 1000.0 / ms, ms / exchanges);
    return 0;
}
