// The search of every command, the units named on the command line, the
// model of a unit and the threads that work on units.
#include "cli/plant_search.h"

#include <arpa/inet.h>
#include <net/if.h>
#include <unistd.h>

#include <pthread.h>
#include <algorithm>
#include <atomic>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "device/KIVRAXPort.h"
#include "settings/model_check.h"

namespace {

// What the progress line says, and where (one search at a time).
FILE* progress_to = nullptr;
const Subcommand* progress_sub = nullptr;
const char* progress_names = "";

void say_searching()
{
    std::fprintf(progress_to, "kivraset %s: searching %s...\n", progress_sub->name, progress_names);
}

void interface_names(const SearchInterface* ifs, int count, char* out, size_t size)
{
    size_t used = 0;
    out[0] = '\0';
    for (int k = 0; k < count && used < size; k++)
        used += static_cast<size_t>(
            std::snprintf(out + used, size - used, "%s%s", k ? ", " : "", ifs[k].name));
}

int parse_port(const char* text, int* port)
{
    char* end = nullptr;
    const long v =
        text != nullptr && text[0] >= '0' && text[0] <= '9' ? std::strtol(text, &end, 10) : 0;
    if (end == nullptr || *end != '\0' || v < 1 || v > 65535) return -1;
    *port = static_cast<int>(v);
    return 0;
}

bool names(const NamedUnit& u, const uint8_t* mac, in_addr_t ip)
{
    return u.name.kind == UnitNameKind::Mac ? std::memcmp(mac, u.name.mac, 6) == 0
                                            : ip == u.name.ip;
}

// Every unit the search is for has answered the discovery.
bool all_answered(void* ctx)
{
    const PlantSearch& s = *static_cast<const PlantSearch*>(ctx);
    const int n = std::min(xportcount, XPORT_MAX);
    for (int k = 0; k < s.until_count; k++) {
        bool found = false;
        for (int i = 0; i < n && !found; i++)
            found = names(s.until[k], xportset[i].mac, xportset[i].addr.sin_addr.s_addr);
        if (!found) return false;
    }
    return true;
}

// Why the search heard a unit but left it out; null when it did not hear it.
const char* left_out(NamedUnit& u)
{
    for (int k = 0; k < search_unlisted_count; k++)
        if (names(u, search_unlisted[k].mac, inet_addr(search_unlisted[k].ipstr)))
            return FAULT_FAR_WIFI;
    for (int k = 0; k < search_dropped_count; k++) {
        if (!names(u, search_dropped[k].mac, inet_addr(search_dropped[k].ipstr))) continue;
        u.failed_read = search_dropped[k].step;
        return "its reads failed during the search; nothing sent to it";
    }
    return nullptr;
}

}  // namespace

int search_options(const Subcommand& sub, const ParsedArgs& args, int opt_if, int opt_port,
                   PlantSearch* out, FILE* err)
{
    const char* port_text = option_value(args, opt_port, 0);
    if (port_text != nullptr && parse_port(port_text, &out->port) != 0) {
        std::fprintf(err, "kivraset %s: --port %s: not a port number (1-65535)\n", sub.name,
                     port_text);
        return CLI_USAGE;
    }
    SearchInterface all[SEARCH_IF_MAX];
    const int n = ListSearchInterfaces(all, SEARCH_IF_MAX);
    const int named = option_count(args, opt_if);
    out->count = 0;
    for (int k = 0; k < (named > 0 ? named : n); k++) {
        const char* name = named > 0 ? option_value(args, opt_if, k) : all[k].name;
        const SearchInterface* found = nullptr;
        for (int j = 0; j < n; j++)
            if (std::strcmp(all[j].name, name) == 0) found = &all[j];
        if (found == nullptr) {
            if (if_nametoindex(name) == 0)
                std::fprintf(err, "kivraset %s: -i %s: no such interface\n", sub.name, name);
            else
                std::fprintf(
                    err,
                    "kivraset %s: -i %s: the search cannot use this interface (it must "
                    "be up, broadcast and have an IPv4 address; loopback is never searched)\n",
                    sub.name, name);
            return CLI_USAGE;
        }
        bool listed = false;
        for (int j = 0; j < out->count; j++) listed = listed || out->ifs[j].index == found->index;
        if (!listed) out->ifs[out->count++] = *found;
    }
    interface_names(out->ifs, out->count, out->names, sizeof out->names);
    if (out->count == 0) std::snprintf(out->names, sizeof out->names, "by the default route");
    return CLI_OK;
}

int search_units(const Subcommand& sub, PlantSearch& s, const CliIo& io)
{
    GetMyNetwork();
    search_port = s.port;
    progress_to = io.err;
    progress_sub = &sub;
    progress_names = s.names;
    xport_search_progress = io.progress ? say_searching : nullptr;
    s.result = SearchPlant(s.port, s.ifs, s.count, s.until != nullptr ? all_answered : nullptr, &s);
    xport_search_progress = nullptr;
    if (s.result != SEARCH_FAILED) return CLI_OK;
    std::fprintf(io.err, "kivraset %s: the search could not open its socket\n", sub.name);
    return CLI_UNIT_FAILED;
}

void say_dropped(const Subcommand& sub, FILE* err)
{
    for (int k = 0; k < search_dropped_count; k++) {
        const DroppedUnit& d = search_dropped[k];
        char mac[18];
        format_mac(d.mac, mac);
        std::fprintf(err, "kivraset %s: unit %s (%s on %s): %s failed; not listed\n", sub.name, mac,
                     d.ipstr, d.host_ifname[0] != '\0' ? d.host_ifname : "?", d.step);
    }
}

