// A small unit client for the lab's own tests, written apart from the tool's
// device code so that a misunderstanding shared by both cannot hide.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace labtest {

using Bytes = std::vector<uint8_t>;

struct Datagram {
    std::string from;  // source address, dotted
    Bytes bytes;
};

// Sends one datagram to ip:30718 (broadcast allowed) and collects the answers:
// until `want` of them arrived (and a short grace for any extra), or wait_ms passed.
std::vector<Datagram> udp_ask(const std::string& ip, const Bytes& request, size_t want = 1,
                              int wait_ms = 3000);
// Nothing answers the datagram within 700 ms.
bool silent(const std::string& ip, const Bytes& request);

// One TCP exchange: connect, send, read until want bytes arrived, the unit closed,
// or wait_ms passed without data.
struct TcpResult {
    bool connected = false;
    bool refused = false;
    bool closed_by_unit = false;
    Bytes reply;
};
TcpResult tcp_ask(const std::string& ip, int port, const Bytes& request, size_t want,
                  int wait_ms = 3000);

Bytes cat(std::initializer_list<Bytes> parts);
Bytes text(const std::string& s);  // the bytes of s (may hold zero bytes)
bool ping(const std::string& ip);  // one echo request from the current namespace

}  // namespace labtest
