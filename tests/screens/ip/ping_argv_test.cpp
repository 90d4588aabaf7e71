// The ping check runs the system's ping from an argument vector: whatever an
// address text holds reaches ping as one argument and never a shell. The
// pings themselves run in a private network namespace that has only its own
// loopback, so nothing leaves this machine.
#include "screens/KIVRAMainSet.h"
#include "screens/ip/ip_screen.h"

#include <gtest/gtest.h>

#include <net/if.h>
#include <sched.h>
#include <sys/ioctl.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

TEST(PingArgv, AnyAddressTextIsOneArgumentAfterTheFixedOptions)
{
    for (const char* text : {"192.0.2.10", "1.2.3.4; touch /tmp/x", "$(reboot)", "`id`", "a b c",
                             "1.2.3.4 >/dev/null 2>&1 && rm -rf ~"}) {
        const char* argv[PING_ARGC + 1];
        ping_argv(text, argv);
        const char* want[] = {"ping", "-q", "-c", "1", "-w", "2"};
        for (int k = 0; k < 6; k++) EXPECT_STREQ(argv[k], want[k]) << text;
        EXPECT_EQ(argv[6], text);
        EXPECT_EQ(argv[7], nullptr);
    }
}

bool loopback_up()
{
    int s = socket(AF_INET, SOCK_DGRAM, 0);
    if (s < 0) return false;
    ifreq ifr = {};
    std::snprintf(ifr.ifr_name, sizeof ifr.ifr_name, "lo");
    bool ok = ioctl(s, SIOCGIFFLAGS, &ifr) == 0;
    ifr.ifr_flags |= IFF_UP;
    ok = ok && ioctl(s, SIOCSIFFLAGS, &ifr) == 0;
    close(s);
    return ok;
}

// Runs body in a child in a network namespace of its own; its exit code.
template <typename F>
int in_private_net(F body)
{
    pid_t pid = fork();
    if (pid == 0) {
        if (unshare(CLONE_NEWNET) != 0 || !loopback_up()) _exit(100);
        _exit(body());
    }
    int status = 0;
    if (pid < 0 || waitpid(pid, &status, 0) != pid || !WIFEXITED(status)) return -1;
    return WEXITSTATUS(status);
}

TEST(PingCmd, AnAnsweringAddressGivesZeroAndASilentOneDoesNot)
{
    int rc = in_private_net([] {
        if (SendPingCmd("127.0.0.1") != 0) return 1;
        // No route in this namespace: nothing answers.
        if (SendPingCmd("192.0.2.99") == 0) return 2;
        return 0;
    });
    ASSERT_NE(rc, 100) << "no private network namespace here";
    EXPECT_EQ(rc, 0);
}

TEST(PingCmd, ShellSyntaxInTheAddressNeverRuns)
{
    char dir[] = "/tmp/kivra_pingXXXXXX";
    ASSERT_NE(mkdtemp(dir), nullptr);
    const std::string mark = std::string(dir) + "/ran";
    const std::string texts[] = {
        "127.0.0.1; touch " + mark, "127.0.0.1 && touch " + mark, "$(touch " + mark + ")",
        "`touch " + mark + "`",     "127.0.0.1|touch " + mark,    "127.0.0.1\ntouch " + mark,
    };
    int rc = in_private_net([&] {
        int failures = 0;
        for (const std::string& t : texts) {
            // ping sees one host name that does not exist: no answer.
            if (SendPingCmd(t.c_str()) == 0) failures++;
        }
        // A text ping would read as an option is not run at all.
        if (SendPingCmd("-c") == 0 || SendPingCmd("") == 0) failures++;
        return failures;
    });
    ASSERT_NE(rc, 100) << "no private network namespace here";
    EXPECT_EQ(rc, 0);
    struct stat st;
    EXPECT_NE(stat(mark.c_str(), &st), 0) << "a shell ran part of an address text";
    std::remove(mark.c_str());
    rmdir(dir);
}

}  // namespace
