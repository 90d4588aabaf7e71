// What the benches of the settings screens share besides the one operator
// (tests/screens/operator.h): the clock, medians, the tool brought up for
// figures, and one apply timed to its message box.
#pragma once

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <vector>

#include "tests/screens/operator.h"

namespace bench {

inline long long now_us()
{
    return std::chrono::duration_cast<std::chrono::microseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

inline double median(std::vector<double> v)
{
    if (v.empty()) return -1;
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

// The operator's tool up with the search port 10001, so the search asks
// every unit its model; this process then enters the lab's host namespace
// too. False (with the reason on stderr) when the lab or the tool did not
// come up.
inline bool started(op::Session& s)
{
    if (!s.ready() || !s.set_port("10001")) {
        std::fprintf(stderr, "the lab or the tool did not come up: %s\n%s", s.lab.sim_log().c_str(),
                     s.t.dump().c_str());
        return false;
    }
    s.lab.enter_host();
    return true;
}

// The settings menu of the unit at ip, the cursor on item n.
inline bool menu_on(op::Session& s, const char* ip, int n)
{
    if (!s.open_menu(ip)) return false;
    for (int k = 1; k < n; k++) s.t.down();
    s.t.settle(200);
    return true;
}

// Enter on "設定反映" until the message box; its ms, or -1. The box is closed.
inline double timed_apply(rig::Term& t)
{
    const long long a0 = now_us();
    t.enter();
    if (!t.wait_text(op::DONE_1, 20000)) return -1;
    const double ms = (now_us() - a0) / 1000.0;
    t.enter();
    t.settle(300);
    return ms;
}

}  // namespace bench
