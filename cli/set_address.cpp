// kivraset set-address: the IP screen's apply from the command line, for
// one unit or, with --all --from, consecutive addresses for every unit.
#include "cli/kivraset.h"

#include <arpa/inet.h>

#include <algorithm>
#include <cstring>

#include "cli/address_plan.h"
#include "cli/address_report.h"
#include "cli/plant_search.h"
#include "device/address_text.h"
#include "settings/ip_settings.h"
#include "settings/unit_search.h"

namespace {

enum { OPT_ALL, OPT_FROM, OPT_MASK, OPT_GATEWAY, OPT_DHCP, OPT_JSON, OPT_INTERFACE };
const OptionSpec options[] = {
    {"all", 0, nullptr, false, "every unit the search finds (with --from)"},
    {"from", 0, "FIRST", false, "with --all: the first of the consecutive addresses"},
    {"mask", 0, "M", false, "subnet mask (default: the unit's own)"},
    {"gateway", 0, "G", false, "gateway (default: the unit's own)"},
    {"dhcp", 0, nullptr, false, "the unit takes its address by DHCP (no ADDRESS)"},
    {"json", 0, nullptr, false, "print one JSON object instead of a table"},
    {"interface", 'i', "IFACE", true, "search only on this host interface (may be repeated)"},
};
constexpr const char* kCmd = "set-address";

int usage(FILE* err, const char* what)
{
    std::fprintf(err, "kivraset %s: %s\nTry 'kivraset %s --help'.\n", kCmd, what, kCmd);
    return CLI_USAGE;
}

// What the command line asks of every unit.
struct Wish {
    bool dhcp = false;
    bool has_mask = false, has_gateway = false;
    in_addr_t mask = 0, gateway = 0;
};

int read_address(const ParsedArgs& args, int opt, const char* name, in_addr_t* out, bool* given,
                 FILE* err)
{
    const char* text = option_value(args, opt, 0);
    if (given != nullptr) *given = text != nullptr;
    if (text == nullptr) return CLI_OK;
    if (parse_dotted_quad(text, out) == 1) return CLI_OK;
    std::fprintf(err, "kivraset %s: %s %s: not a dotted IPv4 address\n", kCmd, name, text);
    return CLI_USAGE;
}

// An address a unit may be given: four dotted numbers, not 0/8, 127/8 or 224/4 and above.
int unit_address(const char* what, const char* text, in_addr_t* out, FILE* err)
{
    if (parse_dotted_quad(text, out) != 1) {
        std::fprintf(err, "kivraset %s: %s %s: not a dotted IPv4 address\n", kCmd, what, text);
        return CLI_USAGE;
    }
    const uint32_t first = ntohl(*out) >> 24;
    if (first == 0 || first == 127 || first >= 224) {
        std::fprintf(err, "kivraset %s: %s %s: not an address a unit can have\n", kCmd, what, text);
        return CLI_USAGE;
    }
    return CLI_OK;
}

int read_wish(const ParsedArgs& args, Wish& w, FILE* err)
{
    w.dhcp = option_count(args, OPT_DHCP) > 0;
    if (read_address(args, OPT_MASK, "--mask", &w.mask, &w.has_mask, err) != CLI_OK ||
        read_address(args, OPT_GATEWAY, "--gateway", &w.gateway, &w.has_gateway, err) != CLI_OK)
        return CLI_USAGE;
    if (w.has_mask && XSubnetEncode(w.mask) < 0) {
        std::fprintf(err, "kivraset %s: --mask %s: the mask has a gap in its one bits\n", kCmd,
                     option_value(args, OPT_MASK, 0));
        return CLI_USAGE;
    }
    if (w.dhcp && (w.has_mask || w.has_gateway))
        return usage(err, "--dhcp takes no --mask or --gateway (the unit gets them by DHCP)");
    return CLI_OK;
}

// Reads unit i and fills its job with the values to send; false (with the
// job's result saying why) when nothing is to be sent to it.
bool prepare(AddressJob& j, const Wish& w)
{
    const DeviceEntry& e = xportset[j.unit];
    j.inside = e.samenet != 0;
    const StepResult r =
        j.inside ? read_ip_settings(j.unit, j.before) : read_ip_address(j.unit, j.before);
    if (!r.ok()) {
        j.result = AddressResult::Failed;
        std::snprintf(j.reason, sizeof j.reason, "%s failed; nothing sent to it",
                      failed_read_step(e));
        return false;
    }
    j.values = j.before;
    j.values.dhcp = w.dhcp;
    if (w.has_mask) j.values.netmask = w.mask;
    if (w.has_gateway) j.values.gateway = w.gateway;
    if (!j.inside && (w.has_mask || w.has_gateway)) {
        j.result = AddressResult::Refused;
        std::snprintf(j.reason, sizeof j.reason,
                      "outside the host's networks only its address can be set (--mask and "
                      "--gateway cannot be sent to it); nothing sent to it");
        return false;
    }
    return true;
}

void apply_one(void* ctx, int k)
{
    AddressJob& j = static_cast<AddressJob*>(ctx)[k];
    if (j.result != AddressResult::Pending) return;
    const StepResult r = apply_ip_settings(j.unit, j.values);
    address_outcome(j, r);
}

int run_one(const ParsedArgs& args, const Wish& w, PlantSearch& s, const CliIo& io)
{
    const bool want_address = !w.dhcp;
    if (args.operand_count != (want_address ? 2 : 1))
        return usage(io.err, want_address ? "give the unit and its new address: UNIT ADDRESS"
                                          : "with --dhcp give only the unit: UNIT --dhcp");
    in_addr_t address = 0;
    if (want_address && unit_address("ADDRESS", args.operands[1], &address, io.err) != CLI_OK)
        return CLI_USAGE;
    NamedUnit named;
    if (parse_named_units(cli_set_address, args.operands, 1, &named, io.err) != CLI_OK)
        return CLI_USAGE;
    s.until = &named;
    s.until_count = 1;
    if (search_units(cli_set_address, s, io) != CLI_OK) return CLI_UNIT_FAILED;
    find_named_units(&named, 1);
    static AddressReport report;
    report = AddressReport{};
    if (named.index >= 0) {
        AddressJob& j = report.jobs[report.count++];
        j.unit = named.index;
        if (prepare(j, w) && want_address) j.values.address = address;
        apply_one(report.jobs, 0);
    } else {
        say_fault(cli_set_address, named, io.err);
        note_unused(report, named.text, "", named.failed_read ? named.failed_read : named.fault);
    }
    return print_address_report(report, option_count(args, OPT_JSON) > 0, io, kCmd);
}

bool mac_order(int a, int b)
{
    const int c = std::memcmp(xportset[a].mac, xportset[b].mac, 6);
    if (c != 0) return c < 0;
    return ntohl(xportset[a].addr.sin_addr.s_addr) < ntohl(xportset[b].addr.sin_addr.s_addr);
}

int run_all(const ParsedArgs& args, const Wish& w, PlantSearch& s, const CliIo& io)
{
    if (args.operand_count != 0) return usage(io.err, "--all takes no UNIT or ADDRESS");
    if (w.dhcp) return usage(io.err, "--dhcp cannot be given with --all");
    const char* from = option_value(args, OPT_FROM, 0);
    in_addr_t first = 0;
    if (from == nullptr) return usage(io.err, "--all needs --from FIRST");
    if (unit_address("--from", from, &first, io.err) != CLI_OK) return CLI_USAGE;

    if (search_units(cli_set_address, s, io) != CLI_OK) return CLI_UNIT_FAILED;
    static int order[XPORT_MAX];
    const int n = s.result == SEARCH_FOUND ? std::min(xportcount, XPORT_MAX) : 0;
    for (int k = 0; k < n; k++) order[k] = k;
    std::sort(order, order + n, mac_order);
    say_dropped(cli_set_address, io.err);
    say_unlisted(cli_set_address, io.err);
    if (n == 0 && search_dropped_count == 0 && search_unlisted_count == 0)
        std::fprintf(io.err, "kivraset %s: no unit answered on %s\n", kCmd, s.names);

    static AddressReport report;
    report = AddressReport{};
    note_left_out(report);
    static AddressWant wants[XPORT_MAX];
    static in_addr_t taken[XPORT_MAX];
    for (int k = 0; k < n; k++) {
        AddressJob& j = report.jobs[report.count++];
        j.unit = order[k];
        taken[k] = xportset[order[k]].addr.sin_addr.s_addr;
        const bool ok = prepare(j, w);
        const in_addr_t mask = j.inside ? j.values.netmask : w.has_mask ? w.mask : 0;
        wants[k] = AddressWant{j.before.address, mask, ok};
    }
    plan_addresses(first, wants, n, taken, n, ping_all, report.skipped, &report.skipped_count);
    for (int k = 0; k < n; k++) {
        AddressJob& j = report.jobs[k];
        if (!wants[k].wants) continue;
        j.values.address = wants[k].given;
        if (wants[k].given != 0) continue;
        j.result = AddressResult::Refused;
        std::snprintf(j.reason, sizeof j.reason,
                      "no address left from %s in its network; nothing sent to it", from);
    }
    for_each_unit_parallel(n, UNIT_THREADS_MAX, apply_one, report.jobs);
    const int status = print_address_report(report, option_count(args, OPT_JSON) > 0, io, kCmd);
    return n == 0 ? CLI_UNIT_FAILED : status;
}

int run_set_address(const ParsedArgs& args, const CliIo& io)
{
    Wish w;
    if (read_wish(args, w, io.err) != CLI_OK) return CLI_USAGE;
    const bool all = option_count(args, OPT_ALL) > 0;
    if (!all && option_count(args, OPT_FROM) > 0) return usage(io.err, "--from goes with --all");
    static PlantSearch s;
    s = PlantSearch{};
    if (search_options(cli_set_address, args, OPT_INTERFACE, -1, &s, io.err) != CLI_OK)
        return CLI_USAGE;
    return all ? run_all(args, w, s, io) : run_one(args, w, s, io);
}

}  // namespace

const Subcommand cli_set_address = {
    "set-address",
    "UNIT ADDRESS | UNIT --dhcp | --all --from FIRST",
    2,
    "give a unit (or every unit) its IP address as the IP screen does",
    "Sets a unit's address, mask and gateway, or DHCP, with the IP screen's apply:\n"
    "setup record 0 of a unit in the host's networks, the \"IP\" text of a WiFi\n"
    "module, or the set-address broadcast by MAC for a unit outside them (its\n"
    "address only). An address some host answers a ping at is refused. Mask and\n"
    "gateway stay the unit's own unless given. The unit restarts with them.\n"
    "With --all --from FIRST every unit found gets the next free address from\n"
    "FIRST on, in MAC order: addresses that answer ping or that another unit has\n"
    "are skipped (a unit keeps its own when it comes to it).",
    "0 every unit set; 1 a unit was refused, failed or could not\n"
    "be found (named on standard error); 2 bad usage.",
    options,
    sizeof options / sizeof options[0],
    run_set_address,
};
