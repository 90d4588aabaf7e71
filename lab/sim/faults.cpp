// Which fault knobs act on one request: the unit's plain knobs, and those of the
// targeted entries whose prefix the request starts with.
#include <algorithm>

#include "lab/sim/unit.h"

namespace sim {

namespace {

bool starts_with(const std::vector<uint8_t>& bytes, const std::vector<uint8_t>& prefix)
{
    return bytes.size() >= prefix.size() && std::equal(prefix.begin(), prefix.end(), bytes.begin());
}

// Adds the knobs an entry sets to f (a flag turns on, a number replaces).
void overlay(Faults& f, const Faults& k)
{
    f.tcp_silent = f.tcp_silent || k.tcp_silent;
    f.close_early = f.close_early || k.close_early;
    f.garbage = f.garbage || k.garbage;
    f.wrong_echo = f.wrong_echo || k.wrong_echo;
    f.udp_silent = f.udp_silent || k.udp_silent;
    f.udp_garbage = f.udp_garbage || k.udp_garbage;
    if (k.truncate >= 0) f.truncate = k.truncate;
    if (k.udp_truncate >= 0) f.udp_truncate = k.udp_truncate;
    if (k.delay_ms > 0) f.delay_ms = k.delay_ms;
    if (k.udp_delay_ms > 0) f.udp_delay_ms = k.udp_delay_ms;
    if (k.trickle_ms > 0) f.trickle_ms = k.trickle_ms;
    if (k.trickle_bytes > 0) f.trickle_bytes = k.trickle_bytes;
    if (k.extra_bytes > 0) f.extra_bytes = k.extra_bytes;
    if (k.udp_trickle_ms > 0) f.udp_trickle_ms = k.udp_trickle_ms;
    if (k.udp_trickle_bytes > 0) f.udp_trickle_bytes = k.udp_trickle_bytes;
    if (k.udp_extra_bytes > 0) f.udp_extra_bytes = k.udp_extra_bytes;
}

}  // namespace

Faults Unit::faults_for(const std::vector<uint8_t>& request)
{
    Faults f = faults;
    for (TargetedFaults& t : faults_on) {
        if (!starts_with(request, t.prefix)) continue;
        int n = ++t.seen;
        if (n >= t.from && (t.times < 0 || n < t.from + t.times)) overlay(f, t.knobs);
    }
    return f;
}

}  // namespace sim
