// The IP address group with no terminal: read from simulated units, changed,
// applied and read back, the bytes each unit received, and every refusal as
// the value the screen shows.
#include "settings/ip_settings.h"

#include "device/KIVRAXPort.h"
#include "device/address_text.h"
#include "settings/unit_search.h"
#include "tests/device/lab_support.h"

#include <gtest/gtest.h>

#include <string>
#include <thread>
#include <vector>

using namespace devtest;

namespace {

const std::string kPlant = R"({"hosts": ["192.0.2.50"], "units": [
    {"name": "x", "ip": "192.0.2.10", "mask": "255.255.255.0", "gateway": "192.0.2.254"},
    {"name": "w", "ip": "192.0.2.20", "module": "wifi", "mask": "255.255.0.0"},
    {"name": "far", "ip": "198.51.100.20", "mac": "00:80:a3:01:9c:2d"},
    {"name": "no4", "ip": "192.0.2.13", "faults": {"unreadable_record": 4}}]})";

in_addr_t ip(const char* text)
{
    in_addr_t a = 0;
    EXPECT_EQ(parse_dotted_quad(text, &a), 1) << text;
    return a;
}

// Lists the unit at address as the search does; its index.
int add(const char* address)
{
    const int n = XPortAdd(address);
    EXPECT_GE(n, 1) << address;
    DeviceEntry& e = xportset[n - 1];
    e.samenet = (ntohl(e.addr.sin_addr.s_addr) >> 8) == 0xC00002 ? 1 : 0;  // 192.0.2.0/24
    e.modtype = e.devtype[0] == '_' ? MODTYPE_WIFI : MODTYPE_XPORT;
    return n - 1;
}

TEST(IpSettings, AnXPortUnitIsReadChangedWrittenAndReadBackAtItsNewAddress)
{
    HostLab l(kPlant);
    LogDir dir;
    const int x = add("192.0.2.10");
    IpSettings v;
    ASSERT_TRUE(read_ip_settings(x, v).ok()) << dir.log();
    EXPECT_EQ(v.dhcp, false);
    EXPECT_EQ(v.address, ip("192.0.2.10"));
    EXPECT_EQ(v.netmask, ip("255.255.255.0"));
    EXPECT_EQ(v.gateway, ip("192.0.2.254"));
    const std::vector<uint8_t> read0(xportset[x].setup0, xportset[x].setup0 + SETUP0_LEN);

    v = IpSettings{false, ip("192.0.2.77"), ip("255.255.0.0"), ip("192.0.2.1")};
    ASSERT_TRUE(apply_ip_settings(x, v).ok()) << dir.log();
    // Record 0 as read, with the write header, the address, 16 host bits and the gateway.
    std::vector<uint8_t> want = read0;
    const uint8_t changed[][2] = {{3, 0xC0}, {4, 192},  {5, 0},  {6, 2},  {7, 77},
                                  {10, 16},  {16, 192}, {17, 0}, {18, 2}, {19, 1}};
    for (const auto& c : changed) want[c[0]] = c[1];
    const auto udp = requests(l.lab, "x", "udp");
    ASSERT_FALSE(udp.empty());
    EXPECT_EQ(rig::hex(udp.back()), rig::hex(want));
    EXPECT_NE(dir.log().find("sending PING to 192.0.2.77\n"), std::string::npos) << dir.log();

    // Found again by its MAC address once it answers, at its new address.
    ASSERT_TRUE(l.lab.wait_event("x", "restart")) << l.lab.sim_log();
    ASSERT_EQ(RefindUnit(x, 20000), 0) << dir.log();
    EXPECT_STREQ(xportset[x].ipstr, "192.0.2.77");
    forget(x);
    IpSettings back;
    ASSERT_TRUE(read_ip_settings(x, back).ok()) << dir.log();
    EXPECT_EQ(back.address, v.address);
    EXPECT_EQ(back.netmask, v.netmask);
    EXPECT_EQ(back.gateway, v.gateway);
}

