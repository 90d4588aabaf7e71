// kivraset check in the lab: a unit equal to its file, then a value changed
// in the simulator and named by its key; and a table of malformed files,
// each refused with its message and status 2 before anything is sent.
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include "rig/scratch_dir.h"
#include "tests/cli/cli_run.h"

using clitest::kivraset;
using nlohmann::json;

namespace {

const char* const plant = R"({"units": [
  {"name": "ai8", "ip": "192.0.2.20", "mac": "00:80:a3:20:01:01", "model": 8,
   "mail": {"server": "192.0.2.50", "subject": "ZR-301 alert"}, "notice": 7,
   "ai": [{"range": 2, "low": 8192, "high": 24576}, {"range": 1}, {"range": 3}]},
  {"name": "di", "ip": "192.0.2.10", "mac": "00:80:a3:10:00:01", "model": 0}
]})";

TEST(CliCheck, EqualThenAValueChangedInTheUnitIsNamed)
{
    rig::Lab lab(plant);
    ASSERT_TRUE(lab.ok()) << lab.sim_log();
    rig::ScratchDir dir;
    ASSERT_EQ(kivraset(lab, {"export", "--all", "-o", dir.path()}).status, 0);
    const std::string ai8 = dir.file("00-80-a3-20-01-01.json");

    // The unit of model 0 holds what a controller never set (parameter 0xFF).
    clitest::Run r = kivraset(lab, {"check", dir.file("00-80-a3-10-00-01.json"), ai8});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, dir.file("00-80-a3-10-00-01.json") +
                         ": 00:80:a3:10:00:01 (192.0.2.10): same (20 fields)\n" + ai8 +
                         ": 00:80:a3:20:01:01 (192.0.2.20): same (31 fields)\n");

    // The unit's first input range goes from ±10 V to ±30 V ("AR", input 0, range 3).
    ASSERT_EQ(
        lab.run_in_host({"bash", "-c", "printf 'AR\\x20\\x23\\xc8' >/dev/tcp/192.0.2.20/10001"}),
        0);
    ASSERT_TRUE(lab.wait_received("ai8", rig::unhex("41522023c8")));
    r = kivraset(lab, {"check", ai8});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.out, ai8 +
                         ": 00:80:a3:20:01:01 (192.0.2.20): 1 of 31 fields differ\n"
                         "  analog_input.ai1.range: file \"+/-10V\", unit \"+/-30V\"\n");
    r = kivraset(lab, {"check", "--json", ai8});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(
        json::parse(r.out)["files"][0]["differences"],
        json::parse(R"([{"key": "analog_input.ai1.range", "file": "+/-10V", "unit": "+/-30V"}])"));

    // The same file against a unit of another family sends it nothing more than the search.
    r = kivraset(lab, {"check", ai8, "--unit", "192.0.2.10"});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err,
              "kivraset check: " + ai8 +
                  ": 00:80:a3:10:00:01 (192.0.2.10): the unit is of family 0/xport, the file "
                  "is for 8/xport; nothing compared\n");
}

// A file of family 0/xport with one change; "@" marks where the change goes.
std::string file_with(const std::string& change)
{
    std::string f = R"({"format": "kivraset-settings", "version": 1,
  "unit": {"mac": "00:80:a3:10:00:01", "model": 0, "module": "xport"}, "family": "0/xport",
  "mail_server": {"port": 25 @}})";
    return f.replace(f.find('@'), 1, change);
}

