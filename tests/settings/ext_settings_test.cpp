// The input extension group with no terminal: each kind of unit read,
// changed, applied and read back with the controller commands it received,
// every refusal and failure as the value the screen shows, reads of several
// units in parallel, and what each model and module kind has.
#include "settings/ext_settings.h"

#include "base/bounded_text.h"
#include "screens/list/list_parts.h"
#include "tests/device/lab_support.h"

#include <gtest/gtest.h>

#include <string>
#include <thread>
#include <vector>

using namespace devtest;

namespace {

const std::string kPlant = R"({"hosts": ["192.0.2.50"], "units": [
    {"name": "p0", "ip": "192.0.2.10", "model": 0, "params": {"0": 31, "2": 10},
     "conn": {"dest1": "192.0.2.77", "dport1": 4000, "mode1": 209}},
    {"name": "gc", "ip": "192.0.2.11", "model": 3, "module": "gc", "devtype": "X6",
     "conn": {"dest1": "hostA", "dport1": 4001, "mode1": 197, "port2": 10002, "dport2": 5000,
              "mode2": 49, "port3": 10003, "mode3": 53}},
    {"name": "w", "ip": "192.0.2.12", "model": 1, "module": "wifi", "params": {"0": 47, "2": 8},
     "wifi": {"HIP": "host.example", "HPORT": "6000"}},
    {"name": "m9", "ip": "192.0.2.13", "model": 9, "memory": {"0401": "1f", "0421": "05"}},
    {"name": "m10", "ip": "192.0.2.14", "model": 10, "notice": 4},
    {"name": "wl", "ip": "192.0.2.15", "model": 0, "module": "wifi", "wifi": {"HIP": "two\rlines"}},
    {"name": "w3", "ip": "192.0.2.16", "model": 3, "module": "wifi"},
    {"name": "m9s", "ip": "192.0.2.17", "model": 9,
     "faults_on": [{"on_text": "MW0421", "close_early": true}]},
    {"name": "m11", "ip": "192.0.2.18", "model": 11,
     "faults_on": [{"on_text": "MR0401", "garbage": true}]},
    {"name": "no4", "ip": "192.0.2.19", "faults": {"unreadable_record": 4}}]})";


struct Lab : HostLab {
    Lab() : HostLab(kPlant) {}
    // The controller commands a unit received from the n-th TCP request on, hex.
    std::vector<std::string> tcp_from(const char* unit, size_t n) const
    {
        std::vector<std::string> out;
        const auto all = requests(lab, unit, "tcp");
        for (size_t k = n; k < all.size(); k++) out.push_back(rig::hex(all[k]));
        return out;
    }
};

std::string text(const ExtSettings& v)
{
    std::string s = "1:N " + std::to_string(v.tcp1ton);
    for (int r = 0; r < 3; r++)
        s += " | " + std::to_string(v.port[r]) + " w" + std::to_string(v.wait[r]);
    for (int r = 0; r < 2; r++)
        s += " | r" + std::to_string(v.request[r]) + " " + v.dest[r] + ":" +
             std::to_string(v.dport[r]);
    return s + " | " + std::to_string(v.disc) + " " + std::to_string(v.notice) + " " +
           std::to_string(v.chat);
}

std::vector<int> arrived;
void record_arrival(int, const ExtSettings&, int shows) { arrived.push_back(shows); }

std::string hex_of(const char* t) { return rig::hex(rig::as_bytes(t)); }

struct Kind {
    const char *unit, *ip;
    int model, modtype;
    const char* read;        // text() of the values read
    std::vector<int> shows;  // the controller settings as they arrived
    void (*change)(ExtSettings&);
    std::vector<std::string> commands;  // what the apply sent the controller, hex
};

