// The rules of the mail alert screen that need no unit: where Up and Down
// lead on every model and module kind, and the sender and recipient checks.
#include "screens/mail/KIVRAMailSet.h"
#include "screens/screen_rows.h"

#include <gtest/gtest.h>

#include <string>

namespace {

constexpr int XPORT = 0, GC = 1, WIFI = 3;
constexpr Move UP = MOVE_UP, DOWN = MOVE_DOWN;

TEST(MailRules, EveryMoveLandsOnAnItemTheUnitHas)
{
    const struct { const char* story; int model, modtype, mode; Move move; int to; } cases[] = {
        {"plain XPort: port to sender", 0, XPORT, 2, DOWN, 4},
        {"plain XPort: sender to port", 0, XPORT, 4, UP, 2},
        {"GC: port to SMTP-AUTH", 2, GC, 2, DOWN, 3},
        {"WiFi: sender to SMTP-AUTH", 0, WIFI, 4, UP, 3},
        {"server wraps up to apply", 0, XPORT, 1, UP, 16},
        {"apply wraps down to server", 10, XPORT, 16, DOWN, 1},
        {"model 8: subject to analog", 8, XPORT, 7, DOWN, 15},
        {"model 10: analog to DO", 10, XPORT, 15, DOWN, 17},
        {"model 10: DO to apply", 10, XPORT, 17, DOWN, 16},
        {"model 10: apply up to DO", 10, XPORT, 16, UP, 17},
        {"model 10: DO up to analog", 10, XPORT, 17, UP, 15},
        {"model 10: analog up to subject", 10, XPORT, 15, UP, 7},
        {"model 9: analog up to its third row", 9, XPORT, 15, UP, 10},
        {"model 11: analog up to its second row", 11, GC, 15, UP, 9},
        {"model 11: last row down to analog", 11, XPORT, 9, DOWN, 15},
        {"model 9: apply up to analog", 9, XPORT, 16, UP, 15},
        {"WiFi model 9: analog up to subject, not a missing row", 9, WIFI, 15, UP, 7},
        {"WiFi model 11: subject down to analog, not past it", 11, WIFI, 7, DOWN, 15},
        {"WiFi model 2: seventh row down to apply", 2, WIFI, 14, DOWN, 16},
        {"WiFi model 2: apply up to the seventh row", 2, WIFI, 16, UP, 14},
        {"XPort model 4: single row up to subject", 4, XPORT, 8, UP, 7},
        {"XPort model 1: subject down to apply", 1, XPORT, 7, DOWN, 16},
        {"XPort model 1: apply up to subject", 1, XPORT, 16, UP, 7},
        {"plain XPort has no SMTP-AUTH item", 0, XPORT, 3, DOWN, 0},
        {"model 0 has no analog item", 0, XPORT, 15, DOWN, 0},
        {"model 8 has no DO item", 8, XPORT, 17, UP, 0},
        {"XPort model 2 has no third row", 2, XPORT, 10, UP, 0},
    };
    for (const auto& c : cases)
        EXPECT_EQ(mail_next_mode(c.mode, c.move, c.model, c.modtype), c.to) << c.story;

    // On every unit the gate lets through, each move lands on an item it has
    // and the opposite move comes back.
    for (int modtype : {XPORT, GC, WIFI}) {
        for (int model = 0; model <= 15; model++) {
            for (int mode = 1; mode <= 17; mode++) {
                for (Move move : {UP, DOWN}) {
                    const int to = mail_next_mode(mode, move, model, modtype);
                    if (mail_next_mode(mode, UP, model, modtype) == 0) continue;
                    EXPECT_NE(to, 0) << model << "/" << modtype << " mode " << mode;
                    EXPECT_EQ(mail_next_mode(to, move == UP ? DOWN : UP, model, modtype), mode)
                        << model << "/" << modtype << " mode " << mode << " to " << to;
                }
            }
        }
    }
}

TEST(MailRules, SenderAndRecipientsAreCheckedAtTheirByteLimits)
{
    const std::string u23(23, 'u'), d23(23, 'd');
    const struct { std::string text; const char* from; const char* to; } cases[] = {
        {"", nullptr, nullptr},
        {"nobody", "@マークがありません。", "@マークがありません。"},
        {u23 + "@" + d23, nullptr, nullptr},
        {u23 + "u@d", "ユーザー名部分の長さが不正です。", nullptr},
        {"u@" + d23 + "d", "ドメイン名部分の長さが不正です。", nullptr},
        {"@example.com", "ユーザー名部分の長さが不正です。", "@マークの位置が不正です。"},
        {"user@", "ドメイン名部分の長さが不正です。", "@マークの位置が不正です。"},
        {"a@b@c", nullptr, nullptr},
        {"a@b@", nullptr, nullptr},
    };
    for (const auto& c : cases) {
        const char* from = check_mail_from(c.text.c_str());
        const char* to = check_mail_to(c.text.c_str());
        EXPECT_STREQ(from, c.from) << c.text;
        EXPECT_STREQ(to, c.to) << c.text;
    }
}

}  // namespace
