// Every read the mail alert screen makes at opening can fail: the message
// and its row, the log line, the screen not opening and nothing written;
// and a failed input-row write stops the apply before anything else.
#include "mail_session.h"

#include <gtest/gtest.h>

using namespace mailtest;

namespace {

TEST(MailFailures, AFailedReadKeepsTheScreenClosedAndAFailedRowWriteStopsTheApply)
{
    Operator s(R"({"units": [
      {"name": "fd", "ip": "192.0.2.50", "model": 0, "faults_on": [{"on": "9004", "close_early": true}]},
      {"name": "fl", "ip": "192.0.2.51", "model": 0, "faults_on": [{"on": "9003", "close_early": true}]},
      {"name": "fm", "ip": "192.0.2.52", "model": 11, "faults_on": [{"on_text": "MR0432", "close_early": true}]},
      {"name": "fk", "ip": "192.0.2.53", "model": 8, "faults_on": [{"on_text": "AK!", "close_early": true}]},
      {"name": "fj", "ip": "192.0.2.54", "model": 10, "faults_on": [{"on_text": "DJ!", "close_early": true}]},
      {"name": "fa", "ip": "192.0.2.55", "model": 10, "faults_on": [{"on_text": "AJ\"", "close_early": true}]},
      {"name": "fw", "ip": "192.0.2.56", "model": 0, "faults_on": [{"on": "95", "close_early": true}]},
      {"name": "fr", "ip": "192.0.2.57", "faults_on": [{"on": "000000e7", "udp_silent": true},
        {"on": "5555", "close_early": true, "times": 1}, {"on": "4d49c8", "close_early": true}]}]})",
               {"-l"});
    ASSERT_TRUE(s.searched()) << s.t.dump();
    auto& t = s.t;
    const struct { const char* unit; const char* ip; int row; const char* log; } cases[] = {
        {"fd", "192.0.2.50", 15, "getdimailenable failed\n"},
        {"fl", "192.0.2.51", 15, "getdimailelogic failed\n"},
        {"fm", "192.0.2.52", 15, "sendrecv failed\n"},
        {"fk", "192.0.2.53", 10, "getadcthreshold failed\n"},
        {"fj", "192.0.2.54", 10, "getdoalertset failed\n"},
        {"fa", "192.0.2.55", 10, "getairange failed\n"},
        // Not asked by the search, so its records are read now; record 7 never comes.
        {"fr", "192.0.2.57", 18, "udpsendrecv timed out\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.unit);
        ASSERT_TRUE(s.open_menu(c.ip)) << t.dump();
        s.choose(3);
        ASSERT_TRUE(s.wait_message(c.row, "通信エラー", "")) << t.dump();
        t.enter();
        ASSERT_TRUE(t.wait_text(MENU_TITLE)) << t.dump();
        t.esc();
        ASSERT_TRUE(t.wait_gone(MENU_TITLE)) << t.dump();
        EXPECT_NE(s.debug_log().find(c.log), std::string::npos);
        EXPECT_GE(s.row_of(c.ip), 0) << "the unit stays listed";
        for (const auto& e : s.lab.received(c.unit)) EXPECT_FALSE(e.proto == "udp" && e.bytes.size() == 130);
    }

    ASSERT_TRUE(s.open_menu("192.0.2.56") && s.reopen_mail()) << t.dump();
    ASSERT_TRUE(s.move("u", ROW_APPLY, COL_APPLY));
    t.enter();
    ASSERT_TRUE(s.wait_message(15, "通信エラー", "")) << t.dump();
    t.enter();
    ASSERT_TRUE(s.wait_bg(ROW_APPLY, COL_APPLY, BLUE)) << t.dump();
    t.esc();
    ASSERT_TRUE(t.wait_text(MENU_TITLE)) << t.dump();
    const std::vector<std::string> sent = s.commands_since("fw", "\x95");
    ASSERT_EQ(sent.size(), 1u) << "no logic write after the failed enable write";
    EXPECT_EQ(rig::hex(rig::as_bytes(sent[0])), "9500");
    EXPECT_TRUE(s.record_writes("fw", 3).empty());
    EXPECT_NE(s.debug_log().find("dimail setting send error\n"), std::string::npos);
}

}  // namespace
