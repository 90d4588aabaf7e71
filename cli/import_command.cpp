// kivraset import: a settings file into one or more units of its family,
// group by group through the screens' applies, with the plan first and a
// check of every written field after.
#include "cli/kivraset.h"

#include <cstring>
#include <vector>

#include "cli/import_report.h"
#include "cli/plant_search.h"

namespace {

enum { OPT_DRY_RUN, OPT_WITH_ADDRESS, OPT_JSON, OPT_INTERFACE };
const OptionSpec options[] = {
    {"dry-run", 0, nullptr, false, "read the units and print the plan; send nothing"},
    {"with-address", 0, nullptr, false, "apply the file's IP group too (last)"},
    {"json", 0, nullptr, false, "print one JSON object instead of text"},
    {"interface", 'i', "IFACE", true, "search only on this host interface (may be repeated)"},
};

struct Batch {
    const UnitSettings* file;
    ImportOptions opt;
    const NamedUnit* named;
    ImportUnit* units;
};

void import_one(void* ctx, int k)
{
    const Batch& b = *static_cast<const Batch*>(ctx);
    if (b.named[k].index >= 0) import_unit(b.named[k].index, *b.file, b.opt, b.units[k]);
}

// The units' models, and whether each is of the file's family. CLI_OK, or
// CLI_USAGE when one is not (said; nothing is sent to any unit).
int check_family(const char* path, const UnitSettings& file, NamedUnit* named, int n, FILE* err)
{
    char want[16];
    settings_family(file.model, file.modtype, want);
    int status = CLI_OK;
    for (int k = 0; k < n; k++) {
        NamedUnit& u = named[k];
        if (u.index < 0) continue;
        const char* why = ensure_model(u.index);
        if (why != nullptr) {
            u.fault = why;
            u.index = -1;
            say_fault(cli_import, u, err);
            continue;
        }
        char has[16];
        settings_family(xportset[u.index].model, xportset[u.index].modtype, has);
        if (std::strcmp(has, want) == 0) continue;
        char label[48];
        unit_label(u.index, label, sizeof label);
        std::fprintf(err,
                     "kivraset import: %s is for units of family %s; %s is %s: nothing sent to "
                     "any unit\n",
                     path, want, label, has);
        status = CLI_USAGE;
    }
    return status;
}

int run_import(const ParsedArgs& args, const CliIo& io)
{
    if (args.operand_count < 2) {
        std::fprintf(io.err,
                     "kivraset import: give the settings file and at least one unit\n"
                     "Try 'kivraset import --help'.\n");
        return CLI_USAGE;
    }
    const char* path = args.operands[0];
    static UnitSettings file;
    file = UnitSettings{};
    SettingsFileError e;
    if (load_settings_file(path, &file, &e) != 0) {
        std::fprintf(io.err, "kivraset import: %s: %s%s%s", path, e.key, e.key[0] ? ": " : "",
                     e.reason);
        if (e.line > 0) std::fprintf(io.err, " (line %d, column %d)", e.line, e.column);
        std::fprintf(io.err, "; nothing sent\n");
        return CLI_USAGE;
    }
    const int n = args.operand_count - 1;
    std::vector<NamedUnit> named(static_cast<size_t>(n));
    if (parse_named_units(cli_import, args.operands + 1, n, named.data(), io.err) != CLI_OK)
        return CLI_USAGE;
    static PlantSearch s;
    s = PlantSearch{};
    if (search_options(cli_import, args, OPT_INTERFACE, -1, &s, io.err) != CLI_OK) return CLI_USAGE;
    s.until = named.data();
    s.until_count = n;
    if (search_units(cli_import, s, io) != CLI_OK) return CLI_UNIT_FAILED;
    find_named_units(named.data(), n);
    for (const NamedUnit& u : named)
        if (u.index < 0) say_fault(cli_import, u, io.err);
    if (check_family(path, file, named.data(), n, io.err) != CLI_OK) return CLI_USAGE;

    std::vector<ImportUnit> units(static_cast<size_t>(n));
    Batch b{&file, {}, named.data(), units.data()};
    b.opt.dry_run = option_count(args, OPT_DRY_RUN) > 0;
    b.opt.with_address = option_count(args, OPT_WITH_ADDRESS) > 0;
    b.opt.io = &io;
    for_each_unit_parallel(n, UNIT_THREADS_MAX, import_one, &b);
    const ImportRun run{path, &file, b.opt.dry_run, named.data(), units.data(), n};
    return print_import_report(run, option_count(args, OPT_JSON) > 0, io);
}

}  // namespace

const Subcommand cli_import = {
    "import",
    "FILE UNIT...",
    -1,
    "write a settings file into units of its family, checking what they took",
    "Reads each unit's groups that the settings FILE holds, and prints the plan:\n"
    "every field that changes, old -> new (fields and groups the file does not\n"
    "hold stay as the unit has them, so a file holding only the mail server is\n"
    "a batch change). With --dry-run it stops there. Otherwise it writes only\n"
    "the groups that change, with the screens' applies in their order (input\n"
    "extension, mail alert, analog settings), waits after each restart for the\n"
    "unit to answer again (at most 20 s) and reads every written group back.\n"
    "When a write fails it writes back what it read before to the groups\n"
    "already written (and to the failing one when part of it went out) and\n"
    "says which groups are in which state. The IP group is written only with\n"
    "--with-address, last: a replacement unit keeps its own address. A file for\n"
    "another model family, or one that is not valid, is refused before anything\n"
    "is sent.",
    "0 every unit took the file (or, with --dry-run, was read);\n"
    "1 a unit failed, did not take a field, or could not be found (named on\n"
    "standard error); 2 bad usage, a bad file, or a unit of another family.",
    options,
    sizeof options / sizeof options[0],
    run_import,
};
