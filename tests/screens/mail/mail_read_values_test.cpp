// Values the mail alert screen read from a unit and shows as they are: a
// sender the sender check refuses, confirmed unchanged, is refused too;
// a DO alert watching an input past the third names it.
#include "mail_session.h"

#include <gtest/gtest.h>

using namespace mailtest;

namespace {

TEST(MailReadValues, AnInvalidSenderConfirmedUnchangedIsRefusedAndADoNamesAnyWatchedInput)
{
    Operator s(R"({"units": [
      {"name": "x0", "ip": "192.0.2.10", "model": 0, "mail": {"from_user": "alert"}},
      {"name": "x10", "ip": "192.0.2.11", "model": 10, "do": [{"input": 5}]}]})");
    ASSERT_TRUE(s.open_mail("192.0.2.10")) << s.t.dump();
    auto& t = s.t;
    ASSERT_TRUE(s.move("d", ROW_PORT) && s.move("d", ROW_FROM));
    EXPECT_TRUE(cells_are(t, ROW_FROM, COL_FIELD, "alert@", 50));
    s.keys("nnn");  // the form, "決定", confirmed as shown
    ASSERT_TRUE(s.wait_message(10, "入力エラー", "ドメイン名部分の長さが不正です。")) << t.dump();
    t.enter();
    ASSERT_TRUE(s.wait_bg(ROW_FROM, COL_FIELD, BLUE)) << t.dump();
    EXPECT_TRUE(cells_are(t, ROW_FROM, COL_FIELD, "alert@", 50)) << "kept as read";
    t.esc();
    ASSERT_TRUE(t.wait_text(MENU_TITLE)) << t.dump();
    t.esc();
    ASSERT_TRUE(t.wait_gone(MENU_TITLE)) << t.dump();

    ASSERT_TRUE(s.open_menu("192.0.2.11") && s.reopen_mail()) << t.dump();
    ASSERT_TRUE(s.move("u", ROW_APPLY, COL_APPLY) && s.move("u", 18));
    t.enter();
    ASSERT_TRUE(t.wait_text("DO1 アラート条件設定")) << t.dump();
    EXPECT_TRUE(cells_are(t, 8, 19, "AI6", 15));
    EXPECT_TRUE(cells_are(t, 10, 19, "", 15)) << "an input without thresholds";
}

}  // namespace
