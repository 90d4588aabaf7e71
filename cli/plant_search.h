// What every command that works on units shares: the search as `list` runs
// it (-i IFACE..., --port N), the units named on the command line found in
// its results, a unit's model asked as the settings menu asks it, and the
// units worked on in parallel threads, one per unit, a bounded number at once.
#pragma once

#include "cli/kivraset.h"
#include "settings/unit_search.h"

struct NamedUnit;

// The search's interfaces and outcome.
struct PlantSearch {
    SearchInterface ifs[SEARCH_IF_MAX];
    int count = 0;  // interfaces searched; 0: by the default route
    int port = 0;   // --port: models asked during the search at this command port; 0 none
    int result = SEARCH_NONE;
    // The units a command is for: the discovery ends as soon as each has
    // answered (null: it runs its whole time, for every unit).
    const NamedUnit* until = nullptr;
    int until_count = 0;
    char names[SEARCH_IF_MAX * (HOST_IFNAME_LEN + 2) + 64] = {};  // "veth-host, veth-host2"
};

// Reads -i (option opt_if) and --port (option opt_port) of args; CLI_USAGE
// after saying why on io.err ("kivraset NAME: -i eth9: no such interface").
int search_options(const Subcommand& sub, const ParsedArgs& args, int opt_if, int opt_port,
                   PlantSearch* out, FILE* err);
// Runs the search with those options; progress on io.err when it is a
// terminal. CLI_OK, or CLI_UNIT_FAILED when the search could not open its
// socket (said on io.err). The units found are in xportset.
int search_units(const Subcommand& sub, PlantSearch& s, const CliIo& io);
// Says on io.err, for every unit the search heard but dropped, which read failed.
void say_dropped(const Subcommand& sub, FILE* err);
// Says on err which WiFi modules the search heard outside the host's networks.
void say_unlisted(const Subcommand& sub, FILE* err);
constexpr const char* FAULT_FAR_WIFI =
    "a WiFi module outside the host's networks (it is set only from inside its own network); "
    "nothing sent to it";

// A unit named on the command line, and the table entry it names.
struct NamedUnit {
    const char* text;  // as given
    UnitName name;
    int index = -1;                     // into xportset; -1 when no unit answered to it
    const char* fault;                  // why nothing is sent to it, null when something may be
    const char* failed_read = nullptr;  // the read that failed when the search dropped it
};
// Parses every name; CLI_USAGE (said on err) for a text that names no unit.
int parse_named_units(const Subcommand& sub, const char* const* texts, int count, NamedUnit* out,
                      FILE* err);
// Finds each name in xportset after a search. A name no unit answers to,
// an address several units answer at, and every name of a unit named twice
// get a fault and index -1 (the unit is named in the fault only); so do a
// WiFi module the search heard outside the host's networks and a unit whose
// reads failed during the search (failed_read says which).
void find_named_units(NamedUnit* units, int count);

// Says on err why nothing is sent to a named unit ("kivraset NAME: TEXT: fault").
void say_fault(const Subcommand& sub, const NamedUnit& u, FILE* err);

// "00:80:a3:10:00:01 (192.0.2.11)" of entry i, for messages.
void unit_label(int i, char* out, size_t size);

// The unit's model as the settings menu learns it: asked at its command
// port, five times 50 ms apart while it stays unknown. 0, or a failure
// step for messages ("asking the model: no answer").
const char* ensure_model(int i);

// Runs work(k) for k = 0..n-1 in threads, at most `threads` at once, and
// waits for all. Each call may touch only its own units' entries.
constexpr int UNIT_THREADS_MAX = XPORT_MAX;  // one thread per unit of a full table
void for_each_unit_parallel(int n, int threads, void (*work)(void* ctx, int k), void* ctx);
// The most threads a for_each_unit_parallel had running at once, since start.
int unit_threads_peak();
