// A misbehaving unit on the loopback of the lab's host namespace, for
// replies the simulator does not make: bytes trickled one by one, and a
// setup record split over several datagrams.
#pragma once

#include "device/unique_fd.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>
#include <cstdint>
#include <thread>
#include <utility>
#include <vector>

namespace devtest {

// Sends each part after reading one request; parts are sent pause_ms apart.
// A TCP part with a negative pause closes the connection instead.
struct Part {
    std::vector<uint8_t> bytes;
    int pause_ms;
};

// TCP: listens on 127.0.0.1 (the given port, or an ephemeral one), and for
// each script in turn accepts one connection, reads a request and sends the
// script's parts.
struct FakeTcpUnit {
    UniqueFd listener;
    int port = 0;
    std::thread worker;

    explicit FakeTcpUnit(std::vector<Part> parts) : FakeTcpUnit(0, {std::move(parts)}) {}
    FakeTcpUnit(int at_port, std::vector<std::vector<Part>> scripts)
    {
        listener.reset(::socket(AF_INET, SOCK_STREAM, 0));
        int on = 1;
        ::setsockopt(listener.get(), SOL_SOCKET, SO_REUSEADDR, &on, sizeof on);
        sockaddr_in at{};
        at.sin_family = AF_INET;
        at.sin_port = htons(static_cast<uint16_t>(at_port));
        at.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t len = sizeof at;
        if (::bind(listener.get(), reinterpret_cast<sockaddr*>(&at), sizeof at) != 0 ||
            ::listen(listener.get(), 4) != 0 ||
            ::getsockname(listener.get(), reinterpret_cast<sockaddr*>(&at), &len) != 0)
            return;
        port = ntohs(at.sin_port);
        int fd = listener.get();
        worker = std::thread([fd, scripts] {
            for (const std::vector<Part>& parts : scripts) serve(fd, parts);
        });
    }
    ~FakeTcpUnit()
    {
        if (worker.joinable()) worker.join();
    }

    static void serve(int listening, const std::vector<Part>& parts)
    {
        UniqueFd conn(::accept(listening, nullptr, nullptr));
        if (!conn.valid()) return;
        uint8_t request[64];
        if (::recv(conn.get(), request, sizeof request, 0) <= 0) return;
        for (const Part& p : parts) {
            if (p.pause_ms < 0) return;
            std::this_thread::sleep_for(std::chrono::milliseconds(p.pause_ms));
            if (::send(conn.get(), p.bytes.data(), p.bytes.size(), MSG_NOSIGNAL) < 0) return;
        }
        // Hold the connection until the tool closes it.
        uint8_t rest[64];
        while (::recv(conn.get(), rest, sizeof rest, 0) > 0) {}
    }
};

// UDP: answers one datagram on 127.0.0.1:30718 with the parts.
struct FakeUdpUnit {
    UniqueFd sock;
    bool bound = false;
    std::thread worker;

    explicit FakeUdpUnit(std::vector<Part> parts)
    {
        sock.reset(::socket(AF_INET, SOCK_DGRAM, 0));
        sockaddr_in at{};
        at.sin_family = AF_INET;
        at.sin_port = htons(30718);
        at.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        bound = ::bind(sock.get(), reinterpret_cast<sockaddr*>(&at), sizeof at) == 0;
        if (!bound) return;
        int fd = sock.get();
        worker = std::thread([fd, parts] {
            uint8_t request[64];
            sockaddr_in from{};
            socklen_t len = sizeof from;
            if (::recvfrom(fd, request, sizeof request, 0, reinterpret_cast<sockaddr*>(&from), &len) < 0)
                return;
            for (const Part& p : parts) {
                std::this_thread::sleep_for(std::chrono::milliseconds(p.pause_ms));
                ::sendto(fd, p.bytes.data(), p.bytes.size(), 0, reinterpret_cast<sockaddr*>(&from), len);
            }
        });
    }
    ~FakeUdpUnit()
    {
        if (worker.joinable()) worker.join();
    }
};

}  // namespace devtest
