// Asking a unit for its model and unit ID: the "UU" / "MI" exchange, its
// refusals and its failures, against simulated units.
#include "device/KIVRAXPort.h"
#include "lab_support.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <thread>

using namespace devtest;

namespace {

struct Case {
    const char* name;
    const char* ip;
    int result;
    int model;
    int unit_id;
    const char* log;
};

void run_cases(const LogDir& dir, const Case* cases, int n)
{
    for (int i = 0; i < n; i++) {
        const Case& c = cases[i];
        InitDebug();   // a fresh log for each unit
        int model = -5, id = -5;
        EXPECT_EQ(GetUnitModelID(c.ip, 10001, &model, &id), c.result) << c.name;
        EXPECT_EQ(model, c.model) << c.name;
        EXPECT_EQ(id, c.unit_id) << c.name;
        EXPECT_EQ(dir.log(), c.log) << c.name;
    }
}

TEST(ModelQuery, OneByteAnswersAndTheRefusedOnes)
{
    rig::Lab lab(plant({
        R"({"name":"d2","ip":"192.0.2.10","model":2,"unit_id":1})",
        R"({"name":"d6","ip":"192.0.2.11","model":6,"unit_id":14})",
        R"({"name":"m7","ip":"192.0.2.12","model":7})",
        R"({"name":"idf","ip":"192.0.2.13","model":3,"unit_id":15})",
        R"({"name":"at","ip":"192.0.2.14","answer":"at"})",
    }));
    ASSERT_TRUE(lab.ok()) << lab.sim_log();
    lab.enter_host();
    LogDir dir;
    const Case cases[] = {
        {"0x2E", "192.0.2.10", 0, 2, 1, ""},
        {"0x61", "192.0.2.11", 0, 6, 14, ""},
        {"model 7", "192.0.2.12", 1, -5, -5, "model = 7\n"},
        {"switch at F", "192.0.2.13", 1, -5, -5, "ID = F\n"},
        {"AT", "192.0.2.14", 1, -5, -5, "ID = AT\n"},
    };
    run_cases(dir, cases, sizeof cases / sizeof cases[0]);
    EXPECT_EQ(requests(lab, "d2", "tcp"), (std::vector<std::vector<uint8_t>>{text_bytes("UU")}));
}

TEST(ModelQuery, UnitSilentOnUUIsAskedMIAfterOneAndAHalfSeconds)
{
    rig::Lab lab(plant({R"({"name":"ai","ip":"192.0.2.10","model":8,"unit_id":3})"}));
    ASSERT_TRUE(lab.ok()) << lab.sim_log();
    lab.enter_host();
    LogDir dir;
    int model = -1, id = -1;
    EXPECT_EQ(GetUnitModelID("192.0.2.10", 10001, &model, &id), 0);
    EXPECT_EQ(model, 8);
    EXPECT_EQ(id, 3);
    EXPECT_EQ(dir.log(), "");
    std::vector<rig::JournalEntry> in;
    for (const rig::JournalEntry& e : lab.received("ai"))
        if (e.proto == "tcp") in.push_back(e);
    ASSERT_EQ(in.size(), 2u);
    EXPECT_EQ(in[0].bytes, text_bytes("UU"));
    EXPECT_EQ(in[1].bytes, bytes({'M', 'I', 0xC8}));
    EXPECT_NE(in[0].conn, in[1].conn) << "MI goes on a new connection";
    double gap = (in[1].t_us - in[0].t_us) / 1e6;
    EXPECT_GT(gap, 1.3);
    EXPECT_LT(gap, 2.5);
}

TEST(ModelQuery, FailuresLeaveTheEntryAloneAndSayWhy)
{
    rig::Lab lab(plant({
        R"({"name":"refused","ip":"192.0.2.10","faults":{"refused":true}})",
        R"({"name":"shut","ip":"192.0.2.11","faults":{"close_early":true}})",
        R"({"name":"silent","ip":"192.0.2.12","faults":{"tcp_silent":true}})",
        R"({"name":"half","ip":"192.0.2.13","model":9,"faults":{"truncate":1}})",
    }));
    ASSERT_TRUE(lab.ok()) << lab.sim_log();
    lab.enter_host();
    LogDir dir;
    const Case cases[] = {
        {"refused", "192.0.2.10", -1, -5, -5, "connection failed\nconnect timeout failed\n"},
        {"nobody there", "192.0.2.99", -1, -5, -5, "socket select timeout\nconnect timeout failed\n"},
        // A unit that hangs up before answering: nothing is decoded from bytes never received.
        {"closed early", "192.0.2.11", -1, -5, -5, "warning: recv may be timed out\nsocket recv error\n"},
        // Silent on both forms: the MI reply's time-out has no line of its own.
        {"silent", "192.0.2.12", -1, -5, -5, ""},
        {"cut short", "192.0.2.13", -1, -5, -5, ""},
    };
    run_cases(dir, cases, sizeof cases / sizeof cases[0]);
}

TEST(ModelQuery, SettingsMenuFormReportsTheSystemErrorAndItsOwnTexts)
{
    rig::Lab lab(plant({
        R"({"name":"refused","ip":"192.0.2.10","faults":{"refused":true}})",
        R"({"name":"shut","ip":"192.0.2.11","faults":{"close_early":true}})",
        R"({"name":"m7","ip":"192.0.2.12","model":7})",
        R"({"name":"ok","ip":"192.0.2.13","model":4,"unit_id":9})",
    }));
    ASSERT_TRUE(lab.ok()) << lab.sim_log();
    lab.enter_host();
    LogDir dir;
    const ModelQueryLog check = {"connect with timeout failed\n", "warning: recv timeout may be occured\n", false};
    struct Row { const char* ip; int result; int error; const char* log; };
    const Row rows[] = {
        {"192.0.2.10", -1, ECONNREFUSED, "connection failed\nconnect with timeout failed\n"},
        {"192.0.2.99", -1, ETIMEDOUT, "socket select timeout\nconnect with timeout failed\n"},
        {"192.0.2.11", -1, EIO, "warning: recv timeout may be occured\nsocket recv error\n"},
        {"192.0.2.12", 1, 0, ""},
        {"192.0.2.13", 0, 0, ""},
    };
    for (const Row& r : rows) {
        InitDebug();
        int model = -1, id = -1, error = -7;
        EXPECT_EQ(ModelQuery(r.ip, 10001, check, &model, &id, &error), r.result) << r.ip;
        EXPECT_EQ(error, r.error) << r.ip;
        EXPECT_EQ(dir.log(), r.log) << r.ip;
        if (r.result == 0) {
            EXPECT_EQ(model, 4);
            EXPECT_EQ(id, 9);
        }
    }
}

TEST(ModelQuery, ManyThreadsAskAtOnce)
{
    std::vector<std::string> units;
    for (int u = 0; u < 16; u++)
        units.push_back("{\"name\":\"u" + std::to_string(u) + "\",\"ip\":\"192.0.2." + std::to_string(10 + u) +
                        "\",\"model\":" + std::to_string(u % 7) + ",\"unit_id\":" + std::to_string(u % 15) + "}");
    rig::Lab lab(plant(units));
    ASSERT_TRUE(lab.ok()) << lab.sim_log();
    lab.enter_host();
    LogDir dir;
    constexpr int kThreads = 64;   // four at a time on each unit
    int model[kThreads], id[kThreads], result[kThreads];
    std::vector<std::thread> threads;
    for (int t = 0; t < kThreads; t++) {
        model[t] = id[t] = -1;
        threads.emplace_back([t, &model, &id, &result] {
            std::string ip = "192.0.2." + std::to_string(10 + t % 16);
            result[t] = GetUnitModelID(ip.c_str(), 10001, &model[t], &id[t]);
        });
    }
    for (std::thread& th : threads) th.join();
    for (int t = 0; t < kThreads; t++) {
        int u = t % 16;
        EXPECT_EQ(result[t], 0) << t;
        EXPECT_EQ(model[t], u % 7) << t;
        EXPECT_EQ(id[t], u % 15) << t;
    }
    EXPECT_EQ(dir.log(), "");
}

}  // namespace
