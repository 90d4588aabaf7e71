// Socket steps shared by the exchanges of the device code: waits bounded by
// deadlines, the UDP socket, the TCP connection with its time-outs, and the
// bounded receive loop. Each step logs its own failure text.
#pragma once

#include "device/unique_fd.h"

#include <cstddef>
#include <cstdint>

long long monotonic_us();

// A point in time by which a wait must end.
struct Deadline {
    long long end_us;
    static Deadline after_ms(int ms) { return Deadline{monotonic_us() + ms * 1000LL}; }
    long long remaining_us() const;
    int remaining_ms() const;   // rounded up, 0 once passed
};

// Waits for poll events on fd: 1 ready, 0 time-out, -1 failure (errno kept).
int wait_ready(int fd, short events, int timeout_ms);
// Waits until fd can be read: 1 readable, 0 time-out, -1 failure (errno kept).
int wait_readable(int fd, int timeout_ms);
// The system's error number, or EIO when the failing step set none.
int error_or_eio(int err);

// UDP socket with broadcast on and the given send time-out. On failure it
// logs "socket creation failed\n", "broadcast setting failed\n" or
// "timeout setting failed\n" and returns an empty UniqueFd.
UniqueFd open_udp(int send_timeout_ms);

// One datagram to 255.255.255.255:30718, out of host interface ifindex
// whatever the routes say, or by the default route for ifindex 0. 0, or -1
// with errno set when it could not be sent.
int send_broadcast(int fd, const void* data, size_t len, int ifindex);

// TCP connection to ip:port with the send and receive time-outs set. On
// failure it logs the failing step ("socket creation failed\n", the reason
// ConnectCore logs followed by connect_failed, "timeout setting failed\n"),
// stores the step's error number in *error and returns -1; else 0.
int open_tcp(const char* ip, int port, const char* connect_failed, UniqueFd& out, int* error);

// Sends all len bytes, looping over short sends; 0, or -1 with errno set.
// A unit that has closed its end never raises a signal.
int send_all(int fd, const void* data, int len);

struct RecvResult {
    int got;        // bytes received
    bool failed;    // a receive call failed (time-out included); error holds why
    bool used_up;   // all calls were made without the reply completing
    int error;
};
// Receives up to len bytes into buf with at most max_calls receive calls,
// each asking for the missing bytes (one byte when one_at_a_time). A call
// fails after TCP_IO_MS of silence, and every wait ends at the deadline,
// so a unit that trickles bytes cannot stretch the reply beyond it.
RecvResult recv_bytes(int fd, uint8_t* buf, int len, bool one_at_a_time, int max_calls,
                      const Deadline& deadline);
