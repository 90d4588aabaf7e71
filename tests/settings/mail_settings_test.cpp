// The mail alert groups with no terminal: every model and module kind read
// as its screen shows it, each group changed, applied alone and read back
// with the bytes its unit received, every refusal and failure as the step
// that stopped, and what each model has.
#include "settings/mail_settings.h"

#include "device/KIVRAXPort.h"
#include "screens/list/list_parts.h"
#include "tests/device/lab_support.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <thread>
#include <vector>

using namespace devtest;

namespace {

const std::string kPlant = R"({"units": [
  {"name": "x0", "ip": "192.0.2.10", "model": 0, "params": {"3": 1, "4": 3},
   "mail": {"server": "192.0.2.25", "port": 587, "from_user": "alert", "from_domain": "example.com",
            "to1": "ops@example.com", "to2": "night@example.com", "subject": "KIVRA"},
   "records": {"6": {"28": "06"}}},
  {"name": "d0", "ip": "192.0.2.11", "model": 0, "mail": {"subject": "DI"}, "records": {"6": {"28": "06"}}},
  {"name": "g2", "ip": "192.0.2.12", "model": 2, "module": "gc", "devtype": "X6",
   "mail": {"host": "smtp.example.com"}, "records": {"6": {"28": "f1", "29": "01", "62": "02"}}},
  {"name": "x9", "ip": "192.0.2.13", "model": 9, "memory": {"0432": "0103"},
   "ai": [{"low": 49152, "high": 16384, "led": 1, "mail": 2}, {"low": 0, "high": 32767}]},
  {"name": "x10", "ip": "192.0.2.14", "model": 10,
   "ai": [{"range": 2, "low": 49152, "mail": 1}, {"range": 4}, {"range": 12}],
   "do": [{"enable": 1, "input": 0, "direction": 1, "width": 100}, {"input": 5}]},
  {"name": "w5", "ip": "192.0.2.15", "module": "wifi", "model": 5, "params": {"3": 4, "4": 20},
   "wifi": {"MHOST": "mail.example.org", "MPORT": "2525", "MUSER": "u", "MPASS": "pw",
            "MFROM": "a@b", "MTO1": "c@d", "MSUBJ": "Alarm"}},
  {"name": "x4", "ip": "192.0.2.16", "model": 4, "records": {"6": {"28": "02"}}},
  {"name": "fa", "ip": "192.0.2.17", "model": 8, "faults_on": [{"on_text": "AL!", "close_early": true}]},
  {"name": "fr", "ip": "192.0.2.18", "model": 0, "faults_on": [{"on": "000100c4", "udp_silent": true}]}]})";


// A request as text, bytes outside printable ASCII as <xx>.
std::string shown(const std::vector<uint8_t>& b)
{
    std::string s;
    char hex[8];
    for (uint8_t c : b) {
        std::snprintf(hex, sizeof hex, "<%02x>", c);
        s += c >= 0x20 && c < 0x7F ? std::string(1, static_cast<char>(c)) : hex;
    }
    return s;
}
// The requests a unit received on its command port, from the k-th on.
std::vector<std::string> commands(const rig::Lab& lab, const std::string& unit, size_t from = 0)
{
    std::vector<std::string> out;
    for (const rig::JournalEntry& e : lab.received(unit))
        if (e.proto == "tcp" && e.local.ends_with(":10001")) out.push_back(shown(e.bytes));
    return std::vector<std::string>(out.begin() + std::min(from, out.size()), out.end());
}
// The record writes of record n a unit received.
std::vector<std::vector<uint8_t>> record_writes(const rig::Lab& lab, const std::string& unit, int n)
{
    std::vector<std::vector<uint8_t>> out;
    for (const auto& b : requests(lab, unit, "udp"))
        if (b.size() == SETUP_LEN && b[3] == 0xC0 + n) out.push_back(b);
    return out;
}
// The image of record n as read, with the header of its write and changes.
std::vector<uint8_t> as_written(int unit, int n, std::vector<std::pair<int, std::string>> changes)
{
    const DeviceEntry& e = xportset[unit];
    const uint8_t* images[] = {e.setup3, e.setup4, e.setup5, e.setup6, e.setup7};
    std::vector<uint8_t> b(SETUP_LEN, 0);
    if (n >= 3) b.assign(images[n - 3], images[n - 3] + SETUP_LEN);
    b[0] = 0, b[1] = n == 7 ? 0 : 1, b[2] = 0, b[3] = static_cast<uint8_t>(0xC0 + n);
    for (const auto& [at, text] : changes) std::memcpy(&b[at], text.c_str(), text.size() + 1);
    return b;
}
struct Lab : HostLab {
    Lab() : HostLab(kPlant) {}
};

