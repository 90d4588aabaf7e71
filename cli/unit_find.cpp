// The units a subcommand works on, found on the plant: the named ones (the
// search ends once they have all answered) or every unit, and the reasons a
// unit is left alone.
#include "cli/units.h"

#include <arpa/inet.h>
#include <unistd.h>

#include <algorithm>
#include <cstring>

#include "settings/unit_search.h"

namespace {

// What the progress line says, and where.
FILE* progress_to = nullptr;
const char* progress_cmd = "";
char progress_text[SEARCH_IF_MAX * (HOST_IFNAME_LEN + 2) + 64];

constexpr const char* kFarWifi =
    "a WiFi module outside the host's networks (it is set only from inside its own "
    "network); nothing sent to it";

void say_searching()
{
    std::fprintf(progress_to, "kivraset %s: searching %s...\n", progress_cmd, progress_text);
}

bool names(const NamedUnit& u, const uint8_t* mac, in_addr_t ip)
{
    if (u.name.kind == UnitNameKind::Mac) return std::memcmp(u.name.mac, mac, 6) == 0;
    return u.name.ip == ip;
}

bool names_entry(const NamedUnit& u, const DeviceEntry& e)
{
    return names(u, e.mac, e.addr.sin_addr.s_addr) ||
           (u.name.kind == UnitNameKind::Address && inet_addr(e.ipstr) == u.name.ip);
}

struct Wanted {
    const NamedUnit* units;
    int n;
};

// Every named unit has answered the discovery.
bool all_answered(void* ctx)
{
    const Wanted& w = *static_cast<const Wanted*>(ctx);
    for (int k = 0; k < w.n; k++) {
        bool found = false;
        for (int i = 0; i < xportcount && !found; i++) found = names_entry(w.units[k], xportset[i]);
        if (!found) return false;
    }
    return true;
}

int run_search(const PlantSearch& s, bool (*found_all)(void*), void* ctx)
{
    GetMyNetwork();
    search_port = 0;
    progress_cmd = s.cmd;
    progress_to = s.io->err;
    interface_names(s.ifs, s.count, progress_text, sizeof progress_text);
    xport_search_progress = s.io->progress ? say_searching : nullptr;
    const int r = SearchPlant(0, s.ifs, s.count, found_all, ctx);
    xport_search_progress = nullptr;
    if (r == SEARCH_FAILED)
        std::fprintf(s.io->err, "kivraset %s: the search could not open its socket\n", s.cmd);
    return r == SEARCH_FAILED ? CLI_UNIT_FAILED : CLI_OK;
}

// A unit the search heard and left out: why, into out; false when it was not heard.
bool left_out(const NamedUnit& u, char (&out)[160])
{
    for (int k = 0; k < search_unlisted_count; k++)
        if (names(u, search_unlisted[k].mac, inet_addr(search_unlisted[k].ipstr))) {
            std::snprintf(out, sizeof out, "%s", kFarWifi);
            return true;
        }
    for (int k = 0; k < search_dropped_count; k++)
        if (names(u, search_dropped[k].mac, inet_addr(search_dropped[k].ipstr))) {
            std::snprintf(out, sizeof out, "%s failed; nothing sent to it", search_dropped[k].step);
            return true;
        }
    return false;
}

void say_named(FILE* err, const char* cmd, const NamedUnit& u, const char* what)
{
    std::fprintf(err, "kivraset %s: %s: %s\n", cmd, u.text, what);
}

bool mac_order(int a, int b)
{
    const int c = std::memcmp(xportset[a].mac, xportset[b].mac, 6);
    if (c != 0) return c < 0;
    return ntohl(xportset[a].addr.sin_addr.s_addr) < ntohl(xportset[b].addr.sin_addr.s_addr);
}

void say_left_out(const PlantSearch& s)
{
    for (int k = 0; k < search_dropped_count; k++) {
        const DroppedUnit& d = search_dropped[k];
        char mac[18];
        format_mac(d.mac, mac);
        std::fprintf(s.io->err, "kivraset %s: %s (%s): %s failed; nothing sent to it\n", s.cmd, mac,
                     d.ipstr, d.step);
    }
    for (int k = 0; k < search_unlisted_count; k++) {
        const DroppedUnit& d = search_unlisted[k];
        char mac[18];
        format_mac(d.mac, mac);
        std::fprintf(s.io->err, "kivraset %s: %s (%s): %s\n", s.cmd, mac, d.ipstr, kFarWifi);
    }
}

}  // namespace

