// kivraset: the command line for whole plants. It searches and reads units
// through the same code as KIVRASetL's screens (settings/, device/) and never
// draws: results go to standard output, for people as aligned columns or
// with --json for scripts; errors, naming the unit and the step, and
// progress (only when it is a terminal) go to standard error.
#pragma once

#include <netinet/in.h>

#include <cstdint>
#include <cstdio>

// Exit statuses, one meaning each.
constexpr int CLI_OK = 0;           // every unit done
constexpr int CLI_UNIT_FAILED = 1;  // a unit failed or differs, or none answered
constexpr int CLI_USAGE = 2;        // bad usage or a bad file

// ---- options: one parser and one help style for every subcommand ----

struct OptionSpec {
    const char* name;   // long name, given as --name (or --name=value)
    char letter;        // short name, given as -l (value as -lVALUE or -l VALUE); 0 none
    const char* value;  // the value's name in the help ("IFACE"); nullptr for a flag
    bool repeat;        // may be given more than once
    const char* help;   // one line of help
};

constexpr int CLI_ARGS_MAX = 256;  // options and operands of one command line

struct ParsedArgs {
    int option[CLI_ARGS_MAX];         // the option table entry of each given option, in order
    const char* value[CLI_ARGS_MAX];  // its value (nullptr for a flag)
    int count = 0;
    const char* operands[CLI_ARGS_MAX];
    int operand_count = 0;
    bool help = false;  // -h or --help was given
};

struct CliIo {
    FILE* out;
    FILE* err;
    bool progress;  // standard error is a terminal: say what is going on
};

struct Subcommand {
    const char* name;
    const char* operands;     // what follows the options in the usage line ("" none)
    int max_operands;         // -1: any number
    const char* summary;      // one line for "kivraset --help"
    const char* description;  // the paragraph of "kivraset NAME --help"
    const char* exit_status;  // what 0, 1 and 2 mean for it
    const OptionSpec* options;
    int option_count;
    int (*run)(const ParsedArgs& args, const CliIo& io);
};

extern const Subcommand cli_list;
extern const Subcommand cli_export;
extern const Subcommand cli_import;
extern const Subcommand cli_check;
extern const Subcommand cli_set_address;

// Reads argv[first..argc) for sub. CLI_OK, or CLI_USAGE after saying why on
// io.err (the option or operand at fault and how to get help).
int parse_args(const Subcommand& sub, int argc, char** argv, int first, ParsedArgs* out, FILE* err);
// How many times option opt (an index into sub.options) was given, and its
// n-th value (nullptr when not given that often).
int option_count(const ParsedArgs& args, int opt);
const char* option_value(const ParsedArgs& args, int opt, int n);
// The help of one subcommand, and of the whole program.
void print_help(const Subcommand& sub, FILE* f);
void print_program_help(FILE* f);

// The whole program: dispatches to a subcommand; returns the exit status.
int kivraset_main(int argc, char** argv, FILE* out, FILE* err);

// ---- units named on the command line ----

enum class UnitNameKind { Mac, Address };
struct UnitName {
    UnitNameKind kind;
    uint8_t mac[6];  // kind Mac
    in_addr_t ip;    // kind Address, network order
};
// "00:80:a3:10:00:01" or "00-80-A3-10-00-01" (any case, one separator
// throughout) or a dotted IPv4 address. 0, or -1 when text names no unit.
int parse_unit_name(const char* text, UnitName* out);
// "00:80:a3:10:00:01" (18 bytes with the terminator).
void format_mac(const uint8_t mac[6], char out[18]);

// ---- output for people ----

// Columns of text, each as wide as its widest cell, two blanks apart; the
// last column is not padded.
constexpr int TABLE_COLUMNS_MAX = 12;
constexpr int TABLE_CELL_LEN = 64;
struct TextTable {
    int columns = 0;
    int rows = 0;  // header included
    int width[TABLE_COLUMNS_MAX] = {};
};
void table_measure(TextTable& t, const char* const* cells);
void table_print(const TextTable& t, const char* const* cells, FILE* f);
