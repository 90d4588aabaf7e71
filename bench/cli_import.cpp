// kivraset import of one unit against the sum of its groups' applies plus
// one read-back of them, for a unit of every family taking an exported
// file of another unit of its family (every group differs). The applies and
// the read-back are made in this process with no terminal, the unit found
// again after each apply (not counted); the import is the whole process,
// search, model query and the read before included. Beside them the read
// before alone, the model query alone (units of models 8 and up answer only
// "MI", after "UU" has waited its 1.5 s), and the ratio against all three
// reads and applies an import cannot do without.
// Medians of five rounds; the unit is put back between rounds (not
// counted). Target: import at most 1.10 x applies + read-back.
// Every figure comes from a private lab; nothing here touches the machine's network.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

#include "bench/screen_bench.h"
#include "cli/unit_settings.h"
#include "rig/scratch_dir.h"
#include "tests/cli/cli_run.h"
#include "tests/cli/import_lab.h"

namespace {

using Clock = std::chrono::steady_clock;

double since(Clock::time_point t0)
{
    return std::chrono::duration<double>(Clock::now() - t0).count();
}

// The groups' applies of v to unit i as the import makes them, each timed
// alone; the unit is found again after each (not timed). Seconds, or -1.
double timed_applies(int i, const UnitSettings& v)
{
    const unsigned has = settings_groups_of(v.model, v.modtype);
    double total = 0;
    bool ok = true;
    auto timed = [&](auto apply) {
        const Clock::time_point t0 = Clock::now();
        const StepResult r = apply();
        total += since(t0);
        ok = ok && r.ok() && RefindUnit(i, 20000) == 0;
    };
    if (has & group_bit(SettingsGroup::InputExtension))
        timed([&] {
            ExtSettings e = v.ext;
            return apply_ext_settings(i, e);
        });
    if (has & group_bit(SettingsGroup::MailServer))
        timed([&] { return apply_mail_alert(i, v.mail, MAIL_ALL); });
    if (has & group_bit(SettingsGroup::AnalogInput))
        timed([&] {
            AnalogInputSettings a = v.ai;
            return apply_analog_input(i, a);
        });
    if (has & group_bit(SettingsGroup::AnalogInputV2))
        timed([&] {
            AnalogInputV2Settings a = v.ai2;
            return apply_analog_input_v2(i, a);
        });
    if (has & group_bit(SettingsGroup::AnalogOutput))
        timed([&] {
            AnalogOutputSettings a = v.ao;
            return apply_analog_output(i, a);
        });
    return ok ? total : -1;
}

// One read of the groups an import writes (all but the IP group).
double timed_read(int i, UnitSettings* out)
{
    char why[160];
    const Clock::time_point t0 = Clock::now();
    const bool ok = read_unit_settings(i, SETTINGS_ALL_GROUPS & ~group_bit(SettingsGroup::Ip), out,
                                       why, sizeof why) == nullptr;
    const double s = since(t0);
    if (!ok) std::fprintf(stderr, "read: %s\n", why);
    return ok ? s : -1;
}

}  // namespace

int main()
{
    rig::Lab lab(clitest::pairs_plant());
    if (!lab.ok()) {
        std::fprintf(stderr, "lab did not come up: %s\n", lab.sim_log().c_str());
        return 1;
    }
    rig::ScratchDir dir;
    if (clitest::kivraset(lab, {"export", "--all", "-o", dir.path()}).status != 0) return 1;
    lab.enter_host();
    GetMyNetwork();
    if (SearchPlant(10001, nullptr, 0) != SEARCH_FOUND) return 1;

    std::printf(
        "kivraset import of one unit (whole process) against its groups' applies plus one\n"
        "read-back, median of 5 rounds. Target: ratio at most 1.10.\n\n");
    std::printf("%-10s %9s %10s %12s %7s %14s %8s %12s\n", "unit", "import s", "applies s",
                "read-back s", "ratio", "read before s", "model s", "ratio, all");
    for (const clitest::Pair& p : clitest::kPairs) {
        std::string path = dir.file(std::string(p.mac) + ".json");
        std::replace(path.begin(), path.end(), ':', '-');
        const int to = clitest::entry_of(p.to_mac);
        UnitSettings file, before, back;
        SettingsFileError e;
        if (to < 0 || load_settings_file(path.c_str(), &file, &e) != 0 ||
            timed_read(to, &before) < 0)
            return 1;
        UnitSettings wanted = before;
        merge_settings(file, wanted);
        clitest::apply_as_screens(to, before);
        std::vector<double> import, applies, readback, read_before, model;
        for (int round = 0; round < 5; round++) {
            applies.push_back(timed_applies(to, wanted));
            readback.push_back(timed_read(to, &back));
            clitest::apply_as_screens(to, before);
            read_before.push_back(timed_read(to, &back));
            int m = -1, id = -1;
            const Clock::time_point t1 = Clock::now();
            GetUnitModelID(xportset[to].ipstr, GetCmdPort(to), &m, &id);
            model.push_back(since(t1));

            const Clock::time_point t0 = Clock::now();
            const clitest::Run r = clitest::kivraset(lab, {"import", path, p.to_mac});
            import.push_back(since(t0));
            if (r.status != 0)
                std::fprintf(stderr, "%s: status %d: %s", p.to, r.status, r.err.c_str());
            RefindUnit(to, 20000);
            clitest::apply_as_screens(to, before);
        }
        const double a = bench::median(applies), b = bench::median(readback);
        const double i = bench::median(import), c = bench::median(read_before);
        const double m = bench::median(model);
        std::printf("%-10s %9.3f %10.3f %12.3f %7.3f %14.3f %8.3f %12.3f\n", p.to, i, a, b,
                    a + b > 0 ? i / (a + b) : 0.0, c, m, i / (a + b + c + m));
        std::fflush(stdout);
    }
    return 0;
}
