// The host's own interfaces as the search sees them, read inside the lab's
// host namespace: the veth with 192.0.2.1/24, loopback 127.0.0.1 left out.
#include <gtest/gtest.h>

#include <arpa/inet.h>

#include <string>

#include "rig/lab.h"
#include "screens/KIVRAMainSet.h"

namespace {

std::string dotted(in_addr_t v)
{
    char t[INET_ADDRSTRLEN];
    inet_ntop(AF_INET, &v, t, sizeof t);
    return t;
}

TEST(ListHost, TheHostsNetworksAreItsInterfacesExceptLoopback)
{
    rig::Lab lab(R"({"units": []})");
    ASSERT_TRUE(lab.ok()) << lab.sim_log();
    lab.enter_host();

    ASSERT_EQ(GetMyNetwork(), 1);
    ASSERT_EQ(MyIpCnt, 1);
    EXPECT_EQ(dotted(MyIp[0].ip), "192.0.2.1");
    EXPECT_EQ(dotted(MyIp[0].mask), "255.255.255.0");
    EXPECT_STRNE(MyIp[0].ifname, "");
    EXPECT_STRNE(MyIp[0].ifname, "lo");

    // Another loopback address is a host network like any other.
    ASSERT_EQ(lab.run_in_host({"ip", "addr", "add", "127.0.0.2/8", "dev", "lo", "label", "lo:2"}), 0);
    ASSERT_EQ(GetMyNetwork(), 2);
    bool seen = false;
    for (int k = 0; k < MyIpCnt; k++) {
        if (dotted(MyIp[k].ip) != "127.0.0.2") continue;
        seen = true;
        EXPECT_EQ(dotted(MyIp[k].mask), "255.0.0.0");
        EXPECT_STREQ(MyIp[k].ifname, "lo:2");
    }
    EXPECT_TRUE(seen);
}

}  // namespace
