// The settings menu's model check against simulated units, called directly:
// 0 with the model stored, -1 for a refused answer, a positive error number
// for every failed exchange (never 0).
#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "device/KIVRAXPort.h"
#include "rig/lab.h"
#include "screens/KIVRAMainSet.h"

namespace {

TEST(MenuModelCheck, EachKindOfAnswerGivesItsResult)
{
    rig::Lab lab(R"({"units": [
      {"name": "m2",      "ip": "192.0.2.10", "model": 2, "unit_id": 1},
      {"name": "ai",      "ip": "192.0.2.11", "model": 9, "unit_id": 3},
      {"name": "f",       "ip": "192.0.2.12", "model": 2, "unit_id": 15},
      {"name": "m7",      "ip": "192.0.2.13", "model": 7},
      {"name": "at",      "ip": "192.0.2.14", "answer": "at"},
      {"name": "refused", "ip": "192.0.2.15", "faults": {"refused": true}},
      {"name": "mute",    "ip": "192.0.2.16", "faults": {"tcp_silent": true}},
      {"name": "early",   "ip": "192.0.2.17", "faults": {"close_early": true}},
      {"name": "short",   "ip": "192.0.2.18", "answer": "mi", "faults": {"truncate": 3}}
    ]})");
    ASSERT_TRUE(lab.ok()) << lab.sim_log();
    lab.enter_host();

    struct {
        const char* story;
        const char* ip;
        int result;   // 0, -1, or 1 for "some positive error number"
        int model, unit_id;
    } cases[] = {
        {"a digital unit answers UU", "192.0.2.10", 0, 2, 1},
        {"an analog unit answers MI", "192.0.2.11", 0, 9, 3},
        {"rotary switch at F", "192.0.2.12", -1, 5, 5},
        {"model 7 by UU", "192.0.2.13", -1, 5, 5},
        {"an AT answer", "192.0.2.14", -1, 5, 5},
        {"connection refused", "192.0.2.15", 1, 5, 5},
        {"silent after connecting", "192.0.2.16", 1, 5, 5},
        {"closed before answering", "192.0.2.17", 1, 5, 5},
        {"an MI answer cut short", "192.0.2.18", 1, 5, 5},
        {"nobody at the address", "192.0.2.99", 1, 5, 5},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.story);
        ResetXPortEntry(0);
        xportcount = 1;
        std::snprintf(xportset[0].ipstr, sizeof xportset[0].ipstr, "%s", c.ip);
        SetCmdPort(0, 10001);
        xportset[0].samenet = 1;
        // A model read earlier stays when the check cannot read a new one.
        xportset[0].model = 5;
        xportset[0].unit_id = 5;
        const int r = modelcheck2(0);
        if (c.result == 1) {
            EXPECT_GT(r, 0);
        } else {
            EXPECT_EQ(r, c.result);
        }
        EXPECT_EQ(xportset[0].model, c.model);
        EXPECT_EQ(xportset[0].unit_id, c.unit_id);
    }
    EXPECT_GT(modelcheck2(1), 0) << "an index past the table is an error, not a unit";
    xportcount = 0;
}

}  // namespace
