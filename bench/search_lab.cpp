// A whole search against a full plant of 256 simulated units that each answer
// both queries (512 replies at once): how long the search took, how long it
// went on after the last reply, how many entries it kept, and how many
// answers the kernel dropped for want of receive buffer.
#include "device/KIVRAXPort.h"
#include "rig/lab.h"

#include <chrono>
#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>

namespace {

// UDP receive-buffer drops of the current network namespace so far.
long long rcvbuf_errors()
{
    std::ifstream in("/proc/net/snmp");
    std::string line, names;
    while (std::getline(in, line)) {
        if (line.rfind("Udp: ", 0) != 0) continue;
        if (names.empty()) {
            names = line;
            continue;
        }
        std::istringstream n(names), v(line);
        std::string name, value;
        while (n >> name && v >> value)
            if (name == "RcvbufErrors") return std::stoll(value);
    }
    return -1;
}

}  // namespace

int main()
{
    constexpr int kUnits = 256;
    std::string plant = "{\"units\":[";
    for (int u = 0; u < kUnits; u++) {
        std::string ip = u < 240 ? "192.0.2." : "198.51.100.";
        ip += std::to_string(u < 240 ? 10 + u : u - 230);
        plant += u > 0 ? ",{\"name\":\"u" : "{\"name\":\"u";
        plant += std::to_string(u) + "\",\"ip\":\"" + ip + "\",\"query\":\"both\"}";
    }
    plant += "]}";
    rig::Lab lab(plant);
    if (!lab.ok()) {
        std::printf("the lab did not come up\n%s\n", lab.sim_log().c_str());
        return 1;
    }
    lab.enter_host();
    const long long drops_before = rcvbuf_errors();
    auto start = std::chrono::steady_clock::now();
    int found = XPortSearch();
    auto end = std::chrono::steady_clock::now();
    long long end_us = std::chrono::duration_cast<std::chrono::microseconds>(end.time_since_epoch()).count();
    long long first_us = 0, last_us = 0;
    int replies = 0;
    for (const rig::JournalEntry& e : lab.journal()) {
        if (e.proto != "udp" || e.dir != "out") continue;
        if (first_us == 0) first_us = e.t_us;
        last_us = e.t_us;
        replies++;
    }
    std::printf("search over %d units: %d replies sent in %.3f s, %d entries kept, search %.3f s, "
                "ended %.3f s after the last reply (the wait renewed by 1 s plus the remainder)\n",
                kUnits, replies, (last_us - first_us) / 1e6, found,
                std::chrono::duration<double>(end - start).count(), (end_us - last_us) / 1e6);
    std::printf("receive buffer asked: %d bytes; answers dropped by the kernel: %lld\n", SEARCH_RCVBUF,
                rcvbuf_errors() - drops_before);
    return found == kUnits ? 0 : 1;
}
