// What the debug log says about the host's networks and a search.
#include <gtest/gtest.h>

#include <string>

#include "tests/screens/operator.h"

using namespace op;

namespace {

TEST(ListLog, TheLogTellsTheHostsNetworksAndEveryStepOfTheSearch)
{
    Session s(R"({"units": [
      {"name": "a",      "ip": "192.0.2.10", "mask": "255.255.255.0", "gateway": "192.0.2.254"},
      {"name": "norec0", "ip": "192.0.2.11", "faults": {"unreadable_record": 0}},
      {"name": "norec4", "ip": "192.0.2.12", "faults": {"unreadable_record": 4}},
      {"name": "x6",     "ip": "192.0.2.13", "devtype": "X6"},
      {"name": "far",    "ip": "198.51.100.10"}
    ]})",
              {"-l"});
    ASSERT_TRUE(s.searched()) << s.lab.sim_log() << s.t.dump();
    const std::string log = s.debug_log();

    // Start-up: the veth of the host namespace, loopback left out.
    EXPECT_NE(log.find("MYIP0 : "), std::string::npos) << log;
    EXPECT_NE(log.find(" : 192.0.2.1 : 255.255.255.0\n"), std::string::npos) << log;
    EXPECT_EQ(log.find("MYIP1 "), std::string::npos) << log;
    EXPECT_EQ(log.find("127.0.0.1"), std::string::npos) << log;

    // The search, in order.
    const char* in_order[] = {
        "Searching Xport Devices\n",
        "XportSearch : 5 Xport devices found\n",
        "modelget: all threads finished\n",
    };
    size_t at = 0;
    for (const char* line : in_order) {
        const size_t p = log.find(line, at);
        EXPECT_NE(p, std::string::npos) << "missing or out of order: " << line << log;
        if (p != std::string::npos) at = p;
    }
    for (const char* line : {"Xport: 192.0.2.10 : same network\n", "Xport: 192.0.2.11 : same network\n",
                             "Failed to Get SetupRecord 0\n", "Failed to Get SetupRecord 4\n",
                             " : 1 threads\n", " : 2 threads\n", " : 3 threads\n",
                             "DataGet Success : IP=192.0.2.10 SN=255.255.255.0 GW=192.0.2.254\n"})
        EXPECT_NE(log.find(line), std::string::npos) << line << log;
    EXPECT_EQ(log.find("Xport: 198.51.100.10"), std::string::npos) << log;
    EXPECT_EQ(log.find(" : 4 threads\n"), std::string::npos) << "three units reached the model query\n" << log;
}

}  // namespace
