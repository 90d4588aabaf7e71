// What the command line reads before it talks to any unit: unit names,
// options and JSON, each a table of texts and what becomes of them.
#include <gtest/gtest.h>

#include <arpa/inet.h>

#include <string>

#include "cli/json.h"
#include "cli/kivraset.h"

namespace {

TEST(CliUnitNames, MacAddressesInEitherSpellingAndDottedAddressesOnly)
{
    struct Case {
        const char* text;
        int result;
        const char* as;  // the MAC as printed, or the address
    } cases[] = {
        {"00:80:a3:10:00:01", 0, "00:80:a3:10:00:01"},
        {"00-80-A3-10-00-0F", 0, "00:80:a3:10:00:0f"},
        {"00:80:A3:ab:Cd:eF", 0, "00:80:a3:ab:cd:ef"},
        {"192.0.2.10", 0, "192.0.2.10"},
        {"255.255.255.255", 0, "255.255.255.255"},
        {"00:80:a3-10:00:01", -1, ""},
        {"00:80:a3:10:00", -1, ""},
        {"00:80:a3:10:00:01:", -1, ""},
        {"0:80:a3:10:00:01", -1, ""},
        {"00:80:a3:10:00:0g", -1, ""},
        {"192.0.2", -1, ""},
        {"192.0.2.256", -1, ""},
        {"192.0.2.010", -1, ""},
        {"0x7f.0.0.1", -1, ""},
        {" 192.0.2.10", -1, ""},
        {"", -1, ""},
    };
    for (const Case& c : cases) {
        UnitName u{};
        ASSERT_EQ(parse_unit_name(c.text, &u), c.result) << c.text;
        if (c.result != 0) continue;
        char shown[18] = {};
        if (u.kind == UnitNameKind::Mac)
            format_mac(u.mac, shown);
        else
            inet_ntop(AF_INET, &u.ip, shown, sizeof shown);
        EXPECT_STREQ(shown, c.as) << c.text;
    }
}

const OptionSpec test_options[] = {
    {"json", 0, nullptr, false, "as JSON"},
    {"interface", 'i', "IFACE", true, "this interface"},
    {"port", 0, "N", false, "this port"},
};
int run_nothing(const ParsedArgs&, const CliIo&) { return 0; }
const Subcommand test_sub = {"try", "UNIT...", 2, "s", "d", "e", test_options, 3, run_nothing};

TEST(CliOptions, EveryWayOfGivingAnOptionAndEveryMistake)
{
    struct Case {
        std::vector<const char*> argv;
        const char* parsed;  // "option=value ... | operands" or the message
    } cases[] = {
        {{"--json", "-i", "a", "-ib", "--interface=c", "--port", "7", "u1"},
         "0 1=a 1=b 1=c 2=7 | u1"},
        {{"--", "-i", "--help"}, "| -i --help"},
        {{"-h", "-"}, "help | -"},
        {{"--jsn"}, "kivraset try: unknown option '--jsn'\nTry 'kivraset try --help'.\n"},
        {{"--json=1"},
         "kivraset try: option takes no value: '--json=1'\nTry 'kivraset try --help'.\n"},
        {{"-i"}, "kivraset try: option needs a value: '-i'\nTry 'kivraset try --help'.\n"},
        {{"--port", "1", "--port=2"},
         "kivraset try: option given twice: '--port=2'\nTry 'kivraset try --help'.\n"},
        {{"a", "b", "c"}, "kivraset try: unexpected argument 'c'\nTry 'kivraset try --help'.\n"},
    };
    for (const Case& c : cases) {
        std::vector<char*> argv{const_cast<char*>("kivraset"), const_cast<char*>("try")};
        for (const char* a : c.argv) argv.push_back(const_cast<char*>(a));
        char* text = nullptr;
        size_t size = 0;
        FILE* err = open_memstream(&text, &size);
        ParsedArgs args;
        const int r =
            parse_args(test_sub, static_cast<int>(argv.size()), argv.data(), 2, &args, err);
        std::fclose(err);
        std::string got = text;
        std::free(text);
        if (r == CLI_OK) {
            got = args.help ? "help " : "";
            for (int k = 0; k < args.count; k++)
                got += std::to_string(args.option[k]) +
                       (args.value[k] ? std::string("=") + args.value[k] : "") + " ";
            got += "|";
            for (int k = 0; k < args.operand_count; k++) got += std::string(" ") + args.operands[k];
        }
        EXPECT_EQ(got, c.parsed) << c.argv[0];
    }
}

TEST(CliProgram, HelpVersionAndUnknownCommandsAnswerBeforeAnySearch)
{
    struct Case {
        std::vector<const char*> argv;
        int status;
        const char* first_line;  // of standard output, else of standard error
    } cases[] = {
        {{"--help"}, CLI_OK, "Usage: kivraset COMMAND [OPTION]... [ARGUMENT]..."},
        {{}, CLI_USAGE, "Usage: kivraset COMMAND [OPTION]... [ARGUMENT]..."},
        {{"list", "--help"}, CLI_OK, "Usage: kivraset list [--json] [-i IFACE]... [--port N]"},
        {{"list", "-h", "--port", "x"},
         CLI_OK,
         "Usage: kivraset list [--json] [-i IFACE]... [--port N]"},
        {{"--version"}, CLI_OK, "kivraset " KIVRA_VERSION_TEXT},
        {{"nosuch"}, CLI_USAGE, "kivraset: unknown command 'nosuch'"},
        {{"list", "extra"}, CLI_USAGE, "kivraset list: unexpected argument 'extra'"},
    };
    for (const Case& c : cases) {
        std::vector<char*> argv{const_cast<char*>("kivraset")};
        for (const char* a : c.argv) argv.push_back(const_cast<char*>(a));
        char *out_text = nullptr, *err_text = nullptr;
        size_t out_size = 0, err_size = 0;
        FILE* out = open_memstream(&out_text, &out_size);
        FILE* err = open_memstream(&err_text, &err_size);
        EXPECT_EQ(kivraset_main(static_cast<int>(argv.size()), argv.data(), out, err), c.status);
        std::fclose(out);
        std::fclose(err);
        const std::string text = out_size > 0 ? out_text : err_text;
        EXPECT_EQ(text.substr(0, text.find('\n')), c.first_line);
        std::free(out_text);
        std::free(err_text);
    }
}

// The document as the writer puts it back, or the reader's fault and place.
std::string reread(const std::string& text, int capacity = 64)
{
    JsonToken tokens[64];
    JsonDoc doc;
    if (json_parse(text.data(), text.size(), tokens, capacity, &doc) != 0)
        return std::string(doc.error.reason) + " at " + std::to_string(doc.error.line) + ":" +
               std::to_string(doc.error.column);
    std::string out;
    JsonWriter w(
        [](void* ctx, const char* b, size_t n) { static_cast<std::string*>(ctx)->append(b, n); },
        &out);
    w.value(doc, 0);
    return out;
}

TEST(CliJson, ReadsWhatTheGrammarAllowsWritesItCanonicallyAndNamesEachFault)
{
    struct Case {
        std::string text, result;
    } cases[] = {
        {" {\"a\" : [1, -0.5e+3, true, false, null], \"b\": {}} ",
         "{\"a\":[1,-0.5e+3,true,false,null],\"b\":{}}"},
        {R"(["\u00e9\ud83d\ude00\/\t\u0001", "é"])", "[\"é😀/\\t\\u0001\",\"é\"]"},
        {"[]", "[]"},
        {"", "expected a value at 1:1"},
        {"[1,]", "expected a value at 1:4"},
        {"{\"a\" 1}", "expected : after a key at 1:6"},
        {"{1: 2}", "expected a key (a string) at 1:2"},
        {"[1 2]", "expected , or ] after an item at 1:4"},
        {"[01]", "expected , or ] after an item at 1:3"},
        {"[1.]", "a number needs a digit here at 1:4"},
        {"{\"a\": [1}\n", "expected , or ] after an item at 1:9"},
        {"[\n\"a\nb\"]", "a control character in a string at 2:3"},
        {"\"\\x\"", "an unknown escape in a string at 1:2"},
        {"\"\\ud800\"", "a lone surrogate in a string at 1:2"},
        {"\"\\u12g4\"", "\\u needs four hex digits at 1:2"},
        {"\"\xc3\x28\"", "a string that is not UTF-8 at 1:2"},
        {"\"\xed\xa0\x80\"", "a string that is not UTF-8 at 1:2"},
        {"\"abc", "the text ends inside a string at 1:5"},
        {"[[[", "the text ends inside an array at 1:4"},
        {"tru", "expected a value at 1:1"},
        {"1 2", "text after the value at 1:3"},
        {std::string(33, '[') + std::string(33, ']'), "nested too deeply at 1:33"},
        {"[1,2,3]", "more values than the reader holds at 1:6"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(reread(c.text, c.text == "[1,2,3]" ? 3 : 64), c.result) << c.text;
    EXPECT_EQ(reread(std::string(32, '[') + std::string(32, ']')),
              std::string(32, '[') + std::string(32, ']'));
}

TEST(CliJson, MembersTextsAndNumbersAreReadWithinTheirBounds)
{
    const std::string text =
        R"({"name": "ab\u00e9", "nul": "a\u0000b", "n": 65535, "big": 1e3, "name": "x"})";
    JsonToken tokens[16];
    JsonDoc doc;
    ASSERT_EQ(json_parse(text.data(), text.size(), tokens, 16, &doc), 0);
    char out[5];
    EXPECT_EQ(json_text(doc, json_member(doc, 0, "name"), out, sizeof out), 4);
    EXPECT_STREQ(out, "abé");
    EXPECT_EQ(json_text(doc, json_member(doc, 0, "name"), out, 4), -1) << "one byte short";
    EXPECT_EQ(json_text(doc, json_member(doc, 0, "nul"), out, sizeof out), -2);
    EXPECT_EQ(json_text(doc, json_member(doc, 0, "n"), out, sizeof out), -3);
    EXPECT_EQ(json_member(doc, 0, "missing"), -1);
    long long v = 0;
    EXPECT_EQ(json_integer(doc, json_member(doc, 0, "n"), 1, 65535, &v), 0);
    EXPECT_EQ(v, 65535);
    EXPECT_EQ(json_integer(doc, json_member(doc, 0, "n"), 1, 65534, &v), -1);
    EXPECT_EQ(json_integer(doc, json_member(doc, 0, "big"), 0, 5000, &v), -1)
        << "an exponent is no integer";

    std::string written;
    JsonWriter w(
        [](void* ctx, const char* b, size_t n) { static_cast<std::string*>(ctx)->append(b, n); },
        &written);
    w.begin_object();
    w.key("t");
    w.string_n("q\"\\\n\x7f\xff\xc3\xa9", 8);
    w.key("a");
    w.begin_array();
    w.integer(-3);
    w.null();
    w.end_array();
    w.end_object();
    EXPECT_EQ(written, "{\"t\":\"q\\\"\\\\\\n\x7f\xef\xbf\xbd\xc3\xa9\",\"a\":[-3,null]}");
}

}  // namespace
