// The mail alert screen: its layout by module kind and model, what it shows
// of the values read, opening (the reads of settings/) and closing.
#include "screens/mail/mail_screen.h"
#include "screens/mail/KIVRAMailSet.h"

#include "base/DebugLog.h"
#include "base/bounded_text.h"
#include "device/KIVRAXPort.h"
#include "ui/NQ_Menu.h"
#include "ui/colour_pairs.h"

#include <cstdio>
#include <cstring>

MailAlertSettings mailset;

WINDOW* win_mailset;
WINDOW* win_smtpset[2];
WINDOW* win_smtpport[2];
WINDOW* win_smtpauth[2];
WINDOW* win_mailfrom[2];
WINDOW* win_mailto1[2];
WINDOW* win_mailto2[2];
WINDOW* win_message[2];
WINDOW* win_sendmailset[2];
WINDOW* win_analog[2];
WINDOW* win_doalert[3];
WINDOW* win_maildi[MAIL_DI_ROWS * 4];

extern WINDOW* win_mainset[5];

// Runs the rows of the open screen from mailselect_mode (mail_rows.cpp).
Outcome run_mail_rows(MailScreen& s);

namespace {

bool named_server(const MailScreen& s) { return s.has.named; }
bool address_server(const MailScreen& s) { return !s.has.named; }
bool gc_unit(const MailScreen& s) { return is_gc(s.modtype); }
bool wifi_unit(const MailScreen& s) { return is_wifi(s.modtype); }
bool analog_low(const MailScreen& s) { return s.has.ai_inputs > 0 && s.has.do_count == 0; }
bool model10(const MailScreen& s) { return s.has.do_count > 0; }
bool di_section(const MailScreen& s) { return s.has.di_cols != 0; }
template <int R>
bool di_row(const MailScreen& s)
{
    return R < s.has.di_rows;
}
template <int R>
bool di_third(const MailScreen& s)
{
    return R < s.has.di_rows && s.has.di_cols == 3;
}

#define DI_ROW(r)                                                                    \
    LAYOUT_ITEM(&win_maildi[4 * (r) + 1], 11 + (r), 26, 10, nullptr, di_row<r>),     \
        LAYOUT_ITEM(&win_maildi[4 * (r) + 2], 11 + (r), 38, 10, nullptr, di_row<r>), \
        LAYOUT_ITEM(&win_maildi[4 * (r) + 3], 11 + (r), 50, 10, nullptr, di_third<r>)

// Fields at column 26 of the screen's window, labels at column 3; the
// digital-input cells, the analog button and the DO buttons by model.
const WindowSpec<MailScreen> kLayout[] = {
    {&win_mailset, -1, 2, 1, 21, 78, PAIR_BASE, nullptr, true, nullptr},
    LAYOUT_LABEL(0, 1, "メールアラート設定", nullptr),
    LAYOUT_LABEL(2, 3, "SMTPサーバアドレス   :", nullptr),
    LAYOUT_LABEL(3, 3, "SMTPサーバポート番号 :", nullptr),
    LAYOUT_LABEL(4, 3, "SMTP-AUTH認証        :", named_server),
    LAYOUT_LABEL(5, 3, "送信元メールアドレス :", nullptr),
    LAYOUT_LABEL(6, 3, "送信先メールアドレス1:", nullptr),
    LAYOUT_LABEL(7, 3, "送信先メールアドレス2:", nullptr),
    LAYOUT_LABEL(8, 3, "メッセージタイトル   :", nullptr),
    LAYOUT_ITEM(&win_smtpset[1], 2, 26, 50, nullptr, named_server),
    LAYOUT_ITEM(&win_smtpset[1], 2, 26, 20, nullptr, address_server),
    LAYOUT_ITEM(&win_smtpport[1], 3, 26, 8, nullptr, nullptr),
    LAYOUT_ITEM(&win_smtpauth[1], 4, 26, 8, "OFF", gc_unit),
    LAYOUT_ITEM(&win_smtpauth[1], 4, 26, 8, "設定", wifi_unit),
    LAYOUT_ITEM(&win_mailfrom[1], 5, 26, 50, nullptr, nullptr),
    LAYOUT_ITEM(&win_mailto1[1], 6, 26, 50, nullptr, nullptr),
    LAYOUT_ITEM(&win_mailto2[1], 7, 26, 50, nullptr, nullptr),
    LAYOUT_ITEM(&win_message[1], 8, 26, 25, nullptr, nullptr),
    LAYOUT_LABEL(10, 3, "   監視対象DI設定", di_section),
    DI_ROW(0),
    DI_ROW(1),
    DI_ROW(2),
    DI_ROW(3),
    DI_ROW(4),
    DI_ROW(5),
    DI_ROW(6),
    LAYOUT_LABEL(14, 3, "   アナログ閾値設定", model10),
    LAYOUT_ITEM(&win_analog[1], 14, 26, 16, "設定画面へ", model10),
    LAYOUT_LABEL(16, 3, "   アナログ閾値設定", analog_low),
    LAYOUT_ITEM(&win_analog[1], 16, 26, 16, "設定画面へ", analog_low),
    LAYOUT_LABEL(16, 3, "   DOアラート設定", model10),
    LAYOUT_ITEM(&win_doalert[1], 16, 26, 16, "DO1設定", model10),
    LAYOUT_ITEM(&win_doalert[2], 16, 44, 16, "DO2設定", model10),
    LAYOUT_ITEM(&win_sendmailset[1], 19, 50, 16, "設定反映", nullptr),
};

#undef DI_ROW

void show_values()
{
    const MailServer& m = mailset.server;
    char port[16];
    std::snprintf(port, sizeof port, "%d", m.smtp_port);
    show_value(win_smtpset[1], m.smtp_server);
    show_text(win_smtpport[1], port);
    show_value(win_mailfrom[1], m.mail_from);
    show_value(win_mailto1[1], m.mail_to1);
    show_value(win_mailto2[1], m.mail_to2);
    show_value(win_message[1], m.mail_subject);
}

// Opens the screen and runs it: the mail server is read before the screen
// is drawn, the digital-input rows once they are drawn, then the analog
// inputs and DO alerts. A failed read closes the screen (0).
Outcome open_and_run(MailScreen& s)
{
    mailset = MailAlertSettings{};
    StepResult r = read_mail_alert(s.unit, mailset, MAIL_SERVER);
    if (!r.ok()) {
        show_failure(r, win_mainset[0]);
        return Outcome::Stay;
    }
    s.windows.emplace(kLayout, s);
    if (!s.windows->ok()) return Outcome::Stay;
    show_values();
    doupdate();
    if (InitDIMenu(s) != 0) return Outcome::Stay;
    PrnDebug("Get Analog Setting info\n");
    r = read_mail_alert(s.unit, mailset, MAIL_THRESHOLDS | MAIL_DO);
    if (!r.ok()) {
        show_failure(r, win_mailset);
        return Outcome::Stay;
    }
    doupdate();
    mailselect_mode = MAILMODE_SERVER;
    return run_mail_rows(s);
}

}  // namespace

void show_value(WINDOW* field, const char* value)
{
    if (field == nullptr) return;
    const int width = getmaxx(field);
    char cut[MAIL_TEXT_LEN];
    const size_t n = utf8_fit(value, value != nullptr ? std::strlen(value) : 0,
                              width > 0 ? static_cast<size_t>(width) : 0);
    copy_text_n(cut, sizeof cut, value, n);
    show_text(field, cut);
}

void mail_message(const char* line1, const char* line2, int row)
{
    MyMsgBox(line1, line2, row, win_mailset);
}

void DeleteMailMenu(MailScreen& s) { s.windows.reset(); }

int SetMailAlertMenu(int unit)
{
    if (unit < 0 || unit >= xportcount || unit >= XPORT_MAX) return 0;
    MailScreen s{unit, unit_model(unit), unit_modtype(unit),
                 mail_presence(unit_model(unit), unit_modtype(unit)), std::nullopt};
    const Outcome o = open_and_run(s);
    DeleteMailMenu(s);
    return screen_result(o);
}
