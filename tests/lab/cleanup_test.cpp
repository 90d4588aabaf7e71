// The lab leaves nothing behind, labs run side by side, and the simulator will
// not answer outside a lab.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <string>

#include "client.h"
#include "rig/emulator.h"
#include "rig/lab.h"

namespace {

std::string netns_list()
{
    std::string out;
    FILE* p = popen("ip netns list 2>/dev/null", "r");
    if (!p) return out;
    char buf[256];
    while (fgets(buf, sizeof buf, p)) out += buf;
    pclose(p);
    return out;
}

bool alive(int pid) { return kill(pid, 0) == 0; }

const char* kOne = R"({"units": [{ "name": "a", "ip": "192.0.2.10" }]})";

}  // namespace

TEST(Cleanup, EndingALabRemovesItsNamespacesSimulatorAndFiles)
{
    std::string host, plant, dir;
    int pid;
    {
        rig::Lab lab(kOne);
        ASSERT_TRUE(lab.ok()) << lab.sim_log();
        host = lab.host_ns;
        plant = lab.plant_ns;
        dir = lab.dir;
        pid = lab.sim_pid;
        EXPECT_NE(netns_list().find(host), std::string::npos);
        EXPECT_NE(netns_list().find(plant), std::string::npos);
        EXPECT_TRUE(alive(pid));
        EXPECT_EQ(lab.run_in_host({"ping", "-q", "-c", "1", "-w", "2", "192.0.2.10"}), 0);
    }
    EXPECT_EQ(netns_list().find(host), std::string::npos);
    EXPECT_EQ(netns_list().find(plant), std::string::npos);
    EXPECT_FALSE(alive(pid));
    EXPECT_FALSE(std::filesystem::exists(dir));
}

TEST(Cleanup, TwoLabsWithTheSameAddressesDoNotMeet)
{
    rig::Lab one(kOne);
    rig::Lab two(R"({"units": [{ "name": "b", "ip": "192.0.2.10", "devtype": "X9" }]})");
    ASSERT_TRUE(one.ok() && two.ok());
    EXPECT_NE(one.host_ns, two.host_ns);
    two.enter_host();
    auto got = labtest::udp_ask("255.255.255.255", {0, 0, 0, 0xF6});
    ASSERT_EQ(got.size(), 1u);
    EXPECT_EQ(got[0].bytes[9], '9');
    EXPECT_TRUE(one.received("a").empty());
    EXPECT_EQ(two.received("b").size(), 1u);
}

TEST(Cleanup, SweepRemovesLabsOfProcessesThatAreGoneAndKeepsLiveOnes)
{
    // A child makes a lab and dies without cleaning up, as a killed test would.
    // While it lives, a sweep (any test process may run one) leaves its lab alone.
    int made[2], release[2];
    ASSERT_EQ(pipe(made), 0);
    ASSERT_EQ(pipe(release), 0);
    std::string up = "bash " + rig::lab_source_dir() + "/labnet up ";
    std::string sweep = "bash " + rig::lab_source_dir() + "/labnet sweep";
    pid_t child = fork();
    if (child == 0) {
        close(made[0]);
        close(release[1]);
        char ok = system((up + std::to_string(getpid()) + "-0").c_str()) == 0 ? 'y' : 'n';
        if (write(made[1], &ok, 1) != 1) _exit(1);
        char c;
        while (read(release[0], &c, 1) > 0) {
        }
        _exit(0);
    }
    close(made[1]);
    close(release[0]);
    char ok = 0;
    ASSERT_EQ(read(made[0], &ok, 1), 1);
    std::string host = "kvh-" + std::to_string(child) + "-0";
    std::string plant = "kvp-" + std::to_string(child) + "-0";
    EXPECT_EQ(ok, 'y');
    EXPECT_EQ(system(sweep.c_str()), 0);
    EXPECT_NE(netns_list().find(host), std::string::npos);
    close(release[1]);
    close(made[0]);
    waitpid(child, nullptr, 0);
    EXPECT_EQ(system(sweep.c_str()), 0);
    EXPECT_EQ(netns_list().find(host), std::string::npos);
    EXPECT_EQ(netns_list().find(plant), std::string::npos);
}

TEST(Cleanup, SimulatorRefusesToRunOutsideALab)
{
    // Here, in the test's own namespace, it must stop before reading its plant.
    std::string cmd =
        rig::command_line(rig::with_emulator({rig::kivrasim_path()})) +
        " --plant /nonexistent --journal /dev/null --state /dev/null 2>&1";
    FILE* p = popen(cmd.c_str(), "r");
    ASSERT_NE(p, nullptr);
    std::string out;
    char buf[256];
    while (fgets(buf, sizeof buf, p)) out += buf;
    int status = pclose(p);
    EXPECT_EQ(WEXITSTATUS(status), 3);
    EXPECT_NE(out.find("refusing"), std::string::npos);
}

TEST(Cleanup, APlantWithAMistakeIsRefusedWithTheReason)
{
    struct Case {
        const char* plant;
        const char* reason;
    } cases[] = {
        {R"({"units": [{ "name": "a", "ip": "192.0.2.10", "modle": 3 }]})", "unknown key modle"},
        {R"({"units": [{ "name": "a", "ip": "192.0.2.300" }]})", "ip is not an IPv4 address"},
        {R"({"units": [{ "name": "a", "ip": "192.0.2.10", "faults": { "slow": 1 } }]})",
         "unknown knob slow"},
        {R"({"units": [{ "name": "a", "ip": "192.0.2.10", "faults_on": [{ "on": "4g", "silent": true }] }]})",
         "faults_on[0]: on needs hex bytes"},
        {R"({"units": [{ "name": "a", "ip": "192.0.2.10", "faults_on": [{ "on": "41", "refused": true }] }]})",
         "unknown knob refused"},
        {R"({"units": [{ "name": "a", "ip": "192.0.2.10" }, { "name": "a", "ip": "192.0.2.11" }]})",
         "two units named a"},
        {R"({"units": [{ "name": "a", "ip": "192.0.2.10", "records": { "3": { "129": "0102" } } }]})",
         "outside the image"},
        {R"({"networks": 1, "units": [{ "name": "a", "ip": "203.0.113.10", "net": 2 }]})",
         "a sits on network 2 of 1"},
        {R"({"units": [{ "name": "a", "ip": "203.0.113.10", "net": 3 }]})", "net out of range"},
    };
    for (const auto& c : cases) {
        rig::Lab lab(c.plant);
        EXPECT_FALSE(lab.ok()) << c.reason;
        EXPECT_NE(lab.sim_log().find(c.reason), std::string::npos) << lab.sim_log();
    }
}