TEST(MailSettings, EveryModelAndModuleKindIsReadAsItsScreenShowsItInTheScreensOrder)
{
    Lab l;
    LogDir dir;
    const struct {
        const char *name, *ip;
        int model, modtype;
        const char* server;
        int port;
        const char* from;
        int di[MAIL_DI_ROWS];
        std::vector<std::string> commands;
    } cases[] = {
        {"x0",
         "192.0.2.10",
         0,
         MODTYPE_XPORT,
         "192.0.2.25",
         587,
         "alert@example.com",
         {1, 2},
         {"<90><04>", "<90><03>"}},
        {"g2", "192.0.2.12", 2, MODTYPE_GC, "smtp.example.com", 25, "", {1, 2}, {}},
        {"x4", "192.0.2.16", 4, MODTYPE_XPORT, "0.0.0.0", 25, "", {1}, {}},
        {"x9",
         "192.0.2.13",
         9,
         MODTYPE_XPORT,
         "0.0.0.0",
         25,
         "",
         {1, 2},
         {"MR0432<c8>", "AK <c8>", "AK!<c8>"}},
        {"x10",
         "192.0.2.14",
         10,
         MODTYPE_XPORT,
         "0.0.0.0",
         25,
         "",
         {},
         {"AK <c8>", "AK!<c8>", "AK\"<c8>", "DJ <c8>", "DJ!<c8>", "AJ <c8>", "AJ!<c8>",
          "AJ\"<c8>"}},
        {"w5",
         "192.0.2.15",
         5,
         MODTYPE_WIFI,
         "mail.example.org",
         2525,
         "a@b",
         {0, 0, 1, 0, 2},
         {"<90><04>", "<90><03>"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const int u = listed_unit(c.ip, c.model, c.modtype);
        MailAlertSettings v{};
        ASSERT_TRUE(read_mail_alert(u, v).ok()) << dir.log();
        EXPECT_STREQ(v.server.smtp_server, c.server);
        EXPECT_EQ(v.server.smtp_port, c.port);
        EXPECT_STREQ(v.server.mail_from, c.from);
        EXPECT_EQ(v.di, (DiMail{{c.di[0], c.di[1], c.di[2], c.di[3], c.di[4]}}));
        EXPECT_EQ(commands(l.lab, c.name), c.commands);
        if (c.model == 9) {
            EXPECT_EQ(
                v.thresholds,
                (AnalogThresholds{{49152, 0, 0}, {16384, 32767, 0}, {1, 0, 0}, {2, 0, 0}, {}}));
        }
        if (c.model == 10) {
            const int top = 65535;
            EXPECT_EQ(
                v.thresholds,
                (AnalogThresholds{{49152, 0, 0}, {top, top, top}, {}, {1, 0, 0}, {2, 4, 12}}));
            EXPECT_EQ(v.do_alerts, (DoAlerts{{1, 0}, {0, 5}, {1, 0}, {100, 0}}));
        }
        if (c.modtype == MODTYPE_WIFI) {
            EXPECT_STREQ(v.server.auth_pass, "pw");
        }
    }
}

TEST(MailSettings, EachGroupAppliedAloneWritesOnlyItsOwnBytesAndReadsBack)
{
    Lab l;
    LogDir dir;
    // The mail server alone: records 3..7 from those read, the input bits as read.
    const int x0 = listed_unit("192.0.2.10", 0);
    MailServer server{};
    ASSERT_TRUE(read_mail_server(x0, server).ok()) << dir.log();
    std::strcpy(server.smtp_server, "192.0.2.26");
    server.mail_from[0] = '\0';
    std::strcpy(server.mail_subject, "NEW SUBJ");
    ASSERT_TRUE(apply_mail_server(x0, server).ok()) << dir.log();
    std::vector<uint8_t> x0_records[] = {
        as_written(x0, 3, {}), as_written(x0, 4, {}), as_written(x0, 5, {{106, ""}}),
        as_written(x0, 6, {{4, ""}, {33, "NEW SUBJ"}}), as_written(x0, 7, {})};
    const uint8_t address[] = {192, 0, 2, 26};
    std::memcpy(&x0_records[2][4], address, 4);
    for (int n = 3; n <= 7; n++) {
        ASSERT_EQ(record_writes(l.lab, "x0", n).size(), 1u) << n;
        EXPECT_EQ(shown(record_writes(l.lab, "x0", n)[0]), shown(x0_records[n - 3])) << n;
    }
    EXPECT_TRUE(record_writes(l.lab, "x0", 1).empty());
    EXPECT_TRUE(commands(l.lab, "x0").empty()) << "no input row commands";
    ASSERT_TRUE(l.lab.wait_event("x0", "restart"));
    forget(x0);
    MailServer back{};
    ASSERT_TRUE(read_mail_server(x0, back).ok()) << dir.log();
    EXPECT_EQ(back, server);

    // The rows alone: their commands, then records 3..7 with only their bits changed.
    const int d0 = listed_unit("192.0.2.11", 0);
    DiMail di{{0, 1, 0}};
    ASSERT_TRUE(apply_di_mail(d0, di).ok()) << dir.log();
    EXPECT_EQ(commands(l.lab, "d0"), (std::vector<std::string>{"<95><02>", "<94><02>"}));
    std::vector<uint8_t> d0_r6 = as_written(d0, 6, {});
    d0_r6[28] = 1, d0_r6[29] = 1;  // bits 1, 2 of byte 28 cleared, bit 0 of both set
    EXPECT_EQ(shown(record_writes(l.lab, "d0", 6).at(0)), shown(d0_r6));
    EXPECT_EQ(shown(record_writes(l.lab, "d0", 5).at(0)), shown(as_written(d0, 5, {})));
    DiMail di_back{};
    ASSERT_TRUE(read_di_mail(d0, di_back).ok());
    EXPECT_EQ(di_back, di);

    // A "GC" unit with SMTP-AUTH: record 1 from zeros, the host name in record 4.
    const int g2 = listed_unit("192.0.2.12", 2, MODTYPE_GC);
    ASSERT_TRUE(read_mail_server(g2, server).ok());
    server.auth_send = 1;
    std::strcpy(server.auth_user, "mailer");
    std::strcpy(server.auth_pass, "secret");
    std::strcpy(server.smtp_server, "smtp2.example.com");
    ASSERT_TRUE(apply_mail_server(g2, server).ok()) << dir.log();
    EXPECT_EQ(shown(record_writes(l.lab, "g2", 1).at(0)),
              shown(as_written(g2, 1, {{70, "secret"}, {85, "mailer"}})));
    EXPECT_EQ(shown(record_writes(l.lab, "g2", 4).at(0)),
              shown(as_written(g2, 4, {{79, "smtp2.example.com"}})));
    EXPECT_EQ(shown(record_writes(l.lab, "g2", 6).at(0)), shown(as_written(g2, 6, {})));

    // Thresholds and DO alerts alone: their commands and nothing else.
    const int x9 = listed_unit("192.0.2.13", 9), x10 = listed_unit("192.0.2.14", 10);
    AnalogThresholds t{};
    DoAlerts a{};
    ASSERT_TRUE(read_thresholds(x9, t).ok() && read_do_alerts(x10, a).ok()) << dir.log();
    const size_t x9_before = commands(l.lab, "x9").size(),
                 x10_before = commands(l.lab, "x10").size();
    t.ai_high[0] = 0x6000;
    t.ai_led[1] = 1;
    a.do_width[0] = 0xFFFF, a.do_enable[1] = 1, a.do_ai[1] = 2;
    ASSERT_TRUE(apply_thresholds(x9, t).ok() && apply_do_alerts(x10, a).ok()) << dir.log();
    EXPECT_EQ(commands(l.lab, "x9", x9_before),
              (std::vector<std::string>{"AL *C0006000<c8>", "AL!(00007FFF<c8>"}));
    EXPECT_EQ(
        commands(l.lab, "x10", x10_before),
        (std::vector<std::string>{"DL  !FFFF<c8>", "DS !<c8>", "DL!\" 0000<c8>", "DS!!<c8>"}));
    AnalogThresholds t_back{};
    DoAlerts a_back{};
    ASSERT_TRUE(read_thresholds(x9, t_back).ok() && read_do_alerts(x10, a_back).ok());
    EXPECT_EQ(t_back, t);
    EXPECT_EQ(a_back, a);
    for (const char* unit : {"x9", "x10"})
        for (int n = 1; n <= 7; n++) EXPECT_TRUE(record_writes(l.lab, unit, n).empty()) << unit;

    // A WiFi module: its rows by their commands; its keys as one text, after
    // which it restarts.
    const int w5 = listed_unit("192.0.2.15", 5, MODTYPE_WIFI);
    ASSERT_TRUE(read_mail_server(w5, server).ok());
    std::strcpy(server.mail_subject, "Changed");
    ASSERT_TRUE(apply_di_mail(w5, DiMail{{1}}).ok() && apply_mail_server(w5, server).ok())
        << dir.log();
    ASSERT_TRUE(l.lab.wait_received("w5", rig::as_bytes("MHOST")));
    std::vector<uint8_t> text;
    for (const auto& b : requests(l.lab, "w5", "tcp"))
        if (shown(b).starts_with("MHOST")) text = b;
    EXPECT_EQ(shown(text),
              shown(rig::as_bytes("MHOST\r\nmail.example.org\r\nMPORT\r\n2525\r\nMUSER\r\nu\r\n"
                                  "MPASS\r\npw\r\nMFROM\r\na@b\r\nMTO1\r\nc@d\r\nMTO2\r\n\r\n"
                                  "MSUBJ\r\nChanged\r\nEND\r\n")));
    EXPECT_STREQ(xportset[w5].msubj, "Changed");
    EXPECT_EQ(commands(l.lab, "w5"), (std::vector<std::string>{"<95><01>", "<94><01>"}));
}

TEST(MailSettings, ARefusalOrAFailedStepIsWhereTheApplyStoppedAndNothingFollowsIt)
{
    Lab l;
    LogDir dir;
    const int w5 = listed_unit("192.0.2.15", 5, MODTYPE_WIFI), fa = listed_unit("192.0.2.17", 8),
              fr = listed_unit("192.0.2.18", 0);
    MailAlertSettings w{}, a{}, r{};
    ASSERT_TRUE(read_mail_alert(w5, w).ok() && read_mail_alert(fa, a).ok() &&
                read_mail_alert(fr, r).ok())
        << dir.log();
    std::strcpy(w.server.mail_subject, "two\rlines");
    const size_t w5_before = l.lab.received("w5").size();
    const struct {
        int unit;
        const MailAlertSettings& values;
        MailStop stop;
        const char *message, *log;
        int row;
    } cases[] = {
        {w5, w, MailStop::Refused, "入力エラー", "mail setting holds a line break, not sent\n", 10},
        {fa, a, MailStop::UnitSettings, "通信エラー", "threshold setting send error\n", 15},
        {fr, r, MailStop::MailServer, "通信エラー4", "sending setuprecord4 failed\n", 10},
    };
    for (const auto& c : cases) {
        const StepResult res = apply_mail_alert(c.unit, c.values);
        EXPECT_EQ(mail_apply_stop(res), c.stop) << c.message;
        EXPECT_STREQ(res.message, c.message);
        EXPECT_STREQ(res.log, c.log);
        EXPECT_EQ(res.row, c.row);
        EXPECT_NE(dir.log().find(c.log), std::string::npos);
    }
    EXPECT_EQ(l.lab.received("w5").size(), w5_before) << "nothing sent";
    EXPECT_EQ(commands(l.lab, "fa", 3),
              (std::vector<std::string>{"AL  0000FFFF<c8>", "AL! 0000FFFF<c8>"}));
    EXPECT_TRUE(record_writes(l.lab, "fa", 3).empty());
    EXPECT_EQ(record_writes(l.lab, "fr", 4).size(), 1u);
    for (int n : {1, 5, 6, 7}) EXPECT_TRUE(record_writes(l.lab, "fr", n).empty()) << n;
    const StepResult none = apply_mail_alert(XPORT_MAX, w);
    EXPECT_EQ(mail_apply_stop(none), MailStop::Refused);
    EXPECT_EQ(none.message, nullptr);
}

TEST(MailSettings, ReadsOfSeveralUnitsInParallelThreadsEachGetTheirOwnUnitsValues)
{
    Lab l;
    LogDir dir;
    const int units[] = {listed_unit("192.0.2.10", 0), listed_unit("192.0.2.13", 9),
                         listed_unit("192.0.2.15", 5, MODTYPE_WIFI)};
    MailAlertSettings got[3] = {};
    bool ok[3] = {};
    std::vector<std::thread> threads;
    for (int k = 0; k < 3; k++)
        threads.emplace_back([&, k] { ok[k] = read_mail_alert(units[k], got[k]).ok(); });
    for (std::thread& t : threads) t.join();
    EXPECT_TRUE(ok[0] && ok[1] && ok[2]) << dir.log();
    EXPECT_STREQ(got[0].server.mail_to1, "ops@example.com");
    EXPECT_EQ(got[1].thresholds.ai_low[0], 49152);
    EXPECT_STREQ(got[2].server.smtp_server, "mail.example.org");
    EXPECT_EQ(got[2].di.di_mode[4], DI_MAIL_ON_OFF);
}

TEST(MailSettings, WhatEachModelHasAgreesWithTheSettingsMenusGateAndValuesCompareByText)
{
    for (int modtype : {MODTYPE_XPORT, MODTYPE_GC, MODTYPE_WIFI})
        for (int model = 0; model < 16; model++) {
            const MailPresence p = mail_presence(model, modtype);
            EXPECT_EQ(p.exists, model_gate_refusal(Group::MailAlert, model, modtype) == nullptr)
                << model << "/" << modtype;
        }
    const MailPresence gc11 = mail_presence(11, MODTYPE_GC);
    EXPECT_EQ(gc11.di_way, DiWay::Memory);
    EXPECT_EQ(gc11.ai_inputs * 10 + gc11.di_rows, 32);
    EXPECT_EQ(mail_presence(4, MODTYPE_XPORT).di_cols, 2);

    // What follows a text's terminator is no part of it.
    MailServer a{}, b{};
    std::strcpy(a.mail_to1, "longer@example.com");
    std::strcpy(a.mail_to1, "x@y");
    std::strcpy(b.mail_to1, "x@y");
    EXPECT_EQ(a, b);
    b.smtp_port = 1;
    EXPECT_FALSE(a == b);

    // Thresholds as numbers: percent and the unit of a range.
    EXPECT_EQ(threshold_code_of_percent(50.0), EncodeThresholdStr("50"));
    EXPECT_DOUBLE_EQ(threshold_percent(16384), 50.0);
    EXPECT_EQ(threshold_code_of_value(5.0, 2, 0), 16384);
    double v = 0;
    EXPECT_TRUE(threshold_value(65535, 2, 1, &v));
    EXPECT_DOUBLE_EQ(v, 20.0);
    EXPECT_FALSE(threshold_value(1, 9, 0, &v));
}

}  // namespace
