// What the benches of the settings screens share: the clock, medians, the
// tool started in a lab with the search port set, the search, leaving a
// screen and its menu, and one apply timed to its message box.
#pragma once

#include <cstdio>
#include <algorithm>
#include <chrono>
#include <memory>
#include <vector>

#include "rig/lab.h"
#include "rig/term.h"

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

// The tool in the lab's host namespace with the search port 10001, so the
// search asks every unit its model; this process then enters the host
// namespace too. Null (with the reason on stderr) when the lab or the tool
// did not come up.
inline std::unique_ptr<rig::Term> start_tool(rig::Lab& lab)
{
    if (!lab.ok()) {
        std::fprintf(stderr, "lab did not come up: %s\n", lab.sim_log().c_str());
        return nullptr;
    }
    auto t = std::make_unique<rig::Term>(lab.in_host({rig::kivrasetl_path()}));
    if (!t->wait_text("検索済デバイス一覧", 20000)) return nullptr;
    t->settle();
    t->right();
    t->enter();
    t->wait_text("ポート", 5000);
    t->settle();
    t->type("10001");
    t->enter();
    t->enter();
    t->settle();
    lab.enter_host();
    return t;
}

inline bool search(rig::Term& t)
{
    t.enter();
    if (!t.wait_text("検索中...", 20000) || !t.wait_gone("検索中...", 60000)) return false;
    t.settle();
    return true;
}

// Esc on a screen, then Esc in the settings menu.
inline void leave_screen_and_menu(rig::Term& t)
{
    t.esc();
    t.settle(200);
    t.esc();
    t.wait_gone("サブネット内 : 設定項目を選んでください");
    t.settle(200);
}

// Enter on "設定反映" until the message box; its ms, or -1. The box is closed.
inline double timed_apply(rig::Term& t)
{
    const long long a0 = now_us();
    t.enter();
    if (!t.wait_text("設定完了しました。", 20000)) return -1;
    const double ms = (now_us() - a0) / 1000.0;
    t.enter();
    t.settle(300);
    return ms;
}

}  // namespace bench
