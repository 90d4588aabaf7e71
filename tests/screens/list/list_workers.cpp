// The model-query workers when the system cannot give every worker a thread:
// the queries that get no thread run on the calling thread, and every unit
// still ends with its own model.
#include <gtest/gtest.h>

#include <sys/resource.h>

#include <cstdio>
#include <fstream>
#include <string>

#include "device/KIVRAXPort.h"
#include "rig/lab.h"
#include "screens/list/list_parts.h"

namespace {

constexpr int UNITS = 24;

long vm_size_kb()
{
    std::ifstream status("/proc/self/status");
    std::string key;
    while (status >> key) {
        if (key == "VmSize:") {
            long kb = 0;
            status >> kb;
            return kb;
        }
    }
    return -1;
}

TEST(ListWorkers, QueriesWithoutAThreadOfTheirOwnRunOnTheSearchsThread)
{
#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
    GTEST_SKIP() << "the sanitizers reserve more address space than this limit leaves";
#endif
    std::string plant = R"({"units": [)";
    for (int k = 0; k < UNITS; k++) {
        char unit[128];
        std::snprintf(unit, sizeof unit, R"(%s{"name": "u%d", "ip": "192.0.2.%d", "model": %d, "unit_id": %d})",
                      k ? "," : "", k, 10 + k, k % 7, 1 + k % 14);
        plant += unit;
    }
    plant += "]}";
    rig::Lab lab(plant);
    ASSERT_TRUE(lab.ok()) << lab.sim_log();
    lab.enter_host();

    for (int k = 0; k < UNITS; k++) {
        ResetXPortEntry(k);
        std::snprintf(xportset[k].ipstr, sizeof xportset[k].ipstr, "192.0.2.%d", 10 + k);
        xportset[k].addr.sin_family = AF_INET;
        xportset[k].addr.sin_addr.s_addr = htonl((192u << 24) | (2u << 8) | (10u + k));
        xportset[k].samenet = 1;
        xportset[k].modtype = 3;   // a WiFi module: the model query alone, no record reads
        SetCmdPort(k, 10001);
    }
    xportcount = UNITS;

    // Room for a few worker stacks, not for all of them.
    const long now_kb = vm_size_kb();
    ASSERT_GT(now_kb, 0);
    rlimit old{};
    getrlimit(RLIMIT_AS, &old);
    rlimit tight = old;
    tight.rlim_cur = static_cast<rlim_t>(now_kb + 200) * 1024;
    ASSERT_EQ(setrlimit(RLIMIT_AS, &tight), 0);
    int run = 0, here = 0;
    {
        ModelWorkers workers;
        for (int k = 0; k < UNITS; k++) workers.start(k);
        run = workers.join_all();
        here = workers.run_here();
    }
    setrlimit(RLIMIT_AS, &old);

    EXPECT_EQ(run, UNITS);
    EXPECT_GT(here, 0) << "the limit left room for every thread";
    EXPECT_LT(here, UNITS) << "no thread could be made at all";
    for (int k = 0; k < UNITS; k++) {
        EXPECT_EQ(xportset[k].model, k % 7) << k;
        EXPECT_EQ(xportset[k].unit_id, 1 + k % 14) << k;
        EXPECT_EQ(lab.wait_received(std::string("u").append(std::to_string(k)), {0x55, 0x55}, 1, 5000), true) << k;
    }
    xportcount = 0;
}

}  // namespace