const Kind kKinds[] = {
    {"p0",
     "192.0.2.10",
     0,
     MODTYPE_XPORT,
     "1:N 0 | 10001 w1 | 0 w0 | 0 w0 | r1 192.0.2.77:4000 | r0 :0 | 15 1 10",
     {1, 2, 3},
     [](ExtSettings& v) {
         v.port[0] = 10005, v.request[0] = false, v.dport[0] = 4001, v.notice = 2, v.chat = 12;
         set_ext_dest(v, 0, "198.51.100.9");
     },
     {"910f", "912f", "930c"}},
    {"gc",
     "192.0.2.11",
     3,
     MODTYPE_GC,
     "1:N 0 | 10001 w1 | 10002 w0 | 10003 w0 | r1 hostA:4001 | r0 :5000 | 0 0 0",
     {},
     [](ExtSettings& v) {
         v.tcp1ton = v.wait[1] = v.request[1] = v.wait[2] = true;
         v.port[1] = 10012, v.port[2] = 10013, v.dport[1] = 5001;
         set_ext_dest(v, 0, "hostB.example");
         set_ext_dest(v, 1, "hostC");
     },
     {}},
    {"w",
     "192.0.2.12",
     1,
     MODTYPE_WIFI,
     "1:N 0 | 10001 w1 | 0 w0 | 0 w0 | r1 host.example:6000 | r0 :0 | 15 2 8",
     {1, 2, 3},
     [](ExtSettings& v) {
         v.port[0] = 10007, v.dport[0] = 6001, v.notice = 1, v.chat = 12;
         set_ext_dest(v, 0, "198.51.100.9");
     },
     {"910f", "911f", "930c"}},
    {"m9",
     "192.0.2.13",
     9,
     MODTYPE_XPORT,
     "1:N 0 | 10001 w1 | 0 w0 | 0 w0 | r0 :0 | r0 :0 | 0 1 5",
     {2, 3},
     [](ExtSettings& v) { v.notice = 2, v.chat = 10; },
     {hex_of("MW04012F\xC8"), hex_of("MW04210A\xC8")}},
    {"m10",
     "192.0.2.14",
     10,
     MODTYPE_XPORT,
     "1:N 0 | 10001 w1 | 0 w0 | 0 w0 | r0 :0 | r0 :0 | 0 4 0",
     {2},
     [](ExtSettings& v) { v.notice = 7; },
     {"415327c8"}},
};

TEST(ExtSettings, EachKindOfUnitIsReadChangedAppliedAndReadBackAsWritten)
{
    Lab l;
    LogDir dir;
    for (const Kind& k : kKinds) {
        SCOPED_TRACE(k.unit);
        const int u = listed_unit(k.ip, k.model, k.modtype);
        ExtSettings v;
        arrived.clear();
        ASSERT_TRUE(read_ext_connections(u, v).ok()) << dir.log();
        ASSERT_TRUE(read_ext_controls(u, v, record_arrival).ok()) << dir.log();
        EXPECT_EQ(text(v), k.read);
        EXPECT_EQ(arrived, k.shows);

        k.change(v);
        const size_t before = requests(l.lab, k.unit, "tcp").size();
        ASSERT_TRUE(apply_ext_settings(u, v).ok()) << dir.log();
        if (k.modtype == MODTYPE_WIFI) {
            ASSERT_TRUE(l.lab.wait_received(k.unit, rig::as_bytes("PORT\r\n10007\r\nHIP\r\n")));
            EXPECT_EQ(l.tcp_from(k.unit, before).back(),
                      hex_of("PORT\r\n10007\r\nHIP\r\n198.51.100.9\r\nHPORT\r\n6001\r\nEND\r\n"));
            EXPECT_EQ(xportset[u].esp_port, 10007) << "the entry holds what the module took";
        } else {
            EXPECT_EQ(l.tcp_from(k.unit, before), k.commands);
        }
        ASSERT_TRUE(l.lab.wait_event(k.unit, "restart")) << l.lab.sim_log();

        forget(u);
        ExtSettings back;
        ASSERT_TRUE(read_ext_settings(u, back).ok()) << dir.log();
        EXPECT_TRUE(back == v) << text(back) << "\n" << text(v);
    }
}

