// Consecutive addresses for a batch of units, each checked by ping before
// it is given; the pings of a batch go out together.
#include "cli/address_plan.h"

#include <arpa/inet.h>

#include <algorithm>

#include "cli/plant_search.h"
#include "device/address_text.h"
#include "device/ping.h"
#include "settings/unit_search.h"

namespace {

// Addresses pinged so far and whether a host answered.
struct PingCache {
    static constexpr int kMax = SKIPPED_MAX + 2 * XPORT_MAX;
    uint32_t address[kMax];
    bool answered[kMax];
    int count = 0;
    int find(uint32_t a) const
    {
        for (int k = 0; k < count; k++)
            if (address[k] == a) return k;
        return -1;
    }
};

bool is_taken(uint32_t a, const in_addr_t* taken, int n)
{
    for (int k = 0; k < n; k++)
        if (ntohl(taken[k]) == a) return true;
    return false;
}

// Why address a cannot be given to a unit with this mask, when it cannot.
bool not_for_unit(uint32_t a, uint32_t mask, SkipReason* why)
{
    const uint32_t host = a & ~mask;
    if (IsUnitAddress(htonl(a)) == 0 ||
        (mask != 0 && mask != 0xFFFFFFFFu && (host == 0 || host == ~mask))) {
        *why = SkipReason::NotUnitAddress;
        return true;
    }
    return false;
}

// Pings a from on, as many addresses as units are still to get one (and a
// few more), all at once, so a batch waits for one ping's time.
void ping_ahead(uint32_t a, uint32_t mask, int units_left, const in_addr_t* taken, int taken_n,
                PingAll ping, PingCache& cache)
{
    in_addr_t batch[64] = {};
    int n = 0;
    const int want = std::min(64, units_left + 4);
    for (uint32_t c = a; n < want && cache.count + n < PingCache::kMax && (c >> 24) < 224; c++) {
        SkipReason why;
        if (mask != 0 && (c & mask) != (a & mask)) break;
        if (not_for_unit(c, mask, &why) || is_taken(c, taken, taken_n) || cache.find(c) >= 0)
            continue;
        batch[n++] = htonl(c);
    }
    bool answered[64] = {};
    ping(batch, n, answered);
    for (int k = 0; k < n; k++) {
        cache.address[cache.count] = ntohl(batch[k]);
        cache.answered[cache.count++] = answered[k];
    }
}

struct PingJob {
    const in_addr_t* addresses;
    bool* answered;
};

void ping_one(void* ctx, int k)
{
    const PingJob& j = *static_cast<const PingJob*>(ctx);
    char text[16];
    format_dotted(j.addresses[k], text);
    j.answered[k] = SendPingCmd(text) == 0;
}

}  // namespace

const char* skip_reason_text(SkipReason why)
{
    switch (why) {
    case SkipReason::Listed:
        return "another unit has it";
    case SkipReason::AnswersPing:
        return "it answers ping";
    case SkipReason::NotUnitAddress:
        return "not a unit address";
    }
    return "";
}

void ping_all(const in_addr_t* addresses, int n, bool* answered)
{
    PingJob job{addresses, answered};
    for_each_unit_parallel(n, UNIT_THREADS_MAX, ping_one, &job);
}

void plan_addresses(in_addr_t first, AddressWant* units, int n, const in_addr_t* taken, int taken_n,
                    PingAll ping, SkippedAddress* skipped, int* skipped_n)
{
    static PingCache cache;
    cache.count = 0;
    *skipped_n = 0;
    const uint32_t start = ntohl(first);
    uint32_t c = start;
    bool none_left = false;
    auto skip = [&](SkipReason why) {
        if (*skipped_n < SKIPPED_MAX) skipped[(*skipped_n)++] = SkippedAddress{htonl(c), why};
        c++;
    };
    for (int u = 0; u < n; u++) {
        AddressWant& w = units[u];
        w.given = 0;
        if (!w.wants) continue;
        const uint32_t mask = ntohl(w.mask);
        int left = 0;
        for (int k = u; k < n; k++) left += units[k].wants;
        while (!none_left && w.given == 0) {
            SkipReason why;
            if ((c >> 24) >= 224 || (mask != 0 && (c & mask) != (start & mask))) {
                none_left = true;
            } else if (not_for_unit(c, mask, &why)) {
                skip(why);
            } else if (c == ntohl(w.own)) {
                w.given = htonl(c++);
            } else if (is_taken(c, taken, taken_n)) {
                skip(SkipReason::Listed);
            } else {
                if (cache.find(c) < 0) ping_ahead(c, mask, left, taken, taken_n, ping, cache);
                const int k = cache.find(c);
                if (k < 0) {
                    none_left = true;  // no room left to remember more pings
                } else if (cache.answered[k]) {
                    skip(SkipReason::AnswersPing);
                } else {
                    w.given = htonl(c++);
                }
            }
        }
    }
}
