// The mail alert screen of XPort units end to end: what it shows from the
// record images, how Up and Down walk it, what "設定反映" writes into
// records 1 and 3 to 7 byte for byte, and Esc and F9.
#include "mail_session.h"

#include <gtest/gtest.h>

#include <utility>

using namespace mailtest;

namespace {

const char kModel0[] = R"({"units": [{"name": "x0", "ip": "192.0.2.10", "model": 0,
  "params": {"3": 1, "4": 3}, "records": {"6": {"28": "f6"}},
  "mail": {"server": "192.0.2.25", "port": 587, "from_user": "alert", "from_domain": "example.com",
           "to1": "ops@example.com", "to2": "night@example.com", "subject": "KIVRA"}}]})";

TEST(MailXport, PlainModel0ShowsItsRecordsWalksWithoutAuthAndWritesRecords3To7)
{
    Operator s(kModel0, {"-l"});
    ASSERT_TRUE(s.open_mail("192.0.2.10")) << s.t.dump();
    auto& t = s.t;
    EXPECT_TRUE(cells_are(t, ROW_SERVER, 4, "SMTPサーバアドレス   :", 22));
    EXPECT_TRUE(cells_are(t, ROW_SERVER, COL_FIELD, "192.0.2.25", 20));
    EXPECT_TRUE(cells_are(t, ROW_PORT, COL_FIELD, "587", 8));
    EXPECT_TRUE(cells_are(t, ROW_AUTH, 2, "", 70)) << "no SMTP-AUTH row";
    EXPECT_TRUE(cells_are(t, ROW_FROM, COL_FIELD, "alert@example.com", 50));
    EXPECT_TRUE(cells_are(t, ROW_TO2, COL_FIELD, "night@example.com", 50));
    EXPECT_TRUE(cells_are(t, ROW_SUBJECT, COL_FIELD, "KIVRA", 25));
    // Inputs: 1 mails on ON, 2 on OFF, 3 never.
    EXPECT_TRUE(cells_are(t, 12, 4, "   監視対象DI設定", 17));
    EXPECT_TRUE(cells_are(t, ROW_DI1, 21, "DI1 :", 5));
    EXPECT_TRUE(cells_are(t, ROW_DI1 + 2, COL_CELL3, "有効:OFF", 10));
    EXPECT_TRUE(s.wait_bg(ROW_DI1, COL_CELL2, YELLOW));
    EXPECT_TRUE(s.wait_bg(ROW_DI1 + 1, COL_CELL3, YELLOW));
    EXPECT_TRUE(s.wait_bg(ROW_DI1 + 2, COL_FIELD, YELLOW));

    EXPECT_TRUE(s.move("d", ROW_PORT));
    EXPECT_TRUE(s.move("d", ROW_FROM)) << "Down from the port skips to the sender";
    EXPECT_TRUE(s.move("u", ROW_PORT)) << "Up from the sender goes to the port";
    EXPECT_TRUE(s.move("u", ROW_SERVER));
    EXPECT_TRUE(s.move("u", ROW_APPLY, COL_APPLY)) << "Up from the server wraps";
    EXPECT_TRUE(s.move("u", ROW_DI1 + 2, COL_FIELD));
    // Esc leaves without a write.
    t.esc();
    ASSERT_TRUE(t.wait_text(MENU_TITLE)) << t.dump();

    // The port, recipients and subject changed, the sender emptied, input 2
    // turned off; the server field edits an address of 20 columns.
    ASSERT_TRUE(s.reopen_mail()) << t.dump();
    s.edit("192.0.2.26");
    EXPECT_TRUE(cells_are(t, ROW_SERVER, COL_FIELD, "192.0.2.26", 20));
    ASSERT_TRUE(s.move("d", ROW_PORT));
    s.edit("2525");
    ASSERT_TRUE(s.move("d", ROW_FROM));
    s.edit("");
    EXPECT_TRUE(cells_are(t, ROW_FROM, COL_FIELD, "", 50));
    const std::pair<int, const char*> edits[] = {
        {ROW_TO1, "day@example.com"}, {ROW_TO2, "n@example.com"}, {ROW_SUBJECT, "NEW SUBJ"}};
    for (const auto& [row, text] : edits) {
        ASSERT_TRUE(s.move("d", row));
        s.edit(text);
    }
    ASSERT_TRUE(s.move("d", ROW_DI1, COL_CELL2));
    ASSERT_TRUE(s.move("d", ROW_DI1 + 1, COL_CELL3));
    ASSERT_TRUE(s.move("l", ROW_DI1 + 1, COL_CELL2));
    ASSERT_TRUE(s.move("l", ROW_DI1 + 1, COL_FIELD));
    ASSERT_TRUE(s.move("n", ROW_DI1 + 2, COL_FIELD)) << "Enter leaves like Down";
    ASSERT_TRUE(s.move("d", ROW_APPLY, COL_APPLY));
    t.enter();
    ASSERT_TRUE(s.applied()) << t.dump();

    // Enable mask: input 1; logic: input 1.
    std::vector<std::string> cmds = s.commands_since("x0", "\x95");
    ASSERT_EQ(cmds.size(), 2u);
    EXPECT_EQ(rig::hex(rig::as_bytes(cmds[0])), "9501");
    EXPECT_EQ(rig::hex(rig::as_bytes(cmds[1])), "9401");
    EXPECT_TRUE(s.record_writes("x0", 1).empty());
    std::vector<uint8_t> r3 = s.record_read("x0", 3), r4 = s.record_read("x0", 4),
                         r5 = s.record_read("x0", 5), r6 = s.record_read("x0", 6),
                         r7 = s.record_read("x0", 7);
    header(r3, 3, 1), header(r4, 4, 1), header(r5, 5, 1), header(r6, 6, 1), header(r7, 7, 0);
    r3[116] = 0xDD, r3[117] = 0x09;
    r5[7] = 26;
    put(r5, 8, "day@example.com");
    put(r5, 57, "n@example.com");
    r5[106] = 0;
    r6[4] = 0;
    put(r6, 33, "NEW SUBJ");
    r6[28] = 0xF1;  // bits 1..2 cleared, bit 0 set: input 1 still mails
    r6[29] |= 1;
    const std::vector<uint8_t>* want[] = {&r3, &r4, &r5, &r6, &r7};
    for (int n = 3; n <= 7; n++) {
        auto w = s.record_writes("x0", n);
        ASSERT_EQ(w.size(), 1u) << "record " << n;
        EXPECT_EQ(rig::hex(w[0]), rig::hex(*want[n - 3])) << "record " << n;
    }
    // The subject's second copy at 67 is left as read on model 0.
    EXPECT_EQ(s.record_writes("x0", 6)[0][67], 'K');
    EXPECT_NE(s.debug_log().find("Init DI Menu\n"), std::string::npos);
}

}  // namespace

