// The controller behind the command port: model answers, parameter bytes and the
// lettered commands, each with its exact lengths; what is written reads back.
#include <gtest/gtest.h>

#include <chrono>
#include <nlohmann/json.hpp>

#include "client.h"
#include "rig/lab.h"

using labtest::Bytes;
using labtest::text;
using nlohmann::json;

namespace {

const char* kPlant = R"({
  "units": [
    { "name": "d2", "ip": "192.0.2.10", "model": 2, "unit_id": 14 },
    { "name": "f", "ip": "192.0.2.11", "model": 2, "unit_id": 15 },
    { "name": "m7", "ip": "192.0.2.12", "model": 7, "unit_id": 1 },
    { "name": "at", "ip": "192.0.2.13", "answer": "at" },
    { "name": "ai", "ip": "192.0.2.14", "model": 8, "unit_id": 3, "notice": 2, "cmd_port": 10100,
      "params": { "0": 63 },
      "ai": [ { "range": 2, "led": 1, "mail": 2, "low": 43981, "high": 291 }, {},
              { "tc_type": 1, "tc_flags": 5, "tc_out": 1, "tc_low": 100, "tc_high": 65535 } ],
      "do": [ {}, { "enable": 1, "input": 3, "direction": 1, "width": 4660 } ],
      "memory": { "0401": "2f", "0432": "0307", "0b33": "01ff38", "0491": "04" } }
  ]})";

const uint8_t E = 0xC8;

Bytes ask(const std::string& ip, int port, const Bytes& req, size_t want)
{
    return labtest::tcp_ask(ip, port, req, want).reply;
}

}  // namespace

TEST(Controller, ModelQueryAnswersInEachStyle)
{
    rig::Lab lab(kPlant);
    ASSERT_TRUE(lab.ok()) << lab.sim_log();
    lab.enter_host();
    // Byte 0: model in bits 4..6, unit ID complemented in bits 0..3.
    EXPECT_EQ(rig::hex(ask("192.0.2.10", 10001, text("UU"), 2)), "2155");
    EXPECT_EQ(rig::hex(ask("192.0.2.11", 10001, text("UU"), 2)), "2055");  // switch at F
    EXPECT_EQ(rig::hex(ask("192.0.2.12", 10001, text("UU"), 5)), "7e552020c8");
    Bytes at = ask("192.0.2.13", 10001, text("UU"), 13);
    ASSERT_EQ(at.size(), 13u);
    EXPECT_EQ(at[0], 'A');
    EXPECT_EQ(at[1], 'T');

    // An analog unit ignores "UU" and answers "MI" on the same connection.
    auto silent = labtest::tcp_ask("192.0.2.14", 10100, text("UU"), 1, 400);
    EXPECT_TRUE(silent.connected);
    EXPECT_TRUE(silent.reply.empty());
    EXPECT_EQ(rig::hex(ask("192.0.2.14", 10100, {'M', 'I', E}, 5)), "4d490c08c8");
    auto got = lab.received("ai");
    ASSERT_GE(got.size(), 2u);
    EXPECT_EQ(got[0].event, "ignored");
}

