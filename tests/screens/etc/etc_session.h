// The other settings for their stories: opening them on a unit, and the
// controller commands as hex.
#pragma once

#include <string>
#include <vector>

#include "tests/device/lab_support.h"
#include "tests/screens/operator.h"

namespace etctest {

using namespace op;
using Requests = std::vector<std::string>;
using devtest::cmd;  // a lettered command as hex

constexpr int MSG_SETTINGS = 15;  // the analog screens' message box row

// Opens "その他の設定" of the unit at ip from the device list; the number of
// requests the unit had received before, plus the menu's model check ("UU", "MI").
inline size_t open_etc(Session& s, const std::string& unit, const std::string& ip)
{
    const size_t before = s.tcp_in(unit).size();
    EXPECT_TRUE(s.open(ip, ETC)) << s.t.dump();
    return before + 2;
}

}  // namespace etctest