// A refusal or a failure is the step the screen shows; after a refusal
// nothing was sent, after a failure nothing that follows it.
TEST(ExtSettings, RefusalsAndFailuresAreTheFailedStepAndStopTheApply)
{
    Lab l;
    LogDir dir;
    struct Case {
        const char *unit, *ip;
        int model, modtype;
        void (*change)(ExtSettings&);
        int step;
        const char *message, *detail, *log;
        int sent;  // requests the unit received from the apply
    } cases[] = {
        {"p0", "192.0.2.10", 0, MODTYPE_XPORT, [](ExtSettings& v) { v.disc = 1, v.notice = 2; }, 0,
         "切断時間と定期通知は", "同時に設定できません。", nullptr, 0},
        {"wl", "192.0.2.15", 0, MODTYPE_WIFI, [](ExtSettings&) {}, 1, "通信エラー", nullptr,
         "set extention error\n", 0},
        {"m9s", "192.0.2.17", 9, MODTYPE_XPORT, [](ExtSettings& v) { v.chat = 10; }, 7,
         "通信エラー(チャタリング)", nullptr, "sendrecv error\n", 2},
        // Nobody listens where the module was: its entry gets its values back.
        {"w3", "192.0.2.16", 3, MODTYPE_WIFI, [](ExtSettings& v) { v.port[0] = 10009; }, 8,
         "通信エラー", nullptr, "set extention error\n", 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.unit);
        const int u = listed_unit(c.ip, c.model, c.modtype);
        ExtSettings v;
        ASSERT_TRUE(read_ext_settings(u, v).ok()) << dir.log();
        c.change(v);
        const DeviceEntry was = xportset[u];
        if (c.step == 8) copy_text(xportset[u].ipstr, sizeof xportset[u].ipstr, "192.0.2.50");
        const size_t before = l.lab.received(c.unit).size();
        const StepResult r = apply_ext_settings(u, v);
        EXPECT_EQ(r.failed, c.step);
        EXPECT_STREQ(r.message, c.message);
        EXPECT_STREQ(r.detail, c.detail);
        EXPECT_EQ(r.row, 15);
        EXPECT_STREQ(r.log, c.log);
        EXPECT_EQ(l.lab.received(c.unit).size() - before, static_cast<size_t>(c.sent));
        EXPECT_EQ(xportset[u].esp_port, was.esp_port);
        EXPECT_EQ(xportset[u].hport, was.hport);
        EXPECT_STREQ(xportset[u].hip, was.hip);
    }

    // Reads: a reply that is not hexadecimal, a record that cannot be read.
    ExtSettings v;
    const StepResult m11 = read_ext_settings(listed_unit("192.0.2.18", 11, MODTYPE_XPORT), v);
    EXPECT_EQ(m11.failed, 2);
    EXPECT_STREQ(m11.message, "通信エラー(定期通知)");
    EXPECT_STREQ(m11.log, "sendrecv error\n");
    const StepResult no4 = read_ext_connections(listed_unit("192.0.2.19", 0, MODTYPE_XPORT), v);
    EXPECT_EQ(no4.failed, 0);
    EXPECT_STREQ(no4.message, "通信エラー");
    EXPECT_EQ(no4.row, 18);
    EXPECT_NE(dir.log().find("Failed to Get SetupRecord 4\n"), std::string::npos) << dir.log();
    EXPECT_EQ(apply_ext_settings(xportcount, v).failed, 0) << "no such unit";
}

TEST(ExtSettings, ReadsOfSeveralUnitsInParallelThreadsEachGetTheirOwnUnitsValues)
{
    Lab l;
    LogDir dir;
    const int units[] = {listed_unit("192.0.2.10", 0), listed_unit("192.0.2.11", 3, MODTYPE_GC),
                         listed_unit("192.0.2.12", 1, MODTYPE_WIFI), listed_unit("192.0.2.13", 9)};
    ExtSettings got[4];
    bool ok[4] = {};
    std::vector<std::thread> threads;
    for (int k = 0; k < 4; k++)
        threads.emplace_back([&, k] { ok[k] = read_ext_settings(units[k], got[k]).ok(); });
    for (std::thread& t : threads) t.join();
    for (int k = 0; k < 4; k++) {
        EXPECT_TRUE(ok[k]) << k;
        EXPECT_EQ(text(got[k]), kKinds[k].read) << k;
    }
}

// The settings menu offers the group exactly where the group says it exists.
TEST(ExtParts, TheGroupAndItsPartsByModelAndModuleKind)
{
    for (int model = -1; model <= 16; model++)
        for (int modtype : {MODTYPE_XPORT, MODTYPE_GC, MODTYPE_WIFI})
            EXPECT_EQ(ext_parts(model, modtype).group,
                      model_gate_refusal(Group::InputExtend, model, modtype) == nullptr)
                << model << " " << modtype;
    struct Row {
        int model, modtype;
        ExtParts want;
    } rows[] = {
        {0, MODTYPE_XPORT, {true, false, false, true, true, true, true, true}},
        {2, MODTYPE_GC, {true, true, true, true, true, true, true, true}},
        {3, MODTYPE_GC, {true, true, true, true, true, false, false, false}},
        {1, MODTYPE_WIFI, {true, false, true, false, false, true, true, true}},
        {9, MODTYPE_XPORT, {true, false, false, true, true, false, true, true}},
        {10, MODTYPE_XPORT, {true, false, false, true, true, false, true, false}},
        {1, MODTYPE_XPORT, {}},
    };
    for (const Row& r : rows)
        EXPECT_TRUE(ext_parts(r.model, r.modtype) == r.want) << r.model << " " << r.modtype;
}

}  // namespace
