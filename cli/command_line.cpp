// The program's entry: the subcommand table, its help and its version.
#include "cli/kivraset.h"

#include <unistd.h>

#include <cstring>

namespace {

// Every subcommand, in the order the help lists them.
const Subcommand* const subcommands[] = {&cli_list, &cli_export, &cli_import, &cli_check,
                                         &cli_set_address};

const Subcommand* find_subcommand(const char* name)
{
    for (const Subcommand* s : subcommands)
        if (std::strcmp(s->name, name) == 0) return s;
    return nullptr;
}

}  // namespace

void print_program_help(FILE* f)
{
    std::fputs(
        "Usage: kivraset COMMAND [OPTION]... [ARGUMENT]...\n"
        "       kivraset --help | --version\n\n"
        "Works on the network I/O units of a plant from the command line: searches\n"
        "every host network and reads each unit as KIVRASetL does.\n\nCommands:\n",
        f);
    for (const Subcommand* s : subcommands) std::fprintf(f, "  %-12s %s\n", s->name, s->summary);
    std::fputs(
        "\nRun 'kivraset COMMAND --help' for the options of a command.\n"
        "Exit status: 0 success; 1 a unit failed or differs; 2 bad usage or a bad file.\n",
        f);
}

int kivraset_main(int argc, char** argv, FILE* out, FILE* err)
{
    const char* first = argc > 1 && argv[1] != nullptr ? argv[1] : nullptr;
    if (first == nullptr) {
        print_program_help(err);
        return CLI_USAGE;
    }
    if (std::strcmp(first, "--help") == 0 || std::strcmp(first, "-h") == 0) {
        print_program_help(out);
        return CLI_OK;
    }
    if (std::strcmp(first, "--version") == 0) {
        std::fprintf(out, "kivraset %s\n", KIVRA_VERSION_TEXT);
        return CLI_OK;
    }
    const Subcommand* sub = find_subcommand(first);
    if (sub == nullptr) {
        std::fprintf(err, "kivraset: unknown command '%s'\nTry 'kivraset --help'.\n", first);
        return CLI_USAGE;
    }
    ParsedArgs args;
    if (parse_args(*sub, argc, argv, 2, &args, err) != CLI_OK) return CLI_USAGE;
    if (args.help) {
        print_help(*sub, out);
        return CLI_OK;
    }
    const CliIo io{out, err, isatty(fileno(err)) == 1};
    const int status = sub->run(args, io);
    std::fflush(out);
    return status;
}
