// Support for the device tests that talk to simulated units: a private
// working directory with the debug log on, plant texts, and clocks.
#pragma once

#include "rig/lab.h"
#include "base/DebugLog.h"
#include "device/KIVRAXPort.h"

#include <chrono>
#include <gtest/gtest.h>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <unistd.h>
#include <vector>

namespace devtest {

// Makes a fresh temporary directory the working directory and starts the
// debug log there; the directory stays behind only when the test failed.
struct LogDir {
    std::string path;
    LogDir()
    {
        char tmpl[] = "/tmp/kivra-device-XXXXXX";
        const char* made = ::mkdtemp(tmpl);
        if (made == nullptr) made = "/tmp";
        path = ::chdir(made) == 0 ? made : ".";
        InitDebug();
    }
    ~LogDir()
    {
        if (::testing::Test::HasFailure() || path.rfind("/tmp/kivra-device-", 0) != 0) return;
        ::unlink((path + "/debug.log").c_str());
        if (::chdir("/tmp") == 0) ::rmdir(path.c_str());
    }
    // Everything logged after the header.
    std::string log() const
    {
        std::ifstream in(path + "/debug.log", std::ios::binary);
        std::stringstream s;
        s << in.rdbuf();
        std::string text = s.str();
        const std::string header = "KIVRASet Debug Log File\n";
        return text.compare(0, header.size(), header) == 0 ? text.substr(header.size()) : text;
    }
};

// The lab of a plant entered from the host's side, the device table empty.
struct HostLab {
    rig::Lab lab;
    explicit HostLab(const std::string& plant) : lab(plant)
    {
        EXPECT_TRUE(lab.ok()) << lab.sim_log();
        lab.enter_host();
        InitXPortSet();
    }
};

// Lists the unit at address as the search leaves it (on the host's network,
// its model and module kind known); its index in the device table.
inline int listed_unit(const char* address, int model, int modtype = MODTYPE_XPORT)
{
    const int n = XPortAdd(address);
    EXPECT_GE(n, 1) << address;
    if (n < 1) return 0;
    DeviceEntry& e = xportset[n - 1];
    e.samenet = 1;
    e.model = model;
    e.modtype = modtype;
    return n - 1;
}

// Forgets what was read from the unit, so the next read asks it again (as
// after a new search).
inline void forget(int unit)
{
    xportset[unit].records_read = 0;
    xportset[unit].network_read = 0;
}

// A plant of the given unit objects (JSON texts).
inline std::string plant(const std::vector<std::string>& units)
{
    std::string text = "{\"units\":[";
    for (size_t i = 0; i < units.size(); i++) text += (i ? "," : "") + units[i];
    return text + "]}";
}

using Clock = std::chrono::steady_clock;
inline double seconds_since(Clock::time_point start)
{
    return std::chrono::duration<double>(Clock::now() - start).count();
}

// Requests a unit received over one protocol, in order.
inline std::vector<std::vector<uint8_t>> requests(const rig::Lab& lab, const std::string& unit,
                                                  const std::string& proto)
{
    std::vector<std::vector<uint8_t>> out;
    for (const rig::JournalEntry& e : lab.received(unit))
        if (e.proto == proto) out.push_back(e.bytes);
    return out;
}

inline std::vector<uint8_t> bytes(std::initializer_list<int> list)
{
    std::vector<uint8_t> out;
    for (int b : list) out.push_back(static_cast<uint8_t>(b));
    return out;
}

inline std::vector<uint8_t> text_bytes(const std::string& text, bool zero = false)
{
    std::vector<uint8_t> out(text.begin(), text.end());
    if (zero) out.push_back(0);
    return out;
}

// A lettered controller command as hex: its text, parameter bytes, trailing text, 0xC8.
inline std::string cmd(const std::string& head, std::initializer_list<int> params = {},
                       const std::string& tail = "")
{
    std::vector<uint8_t> b(head.begin(), head.end());
    for (int p : params) b.push_back(static_cast<uint8_t>(p));
    b.insert(b.end(), tail.begin(), tail.end());
    b.push_back(0xC8);
    return rig::hex(b);
}

}  // namespace devtest
