// The units a subcommand works on: the host interfaces it may search (-i),
// the units named on its command line found on the plant (each said and
// left alone when it cannot be used), every unit of the plant in MAC order
// (--all), how a unit is named in messages, and work spread over threads.
#pragma once

#include <cstdio>

#include "cli/kivraset.h"
#include "device/KIVRAXPort.h"

// ---- the interfaces searched ----

// The interfaces named by option spec (-i; each once), checked against
// those the search can use; every search interface when none is named.
// CLI_OK, or CLI_USAGE after saying why on err.
int chosen_interfaces(const char* cmd, const ParsedArgs& args, int spec, SearchInterface* ifs,
                      int* count, FILE* err);
// "veth-host, veth-host2" into out; "by the default route" for none.
void interface_names(const SearchInterface* ifs, int count, char* out, size_t size);

// ---- finding units ----

// A unit named on the command line.
struct NamedUnit {
    const char* text;  // as given
    UnitName name;
    int index;          // its entry in xportset after the search; -1 when it is not used
    char problem[160];  // why nothing is sent to it; "" when it is used
};
constexpr int NAMED_UNITS_MAX = XPORT_MAX;

// Reads the names; CLI_USAGE after saying which text names no unit.
int parse_named_units(const char* cmd, const char* const* texts, int n, NamedUnit* out, FILE* err);

// What a search is for.
struct PlantSearch {
    const char* cmd;  // "set-address", for messages
    const SearchInterface* ifs;
    int count;
    const CliIo* io;
};
// Searches until every named unit has answered (at most as long as a whole
// search) and finds each one. A name no unit answers with, one whose reads
// failed, a WiFi module outside the host's networks, a unit named twice and
// an address two units answer at are each said on standard error and get
// index -1. CLI_OK, or CLI_UNIT_FAILED when the search could not run.
int find_named_units(const PlantSearch& s, NamedUnit* units, int n);
// The whole search; order gets every unit found, in MAC order, and *n their
// count. The units it dropped or does not list are said on standard error;
// *unusable is how many. CLI_OK, or CLI_UNIT_FAILED when the search could
// not run.
int find_all_units(const PlantSearch& s, int* order, int* n, int* unusable);
// Asks the model of unit i on its own command port when it is not known yet
// (a few attempts, as the settings menu does). 0, or -1.
int ask_model(int i);

// "00:80:a3:10:00:01 (192.0.2.11)"
constexpr int UNIT_LABEL_LEN = 40;
void unit_label(int i, char (&out)[UNIT_LABEL_LEN]);
// "kivraset CMD: 00:80:a3:10:00:01 (192.0.2.11): what" on err.
void say_unit(FILE* err, const char* cmd, int i, const char* what);

// ---- work spread over threads ----

// Runs work(k, ctx) for k = 0..n-1, each on a thread of its own (a small
// stack; one that cannot be started runs on the calling thread), and
// returns when all are done.
void run_parallel(int n, void (*work)(int k, void* ctx), void* ctx);
// Sorts entries of xportset by MAC address (then address).
void sort_by_mac(int* order, int n);
