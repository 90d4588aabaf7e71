// kivraset check: each file's unit read (only the groups the file holds)
// and compared field by field with the file. Every file is read and
// checked before the search, so a bad file sends nothing at all.
#include <climits>
#include <cstring>
#include <vector>

#include "cli/plant_search.h"
#include "cli/unit_settings.h"
#include "device/KIVRAXPort.h"

namespace {

enum { OPT_JSON, OPT_UNIT, OPT_INTERFACE, OPT_PORT };
const OptionSpec check_options[] = {
    {"json", 0, nullptr, false, "report as one JSON object instead of lines"},
    {"unit", 0, "UNIT", false, "compare this unit with the file (one FILE only)"},
    {"interface", 'i', "IFACE", true, "search only on this host interface (may be repeated)"},
    {"port", 0, "N", false, "ask the model of the units whose command port is N during the search"},
};

struct Difference {
    int field, item;
};

struct Job {
    const char* file = nullptr;
    UnitSettings want;  // the file
    UnitSettings have;  // the unit
    NamedUnit unit{};
    char label[48] = {};
    char why[256] = {};  // the failure, "" none
    std::vector<Difference> differences;
    int compared = 0;
};

void check_one(void* ctx, int k)
{
    Job& j = (*static_cast<std::vector<Job>*>(ctx))[static_cast<size_t>(k)];
    if (j.why[0] != '\0') return;
    const char* fault = ensure_model(j.unit.index);
    const DeviceEntry& e = xportset[j.unit.index];
    char family[16], want[16];
    if (fault == nullptr) {
        settings_family(e.model, e.modtype, family);
        settings_family(j.want.model, j.want.modtype, want);
        if (std::strcmp(family, want) != 0) {
            std::snprintf(j.why, sizeof j.why,
                          "the unit is of family %s, the file is for %s; nothing compared", family,
                          want);
            return;
        }
        fault =
            read_unit_settings(j.unit.index, j.want.present.groups, &j.have, j.why, sizeof j.why);
    }
    if (fault != nullptr) {
        if (fault != j.why) std::snprintf(j.why, sizeof j.why, "%s", fault);
        return;
    }
    each_present_field(j.want, [&](int f, int item) {
        j.compared++;
        if (!settings_value_equal(f, item, j.want, j.have)) j.differences.push_back({f, item});
    });
}

void raw_value(JsonWriter& w, int f, int item, const UnitSettings& s, const UnitSettings& scales)
{
    char text[1100];
    settings_value_text(f, item, s, scales, text, sizeof text);
    w.number_text(text, std::strlen(text));  // already JSON
}

void report_json(const std::vector<Job>& jobs, FILE* out)
{
    JsonWriter w(out);
    w.begin_object();
    w.key("files");
    w.begin_array();
    for (const Job& j : jobs) {
        w.begin_object();
        w.key("file");
        w.string(j.file);
        w.key("unit");
        char mac[18];
        format_mac(j.unit.index >= 0 ? xportset[j.unit.index].mac : j.want.mac, mac);
        w.string(j.unit.index >= 0 || j.unit.name.kind == UnitNameKind::Mac ? mac : j.unit.text);
        w.key("address");
        j.unit.index >= 0 ? w.string(xportset[j.unit.index].ipstr) : w.null();
        w.key("status");
        w.string(j.why[0] != '\0' ? "failed" : j.differences.empty() ? "same" : "differs");
        w.key("compared");
        w.integer(j.compared);
        w.key("differences");
        w.begin_array();
        for (const Difference& d : j.differences) {
            char key[96];
            settings_field_path(d.field, d.item, key, sizeof key);
            w.begin_object();
            w.key("key");
            w.string(key);
            w.key("file");
            raw_value(w, d.field, d.item, j.want, j.want);
            w.key("unit");
            raw_value(w, d.field, d.item, j.have, j.want);
            w.end_object();
        }
        w.end_array();
        w.key("error");
        j.why[0] != '\0' ? w.string(j.why) : w.null();
        w.end_object();
    }
    w.end_array();
    w.end_object();
    w.end_line();
}

void report_text(const Job& j, FILE* out)
{
    if (j.differences.empty()) {
        std::fprintf(out, "%s: %s: same (%d fields)\n", j.file, j.label, j.compared);
        return;
    }
    std::fprintf(out, "%s: %s: %zu of %d fields differ\n", j.file, j.label, j.differences.size(),
                 j.compared);
    for (const Difference& d : j.differences) {
        char key[96], want[1100], have[1100];
        settings_field_path(d.field, d.item, key, sizeof key);
        settings_value_text(d.field, d.item, j.want, j.want, want, sizeof want);
        settings_value_text(d.field, d.item, j.have, j.want, have, sizeof have);
        std::fprintf(out, "  %s: file %s, unit %s\n", key, want, have);
    }
}

int run_check(const ParsedArgs& args, const CliIo& io)
{
    if (args.operand_count == 0) {
        std::fprintf(io.err,
                     "kivraset check: name the settings files\nTry 'kivraset check --help'.\n");
        return CLI_USAGE;
    }
    const char* unit_text = option_value(args, OPT_UNIT, 0);
    if (unit_text != nullptr && args.operand_count != 1) {
        std::fprintf(io.err, "kivraset check: --unit goes with one FILE only\n");
        return CLI_USAGE;
    }
    std::vector<Job> jobs(static_cast<size_t>(args.operand_count));
    for (size_t k = 0; k < jobs.size(); k++) {
        Job& j = jobs[k];
        j.file = args.operands[k];
        SettingsFileError err;
        if (load_settings_file(j.file, &j.want, &err) != 0) {
            if (err.line > 0)
                std::fprintf(io.err, "kivraset check: %s:%d:%d: %s%s%s\n", j.file, err.line,
                             err.column, err.key, err.key[0] ? ": " : "", err.reason);
            else
                std::fprintf(io.err, "kivraset check: %s: %s%s%s\n", j.file, err.key,
                             err.key[0] ? ": " : "", err.reason);
            return CLI_USAGE;
        }
    }
    if (unit_text != nullptr &&
        parse_named_units(cli_check, &unit_text, 1, &jobs[0].unit, io.err) != CLI_OK)
        return CLI_USAGE;
    PlantSearch search;
    if (search_options(cli_check, args, OPT_INTERFACE, OPT_PORT, &search, io.err) != CLI_OK)
        return CLI_USAGE;
    if (search_units(cli_check, search, io) != CLI_OK) return CLI_UNIT_FAILED;

    std::vector<NamedUnit> units(jobs.size());
    for (size_t k = 0; k < jobs.size(); k++) {
        units[k] = jobs[k].unit;
        if (unit_text == nullptr) {
            units[k] = NamedUnit{jobs[k].file, {}, -1, nullptr};
            units[k].name.kind = UnitNameKind::Mac;
            std::memcpy(units[k].name.mac, jobs[k].want.mac, 6);
        }
    }
    find_named_units(units.data(), static_cast<int>(units.size()));
    for (size_t k = 0; k < jobs.size(); k++) {
        Job& j = jobs[k];
        j.unit = units[k];
        if (j.unit.fault != nullptr) std::snprintf(j.why, sizeof j.why, "%s", j.unit.fault);
        char mac[18];
        format_mac(j.want.mac, mac);
        if (j.unit.index >= 0)
            unit_label(j.unit.index, j.label, sizeof j.label);
        else
            std::snprintf(j.label, sizeof j.label, "%s", unit_text != nullptr ? unit_text : mac);
    }
    for_each_unit_parallel(static_cast<int>(jobs.size()), UNIT_THREADS_MAX, check_one, &jobs);

    int status = CLI_OK;
    for (const Job& j : jobs) {
        if (j.why[0] != '\0')
            std::fprintf(io.err, "kivraset check: %s: %s: %s\n", j.file, j.label, j.why);
        else if (option_count(args, OPT_JSON) == 0)
            report_text(j, io.out);
        if (j.why[0] != '\0' || !j.differences.empty()) status = CLI_UNIT_FAILED;
    }
    if (option_count(args, OPT_JSON) > 0) report_json(jobs, io.out);
    return status;
}

}  // namespace

const Subcommand cli_check = {
    "check",
    "FILE...",
    -1,
    "compare units with their settings files",
    "Reads every settings file first (a bad file ends the command before anything\n"
    "is sent), searches as 'kivraset list' does, finds each file's unit by the MAC\n"
    "address the file names (or the unit given with --unit), reads from it the\n"
    "groups the file holds and compares every field the file holds. Each field\n"
    "that differs is reported with its key, the file's value and the unit's.\n"
    "Fields a unit never reports (a GC unit's mail credentials) are not compared.",
    "0 every unit holds what its file says; 1 a field differs, or a unit failed,\n"
    "was not found, is of another family or was named twice (named on standard\n"
    "error); 2 bad usage or a bad file.",
    check_options,
    sizeof check_options / sizeof check_options[0],
    run_check,
};
