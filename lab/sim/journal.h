// The journal: one JSON line per datagram, TCP request or answer, and event.
#pragma once

#include <cstdint>
#include <ctime>
#include <string>
#include <vector>

namespace sim {

long long now_us();  // CLOCK_MONOTONIC in microseconds
// A CLOCK_REALTIME time stamp (a kernel's receive time) on the monotonic clock.
long long monotonic_from_realtime(const struct timespec& ts);

struct Entry {
    long long t_us = 0;  // when it happened (monotonic); 0: when it is written
    std::string unit;
    std::string proto;  // "udp" | "tcp" | ""
    std::string dir;    // "in" | "out" | ""
    std::string local, peer;
    int conn = 0;
    std::vector<uint8_t> bytes;
    std::string event;
};

class Journal {
  public:
    explicit Journal(const std::string& path);
    ~Journal();
    Journal(const Journal&) = delete;
    Journal& operator=(const Journal&) = delete;
    bool ok() const { return fd_ >= 0; }
    void write(const Entry& e);  // one line, in one write, stamped now

  private:
    int fd_ = -1;
};

// Replaces the file at path with text in one step (readers never see half of it).
bool write_file_atomically(const std::string& path, const std::string& text);

}  // namespace sim
