// Fault knobs: each makes one unit misbehave the way the tool must survive.
#include <gtest/gtest.h>

#include <algorithm>
#include <thread>

#include "client.h"
#include "rig/lab.h"

using labtest::Bytes;
using labtest::text;

namespace {

const char* kPlant = R"({
  "units": [
    { "name": "mute", "ip": "192.0.2.10", "faults": { "udp_silent": true } },
    { "name": "no3", "ip": "192.0.2.11", "faults": { "unreadable_record": 3 } },
    { "name": "slowudp", "ip": "192.0.2.12", "faults": { "udp_delay_ms": 800 } },
    { "name": "deaf", "ip": "192.0.2.13", "module": "wifi", "faults": { "tcp_silent": true } },
    { "name": "gone", "ip": "192.0.2.14", "module": "wifi", "faults": { "refused": true } },
    { "name": "slow", "ip": "192.0.2.15", "faults": { "delay_ms": 700 } },
    { "name": "short", "ip": "192.0.2.16", "faults": { "truncate": 1 } },
    { "name": "rude", "ip": "192.0.2.17", "faults": { "close_early": true } },
    { "name": "echo", "ip": "192.0.2.18", "params": { "0": 7 }, "faults": { "wrong_echo": true } },
    { "name": "junk", "ip": "192.0.2.19", "model": 3, "faults": { "garbage": true } },
    { "name": "endonly", "ip": "192.0.2.20", "module": "wifi", "faults": { "dump_stops_after_end": true } },
    { "name": "long", "ip": "192.0.2.21", "module": "wifi", "faults": { "long_dump_line": 300 } },
    { "name": "fine", "ip": "192.0.2.22", "model": 1 },
    { "name": "stub", "ip": "192.0.2.23", "faults": { "udp_truncate": 12 } },
    { "name": "noise", "ip": "192.0.2.24", "faults": { "udp_garbage": true } }
  ]})";

const Bytes kDump = labtest::cat({text("DUMP\nEND\n"), {0}});

long long first_t(const std::vector<rig::JournalEntry>& j, const std::string& unit,
                  const std::string& dir)
{
    for (auto& e : j)
        if (e.unit == unit && e.dir == dir) return e.t_us;
    return -1;
}

}  // namespace

TEST(Faults, UdpKnobs)
{
    rig::Lab lab(kPlant);
    ASSERT_TRUE(lab.ok()) << lab.sim_log();
    lab.enter_host();
    EXPECT_TRUE(labtest::silent("192.0.2.10", {0, 0, 0, 0xF6}));
    EXPECT_TRUE(labtest::silent("192.0.2.10", {0, 0, 0, 0xE0}));
    EXPECT_TRUE(labtest::silent("192.0.2.11", {0, 0, 0, 0xE3}));
    ASSERT_EQ(labtest::udp_ask("192.0.2.11", {0, 0, 0, 0xE4}).size(), 1u);
    EXPECT_EQ(lab.received("no3")[0].event, "ignored");
    auto stub = labtest::udp_ask("192.0.2.23", {0, 0, 0, 0xE3});
    ASSERT_EQ(stub.size(), 1u);
    EXPECT_EQ(stub[0].bytes.size(), 12u);
    auto noise = labtest::udp_ask("192.0.2.24", {0, 0, 0, 0xF6});
    ASSERT_EQ(noise.size(), 1u);
    EXPECT_EQ(rig::hex(noise[0].bytes).substr(0, 8), "a55aff00");
    EXPECT_EQ(noise[0].bytes.size(), 30u);

    // A late unit holds up nobody: another unit answers first.
    std::vector<labtest::Datagram> late;
    std::thread t([&] { late = labtest::udp_ask("192.0.2.12", {0, 0, 0, 0xE0}, 1, 10000); });
    ASSERT_TRUE(lab.wait_received("slowudp", {0, 0, 0, 0xE0}));
    EXPECT_EQ(labtest::udp_ask("192.0.2.22", {0, 0, 0, 0xE0}).size(), 1u);
    t.join();
    ASSERT_EQ(late.size(), 1u);
    EXPECT_EQ(late[0].bytes.size(), 124u);
    auto j = lab.journal();
    EXPECT_GE(first_t(j, "slowudp", "out") - first_t(j, "slowudp", "in"), 800000);
    EXPECT_LT(first_t(j, "fine", "out"), first_t(j, "slowudp", "out"));
}

