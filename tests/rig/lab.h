// The lab: a private network with simulated units, for tests that talk to units.
//
// A Lab makes two fresh network namespaces joined by a veth pair: "host", where
// the tool (or an in-process test after enter_host()) runs with 192.0.2.1/24, and
// "plant", where the simulator kivrasim answers as every unit of a plant file
// (format: lab/PLANT.md). A plant with units on network 2 gets a second veth
// pair, veth-host2 with 203.0.113.1/24 on the host's side (the default route
// stays on the first). Nothing is configured in the caller's own namespace, and
// both namespaces are removed when the Lab ends. Names are unique per process and
// lab, so tests can run in parallel.
//
// The simulator writes a journal of everything the units received and sent, and
// the state of every unit; both are read here.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace rig {

// One line of the simulator's journal.
struct JournalEntry {
    long long t_us = 0;  // monotonic time of the event, microseconds
    std::string unit;    // unit name from the plant ("" for lab-wide events)
    std::string proto;   // "udp" | "tcp" ("" for lab-wide events)
    std::string dir;     // "in" (the unit received) | "out" (the unit sent) | "" (event only)
    std::string local;   // "a.b.c.d:port" on the unit's side
    std::string peer;    // "a.b.c.d:port" of the other side
    int conn = 0;        // TCP connection id (unique in the run), 0 for UDP
    std::vector<uint8_t> bytes;  // datagram, framed request or reply
    std::string event;           // "" for plain traffic, else e.g. "connect", "close", "restart"
};

struct Lab {
    // Starts a private network (host + plant namespaces, unique names) and the
    // simulator in plant with this plant (JSON text). ok() tells whether it came up.
    explicit Lab(const std::string& plant_json);
    ~Lab();  // stops the simulator, removes both namespaces
    Lab(const Lab&) = delete;
    Lab& operator=(const Lab&) = delete;

    bool ok() const;

    // argv prefixed so that it runs inside host (e.g. for rig::Term).
    std::vector<std::string> in_host(std::vector<std::string> argv) const;
    // Moves THIS process (the calling thread; threads started afterwards inherit it)
    // into host; aborts if it cannot. Call before any test thread starts sockets.
    void enter_host();

    std::vector<JournalEntry> journal() const;  // everything so far, in order
    std::vector<JournalEntry> received(
        const std::string& unit) const;  // what a unit received (traffic only)
    std::vector<JournalEntry> sent(
        const std::string& unit) const;  // what a unit sent (traffic only)
    // Current state of one unit as JSON text ("" when the unit is unknown).
    std::string state(const std::string& unit) const;

    // Polls the journal until pred(journal) holds; false after timeout_ms.
    bool wait_journal(const std::function<bool(const std::vector<JournalEntry>&)>& pred,
                      int timeout_ms = 10000) const;
    // Polls until unit has received at least count requests starting with prefix.
    bool wait_received(const std::string& unit, const std::vector<uint8_t>& prefix, int count = 1,
                       int timeout_ms = 10000) const;

    // Polls until unit has journalled event (e.g. "restart", "close") count times.
    bool wait_event(const std::string& unit, const std::string& event, int count = 1,
                    int timeout_ms = 10000) const;

    // Runs argv inside host and waits for it; returns its exit status (-1 if it could not run).
    int run_in_host(std::vector<std::string> argv) const;

    // The simulator's own diagnostics (its stderr), for failure messages.
    std::string sim_log() const;

    std::string host_ns, plant_ns, journal_path, dir;
    int networks = 1;        // plant networks, each on a host interface of its own
    std::string state_path;  // all units' state, rewritten after every change
    std::string plant_path;  // the plant as given
    int sim_pid = -1;        // the simulator's process id while it runs
    bool up = false;

  private:
    std::string tag_;     // "<pid>-<n>": names kvh-<tag> and kvp-<tag>
    int slot_ = -1;       // entry in the clean-up registry for signals
    int home_ns_ = -1;    // the namespace enter_host() left, restored at the end
    struct JournalCache;  // journal lines parsed so far
    std::unique_ptr<JournalCache> cache_;
};

std::string kivrasetl_path();  // the built KIVRASetL
std::string kivraset_path();   // the built command line
std::string kivrasim_path();   // the built simulator
std::string lab_source_dir();  // the lab/ folder of the source tree (plants, PLANT.md, labnet)

// Helpers for journal checks.
std::string hex(const std::vector<uint8_t>& bytes);     // "0a1bff", lower case
std::vector<uint8_t> as_bytes(std::string_view text);   // the text's bytes as they are
std::vector<uint8_t> unhex(std::string_view hex_text);  // "0a 1b ff" / "0a1bff" to bytes
bool starts_with(const std::vector<uint8_t>& bytes, const std::vector<uint8_t>& prefix);

}  // namespace rig
