// The mail alert screen of WiFi modules end to end: the mail keys shown and
// sent back as one text, long values kept whole, a value with a line break
// never sent, and the analog button of a unit without input rows.
#include "mail_session.h"

#include <gtest/gtest.h>

using namespace mailtest;

namespace {

const std::string kLongTo = "a.very.long.recipient.name.for.alerts@" + std::string(22, 'x') + ".example";

TEST(MailWifi, TheEightKeysGoOutInOneTextWithLongValuesWhole)
{
    const std::string plant = R"({"units": [
      {"name": "w0", "ip": "192.0.2.20", "module": "wifi", "model": 0, "params": {"3": 0, "4": 5},
       "wifi": {"MHOST": "mail.example.org", "MPORT": "2525", "MUSER": "u", "MPASS": "pw",
                "MFROM": "@nodomain", "MTO1": ")" + kLongTo + R"(", "MTO2": "b@c", "MSUBJ": "Alarm"}},
      {"name": "w9", "ip": "192.0.2.21", "module": "wifi", "model": 9,
       "wifi": {"MSUBJ": "two\rlines"}}]})";
    Operator s(plant, {"-l"});
    ASSERT_TRUE(s.open_mail("192.0.2.20")) << s.t.dump();
    auto& t = s.t;
    EXPECT_TRUE(cells_are(t, ROW_SERVER, COL_FIELD, "mail.example.org", 50));
    EXPECT_TRUE(cells_are(t, ROW_AUTH, COL_FIELD, "設定", 8));
    EXPECT_TRUE(cells_are(t, ROW_FROM, COL_FIELD, "", 50)) << "MFROM without a user part";
    EXPECT_TRUE(cells_are(t, ROW_TO1, COL_FIELD, kLongTo.substr(0, 50), 50));
    EXPECT_TRUE(s.wait_bg(ROW_DI1 + 2, COL_CELL3, YELLOW));

    // A new server and port; the credentials window shows 14 asterisks for
    // the held password, and Esc keeps it.
    s.edit("mail2.example.org");
    ASSERT_TRUE(s.move("d", ROW_PORT));
    s.edit("587");
    ASSERT_TRUE(s.move("d", ROW_AUTH));
    t.enter();
    ASSERT_TRUE(t.wait_text("SMTP-AUTH設定")) << t.dump();
    EXPECT_TRUE(cells_are(t, 6, 22, "u", 45));
    EXPECT_TRUE(cells_are(t, 8, 22, "**************", 14));
    t.esc();
    ASSERT_TRUE(t.wait_gone("SMTP-AUTH設定")) << t.dump();
    // Recipient 1 confirmed as shown stays whole.
    ASSERT_TRUE(s.move("d", ROW_FROM) && s.move("d", ROW_TO1));
    t.enter();
    ASSERT_TRUE(t.wait_text("宛先1")) << t.dump();
    s.keys("nn");
    ASSERT_TRUE(t.wait_gone("宛先1")) << t.dump();
    ASSERT_TRUE(s.move("u", ROW_FROM) && s.move("u", ROW_AUTH) &&
                s.move("u", ROW_PORT) && s.move("u", ROW_SERVER) &&
                s.move("u", ROW_APPLY, COL_APPLY));
    t.enter();
    ASSERT_TRUE(s.applied()) << t.dump();
    // The module answers nothing to a set text; it is journalled once it is whole.
    ASSERT_TRUE(s.lab.wait_received("w0", rig::as_bytes("MHOST")));
    const std::vector<std::string> sent = s.commands_since("w0", "\x95");
    ASSERT_EQ(sent.size(), 3u);
    EXPECT_EQ(rig::hex(rig::as_bytes(sent[0])), "9505");
    EXPECT_EQ(rig::hex(rig::as_bytes(sent[1])), "9400");
    EXPECT_EQ(sent[2], "MHOST\r\nmail2.example.org\r\nMPORT\r\n587\r\nMUSER\r\nu\r\nMPASS\r\npw\r\n"
                       "MFROM\r\n\r\nMTO1\r\n" + kLongTo + "\r\nMTO2\r\nb@c\r\nMSUBJ\r\nAlarm\r\nEND\r\n");
    t.enter();
    ASSERT_TRUE(t.wait_gone(MENU_TITLE)) << t.dump();

    // Model 9 without input rows: Down from the subject reaches the analog
    // button and Up comes back; a subject holding a CR is the operator's to
    // change ("入力エラー"), and nothing is sent.
    ASSERT_TRUE(s.open_menu("192.0.2.21") && s.reopen_mail()) << t.dump();
    EXPECT_TRUE(cells_are(t, 18, 4, "   アナログ閾値設定", 19));
    for (int row : {ROW_PORT, ROW_AUTH, ROW_FROM, ROW_TO1, ROW_TO2, ROW_SUBJECT})
        ASSERT_TRUE(s.move("d", row)) << row;
    ASSERT_TRUE(s.move("d", 18)) << t.dump();
    ASSERT_TRUE(s.move("u", ROW_SUBJECT)) << t.dump();
    ASSERT_TRUE(s.move("d", 18) && s.move("d", ROW_APPLY, COL_APPLY));
    const size_t before = s.tcp_in("w9").size();
    t.enter();
    ASSERT_TRUE(s.wait_message(10, "入力エラー", "")) << t.dump();
    t.enter();
    EXPECT_TRUE(s.wait_bg(ROW_APPLY, COL_APPLY, BLUE)) << "the screen stays on 設定反映";
    t.esc();
    ASSERT_TRUE(t.wait_text(MENU_TITLE)) << t.dump();
    EXPECT_EQ(s.tcp_in("w9").size(), before) << "nothing sent";
    EXPECT_NE(s.debug_log().find("mail setting holds a line break, not sent\n"), std::string::npos);
}

}  // namespace
