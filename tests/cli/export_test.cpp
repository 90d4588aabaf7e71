// kivraset export in the lab: a unit of every family exported with --all,
// each file's values against what the plant holds, nothing written to any
// unit; the files' mode, secrets, standard output, and the units that are
// named twice, not found or whose file exists.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <fstream>
#include <nlohmann/json.hpp>
#include <sstream>

#include "rig/scratch_dir.h"
#include "tests/cli/cli_run.h"
#include "tests/cli/unit_writes.h"

using clitest::kivraset;
using nlohmann::json;

namespace {

std::string families_plant()
{
    std::ifstream in(rig::lab_source_dir() + "/plants/families.json");
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

TEST(CliExport, EveryFamilyReadIntoItsFileAndNothingWritten)
{
    rig::Lab lab(families_plant());
    ASSERT_TRUE(lab.ok()) << lab.sim_log();
    rig::ScratchDir dir;

    clitest::Run r = kivraset(lab, {"export", "--all", "-o", dir.path()});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.err, "");
    EXPECT_NE(r.out.find("00:80:a3:20:01:03 (192.0.2.22) ZR-301 V2: " +
                         dir.file("00-80-a3-20-01-03.json")),
              std::string::npos)
        << r.out;
    for (const rig::JournalEntry& e : lab.journal())
        EXPECT_FALSE(clitest::is_write(e)) << e.unit << " was sent " << rig::hex(e.bytes);

    // Each file against the plant: (file, JSON pointer, value).
    const struct {
        const char* file;
        const char* pointer;
        const char* value;
    } cases[] = {
        {"00-80-a3-10-00-01", "/family", R"("0/xport")"},
        {"00-80-a3-10-00-01", "/ip",
         R"({"dhcp":false,"address":"192.0.2.10","netmask":"255.255.255.0","gateway":"192.0.2.1"})"},
        {"00-80-a3-10-00-01", "/mail_server/subject", R"({"hex":"835a8393835e815b"})"},
        {"00-80-a3-10-00-01", "/input_extension/connection1",
         R"({"port":10001,"request":true,"destination":"192.0.2.13","destination_port":10001})"},
        {"00-80-a3-10-00-01", "/di_mail/di1/mail", R"("on")"},
        {"00-80-a3-10-00-02", "/input_extension/connection1/destination",
         R"("controller.plant.example")"},
        {"00-80-a3-10-00-02", "/input_extension/connection3", R"({"port":10003,"wait":true})"},
        {"00-80-a3-10-00-02", "/mail_server/server", R"("mail.plant.example")"},
        {"00-80-a3-10-00-03", "/mail_server",
         R"({"server":"mail.plant.example","port":587,"auth_user":"zr206w","from":"zr206w@plant.example","to1":"operator@plant.example","to2":"","subject":"ZR-206W alert"})"},
        {"00-80-a3-10-00-03", "/family", R"("5/wifi")"},
        {"00-80-a3-20-01-01", "/thresholds/ai1",
         R"({"unit":"%","low":25,"high":75,"led":"inside","mail":"led_on"})"},
        {"00-80-a3-20-01-01", "/thresholds/ai3/low", "-100"},
        {"00-80-a3-20-01-01", "/thresholds/ai2/high", "99.9969482421875"},
        {"00-80-a3-20-01-01", "/analog_input",
         R"({"sampling":"60Hz","ai1":{"range":"+/-10V"},"ai2":{"range":"+/-1V"},"ai3":{"range":"+/-30V"}})"},
        {"00-80-a3-20-01-01", "/input_extension/periodic_notice", R"("10sec")"},
        {"00-80-a3-20-01-02", "/analog_output",
         R"({"ao1":{"kind":"voltage","value":5},"ao2":{"kind":"current","value":-9.8223876953125}})"},
        {"00-80-a3-20-01-02", "/input_extension/chattering_ms", "10"},
        {"00-80-a3-20-01-03", "/thresholds/ai1",
         R"({"range":"熱電対","unit":"°C","low":100,"high":400,"led":"outside","mail":"led_on"})"},
        {"00-80-a3-20-01-03", "/thresholds/ai3/low", "0.152587890625"},
        {"00-80-a3-20-01-03", "/do_alerts/do2",
         R"({"enabled":1,"input":"ai3","direction":"off_priority","range":"+/-10V","unit":"V","width":0.006103515625})"},
        {"00-80-a3-20-01-03", "/analog_input_v2/ai1",
         R"({"range":"熱電対","thermocouple":"K 熱電対","cold_junction":true,"burnout_detection":true,"burnout_high":false,"scale":"4-20 mA","scale_low":-10,"scale_high":1000})"},
        {"00-80-a3-20-01-04", "/analog_output/ao3", R"({"kind":"voltage","value":0})"},
        {"00-80-a3-20-01-04", "/di_mail", R"({"di1":{"mail":"off"},"di2":{"mail":"on"}})"},
    };
    for (const auto& c : cases) {
        const std::string name = std::string(c.file) + ".json";
        const json file = json::parse(dir.read(name), nullptr, false);
        ASSERT_TRUE(file.is_object()) << name;
        EXPECT_EQ(file.value(json::json_pointer(c.pointer), json()), json::parse(c.value))
            << name << c.pointer;
        struct stat st {};
        ASSERT_EQ(stat(dir.file(name).c_str(), &st), 0);
        EXPECT_EQ(st.st_mode & 0777, 0600u) << name;
    }
}

TEST(CliExport, SecretsStandardOutputAndUnitsThatGetNothing)
{
    rig::Lab lab(families_plant());
    ASSERT_TRUE(lab.ok()) << lab.sim_log();
    rig::ScratchDir dir;

    clitest::Run r = kivraset(lab, {"export", "192.0.2.12", "--with-secrets"});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(json::parse(r.out)["mail_server"]["auth_password"], "secret");

    dir.write("00-80-a3-10-00-01.json", "kept");
    r = kivraset(lab, {"export", "00:80:a3:10:00:02", "00-80-A3-10-00-02", "00:80:a3:99:99:99",
                       "00:80:a3:10:00:01", "192.0.2.20", "-o", dir.path(), "--json"});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err,
              "kivraset export: 00:80:a3:10:00:02: the unit is named twice; nothing is sent to it\n"
              "kivraset export: 00-80-A3-10-00-02: the unit is named twice; nothing is sent to it\n"
              "kivraset export: 00:80:a3:99:99:99: no unit answers with this MAC address\n"
              "kivraset export: 00:80:a3:10:00:01 (192.0.2.10): writing " +
                  dir.file("00-80-a3-10-00-01.json") + ": the file exists (--force replaces it)\n");
    EXPECT_EQ(dir.read("00-80-a3-10-00-01.json"), "kept");
    const json report = json::parse(r.out, nullptr, false);
    ASSERT_EQ(report["units"].size(), 5u) << r.out;
    EXPECT_EQ(report["units"][4]["ok"], true);
    EXPECT_EQ(report["units"][4]["file"], dir.file("00-80-a3-20-01-01.json"));
    EXPECT_TRUE(json::parse(dir.read("00-80-a3-20-01-01.json"), nullptr, false).is_object());
    // The search's datagrams reach every unit; nothing more went to these.
    for (const rig::JournalEntry& e : lab.received("gc"))
        EXPECT_NE(e.proto, "tcp") << rig::hex(e.bytes);
    for (const rig::JournalEntry& e : lab.received("plain"))
        EXPECT_NE(e.proto, "tcp") << rig::hex(e.bytes);

    const struct {
        std::vector<std::string> args;
        const char* err;
    } usage[] = {
        {{"export"},
         "kivraset export: name the units, or give --all\nTry 'kivraset export --help'.\n"},
        {{"export", "--all"},
         "kivraset export: several units need -o DIR, a directory for their files\n"},
        {{"export", "00:80:a3:10:00:01", "nounit"},
         "kivraset export: 'nounit' names no unit (a MAC address such as 00:80:a3:10:00:01, or an "
         "IPv4 address)\nTry 'kivraset export --help'.\n"},
    };
    for (const auto& c : usage) {
        r = kivraset(lab, c.args);
        EXPECT_EQ(r.status, 2);
        EXPECT_EQ(r.err, c.err);
    }
}

}  // namespace
