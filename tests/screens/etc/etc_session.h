// Helpers of the other-settings screen tests: opening the screen of a unit
// and the controller requests it sent, as hex.
#pragma once

#include "tests/device/lab_support.h"
#include "tests/screens/operator.h"

#include <initializer_list>
#include <string>
#include <vector>

namespace etctest {

using namespace op;
using Requests = std::vector<std::string>;

constexpr int BLUE = 4, GREY = 6;
constexpr int MSG_SETTINGS = 15;  // the analog screens' message box row

using devtest::cmd;  // a lettered command as hex

// The TCP requests unit received from index `from` on, once there are `n` of them.
inline Requests requests(Session& s, const std::string& unit, size_t from, size_t n)
{
    eventually(
        s.t, [&] { return s.tcp_in(unit).size() >= from + n; }, 20000);
    Requests out;
    const auto all = s.tcp_in(unit);
    for (size_t k = from; k < all.size(); k++) out.push_back(rig::hex(all[k]));
    return out;
}

// Opens "その他の設定" of the unit at ip from the device list; the number of
// requests the unit had received before, plus the menu's model check ("UU", "MI").
inline size_t open_etc(Session& s, const std::string& unit, const std::string& ip)
{
    const size_t before = s.tcp_in(unit).size();
    EXPECT_TRUE(s.open_menu(ip)) << s.t.dump();
    s.choose(4);
    return before + 2;
}

// Keys with a pause for the screen to follow.
inline void keys(rig::Term& t, std::initializer_list<void (rig::Term::*)()> ks)
{
    for (auto k : ks) {
        (t.*k)();
        t.settle(100, 2000);
    }
}

inline bool started(Session& s) { return s.ready() && s.set_port("10001") && s.search(); }

}  // namespace etctest
