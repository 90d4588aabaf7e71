// A plant as big as the tool's device table: 256 units answering at once.
#include <arpa/inet.h>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <poll.h>
#include <set>
#include <string>

#include "client.h"
#include "rig/lab.h"

namespace {

std::string unit_ip(int i)
{
    return i < 245 ? "192.0.2." + std::to_string(10 + i) : "198.51.100." + std::to_string(i - 235);
}

std::string big_plant()
{
    std::string units;
    for (int i = 0; i < 256; ++i) {
        if (i) units += ",";
        units += R"({"name": "u)" + std::to_string(i) + R"(", "ip": ")" + unit_ip(i) +
                 R"(", "model": )" + std::to_string(i % 7) +
                 (i == 7 ? R"(, "faults": {"delay_ms": 3000, "udp_delay_ms": 1000}})" : "}");
    }
    return R"({"units": [)" + units + "]}";
}

}  // namespace

TEST(Scale, TwoHundredFiftySixUnitsAnswerOneBroadcastAndConnectionsAtOnce)
{
    rig::Lab lab(big_plant());
    ASSERT_TRUE(lab.ok()) << lab.sim_log();
    lab.enter_host();

    auto got = labtest::udp_ask("255.255.255.255", {0, 0, 0, 0xF6}, 256, 10000);
    std::set<std::string> from;
    for (auto& d : got) from.insert(d.from);
    EXPECT_EQ(from.size(), 256u);

    // Every unit's controller holds a connection open at the same time; the one
    // that answers 3 s late holds up nobody, however busy the machine is.
    std::vector<int> fds;
    for (int i = 0; i < 256; ++i) {
        int s = socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in a{};
        a.sin_family = AF_INET;
        a.sin_port = htons(10001);
        inet_pton(AF_INET, unit_ip(i).c_str(), &a.sin_addr);
        ASSERT_EQ(connect(s, reinterpret_cast<sockaddr*>(&a), sizeof a), 0) << unit_ip(i);
        fds.push_back(s);
    }
    for (int s : fds) ASSERT_EQ(send(s, "UU", 2, 0), 2);
    int answered = 0;
    for (int i = 0; i < 256; ++i) {
        pollfd p{fds[i], POLLIN, 0};
        uint8_t b[2] = {};
        if (poll(&p, 1, 10000) == 1 && recv(fds[i], b, 2, MSG_WAITALL) == 2 && b[0] >> 4 == (i % 7))
            ++answered;
    }
    for (int s : fds) close(s);
    EXPECT_EQ(answered, 256);
    auto j = lab.journal();
    long long late = 0, last_other = 0;
    for (auto& e : j) {
        if (e.dir != "out" || e.proto != "tcp") continue;
        if (e.unit == "u7")
            late = e.t_us;
        else
            last_other = std::max(last_other, e.t_us);
    }
    EXPECT_GT(late, last_other);
}
