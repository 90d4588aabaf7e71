// Faults for chosen requests: the targeted request fails, its neighbours are answered.
#include <gtest/gtest.h>

#include "client.h"
#include "rig/lab.h"

using labtest::Bytes;
using labtest::cat;
using labtest::text;

TEST(Faults, OnlyTheChosenRequestFails)
{
    rig::Lab lab(R"({"units": [
      { "name": "ai", "ip": "192.0.2.10", "model": 9, "faults_on": [
          { "on_text": "MW0421", "silent": true }, { "on_text": "AL!", "close_early": true },
          { "on_text": "AJ", "from": 2, "times": 1, "garbage": true },
          { "on": "9a", "wrong_echo": true }, { "on": "000000c7", "udp_silent": true } ] },
      { "name": "wl", "ip": "192.0.2.11", "module": "wifi", "faults_on": [
          { "on_text": "MHOST", "silent": true }, { "on_text": "VER", "garbage": true } ] } ]})");
    ASSERT_TRUE(lab.ok()) << lab.sim_log();
    lab.enter_host();
    const Bytes end{0xC8}, rec(126, 0);
    struct Case {
        const char* story;
        const char* unit;
        int port;  // 0: a datagram to 30718
        Bytes request;
        bool closed;
        std::string reply, event;  // reply: the answer's first bytes, hex
    } cases[] = {
        {"MW at 0421 unanswered", "ai", 10001, cat({text("MW04212F"), end}), 0, "", "ignored"},
        {"MW at 0432 answered", "ai", 10001, cat({text("MW04320307"), end}), 0, "4d574f4bc8", ""},
        {"AL for channel 1 closed", "ai", 10001, cat({text("AL!!0000FFFF"), end}), 1, "",
         "ignored"},
        {"AL for channel 0 echoed", "ai", 10001, cat({text("AL  0000FFFF"), end}), 0,
         "414c20203030303046464646c8", ""},
        {"first AJ answered", "ai", 10001, cat({text("AJ "), end}), 0, "414a202020c8", ""},
        {"second AJ junk", "ai", 10001, cat({text("AJ "), end}), 0, "a55aff001337", ""},
        {"third AJ answered", "ai", 10001, cat({text("AJ "), end}), 0, "414a202020c8", ""},
        {"parameter 9 echo changed", "ai", 10001, {0x9a, 0x05}, 0, "9a04", ""},
        {"parameter 0 echoed", "ai", 10001, {0x91, 0x05}, 0, "9105", ""},
        {"last write of record 7 unacknowledged", "ai", 0, cat({{0, 0, 0, 0xC7}, rec}), 0, "",
         "ignored"},
        {"write of record 6 acknowledged", "ai", 0, cat({{0, 1, 0, 0xC6}, rec}), 0, "000000d6", ""},
        {"set text MHOST ignored", "wl", 9998, text("MHOST\r\nm\r\nEND\r\n"), 0, "", "ignored"},
        {"set text HIP taken", "wl", 9998, text("HIP\r\n1.2.3.4\r\nEND\r\n"), 0, "", ""},
        {"VER junk", "wl", 9998, cat({text("VER\n"), {0}}), 0, "a55aff00", ""},
        {"DUMP answered", "wl", 9998, cat({text("DUMP\nEND\n"), {0}}), 0, "49500d0a", ""},
    };
    for (const auto& c : cases) {
        std::string ip = c.unit == std::string("ai") ? "192.0.2.10" : "192.0.2.11";
        Bytes reply;
        int wait = c.reply.empty() ? 1000 : 5000;
        if (c.port == 0) {
            auto d = labtest::udp_ask(ip, c.request, 1, wait);
            if (!d.empty()) reply = d[0].bytes;
        } else {
            size_t want = c.reply.empty() ? 1 : c.reply.size() / 2;
            auto r = labtest::tcp_ask(ip, c.port, c.request, want, wait);
            EXPECT_EQ(r.closed_by_unit, c.closed) << c.story;
            reply = r.reply;
        }
        EXPECT_EQ(rig::hex(reply).substr(0, c.reply.size()), c.reply) << c.story;
        EXPECT_EQ(reply.empty(), c.reply.empty()) << c.story;
        rig::JournalEntry in;
        EXPECT_TRUE(lab.wait_journal([&](const std::vector<rig::JournalEntry>& j) {
            for (const auto& e : j)
                if (e.unit == c.unit && e.dir == "in" && e.bytes == c.request) in = e;
            return in.dir == "in";
        })) << c.story;
        EXPECT_EQ(in.event, c.event) << c.story;
    }
    EXPECT_NE(lab.state("wl").find("\"HIP\":\"1.2.3.4\""), std::string::npos);
    EXPECT_EQ(lab.state("wl").find("\"MHOST\":\"m\""), std::string::npos);
}
