// The controller's parameter bytes, analog thresholds and the exchange they
// ride on, against simulated units.
#include "device/KIVRAXPort.h"
#include "fake_unit.h"
#include "lab_support.h"

#include <gtest/gtest.h>

#include <cstring>

using namespace devtest;

namespace {

// Entry i of the table addresses the unit at ip, command port 10001.
void place_unit(int i, const char* ip)
{
    ResetXPortEntry(i);
    std::strcpy(xportset[i].ipstr, ip);
    SetCmdPort(i, 10001);
    if (xportcount <= i) xportcount = i + 1;
}

TEST(UnitParameters, EachAccessorSendsItsTwoBytesAndChecksTheEcho)
{
    rig::Lab lab(plant({
        R"({"name":"di","ip":"192.0.2.10","params":{"0":63,"2":10,"3":5,"4":7}})",
        R"({"name":"echo","ip":"192.0.2.11","faults":{"wrong_echo":true}})",
    }));
    ASSERT_TRUE(lab.ok()) << lab.sim_log();
    lab.enter_host();
    LogDir dir;
    xportcount = 0;
    place_unit(0, "192.0.2.10");
    place_unit(1, "192.0.2.11");

    // Reads first, while the unit still holds the plant's values.
    struct Read { int (*get)(int, int*); std::vector<uint8_t> request; int value; };
    const Read reads[] = {
        {NQKivraGetNoticeTime, {0x90, 0x00}, 3},
        {NQKivraGetDisconnectionTime, {0x90, 0x00}, 15},
        {NQKivraGetDiDetectTime, {0x90, 0x02}, 10},
        {NQKivraGetDiMailLogic, {0x90, 0x03}, 5},
        {NQKivraGetDiMailEnable, {0x90, 0x04}, 7},
    };
    for (const Read& r : reads) {
        int v = -1;
        EXPECT_EQ(r.get(0, &v), 0);
        EXPECT_EQ(v, r.value);
        EXPECT_EQ(requests(lab, "di", "tcp").back(), r.request);
    }

    struct Write { int (*set)(int, int); int value; std::vector<uint8_t> request; };
    const Write writes[] = {
        {NQKivraSetNoticeTime, 2, {0x91, 0x2F}},
        {NQKivraSetDisconnectionTime, 5, {0x91, 0x05}},
        {NQKivraSetDiDetectTime, 12, {0x93, 0x0C}},
        {NQKivraSetDiMailLogic, 3, {0x94, 0x03}},
        {NQKivraSetDiMailEnable, 1, {0x95, 0x01}},
    };
    for (const Write& w : writes) {
        EXPECT_EQ(w.set(0, w.value), 0);
        EXPECT_EQ(requests(lab, "di", "tcp").back(), w.request);
        // A unit whose echo differs in its last byte did not take the value.
        EXPECT_EQ(w.set(1, w.value), -1);
        EXPECT_EQ(requests(lab, "echo", "tcp").back(), w.request);
    }
    int code = -1;
    EXPECT_EQ(NQKivraGetDisconnectionTime(0, &code), 0);
    EXPECT_EQ(code, 5) << "the disconnection time written last, notice back to None";
    EXPECT_EQ(dir.log(), "") << "wrong echoes are not socket failures";
}

TEST(UnitParameters, ThresholdsGoOutAsCapitalHexAndComeBack)
{
    rig::Lab lab(plant({R"({"name":"ai","ip":"192.0.2.10","model":8})"}));
    ASSERT_TRUE(lab.ok()) << lab.sim_log();
    lab.enter_host();
    LogDir dir;
    xportcount = 0;
    place_unit(0, "192.0.2.10");

    ASSERT_EQ(SetADCThreshold(0, 1, 1, 2, 0x0123, 0xABCD), 0);
    EXPECT_EQ(requests(lab, "ai", "tcp").back(),
              bytes({'A', 'L', 0x21, 0x2A, 'A', 'B', 'C', 'D', '0', '1', '2', '3', 0xC8}));
    int led = -1, mail = -1, high = -1, low = -1;
    ASSERT_EQ(GetADCThreshold(0, 1, &led, &mail, &high, &low), 0);
    EXPECT_EQ(requests(lab, "ai", "tcp").back(), bytes({'A', 'K', 0x21, 0xC8}));
    EXPECT_EQ(led, 1);
    EXPECT_EQ(mail, 2);
    EXPECT_EQ(high, 0x0123);
    EXPECT_EQ(low, 0xABCD);
    EXPECT_EQ(dir.log(), "");
}

TEST(CommandChannel, RepliesCutShortAreFailuresNeverUndefinedBytes)
{
    rig::Lab lab(plant({
        R"({"name":"cut","ip":"192.0.2.10","faults":{"truncate":1}})",
        R"({"name":"shut","ip":"192.0.2.11","faults":{"close_early":true}})",
        R"({"name":"junk","ip":"192.0.2.12","model":8,"faults":{"garbage":true}})",
        R"({"name":"di","ip":"192.0.2.13"})",
    }));
    ASSERT_TRUE(lab.ok()) << lab.sim_log();
    lab.enter_host();
    LogDir dir;
    xportcount = 0;
    const char* ips[] = {"192.0.2.10", "192.0.2.11", "192.0.2.12", ""};
    for (int i = 0; i < 4; i++) place_unit(i, ips[i]);

    struct Case { int index; const char* log; };
    const Case cases[] = {
        {0, "socket recv error\n"},   // one byte, then 1.5 s of silence
        {1, "socket recv error\n"},   // closed before the reply
    };
    for (const Case& c : cases) {
        InitDebug();
        int v = -1;
        EXPECT_EQ(NQKivraGetDiDetectTime(c.index, &v), -1) << c.index;
        EXPECT_EQ(v, -1) << c.index;
        EXPECT_EQ(dir.log(), c.log) << c.index;
    }
    // A unit answering nonsense: the exchange works, the reply is refused.
    InitDebug();
    int led = -1, mail = -1, high = -1, low = -1;
    EXPECT_EQ(GetADCThreshold(2, 0, &led, &mail, &high, &low), -1);
    EXPECT_EQ(low, -1);
    EXPECT_EQ(NQKivraSetNoticeTime(2, 1), -1);
    EXPECT_EQ(dir.log(), "");

    // Without an address nothing is opened or sent.
    uint8_t reply[2];
    const uint8_t req[2] = {0x90, 0x00};
    EXPECT_EQ(SendRecv("", 10001, 2, req, 2, reply), 3);
    EXPECT_EQ(SendRecvRaw(3, 2, req, 2, reply), -1);
    EXPECT_EQ(SendRecvRaw(-1, 2, req, 2, reply), -1);
    EXPECT_EQ(SendRecvRaw(XPORT_MAX, 2, req, 2, reply), -1);
    std::strcpy(xportset[3].ipstr, "192.0.2.13");
    EXPECT_EQ(SendRecvRaw(3, 2, req, 2, reply), 0);
    int connects = 0;
    for (const rig::JournalEntry& e : lab.journal())
        if (e.event == "connect" && e.unit != "cut" && e.unit != "shut" && e.unit != "junk") connects++;
    EXPECT_EQ(connects, 1);
}

TEST(CommandChannel, AUnitTricklingItsReplyCannotHoldTheToolPastTheReplyDeadline)
{
    rig::Lab lab(plant({}));
    ASSERT_TRUE(lab.ok()) << lab.sim_log();
    ASSERT_EQ(lab.run_in_host({"ip", "link", "set", "lo", "up"}), 0);
    lab.enter_host();
    LogDir dir;
    // Thirteen bytes one every 0.3 s (a slow link) are a healthy reply; one
    // every 1 s passes the 10 s whole-reply limit, though no pause is a time-out.
    uint8_t req[4] = {'A', 'K', 0x20, 0xC8};
    uint8_t reply[14] = {};
    for (int pause_ms : {300, 1000}) {
        std::vector<Part> parts;
        for (int i = 0; i < 13; i++) parts.push_back({{static_cast<uint8_t>('A' + i)}, pause_ms});
        FakeTcpUnit unit(parts);
        Clock::time_point start = Clock::now();
        EXPECT_EQ(SendRecv("127.0.0.1", unit.port, 4, req, 13, reply), pause_ms == 300 ? 0 : -1);
        EXPECT_TRUE(pause_ms == 300 ? reply[12] == 'M' : seconds_since(start) > 9.5);
    }
    EXPECT_EQ(dir.log(), "socket recv error\n");
}

}  // namespace