TEST(IpSettings, AWifiModuleGetsItsTextAndAUnitOutsideTheBroadcast)
{
    HostLab l(kPlant);
    LogDir dir;
    const int w = add("192.0.2.20");
    const int far = add("198.51.100.20");
    IpSettings v;
    ASSERT_TRUE(read_ip_settings(w, v).ok()) << dir.log();
    EXPECT_EQ(v.netmask, ip("255.255.0.0"));
    v.address = ip("192.0.2.21");
    ASSERT_TRUE(apply_ip_settings(w, v).ok()) << dir.log();
    ASSERT_TRUE(l.lab.wait_received("w", rig::as_bytes("IP\r\n")));
    EXPECT_EQ(
        requests(l.lab, "w", "tcp").back(),
        rig::as_bytes("IP\r\n192.0.2.21\r\nSUBM\r\n255.255.0.0\r\nGWAY\r\n0.0.0.0\r\nEND\r\n"));

    ASSERT_TRUE(read_ip_address(far, v).ok());
    EXPECT_EQ(v.address, ip("198.51.100.20"));
    v.address = ip("198.51.100.30");
    ASSERT_TRUE(apply_ip_settings(far, v).ok()) << dir.log();
    ASSERT_TRUE(l.lab.wait_received("far", bytes({0, 0, 0, 0xFC})));
    EXPECT_EQ(rig::hex(requests(l.lab, "far", "udp").back()),
              "000000fc49502d534554555000009c2dc633641e");
}

TEST(IpSettings, EachRefusalIsTheStepsMessageAndNothingIsSent)
{
    HostLab l(kPlant);
    LogDir dir;
    const int x = add("192.0.2.10");
    const int w = add("192.0.2.20");
    const int far_wifi = add("198.51.100.20");
    xportset[far_wifi].modtype = MODTYPE_WIFI;
    IpSettings xv, wv;
    ASSERT_TRUE(read_ip_settings(x, xv).ok() && read_ip_settings(w, wv).ok()) << dir.log();
    const size_t x_before = l.lab.received("x").size(), w_before = l.lab.received("w").size();
    struct Case {
        int unit;
        IpSettings values;
        int step;
        const char *message, *detail;
    } cases[] = {
        {x,
         {false, ip("192.0.2.50"), xv.netmask, xv.gateway},
         0,
         "衝突の恐れがあるため",
         "そのIPアドレスには設定できません。"},
        {w,
         {true, wv.address, wv.netmask, wv.gateway},
         1,
         "この機器はDHCP設定",
         "することができません。"},
        {far_wifi, {false, ip("198.51.100.21"), 0, 0}, 2, "通信エラー", nullptr},
        {x,
         {false, xv.address, ip("255.0.255.0"), xv.gateway},
         4,
         "サブネットマスク設定エラー",
         nullptr},
    };
    for (Case& c : cases) {
        const StepResult r = apply_ip_settings(c.unit, c.values);
        EXPECT_EQ(r.failed, c.step) << c.message;
        EXPECT_STREQ(r.message, c.message);
        EXPECT_STREQ(r.detail, c.detail);
        EXPECT_EQ(r.row, 18);
    }
    EXPECT_EQ(l.lab.received("x").size(), x_before);
    EXPECT_EQ(l.lab.received("w").size(), w_before);

    // A record that cannot be read: the screen does not open.
    const StepResult unread = read_ip_settings(add("192.0.2.13"), xv);
    EXPECT_EQ(unread.failed, 0);
    EXPECT_STREQ(unread.message, "通信エラー");
    EXPECT_NE(dir.log().find("Failed to Get SetupRecord 4\n"), std::string::npos) << dir.log();
}

TEST(IpSettings, ReadsOfSeveralUnitsInParallelThreadsEachGetTheirOwnUnitsValues)
{
    HostLab l(kPlant);
    LogDir dir;
    const int units[] = {add("192.0.2.10"), add("192.0.2.20"), add("198.51.100.20")};
    IpSettings got[3];
    bool ok[3] = {};
    std::vector<std::thread> threads;
    for (int k = 0; k < 3; k++)
        threads.emplace_back([&, k] {
            ok[k] = (k < 2 ? read_ip_settings(units[k], got[k]) : read_ip_address(units[k], got[k]))
                        .ok();
        });
    for (std::thread& t : threads) t.join();
    const char* want[] = {"192.0.2.10", "192.0.2.20", "198.51.100.20"};
    for (int k = 0; k < 3; k++) {
        EXPECT_TRUE(ok[k]) << k;
        EXPECT_EQ(got[k].address, ip(want[k])) << k;
    }
    EXPECT_EQ(got[0].netmask, ip("255.255.255.0"));
    EXPECT_EQ(got[1].netmask, ip("255.255.0.0"));
}

}  // namespace
