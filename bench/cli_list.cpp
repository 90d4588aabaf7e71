// kivraset list against KIVRASetL's own search of the same plant: the
// search from choosing "検索" to the drawn list, and kivraset from its start
// to its end (the whole process: interfaces, search, reads, model queries,
// printing). Both ask the models (port 10001). Each figure is the median of
// five runs after one run of each that warms the lab's neighbour tables.
// Every figure comes from a private lab; nothing here touches the machine's network.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "bench/screen_bench.h"
#include "rig/lab.h"
#include "rig/term.h"
#include "tests/cli/cli_run.h"

namespace {

using Clock = std::chrono::steady_clock;

double since(Clock::time_point t0)
{
    return std::chrono::duration<double>(Clock::now() - t0).count();
}

// n wired units, every seventh a WiFi unit; beyond 245 of them outside the
// host's network.
std::string plant(int n)
{
    std::string p = R"({"units": [)";
    for (int k = 0; k < n; k++) {
        char unit[256];
        const bool inside = k < 245;
        std::snprintf(
            unit, sizeof unit,
            R"(%s{"name": "u%d", "ip": "%s.%d", "mac": "00:80:a3:01:%02x:%02x", "model": %d%s})",
            k ? "," : "", k, inside ? "192.0.2" : "198.51.100", inside ? 10 + k : 10 + k - 245,
            k >> 8, k & 0xFF, k % 7, k % 7 == 3 ? R"(, "module": "wifi")" : "");
        p += unit;
    }
    return p + "]}";
}

// One search on KIVRASetL's top menu (the cursor on "検索"), back to the menu after.
double screen_search(rig::Term& t)
{
    const Clock::time_point t0 = Clock::now();
    t.enter();
    if (!t.wait_text("検索中...", 20000) || !t.wait_gone("検索中...", 300000)) return -1;
    const double s = since(t0);
    t.settle();
    t.esc();
    t.settle();
    return s;
}

double cli_search(const rig::Lab& lab, int n)
{
    const Clock::time_point t0 = Clock::now();
    const clitest::Run r = clitest::kivraset(lab, {"list", "--port", "10001"});
    const double s = since(t0);
    if (r.status != 0)
        std::fprintf(stderr, "kivraset list (%d units): status %d: %s", n, r.status, r.err.c_str());
    return s;
}

}  // namespace

int main()
{
    std::printf(
        "kivraset list against KIVRASetL's search of the same plant (models asked on\n"
        "port 10001), median of 5 runs each. Target: ratio at most 1.05.\n\n");
    std::printf("%-12s %14s %16s %7s\n", "plant", "KIVRASetL s", "kivraset list s", "ratio");
    for (int n : {1, 16, 64, 256}) {
        op::Session s(plant(n));
        if (!bench::started(s)) return 1;
        rig::Term& t = s.t;
        screen_search(t);
        cli_search(s.lab, n);
        std::vector<double> screen, cli;
        for (int k = 0; k < 5; k++) {
            screen.push_back(screen_search(t));
            cli.push_back(cli_search(s.lab, n));
        }
        const double a = bench::median(screen), b = bench::median(cli);
        char name[32];
        std::snprintf(name, sizeof name, "%d units", n);
        std::printf("%-12s %14.3f %16.3f %7.3f\n", name, a, b, a > 0 ? b / a : 0.0);
        std::fflush(stdout);
        t.f9();
        t.wait_exit();
    }
    return 0;
}