TEST(CliCheck, MalformedFilesAreRefusedBeforeAnythingIsSent)
{
    rig::Lab lab(plant);
    ASSERT_TRUE(lab.ok()) << lab.sim_log();
    rig::ScratchDir dir;
    const struct {
        std::string text;
        const char* err;  // after "kivraset check: FILE"
    } cases[] = {
        {"{\"format\": ", ":1:12: expected a value"},
        {"[]", ":1:1: expected a JSON object"},
        {R"({"format": "other", "version": 1})", ":1:12: format: expected \"kivraset-settings\""},
        {R"({"format": "kivraset-settings", "version": 2})",
         ":1:44: version: newer than this kivraset reads (1)"},
        {R"({"format": "kivraset-settings", "version": 1, "extra": 1})",
         ":1:47: extra: unknown key"},
        {file_with(", \"port\": 26"), ":3:32: mail_server.port: given twice"},
        {file_with(", \"sender\": \"\""), ":3:32: mail_server.sender: unknown key"},
        {file_with(", \"to1\": 5"), ":3:39: mail_server.to1: expected a text"},
        {file_with(", \"subject\": \"12345678901234567890123456789\""),
         ":3:43: mail_server.subject: longer than its room of 28 bytes"},
        {file_with(", \"subject\": {\"hex\": \"8350815\"}"),
         ":3:43: mail_server.subject: hex: expected an even number of hex digits"},
        {file_with(", \"server\": \"mail.example\""),
         ":3:42: mail_server.server: expected a dotted address or \"\" (this unit takes no host "
         "name)"},
        {file_with(", \"from\": \"a@b@c\", \"to1\": \"operator\""),
         ":3:56: mail_server.to1: expected an address with @ inside it"},
        {file_with("}, \"do_alerts\": {"),
         ":3:46: do_alerts: this unit's family has no such group"},
        {file_with("}, \"di_mail\": {\"di4\": {\"mail\": \"on\"}"),
         ":3:45: di_mail.di4: this unit's family has no such item"},
        {file_with("}, \"di_mail\": {\"di1\": {\"mail\": \"sometimes\"}"),
         ":3:61: di_mail.di1.mail: not one of this field's choices"},
        {file_with("}, \"input_extension\": {\"periodic_notice\": 5"),
         ":3:72: input_extension.periodic_notice: expected a code 0..4 or the text of one"},
        {file_with("}, \"input_extension\": {\"chattering_ms\": 3"),
         ":3:70: input_extension.chattering_ms: expected an integer 4..20"},
        {file_with("}, \"input_extension\": {\"connection1\": {\"wait\": true}"),
         ":3:69: input_extension.connection1.wait: this unit's family has no such field"},
        {file_with("}, \"ip\": {\"netmask\": \"255.0.255.0\""),
         ":3:51: ip.netmask: a mask's one bits must not have a gap"},
        {R"({"format": "kivraset-settings", "version": 1, "unit": {"mac": "00:80:a3:10:00:01", "model": 0, "module": "xport"}, "family": "8/xport"})",
         ":1:126: family: does not match unit.model and unit.module"},
        {R"({"format": "kivraset-settings", "version": 1, "unit": {"mac": "00:80:a3:20:01:01", "model": 8, "module": "xport"}, "family": "8/xport", "thresholds": {"ai1": {"low": 5}}})",
         ":1:167: thresholds.ai1.low: needs \"unit\" in the same item"},
        {R"({"format": "kivraset-settings", "version": 1, "unit": {"mac": "00:80:a3:20:01:01", "model": 8, "module": "xport"}, "family": "8/xport", "thresholds": {"ai1": {"unit": "V"}}})",
         ":1:168: thresholds.ai1.unit: expected \"%\" (this unit's inputs have no range)"},
        {R"({"format": "kivraset-settings", "version": 1, "unit": {"mac": "00:80:a3:20:01:01", "model": 8, "module": "xport"}, "family": "8/xport", "thresholds": {"ai1": {"unit": "%", "high": 100.5}}})",
         ":1:181: thresholds.ai1.high: outside -100..100 %"},
    };
    int k = 0;
    for (const auto& c : cases) {
        const std::string name = dir.file("bad" + std::to_string(k++) + ".json");
        dir.write(name.substr(dir.path().size() + 1), c.text);
        const clitest::Run r = kivraset(lab, {"check", name});
        EXPECT_EQ(r.status, 2) << c.text;
        EXPECT_EQ(r.err, "kivraset check: " + name + c.err + "\n") << c.text;
        EXPECT_EQ(r.out, "");
    }
    const clitest::Run r = kivraset(lab, {"check", dir.file("missing.json")});
    EXPECT_EQ(r.err,
              "kivraset check: " + dir.file("missing.json") + ": No such file or directory\n");
    EXPECT_EQ(r.status, 2);
    for (const rig::JournalEntry& e : lab.journal())
        EXPECT_NE(e.dir, "in") << e.unit << " heard " << rig::hex(e.bytes);
}

}  // namespace