namespace {

const char kGcAndModel4[] = R"({"units": [
  {"name": "g2", "ip": "192.0.2.11", "model": 2, "module": "gc", "devtype": "X6",
   "mail": {"host": "smtp.example.com", "server": "192.0.2.25", "subject": "old", "subject2": "stale"},
   "records": {"6": {"28": "f7", "29": "03", "62": "06", "63": "01"}},
   "faults_on": [{"on": "000100c4", "udp_silent": true, "times": 1}]},
  {"name": "x4", "ip": "192.0.2.12", "model": 4, "records": {"6": {"28": "02", "29": "05"}}}]})";

TEST(MailXport, GcUnitWritesItsHostNameAndRecord1OnlyWithSmtpAuthOnAndModel4ItsSingleRow)
{
    Operator s(kGcAndModel4, {"-l"});
    ASSERT_TRUE(s.open_mail("192.0.2.11")) << s.t.dump();
    auto& t = s.t;
    EXPECT_TRUE(cells_are(t, ROW_SERVER, COL_FIELD, "smtp.example.com", 50));
    EXPECT_TRUE(cells_are(t, ROW_AUTH, 4, "SMTP-AUTH認証        : OFF", 31));
    EXPECT_TRUE(cells_are(t, ROW_DI1, 21, "DI6 :", 5));
    EXPECT_TRUE(cells_are(t, ROW_DI1 + 1, 21, "DI7 :", 5));
    EXPECT_TRUE(s.wait_bg(ROW_DI1, COL_CELL2, YELLOW));
    EXPECT_TRUE(s.wait_bg(ROW_DI1 + 1, COL_CELL3, YELLOW));

    // SMTP-AUTH left OFF: records 3 to 7 only; record 4 is not answered, so
    // 5 to 7 are never sent, the screen closes and the unit stays listed.
    ASSERT_TRUE(s.move("u", ROW_APPLY, COL_APPLY));
    t.enter();
    ASSERT_TRUE(s.wait_message(10, "通信エラー4", "")) << t.dump();
    t.enter();
    ASSERT_TRUE(t.wait_text(MENU_TITLE)) << t.dump();
    EXPECT_EQ(s.record_writes("g2", 3).size(), 1u);
    for (int n : {1, 5, 6, 7}) EXPECT_TRUE(s.record_writes("g2", n).empty()) << n;
    EXPECT_NE(s.debug_log().find("sending setuprecord4 failed\n"), std::string::npos);

    // A new host name and sender; SMTP-AUTH ON: the credentials window, user
    // and password, record 1.
    ASSERT_TRUE(s.reopen_mail()) << t.dump();
    s.edit("mail2.example.com");
    ASSERT_TRUE(s.move("d", ROW_PORT) && s.move("d", ROW_AUTH));
    t.enter();
    ASSERT_TRUE(t.wait_text("SMTP-AUTH")) << t.dump();
    t.enter();
    ASSERT_TRUE(t.wait_text("SMTP-AUTH設定")) << t.dump();
    EXPECT_TRUE(cells_are(t, 8, 22, "", 14)) << "no password held";
    s.edit("mailer");
    EXPECT_TRUE(cells_are(t, 6, 22, "mailer", 45));
    t.down();
    s.edit("secret");
    EXPECT_TRUE(cells_are(t, 8, 22, "*************", 14));
    s.keys("dn");
    ASSERT_TRUE(t.wait_gone("SMTP-AUTH設定")) << t.dump();
    EXPECT_TRUE(cells_are(t, ROW_AUTH, COL_FIELD, "ON", 8));
    ASSERT_TRUE(s.move("d", ROW_FROM));
    s.edit("gc@example.com");
    ASSERT_TRUE(s.move("u", ROW_AUTH) && s.move("u", ROW_PORT) &&
                s.move("u", ROW_SERVER) && s.move("u", ROW_APPLY, COL_APPLY));
    t.enter();
    ASSERT_TRUE(s.applied()) << t.dump();

    std::vector<uint8_t> r1(130, 0), r4 = s.record_read("g2", 4), r5 = s.record_read("g2", 5),
                         r6 = s.record_read("g2", 6), r7 = s.record_read("g2", 7);
    header(r1, 1, 1), header(r4, 4, 1), header(r5, 5, 1), header(r6, 6, 1), header(r7, 7, 0);
    put(r1, 70, "secret");
    put(r1, 85, "mailer");
    put(r4, 79, "mail2.example.com");
    for (int k = 4; k < 8; k++) r5[k] = 0;  // a host name takes the address's place
    put(r5, 106, "gc");
    put(r6, 4, "example.com");
    put(r6, 67, "old");  // the second copy follows the subject on models other than 0
    r6[28] = 0xF1, r6[29] = 1, r6[62] = 2, r6[63] = 0;
    r7[4] = r7[5] = 0x82;
    const std::vector<uint8_t>* want[] = {&r1, &r4, &r5, &r6, &r7};
    const int numbers[] = {1, 4, 5, 6, 7};
    for (int k = 0; k < 5; k++) {
        auto w = s.record_writes("g2", numbers[k]);
        ASSERT_FALSE(w.empty()) << numbers[k];
        EXPECT_EQ(rig::hex(w.back()), rig::hex(*want[k])) << "record " << numbers[k];
    }

    // Model 4: one row of two cells, any of bits 0..1 read as on; written as 3.
    t.enter();
    ASSERT_TRUE(t.wait_gone(MENU_TITLE)) << t.dump();
    ASSERT_TRUE(s.open_menu("192.0.2.12") && s.reopen_mail()) << t.dump();
    EXPECT_TRUE(cells_are(t, ROW_DI1, 21, "DI  : 無効        有効", 27));
    EXPECT_TRUE(s.wait_bg(ROW_DI1, COL_CELL2, YELLOW));
    ASSERT_TRUE(s.move("u", ROW_APPLY, COL_APPLY));
    ASSERT_TRUE(s.move("u", ROW_DI1, COL_CELL2));
    ASSERT_TRUE(s.move("u", ROW_SUBJECT));
    ASSERT_TRUE(s.move("d", ROW_DI1, COL_CELL2));
    ASSERT_TRUE(s.move("d", ROW_APPLY, COL_APPLY));
    t.enter();
    ASSERT_TRUE(s.applied()) << t.dump();
    auto w6 = s.record_writes("x4", 6);
    ASSERT_EQ(w6.size(), 1u);
    EXPECT_EQ(w6[0][28], 3);
    EXPECT_EQ(w6[0][29], 0);
    for (const auto& b : s.tcp_in("x4")) EXPECT_EQ(b, UU) << "only model checks, no DI command";
}

}  // namespace
