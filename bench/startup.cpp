// Time from starting KIVRASetL until its first screen is whole (help bar and
// the last label of the information box drawn), over a few runs. Of a board
// build run here under its emulator (KIVRA_EMULATOR, see scripts/cross) this
// includes the emulator's own start.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <vector>

#include "rig/lab.h"
#include "rig/term.h"

int main()
{
    using Clock = std::chrono::steady_clock;
    constexpr int kRuns = 5;
    std::vector<double> ms;
    for (int i = 0; i < kRuns; ++i) {
        auto start = Clock::now();
        rig::Term t({rig::kivrasetl_path()});
        bool whole = t.wait_for(
            [&] {
                return t.row(23).find("KIVRASetL V1.10") != std::string::npos &&
                       t.row(16).find("ゲートウェイ    :") != std::string::npos;
            },
            60000);
        if (!whole) {
            std::printf("start-up: no whole screen within 60 s\n%s", t.dump().c_str());
            return 1;
        }
        ms.push_back(std::chrono::duration<double, std::milli>(Clock::now() - start).count());
        t.f9();
        t.wait_exit();
    }
    std::sort(ms.begin(), ms.end());
    std::printf("start-up to the first whole screen: median %.0f ms, min %.0f ms, max %.0f ms (%d runs)\n",
                ms[kRuns / 2], ms.front(), ms.back(), kRuns);
    return 0;
}
