// kivraset import in the lab: a unit of every family exported and imported
// onto a second unit of its family sends the bytes the screens' applies send
// for the same values; a dry run sends nothing but reads; a file holding
// only the mail server writes only its records; a write that fails half-way
// leaves the earlier groups written back, each group's state said.
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <nlohmann/json.hpp>
#include <sstream>

#include "cli/kivraset.h"
#include "cli/settings_file.h"
#include "cli/unit_settings.h"
#include "rig/scratch_dir.h"
#include "settings/unit_search.h"
#include "tests/cli/cli_run.h"
#include "tests/cli/import_lab.h"
#include "tests/cli/unit_writes.h"

using clitest::apply_as_screens;
using clitest::entry_of;
using clitest::kivraset;
using clitest::kPairs;
using clitest::Pair;
using clitest::writes;
using nlohmann::json;

namespace {

TEST(CliImport, AnExportedUnitOfEachFamilyGoesOntoAnotherWithTheScreensBytes)
{
    rig::Lab lab(clitest::pairs_plant());
    ASSERT_TRUE(lab.ok()) << lab.sim_log();
    rig::ScratchDir dir;
    lab.enter_host();
    GetMyNetwork();
    ASSERT_EQ(SearchPlant(10001, nullptr, 0), SEARCH_FOUND);

    clitest::Run r = kivraset(lab, {"export", "--all", "-o", dir.path()});
    ASSERT_EQ(r.status, 0) << r.err;
    for (const Pair& p : kPairs) {
        std::string path = dir.file(std::string(p.mac) + ".json");
        std::replace(path.begin(), path.end(), ':', '-');

        // What the screens send for the file's values, then the unit as it was.
        const int to = entry_of(p.to_mac);
        ASSERT_GE(to, 0) << p.to;
        UnitSettings file, before;
        SettingsFileError e;
        ASSERT_EQ(load_settings_file(path.c_str(), &file, &e), 0) << e.key << e.reason;
        char why[160];
        ASSERT_EQ(read_unit_settings(to, SETTINGS_ALL_GROUPS, &before, why, sizeof why), nullptr)
            << why;
        UnitSettings wanted = before;
        merge_settings(file, wanted);
        // The screens write bits of their own beside the values (a "GC" unit's
        // mail trigger byte): the unit's images take them first.
        ASSERT_TRUE(apply_as_screens(to, before)) << p.to;
        size_t mark = lab.journal().size();
        EXPECT_TRUE(apply_as_screens(to, wanted)) << p.to;
        const std::vector<std::string> screens = writes(lab, p.to, mark);
        ASSERT_TRUE(apply_as_screens(to, before)) << p.to;

        mark = lab.journal().size();
        r = kivraset(lab, {"import", path, p.to_mac});
        EXPECT_EQ(r.status, 0) << p.to << "\n" << r.out << r.err;
        EXPECT_EQ(r.out.find("unchanged"), std::string::npos) << "every group differs\n" << r.out;
        EXPECT_NE(r.out.find("  ip: not written without --with-address\n"), std::string::npos);
        EXPECT_EQ(writes(lab, p.to, mark), screens) << p.to;
        ASSERT_EQ(RefindUnit(to, 20000), 0);
    }
}

}  // namespace

namespace {

const char* const kSmallPlant = R"({"units": [
  {"name": "plain", "ip": "192.0.2.10", "mac": "00:80:a3:10:00:01", "model": 0, "gateway": "192.0.2.1",
   "conn": {"dest1": "192.0.2.13", "dport1": 10001, "mode1": 193},
   "params": {"0": 31, "2": 10, "3": 1, "4": 3},
   "mail": {"server": "192.0.2.50", "from_user": "zr201", "from_domain": "plant.example",
            "to1": "operator@plant.example", "subject": "ZR-201 alert"}},
  {"name": "plain_to", "ip": "192.0.2.11", "mac": "00:80:a3:10:00:02", "model": 0,
   "params": {"0": 255, "2": 10, "3": 0, "4": 4}},
  {"name": "ai8", "ip": "192.0.2.20", "mac": "00:80:a3:20:01:01", "model": 8}]})";

// Units that received nothing but reads since journal line `from`.
void expect_no_writes(const rig::Lab& lab, size_t from)
{
    for (const char* unit : {"plain", "plain_to", "ai8"})
        EXPECT_EQ(writes(lab, unit, from), std::vector<std::string>{}) << unit;
}