int parse_named_units(const char* cmd, const char* const* texts, int n, NamedUnit* out, FILE* err)
{
    for (int k = 0; k < n; k++) {
        out[k] = NamedUnit{texts[k], {}, -1, ""};
        if (parse_unit_name(texts[k], &out[k].name) != 0) {
            std::fprintf(err,
                         "kivraset %s: '%s' names no unit (a MAC address such as "
                         "00:80:a3:10:00:01, or an IPv4 address)\nTry 'kivraset %s --help'.\n",
                         cmd, texts[k], cmd);
            return CLI_USAGE;
        }
    }
    return CLI_OK;
}

int find_named_units(const PlantSearch& s, NamedUnit* units, int n)
{
    Wanted w{units, n};
    if (run_search(s, all_answered, &w) != CLI_OK) return CLI_UNIT_FAILED;
    for (int k = 0; k < n; k++) {
        NamedUnit& u = units[k];
        int matches = 0;
        for (int i = 0; i < xportcount; i++) {
            if (!names_entry(u, xportset[i])) continue;
            u.index = i;
            matches++;
        }
        if (matches > 1) {
            u.index = -1;
            std::snprintf(u.problem, sizeof u.problem,
                          "two units answer at this address (name each by its MAC address); "
                          "nothing sent to either");
        } else if (matches == 0 && !left_out(u, u.problem)) {
            std::snprintf(
                u.problem, sizeof u.problem, "no unit answers %s; nothing sent",
                u.name.kind == UnitNameKind::Mac ? "with this MAC address" : "at this address");
        }
    }
    for (int k = 0; k < n; k++) {
        for (int j = 0; j < n; j++) {
            if (j == k || units[k].index < 0 || units[j].index != units[k].index) continue;
            std::snprintf(units[k].problem, sizeof units[k].problem,
                          "the unit is named more than once; nothing sent to it");
        }
    }
    for (int k = 0; k < n; k++) {
        if (units[k].problem[0] == '\0') continue;
        units[k].index = -1;
        say_named(s.io->err, s.cmd, units[k], units[k].problem);
    }
    return CLI_OK;
}

int find_all_units(const PlantSearch& s, int* order, int* n, int* unusable)
{
    *n = 0;
    *unusable = 0;
    if (run_search(s, nullptr, nullptr) != CLI_OK) return CLI_UNIT_FAILED;
    *n = std::min(xportcount, XPORT_MAX);
    for (int k = 0; k < *n; k++) order[k] = k;
    sort_by_mac(order, *n);
    say_left_out(s);
    *unusable = search_dropped_count + search_unlisted_count;
    if (*n == 0 && *unusable == 0) {
        char where[sizeof progress_text];
        interface_names(s.ifs, s.count, where, sizeof where);
        std::fprintf(s.io->err, "kivraset %s: no unit answered (searched %s)\n", s.cmd, where);
    }
    return CLI_OK;
}

void sort_by_mac(int* order, int n) { std::sort(order, order + n, mac_order); }

int ask_model(int i)
{
    if (i < 0 || i >= xportcount) return -1;
    DeviceEntry& e = xportset[i];
    constexpr int kAttempts = 3;
    for (int attempt = 0; attempt < kAttempts && e.model < 0; attempt++) {
        if (attempt > 0) usleep(50 * 1000);
        // A unit that answers but cannot be used (model 7, switch at F) is not asked again.
        if (GetUnitModelID(e.ipstr, GetCmdPort(i), &e.model, &e.unit_id) == 1) break;
    }
    return e.model >= 0 ? 0 : -1;
}

void unit_label(int i, char (&out)[UNIT_LABEL_LEN])
{
    char mac[18];
    format_mac(xportset[i].mac, mac);
    std::snprintf(out, sizeof out, "%s (%.15s)", mac, xportset[i].ipstr);
}

void say_unit(FILE* err, const char* cmd, int i, const char* what)
{
    char label[UNIT_LABEL_LEN];
    unit_label(i, label);
    std::fprintf(err, "kivraset %s: %s: %s\n", cmd, label, what);
}