TEST(Faults, TcpKnobs)
{
    rig::Lab lab(kPlant);
    ASSERT_TRUE(lab.ok()) << lab.sim_log();
    lab.enter_host();
    struct Case {
        const char* story;
        std::string ip;
        int port;
        Bytes request;
        size_t want;
        bool connected, closed;
        std::string reply;
    } cases[] = {
        {"silent controller accepts and says nothing", "192.0.2.13", 10001, text("UU"), 2, true,
         false, ""},
        {"silent module says nothing to a dump", "192.0.2.13", 9998, kDump, 10, true, false, ""},
        {"no listener: refused", "192.0.2.14", 10001, text("UU"), 2, false, false, ""},
        {"no listener on 9998 either", "192.0.2.14", 9998, kDump, 10, false, false, ""},
        {"slow answer still comes", "192.0.2.15", 10001, text("UU"), 2, true, false, "0e55"},
        {"truncated answer, connection left open", "192.0.2.16", 10001, text("UU"), 2, true, false,
         "0e"},
        {"closed as soon as asked", "192.0.2.17", 10001, text("UU"), 2, true, true, ""},
        {"write echo with a changed value",
         "192.0.2.18",
         10001,
         {0x91, 0x05},
         2,
         true,
         false,
         "9104"},
        {"read answered with the wrong code",
         "192.0.2.18",
         10001,
         {0x90, 0x00},
         2,
         true,
         false,
         "9105"},
        {"garbage instead of the model", "192.0.2.19", 10001, text("UU"), 2, true, false, "a55a"},
    };
    for (auto& c : cases) {
        auto r = labtest::tcp_ask(c.ip, c.port, c.request, c.want, 2000);
        EXPECT_EQ(r.connected, c.connected) << c.story;
        EXPECT_EQ(r.closed_by_unit, c.closed) << c.story;
        EXPECT_EQ(rig::hex(r.reply), c.reply) << c.story;
    }
    auto j = lab.journal();
    EXPECT_GE(first_t(j, "slow", "out") - first_t(j, "slow", "in"), 700000);
    for (auto& e : lab.received("deaf")) EXPECT_EQ(e.event, "ignored");
}

TEST(Faults, WifiDumpKnobs)
{
    rig::Lab lab(kPlant);
    ASSERT_TRUE(lab.ok()) << lab.sim_log();
    lab.enter_host();
    auto r = labtest::tcp_ask("192.0.2.20", 9998, kDump, 100000, 1000);
    EXPECT_FALSE(r.closed_by_unit);
    std::string s(r.reply.begin(), r.reply.end());
    EXPECT_EQ(s.substr(s.size() - 7), "\r\nEND\r\n");

    auto l = labtest::tcp_ask("192.0.2.21", 9998, kDump, 100000);
    std::string t(l.reply.begin(), l.reply.end());
    EXPECT_EQ(t.substr(0, 4), "IP\r\n");
    EXPECT_EQ(t.find("\r\n", 4), 4u + 300u);
}

TEST(Faults, TrickledAndOversizedAnswers)
{
    rig::Lab lab(R"({"units": [
      {"name": "drip", "ip": "192.0.2.10",
       "faults": {"udp_trickle_ms": 20, "udp_trickle_bytes": 40, "trickle_ms": 20}},
      {"name": "big", "ip": "192.0.2.11",
       "faults": {"udp_extra_bytes": 100000, "extra_bytes": 65536}}]})");
    ASSERT_TRUE(lab.ok()) << lab.sim_log();
    lab.enter_host();
    // Record 0 in datagrams of 40, 40, 40 and 4 bytes; "UU" answered a byte at a time.
    auto pieces = labtest::udp_ask("192.0.2.10", {0, 0, 0, 0xE0}, 4);
    ASSERT_EQ(pieces.size(), 4u);
    EXPECT_EQ(pieces[0].bytes.size() + pieces[3].bytes.size(), 44u);
    EXPECT_EQ(rig::hex(labtest::tcp_ask("192.0.2.10", 10001, text("UU"), 2).reply), "0e55");
    EXPECT_TRUE(lab.wait_journal([](const std::vector<rig::JournalEntry>& j) {
        return std::count_if(j.begin(), j.end(), [](auto& e) {
                   return e.unit == "drip" && e.proto == "tcp" && e.dir == "out";
               }) == 2;
    }));
    // The largest datagram there is; 64 KiB of junk after the TCP answer.
    auto big = labtest::udp_ask("192.0.2.11", {0, 0, 0, 0xE0});
    ASSERT_EQ(big.size(), 1u);
    EXPECT_EQ(big[0].bytes.size(), 65507u);
    auto more = labtest::tcp_ask("192.0.2.11", 10001, text("UU"), 2 + 65536);
    EXPECT_EQ(more.reply.size(), 2u + 65536u);
    EXPECT_EQ(rig::hex(more.reply).substr(0, 8), "0e55a55a");
}