TEST(CliImport, ADryRunReadsAndPlansAndSendsNothingAndNoneGoesToUnitsItCannotUse)
{
    rig::Lab lab(kSmallPlant);
    ASSERT_TRUE(lab.ok()) << lab.sim_log();
    rig::ScratchDir dir;
    const std::string file = dir.file("plain.json");
    ASSERT_EQ(kivraset(lab, {"export", "00:80:a3:10:00:01", "-o", file}).status, 0);

    const size_t mark = lab.journal().size();
    clitest::Run r = kivraset(lab, {"import", "--dry-run", file, "192.0.2.11"});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out,
              "00:80:a3:10:00:02 (192.0.2.11) ZR-201 (0/xport): plan, nothing sent\n"
              "  ip: not written without --with-address\n"
              "    address: \"192.0.2.11\" -> \"192.0.2.10\"\n"
              "    gateway: \"0.0.0.0\" -> \"192.0.2.1\"\n"
              "  input_extension: to be written\n"
              "    periodic_notice: 15 -> \"10sec\"\n"
              "    connection1.request: false -> true\n"
              "    connection1.destination: \"\" -> \"192.0.2.13\"\n"
              "    connection1.destination_port: 0 -> 10001\n"
              "  mail_server: to be written\n"
              "    server: \"0.0.0.0\" -> \"192.0.2.50\"\n"
              "    from: \"\" -> \"zr201@plant.example\"\n"
              "    to1: \"\" -> \"operator@plant.example\"\n"
              "    subject: \"\" -> \"ZR-201 alert\"\n"
              "  di_mail: to be written\n"
              "    di1.mail: \"never\" -> \"on\"\n"
              "    di2.mail: \"never\" -> \"off\"\n"
              "    di3.mail: \"off\" -> \"never\"\n");
    expect_no_writes(lab, mark);
    EXPECT_GT(lab.received("plain_to").size(), 8u) << "its groups were read";

    dir.write("bad.json", R"({"format": "kivraset-settings", "version": 1, "family": "0/xport"})");
    const struct {
        std::vector<std::string> args;
        int status;
        std::string err;
    } refused[] = {
        {{"import", file, "00:80:a3:20:01:01", "192.0.2.11"},
         2,
         "kivraset import: " + file +
             " is for units of family 0/xport; 00:80:a3:20:01:01 (192.0.2.20) is 8/xport: "
             "nothing sent to any unit\n"},
        {{"import", file, "00:80:a3:10:00:02", "192.0.2.11", "00:80:a3:99:99:99"},
         1,
         "kivraset import: 00:80:a3:10:00:02: the unit is named twice; nothing is sent to it\n"
         "kivraset import: 192.0.2.11: the unit is named twice; nothing is sent to it\n"
         "kivraset import: 00:80:a3:99:99:99: no unit answers with this MAC address\n"},
        {{"import", dir.file("bad.json"), "192.0.2.11"},
         2,
         "kivraset import: " + dir.file("bad.json") + ": "},
        {{"import", file},
         2,
         "kivraset import: give the settings file and at least one unit\n"
         "Try 'kivraset import --help'.\n"},
    };
    for (const auto& c : refused) {
        r = kivraset(lab, c.args);
        EXPECT_EQ(r.status, c.status) << c.args[2];
        EXPECT_EQ(r.err.substr(0, c.err.size()), c.err) << c.args[2];
    }
    expect_no_writes(lab, mark);
}

// The setup records a unit last sent when read, by record number.
std::vector<uint8_t> last_read(const rig::Lab& lab, const std::string& unit, int record)
{
    std::vector<uint8_t> image;
    for (const rig::JournalEntry& e : lab.sent(unit))
        if (e.proto == "udp" && e.bytes.size() == 130 && e.bytes[3] == 0xD0 + record)
            image = e.bytes;
    return image;
}

TEST(CliImport, AFileHoldingOnlyTheMailServerWritesOnlyItsRecordsToEachUnit)
{
    rig::Lab lab(kSmallPlant);
    ASSERT_TRUE(lab.ok()) << lab.sim_log();
    rig::ScratchDir dir;
    dir.write("server.json", R"({"format": "kivraset-settings", "version": 1, "family": "0/xport",
        "unit": {"mac": "00:80:a3:10:00:01", "model": 0, "module": "xport"},
        "mail_server": {"server": "192.0.2.60"}})");

    const size_t mark = lab.journal().size();
    const clitest::Run r =
        kivraset(lab, {"import", dir.file("server.json"), "192.0.2.10", "00:80:a3:10:00:02"});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out,
              "00:80:a3:10:00:01 (192.0.2.10) ZR-201 (0/xport)\n"
              "  mail_server: written and checked\n"
              "    server: \"192.0.2.50\" -> \"192.0.2.60\"\n"
              "00:80:a3:10:00:02 (192.0.2.11) ZR-201 (0/xport)\n"
              "  mail_server: written and checked\n"
              "    server: \"0.0.0.0\" -> \"192.0.2.60\"\n");
    for (const char* unit : {"plain", "plain_to"}) {
        // Records 3 to 7 as read, the last one ending the write, the server in record 5.
        std::vector<std::string> want;
        for (int record = 3; record <= 7; record++) {
            std::vector<uint8_t> image = last_read(lab, unit, record);
            ASSERT_EQ(image.size(), 130u) << unit << record;
            image[1] = record == 7 ? 0 : 1;
            image[3] = static_cast<uint8_t>(0xC0 + record);
            if (record == 5) image[4] = 192, image[5] = 0, image[6] = 2, image[7] = 60;
            want.push_back(rig::hex(image));
        }
        EXPECT_EQ(writes(lab, unit, mark), want) << unit;
    }
}

