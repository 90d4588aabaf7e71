// The one option parser and help style of every subcommand: --name,
// --name=VALUE, --name VALUE, -l, -lVALUE, -l VALUE, "--" ends the options;
// -h and --help everywhere.
#include "cli/kivraset.h"

#include <cstring>

namespace {

int usage_error(const Subcommand& sub, FILE* err, const char* what, const char* arg)
{
    std::fprintf(err, "kivraset %s: %s '%s'\nTry 'kivraset %s --help'.\n", sub.name, what, arg,
                 sub.name);
    return CLI_USAGE;
}

// The option table entry for "--name" (name_len bytes of it) or for a letter; -1 when none.
int find_long(const Subcommand& sub, const char* name, size_t name_len)
{
    for (int k = 0; k < sub.option_count; k++) {
        const char* n = sub.options[k].name;
        if (std::strlen(n) == name_len && std::strncmp(n, name, name_len) == 0) return k;
    }
    return -1;
}

int find_letter(const Subcommand& sub, char letter)
{
    for (int k = 0; k < sub.option_count; k++)
        if (sub.options[k].letter != 0 && sub.options[k].letter == letter) return k;
    return -1;
}

int add_option(const Subcommand& sub, ParsedArgs* out, int opt, const char* value, const char* arg,
               FILE* err)
{
    if (!sub.options[opt].repeat && option_count(*out, opt) > 0)
        return usage_error(sub, err, "option given twice:", arg);
    if (out->count >= CLI_ARGS_MAX) return usage_error(sub, err, "too many arguments at", arg);
    out->option[out->count] = opt;
    out->value[out->count] = value;
    out->count++;
    return CLI_OK;
}

}  // namespace

int parse_args(const Subcommand& sub, int argc, char** argv, int first, ParsedArgs* out, FILE* err)
{
    *out = ParsedArgs{};
    bool options_end = false;
    for (int i = first; i < argc; i++) {
        const char* arg = argv[i] != nullptr ? argv[i] : "";
        const bool is_option = !options_end && arg[0] == '-' && arg[1] != '\0';
        if (!is_option) {
            if (sub.max_operands >= 0 && out->operand_count >= sub.max_operands)
                return usage_error(sub, err, "unexpected argument", arg);
            if (out->operand_count >= CLI_ARGS_MAX)
                return usage_error(sub, err, "too many arguments at", arg);
            out->operands[out->operand_count++] = arg;
            continue;
        }
        if (std::strcmp(arg, "--") == 0) {
            options_end = true;
            continue;
        }
        if (std::strcmp(arg, "--help") == 0 || std::strcmp(arg, "-h") == 0) {
            out->help = true;
            continue;
        }
        int opt = -1;
        const char* value = nullptr;
        bool value_attached = false;
        if (arg[1] == '-') {
            const char* eq = std::strchr(arg + 2, '=');
            const size_t len =
                eq != nullptr ? static_cast<size_t>(eq - (arg + 2)) : std::strlen(arg + 2);
            opt = find_long(sub, arg + 2, len);
            if (eq != nullptr) {
                value = eq + 1;
                value_attached = true;
            }
        } else {
            opt = find_letter(sub, arg[1]);
            if (arg[2] != '\0') {
                value = arg + 2;
                value_attached = true;
            }
        }
        if (opt < 0) return usage_error(sub, err, "unknown option", arg);
        const OptionSpec& o = sub.options[opt];
        if (o.value == nullptr && value_attached)
            return usage_error(sub, err, "option takes no value:", arg);
        if (o.value != nullptr && !value_attached) {
            if (i + 1 >= argc || argv[i + 1] == nullptr)
                return usage_error(sub, err, "option needs a value:", arg);
            value = argv[++i];
        }
        if (add_option(sub, out, opt, value, arg, err) != CLI_OK) return CLI_USAGE;
    }
    return CLI_OK;
}

int option_count(const ParsedArgs& args, int opt)
{
    int n = 0;
    for (int k = 0; k < args.count; k++) n += args.option[k] == opt;
    return n;
}

const char* option_value(const ParsedArgs& args, int opt, int n)
{
    for (int k = 0; k < args.count; k++) {
        if (args.option[k] != opt) continue;
        if (n-- == 0) return args.value[k];
    }
    return nullptr;
}

void print_help(const Subcommand& sub, FILE* f)
{
    std::fprintf(f, "Usage: kivraset %s", sub.name);
    for (int k = 0; k < sub.option_count; k++) {
        const OptionSpec& o = sub.options[k];
        if (o.letter != 0)
            std::fprintf(f, " [-%c%s%s]", o.letter, o.value ? " " : "", o.value ? o.value : "");
        else
            std::fprintf(f, " [--%s%s%s]", o.name, o.value ? " " : "", o.value ? o.value : "");
        if (o.repeat) std::fputs("...", f);
    }
    std::fprintf(f, "%s%s\n\n%s\n\nOptions:\n", sub.operands[0] ? " " : "", sub.operands,
                 sub.description);
    for (int k = 0; k < sub.option_count; k++) {
        const OptionSpec& o = sub.options[k];
        char left[64];
        std::snprintf(left, sizeof left, "%c%c%c --%s%s%s", o.letter ? '-' : ' ',
                      o.letter ? o.letter : ' ', o.letter ? ',' : ' ', o.name, o.value ? " " : "",
                      o.value ? o.value : "");
        std::fprintf(f, "  %-22s %s\n", left, o.help);
    }
    std::fprintf(f, "  %-22s %s\n\nExit status: %s\n", "-h, --help", "show this help and exit",
                 sub.exit_status);
}
