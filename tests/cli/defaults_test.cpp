// A unit of every family holding only what it left the factory with: the
// file export writes is one check and import take as it is, equal to the
// unit, with nothing to write.
#include <gtest/gtest.h>

#include <algorithm>
#include <nlohmann/json.hpp>

#include "rig/scratch_dir.h"
#include "tests/cli/cli_run.h"
#include "tests/cli/unit_writes.h"

using clitest::kivraset;
using nlohmann::json;

namespace {

struct Unit {
    const char* name;
    const char* mac;
    const char* keys;
};

const Unit units[] = {
    {"m0", "00:80:a3:30:00:00", R"("model": 0)"},
    {"m1", "00:80:a3:30:00:01", R"("model": 1)"},
    {"m2", "00:80:a3:30:00:02", R"("model": 2)"},
    {"m3", "00:80:a3:30:00:03", R"("model": 3)"},
    {"m4", "00:80:a3:30:00:04", R"("model": 4)"},
    {"m5", "00:80:a3:30:00:05", R"("model": 5)"},
    {"m6", "00:80:a3:30:00:06", R"("model": 6)"},
    {"m8", "00:80:a3:30:00:08", R"("model": 8)"},
    {"m9", "00:80:a3:30:00:09", R"("model": 9)"},
    {"m10", "00:80:a3:30:00:0a", R"("model": 10)"},
    {"m11", "00:80:a3:30:00:0b", R"("model": 11)"},
    {"gc0", "00:80:a3:30:01:00", R"("model": 0, "module": "gc", "devtype": "X6")"},
    {"gc5", "00:80:a3:30:01:05", R"("model": 5, "module": "gc", "devtype": "X6")"},
    {"wifi5", "00:80:a3:30:02:05", R"("model": 5, "module": "wifi")"},
};

std::string defaults_plant()
{
    std::string plant = R"({"units": [)";
    int k = 0;
    for (const Unit& u : units) {
        if (k > 0) plant += ",\n";
        plant += R"({"name": ")" + std::string(u.name) + R"(", "ip": "192.0.2.)" +
                 std::to_string(10 + k++) + R"(", "mac": ")" + u.mac + R"(", )" + u.keys + "}";
    }
    return plant + "]}";
}

TEST(CliDefaults, EveryFamilyExportedAtItsDefaultsChecksEqualAndPlansNothing)
{
    rig::Lab lab(defaults_plant());
    ASSERT_TRUE(lab.ok()) << lab.sim_log();
    rig::ScratchDir dir;
    clitest::Run r = kivraset(lab, {"export", "--all", "--with-secrets", "-o", dir.path()});
    ASSERT_EQ(r.status, 0) << r.err;
    const size_t mark = lab.journal().size();

    std::vector<std::string> args{"check"};
    for (const Unit& u : units) {
        std::string file = std::string(u.mac) + ".json";
        std::replace(file.begin(), file.end(), ':', '-');
        args.push_back(dir.file(file));

        r = kivraset(lab,
                     {"import", "--dry-run", "--with-address", "--json", dir.file(file), u.mac});
        EXPECT_EQ(r.status, 0) << u.name << "\n" << r.out << r.err;
        const json plan = json::parse(r.out, nullptr, false);
        ASSERT_TRUE(plan.is_object()) << u.name << "\n" << r.out;
        ASSERT_EQ(plan["units"].size(), 1u) << r.out;
        for (const json& g : plan["units"][0]["groups"])
            EXPECT_EQ(g["changes"], json::array()) << u.name << " " << g["group"];
    }
    r = kivraset(lab, args);
    EXPECT_EQ(r.status, 0) << r.out << r.err;
    EXPECT_EQ(std::count(r.out.begin(), r.out.end(), '\n'), static_cast<long>(std::size(units)))
        << r.out;
    EXPECT_EQ(r.out.find("differ"), std::string::npos) << r.out;
    for (const Unit& u : units)
        EXPECT_EQ(clitest::writes(lab, u.name, mark), std::vector<std::string>{});
}

}  // namespace