TEST(CliImport, TheAddressIsWrittenOnlyWithWithAddressAndLast)
{
    rig::Lab lab(kSmallPlant);
    ASSERT_TRUE(lab.ok()) << lab.sim_log();
    rig::ScratchDir dir;
    dir.write("move.json", R"({"format": "kivraset-settings", "version": 1, "family": "0/xport",
        "unit": {"mac": "00:80:a3:10:00:01", "model": 0, "module": "xport"},
        "ip": {"address": "192.0.2.111"}, "mail_server": {"subject": "moved"}})");

    size_t mark = lab.journal().size();
    clitest::Run r = kivraset(lab, {"import", dir.file("move.json"), "00:80:a3:10:00:02"});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_NE(r.out.find("  ip: not written without --with-address\n"), std::string::npos);
    std::vector<std::string> w = writes(lab, "plain_to", mark);
    ASSERT_EQ(w.size(), 5u);
    EXPECT_EQ(w.back().substr(0, 8), "000000c7");

    mark = lab.journal().size();
    r = kivraset(lab, {"import", "--with-address", dir.file("move.json"), "00:80:a3:10:00:02"});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out,
              "00:80:a3:10:00:02 (192.0.2.111) ZR-201 (0/xport)\n"
              "  ip: written and checked\n"
              "    address: \"192.0.2.11\" -> \"192.0.2.111\"\n"
              "  mail_server: unchanged\n");
    w = writes(lab, "plain_to", mark);
    ASSERT_EQ(w.size(), 1u);
    EXPECT_EQ(w[0].substr(0, 16), "000000c0c000026f") << "record 0 alone, with the new address";
}

TEST(CliImport, AWriteFailingHalfWayLeavesTheEarlierGroupsWrittenBackAndSaysEachState)
{
    // Record 4 is written only by the mail alert apply, the second group.
    rig::Lab lab(R"({"units": [
      {"name": "once", "ip": "192.0.2.10", "mac": "00:80:a3:10:00:01", "model": 0,
       "faults_on": [{"on": "000100c4", "udp_silent": true, "times": 1}]},
      {"name": "always", "ip": "192.0.2.11", "mac": "00:80:a3:10:00:02", "model": 0,
       "faults_on": [{"on": "000100c4", "udp_silent": true}]}]})");
    ASSERT_TRUE(lab.ok()) << lab.sim_log();
    rig::ScratchDir dir;
    dir.write("f.json", R"({"format": "kivraset-settings", "version": 1, "family": "0/xport",
        "unit": {"mac": "00:80:a3:10:00:09", "model": 0, "module": "xport"},
        "input_extension": {"connection1": {"destination": "192.0.2.30", "destination_port": 10009}},
        "mail_server": {"server": "192.0.2.60", "subject": "plant B"}})");
    const json before = json::parse(lab.state("once"))["records"];
    const json before_always = json::parse(lab.state("always"))["records"];

    const clitest::Run r = kivraset(
        lab, {"import", "--json", dir.file("f.json"), "00:80:a3:10:00:01", "00:80:a3:10:00:02"});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err,
              "kivraset import: 00:80:a3:10:00:01 (192.0.2.10): writing the mail alert settings: "
              "sending setuprecord4 failed (part of it may have gone out)\n"
              "kivraset import: 00:80:a3:10:00:02 (192.0.2.11): writing the mail alert settings: "
              "sending setuprecord4 failed (part of it may have gone out)\n");
    const json report = json::parse(r.out, nullptr, false);
    ASSERT_EQ(report["units"].size(), 2u) << r.out;
    const char* const states[2][2] = {{"written_restored", "failed_restored"},
                                      {"written_restored", "failed_not_restored"}};
    for (int k = 0; k < 2; k++) {
        const json& u = report["units"][k];
        EXPECT_EQ(u["ok"], false);
        ASSERT_EQ(u["groups"].size(), 2u) << u;
        EXPECT_EQ(u["groups"][0]["group"], "input_extension");
        EXPECT_EQ(u["groups"][0]["state"], states[k][0]);
        EXPECT_EQ(u["groups"][1]["group"], "mail_server");
        EXPECT_EQ(u["groups"][1]["state"], states[k][1]);
        EXPECT_EQ(u["groups"][1]["changes"][0],
                  json::parse(
                      R"({"field": "mail_server.server", "old": "0.0.0.0", "new": "192.0.2.60"})"));
    }
    EXPECT_EQ(json::parse(lab.state("once"))["records"], before);
    EXPECT_EQ(json::parse(lab.state("always"))["records"]["0"], before_always["0"]);
}

}  // namespace