TEST(Controller, EveryCommandHasItsLengthsAndReadsBackWhatWasWritten)
{
    rig::Lab lab(kPlant);
    ASSERT_TRUE(lab.ok()) << lab.sim_log();
    lab.enter_host();
    struct Case {
        const char* story;
        Bytes request;
        std::string reply;  // hex
    } cases[] = {
        {"parameter byte 0 read", {0x90, 0}, "903f"},
        {"notice written", {0x91, 0x2F}, "912f"},
        {"parameter byte 0 reads what was written", {0x90, 0}, "902f"},
        {"detection time written", {0x93, 12}, "930c"},
        {"detection time read", {0x90, 2}, "900c"},
        {"memory 0401, one byte", labtest::cat({text("MR0401"), {E}}),
         rig::hex(labtest::cat({text("MR04012F"), {E}}))},
        {"memory 0432, two bytes", labtest::cat({text("MR0432"), {E}}),
         rig::hex(labtest::cat({text("MR04320307"), {E}}))},
        {"memory 0B33, three bytes", labtest::cat({text("MR0B33"), {E}}),
         rig::hex(labtest::cat({text("MR0B3301FF38"), {E}}))},
        {"memory 0421 written", labtest::cat({text("MW04210A"), {E}}),
         rig::hex(labtest::cat({text("MWOK"), {E}}))},
        {"memory 0421 reads back", labtest::cat({text("MR0421"), {E}}),
         rig::hex(labtest::cat({text("MR04210A"), {E}}))},
        {"memory 0432 written", labtest::cat({text("MW0432E5E1"), {E}}),
         rig::hex(labtest::cat({text("MWOK"), {E}}))},
        {"memory 0432 reads back", labtest::cat({text("MR0432"), {E}}),
         rig::hex(labtest::cat({text("MR0432E5E1"), {E}}))},
        {"range and notice", {'A', 'J', 0x20, E}, "414a202222c8"},
        {"notice written", {'A', 'S', 0x24, E}, "415324c8"},
        {"range written", {'A', 'R', 0x21, 0x23, E}, "41522123c8"},
        {"range reads back with the notice", {'A', 'J', 0x21, E}, "414a212324c8"},
        {"threshold",
         {'A', 'K', 0x20, E},
         rig::hex(labtest::cat({text("AK "), {0x2A}, text("ABCD0123"), {E}}))},
        {"threshold written", labtest::cat({text("AL"), {0x21, 0x2A}, text("ABCD0123"), {E}}),
         rig::hex(labtest::cat({text("AL"), {0x21, 0x2A}, text("ABCD0123"), {E}}))},
        {"threshold reads back",
         {'A', 'K', 0x21, E},
         rig::hex(labtest::cat({text("AK!"), {0x2A}, text("ABCD0123"), {E}}))},
        {"thermocouple",
         {'T', 'J', 0x22, E},
         rig::hex(labtest::cat({text("TJ\"!%!0064FFFF"), {E}}))},
        {"thermocouple type written", {'T', 'C', 0x20, 0x23, 0x21, E}, "54432023 21c8"},
        {"scaling written", labtest::cat({text("TF"), {0x20, 0x21}, text("FF380FA0"), {E}}),
         rig::hex(labtest::cat({text("TF"), {0x20, 0x21}, text("FF380FA0"), {E}}))},
        {"thermocouple reads back",
         {'T', 'J', 0x20, E},
         rig::hex(labtest::cat({text("TJ #!!FF380FA0"), {E}}))},
        {"sampling written", {'A', 'P', 0x24, E}, "415024c8"},
        {"sampling in memory 0491", labtest::cat({text("MR0491"), {E}}),
         rig::hex(labtest::cat({text("MR049104"), {E}}))},
        {"current output written", labtest::cat({text("AQ"), {0x29}, text("7FFF"), {E}}),
         rig::hex(labtest::cat({text("AQ"), {0x29}, text("7FFF"), {E}}))},
        {"output 1 reads back as current", labtest::cat({text("MR0B33"), {E}}),
         rig::hex(labtest::cat({text("MR0B33007FFF"), {E}}))},
        {"DO alert", {'D', 'J', 0x21, E}, rig::hex(labtest::cat({text("DJ!!#!1234"), {E}}))},
        {"DO alert written", labtest::cat({text("DL"), {0x20, 0x22, 0x21}, text("0FA0"), {E}}),
         rig::hex(labtest::cat({text("DL"), {0x20, 0x22, 0x21}, text("0FA0"), {E}}))},
        {"DO alert enabled", {'D', 'S', 0x20, 0x21, E}, "44532021c8"},
        {"DO alert reads back",
         {'D', 'J', 0x20, E},
         rig::hex(labtest::cat({text("DJ !\"!0FA0"), {E}}))},
    };
    for (auto& c : cases) {
        std::string want = c.reply;
        want.erase(std::remove(want.begin(), want.end(), ' '), want.end());
        Bytes got = ask("192.0.2.14", 10100, c.request, want.size() / 2);
        EXPECT_EQ(rig::hex(got), want) << c.story;
    }
    json st = json::parse(lab.state("ai"));
    EXPECT_EQ(st["notice"], 4);
    EXPECT_EQ(st["ai"][1]["range"], 3);
    EXPECT_EQ(st["ai"][1]["low"], 0xABCD);
    EXPECT_EQ(st["ai"][1]["high"], 0x0123);
    EXPECT_EQ(st["do"][0]["width"], 4000);
    EXPECT_EQ(st["memory"]["0b34"], "7f");
    EXPECT_EQ(st["params"].get<std::string>().substr(0, 6), "2f000c");
}

TEST(Controller, RequestsOfTheWrongLengthOrValueGetNoAnswer)
{
    rig::Lab lab(kPlant);
    ASSERT_TRUE(lab.ok()) << lab.sim_log();
    lab.enter_host();
    struct Case {
        Bytes request;
        const char* event;
    } cases[] = {
        {{'A', 'J', 0x20, 0x20, E}, "bad length"},
        {labtest::cat({text("MR04"), {E}}), "bad length"},
        {labtest::cat({text("MW0401"), {E}}), "bad length"},
        {{'A', 'J', 0x23, E}, "bad value"},  // there are three inputs
        {labtest::cat({text("MR04G1"), {E}}), "bad value"},
        {{'Z', 'Z', E}, "unknown"},
    };
    for (auto& c : cases) {
        auto r = labtest::tcp_ask("192.0.2.14", 10100, c.request, 1, 300);
        EXPECT_TRUE(r.reply.empty()) << c.event;
    }
    auto got = lab.received("ai");
    ASSERT_EQ(got.size(), std::size(cases));
    for (size_t i = 0; i < got.size(); ++i) {
        EXPECT_EQ(got[i].event, cases[i].event);
        EXPECT_EQ(got[i].bytes, cases[i].request);
    }
}

TEST(Controller, JournalShowsEachConnectionRequestAndAnswer)
{
    rig::Lab lab(kPlant);
    ASSERT_TRUE(lab.ok()) << lab.sim_log();
    lab.enter_host();
    auto us = [] {
        return std::chrono::duration_cast<std::chrono::microseconds>(
                   std::chrono::steady_clock::now().time_since_epoch())
            .count();
    };
    long long before = us();
    ask("192.0.2.10", 10001, text("UU"), 2);
    long long after = us();
    ASSERT_TRUE(lab.wait_event("d2", "close"));
    std::vector<std::string> seen;
    int conn = 0;
    // The journal's clock is the tests' steady clock: the request was journalled
    // before its answer left, the answer after the request was sent.
    for (auto& e : lab.journal()) {
        if (e.unit != "d2" || e.dir.empty()) continue;
        EXPECT_GE(e.t_us, before);
        if (e.dir == "in") {
            EXPECT_LE(e.t_us, after);
        }
    }
    for (auto& e : lab.journal()) {
        if (e.unit != "d2") continue;
        seen.push_back(e.dir + "/" + e.event + "/" + rig::hex(e.bytes));
        if (conn == 0) conn = e.conn;
        EXPECT_EQ(e.conn, conn);
        EXPECT_EQ(e.local, "192.0.2.10:10001");
        EXPECT_EQ(e.proto, "tcp");
    }
    EXPECT_EQ(seen, (std::vector<std::string>{"/connect/", "in//5555", "out//2155", "/close/"}));
    EXPECT_GT(conn, 0);
}
