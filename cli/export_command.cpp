// kivraset export: every settings group a unit's model has, read with the
// screens' reads and written as one settings file per unit; the units in
// parallel, each failure named with its step while the others go on.
#include <algorithm>
#include <climits>
#include <cstring>
#include <vector>

#include "cli/plant_search.h"
#include "cli/settings_output.h"
#include "cli/unit_settings.h"
#include "device/KIVRAXPort.h"

namespace {

enum { OPT_ALL, OPT_OUTPUT, OPT_SECRETS, OPT_FORCE, OPT_JSON, OPT_INTERFACE, OPT_PORT };
const OptionSpec export_options[] = {
    {"all", 0, nullptr, false, "export every unit the search finds"},
    {"output", 'o', "FILE|DIR", false, "the file (one unit; - for standard output) or directory"},
    {"with-secrets", 0, nullptr, false, "write the mail account's password too"},
    {"force", 0, nullptr, false, "replace files that exist"},
    {"json", 0, nullptr, false, "report as one JSON object instead of lines"},
    {"interface", 'i', "IFACE", true, "search only on this host interface (may be repeated)"},
    {"port", 0, "N", false, "ask the model of the units whose command port is N during the search"},
};

struct Job {
    const char* name = nullptr;     // as given on the command line; null for --all
    int index = -1;                 // into xportset
    char label[48] = {};            // "00:80:a3:10:00:01 (192.0.2.11)"
    char path[PATH_MAX] = {};       // "" for standard output
    char why[PATH_MAX + 256] = {};  // the failure, "" none (it may name the file)
    UnitSettings settings;
};

struct Export {
    std::vector<Job> jobs;
    SettingsWriteOptions opt;
    bool force = false;
    const CliIo* io = nullptr;
};

void export_one(void* ctx, int k)
{
    Export& x = *static_cast<Export*>(ctx);
    Job& j = x.jobs[static_cast<size_t>(k)];
    if (j.why[0] != '\0') return;
    const char* fault = ensure_model(j.index);
    if (fault == nullptr)
        fault = read_unit_settings(j.index, SETTINGS_ALL_GROUPS, &j.settings, j.why, sizeof j.why);
    if (fault != nullptr) {
        if (fault != j.why) std::snprintf(j.why, sizeof j.why, "%s", fault);
        return;
    }
    if (j.path[0] != '\0')
        save_settings_file(j.path, j.settings, x.opt, x.force, j.why, sizeof j.why);
    if (x.io->progress) std::fprintf(x.io->err, "kivraset export: %s read\n", j.label);
}

// Where each unit's file goes.
void plan_files(Export& x, const char* output)
{
    const bool to_stdout = output == nullptr || std::strcmp(output, "-") == 0;
    const bool dir = !to_stdout && is_directory(output);
    for (Job& j : x.jobs) {
        if (j.index < 0 || to_stdout) continue;
        if (dir)
            settings_file_name(xportset[j.index].mac, output, j.path, sizeof j.path);
        else
            std::snprintf(j.path, sizeof j.path, "%s", output);
        // Nothing is read from a unit whose file could not be written.
        if (!x.force && path_taken(j.path))
            std::snprintf(j.why, sizeof j.why, "writing %s: the file exists (--force replaces it)",
                          j.path);
    }
}

void report_json(const Export& x, FILE* out)
{
    JsonWriter w(out);
    w.begin_object();
    w.key("units");
    w.begin_array();
    for (const Job& j : x.jobs) {
        w.begin_object();
        char mac[18] = "";
        if (j.index >= 0) format_mac(xportset[j.index].mac, mac);
        w.key("unit");
        w.string(j.index >= 0 ? mac : j.name);
        w.key("address");
        j.index >= 0 ? w.string(xportset[j.index].ipstr) : w.null();
        w.key("file");
        j.path[0] != '\0' ? w.string(j.path) : w.null();
        w.key("ok");
        w.boolean(j.why[0] == '\0');
        w.key("error");
        j.why[0] != '\0' ? w.string(j.why) : w.null();
        w.end_object();
    }
    w.end_array();
    w.end_object();
    w.end_line();
}

int run_export(const ParsedArgs& args, const CliIo& io)
{
    const bool all = option_count(args, OPT_ALL) > 0;
    if (all == (args.operand_count > 0)) {
        std::fprintf(
            io.err,
            "kivraset export: name the units, or give --all\nTry 'kivraset export --help'.\n");
        return CLI_USAGE;
    }
    const char* output = option_value(args, OPT_OUTPUT, 0);
    const bool json = option_count(args, OPT_JSON) > 0;
    if (json && (output == nullptr || std::strcmp(output, "-") == 0)) {
        std::fprintf(io.err,
                     "kivraset export: --json reports on standard output; give -o FILE|DIR\n");
        return CLI_USAGE;
    }
    static NamedUnit named[CLI_ARGS_MAX];
    if (parse_named_units(cli_export, args.operands, args.operand_count, named, io.err) != CLI_OK)
        return CLI_USAGE;
    PlantSearch search;
    if (search_options(cli_export, args, OPT_INTERFACE, OPT_PORT, &search, io.err) != CLI_OK)
        return CLI_USAGE;
    if ((all || args.operand_count > 1) && (output == nullptr || !is_directory(output))) {
        std::fprintf(io.err,
                     "kivraset export: several units need -o DIR, a directory for their files\n");
        return CLI_USAGE;
    }
    if (search_units(cli_export, search, io) != CLI_OK) return CLI_UNIT_FAILED;

    Export x;
    x.io = &io;
    x.force = option_count(args, OPT_FORCE) > 0;
    x.opt.with_secrets = option_count(args, OPT_SECRETS) > 0;
    const int found = search.result == SEARCH_FOUND ? std::min(xportcount, XPORT_MAX) : 0;
    find_named_units(named, args.operand_count);
    x.jobs.resize(static_cast<size_t>(all ? found : args.operand_count));
    for (size_t k = 0; k < x.jobs.size(); k++) {
        Job& j = x.jobs[k];
        j.index = all ? static_cast<int>(k) : named[k].index;
        j.name = all ? nullptr : named[k].text;
        if (!all && named[k].fault != nullptr)
            std::snprintf(j.why, sizeof j.why, "%s", named[k].fault);
        if (j.index >= 0)
            unit_label(j.index, j.label, sizeof j.label);
        else
            std::snprintf(j.label, sizeof j.label, "%s", j.name != nullptr ? j.name : "?");
    }
    if (all)
        std::sort(x.jobs.begin(), x.jobs.end(), [](const Job& a, const Job& b) {
            return std::memcmp(xportset[a.index].mac, xportset[b.index].mac, 6) < 0;
        });
    plan_files(x, output);

    for_each_unit_parallel(static_cast<int>(x.jobs.size()), UNIT_THREADS_MAX, export_one, &x);

    int status = all && x.jobs.empty() ? CLI_UNIT_FAILED : CLI_OK;
    for (const Job& j : x.jobs) {
        if (j.why[0] != '\0') {
            std::fprintf(io.err, "kivraset export: %s: %s\n", j.label, j.why);
            status = CLI_UNIT_FAILED;
        } else if (j.path[0] == '\0') {
            JsonWriter w(io.out);
            write_settings_file(j.settings, x.opt, w);
        } else if (!json) {
            std::fprintf(io.out, "%s %s: %s\n", j.label, j.settings.model_name, j.path);
        }
    }
    if (all) say_dropped(cli_export, io.err);
    if (all && search_dropped_count > 0) status = CLI_UNIT_FAILED;
    if (all && x.jobs.empty() && search_dropped_count == 0)
        std::fprintf(io.err, "kivraset export: no unit answered on %s\n", search.names);
    if (json) report_json(x, io.out);
    return status;
}

}  // namespace

const Subcommand cli_export = {
    "export",
    "UNIT... | --all",
    -1,
    "write each unit's settings to a settings file",
    "Searches as 'kivraset list' does, asks each unit its model and reads every\n"
    "settings group the model has, with the same exchanges as KIVRASetL's screens,\n"
    "then writes one settings file per unit (docs/settings-file.md), mode 0600.\n"
    "UNIT is a MAC address (00:80:a3:10:00:01) or an IPv4 address. One unit goes\n"
    "to -o FILE, or to standard output without -o (or with -o -); several units\n"
    "and --all need -o DIR and go to DIR/<mac>.json (00-80-a3-10-00-01.json).\n"
    "With --all every unit found is read, many at once. An existing file is\n"
    "never replaced without --force, and nothing is read from its unit. The\n"
    "mail account's password is written only with --with-secrets.",
    "0 every file written; 1 a unit failed (named on standard error with the\n"
    "step), was not found or was named twice, and the others were still\n"
    "exported; 2 bad usage.",
    export_options,
    sizeof export_options / sizeof export_options[0],
    run_export,
};
