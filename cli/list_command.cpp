// kivraset list: the search of KIVRASetL's top menu, run once, and every
// unit it keeps, in MAC order, as a table or as JSON.
#include "cli/kivraset.h"

#include <arpa/inet.h>
#include <net/if.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>

#include "cli/json.h"
#include "cli/plant_search.h"
#include "device/KIVRAXPort.h"
#include "settings/unit_search.h"

namespace {

enum { OPT_JSON, OPT_INTERFACE, OPT_PORT };
const OptionSpec list_options[] = {
    {"json", 0, nullptr, false, "print one JSON object instead of a table"},
    {"interface", 'i', "IFACE", true, "search only on this host interface (may be repeated)"},
    {"port", 0, "N", false, "ask the model of the units whose command port is N"},
};

const char* module_name(const DeviceEntry& e)
{
    return is_wifi(e) ? "wifi" : is_gc(e) ? "gc" : "xport";
}

// The texts of one unit's row; unknown values as "-".
struct UnitCells {
    char mac[18], address[INET_ADDRSTRLEN], mask[INET_ADDRSTRLEN], gateway[INET_ADDRSTRLEN];
    char model[32];
    const char* dhcp;
    const char* interface;
    bool network_known;  // mask, gateway and DHCP were read from the unit
};

UnitCells unit_cells(int i)
{
    const DeviceEntry& e = xportset[i];
    UnitCells c{};
    format_mac(e.mac, c.mac);
    inet_ntop(AF_INET, &e.addr.sin_addr, c.address, sizeof c.address);
    c.network_known = e.samenet != 0 && e.network_read == 1;
    std::strcpy(c.mask, "-");
    std::strcpy(c.gateway, "-");
    c.dhcp = "-";
    if (c.network_known) {
        inet_ntop(AF_INET, &e.netmask, c.mask, sizeof c.mask);
        inet_ntop(AF_INET, &e.gateway, c.gateway, sizeof c.gateway);
        c.dhcp = e.dhcp == 1 ? "on" : "off";
    }
    GetModelText(i, c.model, sizeof c.model);
    c.interface = e.host_ifname[0] != '\0' ? e.host_ifname : "-";
    return c;
}

void print_table(const int* order, int n, FILE* out)
{
    static const char* const header[] = {"MAC",  "ADDRESS", "MASK",     "GATEWAY",
                                         "DHCP", "MODEL",   "INTERFACE"};
    TextTable t;
    t.columns = 7;
    table_measure(t, header);
    for (int pass = 0; pass < 2; pass++) {
        if (pass == 1) table_print(t, header, out);
        for (int k = 0; k < n; k++) {
            const UnitCells c = unit_cells(order[k]);
            const char* const row[] = {c.mac,  c.address, c.mask,     c.gateway,
                                       c.dhcp, c.model,   c.interface};
            if (pass == 0)
                table_measure(t, row);
            else
                table_print(t, row, out);
        }
    }
}

void text_or_null(JsonWriter& w, const char* key, const char* text, bool known)
{
    w.key(key);
    if (known)
        w.string(text);
    else
        w.null();
}

void print_json(const int* order, int n, const SearchInterface* ifs, int count, FILE* out)
{
    JsonWriter w(out);
    w.begin_object();
    w.key("interfaces");
    w.begin_array();
    for (int k = 0; k < count; k++) w.string(ifs[k].name);
    w.end_array();
    w.key("units");
    w.begin_array();
    for (int k = 0; k < n; k++) {
        const DeviceEntry& e = xportset[order[k]];
        const UnitCells c = unit_cells(order[k]);
        const char devtype[3] = {e.devtype[0], e.devtype[1], '\0'};
        w.begin_object();
        text_or_null(w, "mac", c.mac, true);
        text_or_null(w, "address", c.address, true);
        text_or_null(w, "mask", c.mask, c.network_known);
        text_or_null(w, "gateway", c.gateway, c.network_known);
        w.key("dhcp");
        c.network_known ? w.boolean(e.dhcp == 1) : w.null();
        w.key("model");
        e.model >= 0 ? w.integer(e.model) : w.null();
        text_or_null(w, "model_name", c.model, e.model >= 0);
        w.key("unit_id");
        e.unit_id >= 0 ? w.integer(e.unit_id) : w.null();
        text_or_null(w, "device_type", devtype, true);
        text_or_null(w, "module", module_name(e), true);
        text_or_null(w, "interface", e.host_ifname, e.host_ifname[0] != '\0');
        w.key("same_network");
        w.boolean(e.samenet != 0);
        w.end_object();
    }
    w.end_array();
    w.key("failed");
    w.begin_array();
    for (int k = 0; k < search_dropped_count; k++) {
        const DroppedUnit& d = search_dropped[k];
        char mac[18];
        format_mac(d.mac, mac);
        w.begin_object();
        text_or_null(w, "mac", mac, true);
        text_or_null(w, "address", d.ipstr, true);
        text_or_null(w, "interface", d.host_ifname, d.host_ifname[0] != '\0');
        text_or_null(w, "step", d.step, true);
        w.end_object();
    }
    w.end_array();
    w.end_object();
    w.end_line();
}

bool mac_order(int a, int b)
{
    const int c = std::memcmp(xportset[a].mac, xportset[b].mac, 6);
    if (c != 0) return c < 0;
    return ntohl(xportset[a].addr.sin_addr.s_addr) < ntohl(xportset[b].addr.sin_addr.s_addr);
}

int run_list(const ParsedArgs& args, const CliIo& io)
{
    PlantSearch search;
    if (search_options(cli_list, args, OPT_INTERFACE, OPT_PORT, &search, io.err) != CLI_OK)
        return CLI_USAGE;
    if (search_units(cli_list, search, io) != CLI_OK) return CLI_UNIT_FAILED;
    const int r = search.result;
    const SearchInterface* ifs = search.ifs;
    const int count = search.count;
    const char* progress_text = search.names;

    static int order[XPORT_MAX];
    const int n = r == SEARCH_FOUND ? std::min(xportcount, XPORT_MAX) : 0;
    for (int k = 0; k < n; k++) order[k] = k;
    std::sort(order, order + n, mac_order);
    if (option_count(args, OPT_JSON) > 0)
        print_json(order, n, ifs, count, io.out);
    else if (n > 0)
        print_table(order, n, io.out);

    say_dropped(cli_list, io.err);
    if (n == 0 && search_dropped_count == 0 && count > 0)
        std::fprintf(io.err, "kivraset list: no unit answered on %s\n", progress_text);
    if (n == 0 && search_dropped_count == 0 && count == 0)
        std::fprintf(io.err,
                     "kivraset list: no unit answered (no host interface can broadcast; "
                     "the queries went out by the default route)\n");
    return n > 0 && search_dropped_count == 0 ? CLI_OK : CLI_UNIT_FAILED;
}

}  // namespace

const Subcommand cli_list = {
    "list",
    "",
    0,
    "search every host network and print every unit",
    "Searches as KIVRASetL's search does (the discovery broadcast on every host\n"
    "interface that can broadcast, the setup records of the units in the host's\n"
    "networks, and with --port their model) and prints every unit: MAC address,\n"
    "IP address, mask, gateway, DHCP, model and the host interface it answered on.",
    "0 units listed; 1 no unit answered, or the reads of a unit failed\n"
    "(named on standard error); 2 bad usage.",
    list_options,
    sizeof list_options / sizeof list_options[0],
    run_list,
};