void say_unlisted(const Subcommand& sub, FILE* err)
{
    for (int k = 0; k < search_unlisted_count; k++) {
        const DroppedUnit& d = search_unlisted[k];
        char mac[18];
        format_mac(d.mac, mac);
        std::fprintf(err, "kivraset %s: unit %s (%s on %s): %s\n", sub.name, mac, d.ipstr,
                     d.host_ifname[0] != '\0' ? d.host_ifname : "?", FAULT_FAR_WIFI);
    }
}

int parse_named_units(const Subcommand& sub, const char* const* texts, int count, NamedUnit* out,
                      FILE* err)
{
    for (int k = 0; k < count; k++) {
        out[k] = NamedUnit{texts[k], {}, -1, nullptr};
        if (parse_unit_name(texts[k], &out[k].name) != 0) {
            std::fprintf(err,
                         "kivraset %s: '%s' names no unit (a MAC address such as "
                         "00:80:a3:10:00:01, or an IPv4 address)\nTry 'kivraset %s --help'.\n",
                         sub.name, texts[k], sub.name);
            return CLI_USAGE;
        }
    }
    return CLI_OK;
}

void find_named_units(NamedUnit* units, int count)
{
    const int n = std::min(xportcount, XPORT_MAX);
    for (int k = 0; k < count; k++) {
        NamedUnit& u = units[k];
        int found = 0;
        for (int i = 0; i < n; i++) {
            const DeviceEntry& e = xportset[i];
            if (!names(u, e.mac, e.addr.sin_addr.s_addr)) continue;
            if (found++ == 0) u.index = i;
        }
        if (found == 0) u.fault = left_out(u);
        if (found == 0 && u.fault == nullptr)
            u.fault = u.name.kind == UnitNameKind::Mac ? "no unit answers with this MAC address"
                                                       : "no unit answers at this address";
        if (found > 1) u.fault = "several units answer at this address; name it by its MAC address";
        if (found != 1) u.index = -1;
    }
    std::vector<bool> twice(static_cast<size_t>(count), false);
    for (int k = 0; k < count; k++)
        for (int j = 0; j < count; j++)
            if (j != k && units[k].index >= 0 && units[k].index == units[j].index) twice[k] = true;
    for (int k = 0; k < count; k++) {
        if (!twice[k]) continue;
        units[k].fault = "the unit is named twice; nothing is sent to it";
        units[k].index = -1;
    }
}

void say_fault(const Subcommand& sub, const NamedUnit& u, FILE* err)
{
    if (u.failed_read != nullptr)
        std::fprintf(err, "kivraset %s: %s: %s failed; nothing sent to it\n", sub.name, u.text,
                     u.failed_read);
    else
        std::fprintf(err, "kivraset %s: %s: %s\n", sub.name, u.text,
                     u.fault != nullptr ? u.fault : "not used");
}

void unit_label(int i, char* out, size_t size)
{
    char mac[18];
    format_mac(xportset[i].mac, mac);
    std::snprintf(out, size, "%s (%s)", mac, xportset[i].ipstr);
}

const char* ensure_model(int i)
{
    DeviceEntry& e = xportset[i];
    if (e.samenet == 0) return "outside the host's networks: the unit cannot be read";
    if (e.model >= 0 && e.model <= 15) return nullptr;
    switch (check_model(i, nullptr)) {
    case ModelCheck::Known:
        return nullptr;
    case ModelCheck::Refused:
        return "asking the model: refused (model 7, or the rotary switch at F)";
    case ModelCheck::NoAnswer:
        break;
    }
    return "asking the model: no answer";
}

namespace {

std::atomic<int> running{0};
std::atomic<int> peak{0};

// A unit's reads need little stack; many threads at once stay small.
constexpr size_t kStack = 256 * 1024;

struct Pool {
    int n;
    void (*work)(void*, int);
    void* ctx;
    std::atomic<int> next{0};
};

void* pool_worker(void* arg)
{
    Pool& p = *static_cast<Pool*>(arg);
    const int now = ++running;
    for (int was = peak.load(); now > was && !peak.compare_exchange_weak(was, now);) {
    }
    for (int k = p.next++; k < p.n; k = p.next++) p.work(p.ctx, k);
    --running;
    return nullptr;
}

}  // namespace

int unit_threads_peak() { return peak.load(); }

void for_each_unit_parallel(int n, int threads, void (*work)(void* ctx, int k), void* ctx)
{
    if (threads > UNIT_THREADS_MAX) threads = UNIT_THREADS_MAX;
    if (threads > n) threads = n;
    Pool p{n, work, ctx};
    pthread_t ids[UNIT_THREADS_MAX];
    int started = 0;
    pthread_attr_t attr;
    pthread_attr_init(&attr);
    pthread_attr_setstacksize(&attr, kStack);
    // A thread that cannot be made leaves its units to the others.
    for (int t = 1; t < threads; t++)
        if (pthread_create(&ids[started], &attr, pool_worker, &p) == 0) started++;
    pthread_attr_destroy(&attr);
    pool_worker(&p);  // the calling thread is one of them
    for (int t = 0; t < started; t++) pthread_join(ids[t], nullptr);
}
