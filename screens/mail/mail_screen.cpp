// The mail alert screen: its layout by module kind and model, what it
// shows at opening (from the record images of an XPort unit or the mail
// keys of a WiFi module), the reads of the unit settings, and closing.
#include "screens/mail/KIVRAMailSet.h"
#include "screens/KIVRAMainSet.h"
#include "screens/mail/mail_screen.h"

#include "device/record_fields.h"
#include "screens/legacy_driver.h"
#include "base/DebugLog.h"
#include "base/bounded_text.h"
#include "ui/NQ_Menu.h"
#include "ui/colour_pairs.h"

#include <arpa/inet.h>

#include <cstdio>
#include <cstring>
#include <memory>

MailSet mailset;
MailImages mail_images;

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
int run_mail_rows(int unit);

namespace {

std::unique_ptr<ScreenWindows> open_windows;

bool named_server(int unit) { return is_gc(unit_modtype(unit)) || is_wifi(unit_modtype(unit)); }
bool address_server(int unit) { return !named_server(unit); }
bool gc_unit(int unit) { return is_gc(unit_modtype(unit)); }
bool wifi_unit(int unit) { return is_wifi(unit_modtype(unit)); }
bool analog_low(int unit) { int m = unit_model(unit); return m == 8 || m == 9 || m == 11; }
bool model10(int unit) { return unit_model(unit) == 10; }

int di_rows_of(int unit)
{
    int rows = 0, cols = 0;
    mail_di_layout(unit_model(unit), unit_modtype(unit), &rows, &cols);
    return rows;
}
int di_cols_of(int unit)
{
    int rows = 0, cols = 0;
    mail_di_layout(unit_model(unit), unit_modtype(unit), &rows, &cols);
    return cols;
}
bool di_section(int unit) { return di_cols_of(unit) != 0; }
template <int R>
bool di_row(int unit)
{
    return R < di_rows_of(unit);
}
template <int R>
bool di_third(int unit)
{
    return R < di_rows_of(unit) && di_cols_of(unit) == 3;
}

#define DI_ROW(r)                                                          \
    LAYOUT_ITEM(&win_maildi[4 * (r) + 1], 11 + (r), 26, 10, nullptr, di_row<r>), \
    LAYOUT_ITEM(&win_maildi[4 * (r) + 2], 11 + (r), 38, 10, nullptr, di_row<r>), \
    LAYOUT_ITEM(&win_maildi[4 * (r) + 3], 11 + (r), 50, 10, nullptr, di_third<r>)

// Fields at column 26 of the screen's window, labels at column 3; the
// digital-input cells, the analog button and the DO buttons by model.
const LegacyWindowSpec kLayout[] = {
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
    DI_ROW(0), DI_ROW(1), DI_ROW(2), DI_ROW(3), DI_ROW(4), DI_ROW(5), DI_ROW(6),
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

// The values the screen starts from.
void take_values(int unit)
{
    const DeviceEntry& e = xportset[unit];
    MailSet& m = mailset;
    if (is_wifi(e)) {
        // A sender without its user part counts as none.
        if (e.mfrom[0] != '@') copy_text_n(m.mail_from, MAIL_TEXT_LEN, e.mfrom, sizeof e.mfrom);
        copy_text_n(m.smtp_server, MAIL_TEXT_LEN, e.mhost, sizeof e.mhost);
        m.smtp_port = e.mport;
        copy_text_n(m.auth_user, MAIL_TEXT_LEN, e.muser, sizeof e.muser);
        copy_text_n(m.auth_pass, MAIL_TEXT_LEN, e.mpass, sizeof e.mpass);
        copy_text_n(m.mail_to1, MAIL_TEXT_LEN, e.mto1, sizeof e.mto1);
        copy_text_n(m.mail_to2, MAIL_TEXT_LEN, e.mto2, sizeof e.mto2);
        copy_text_n(m.mail_subject, MAIL_TEXT_LEN, e.msubj, sizeof e.msubj);
        return;
    }
    const MailImages& im = mail_images;
    if (is_gc(e)) {
        get_text(im.r4, rec::mail_host, m.smtp_server, MAIL_TEXT_LEN);
    } else {
        uint8_t b[4];
        const in_addr_t ip = get_ipv4(im.r5, rec::smtp_ip);
        std::memcpy(b, &ip, 4);
        std::snprintf(m.smtp_server, MAIL_TEXT_LEN, "%d.%d.%d.%d", b[0], b[1], b[2], b[3]);
    }
    m.smtp_port = get_le16(im.r3, rec::smtp_port);
    if (get_byte(im.r5, rec::from_user) != 0) {
        char user[rec::from_user.room];
        char domain[rec::from_domain.room];
        get_text(im.r5, rec::from_user, user, sizeof user);
        get_text(im.r6, rec::from_domain, domain, sizeof domain);
        std::snprintf(m.mail_from, MAIL_TEXT_LEN, "%s@%s", user, domain);
    }
    get_text(im.r5, rec::mail_to1, m.mail_to1, MAIL_TEXT_LEN);
    get_text(im.r5, rec::mail_to2, m.mail_to2, MAIL_TEXT_LEN);
    get_text(im.r6, rec::subject, m.mail_subject, MAIL_TEXT_LEN);
}

void show_values()
{
    char port[16];
    std::snprintf(port, sizeof port, "%d", mailset.smtp_port);
    show_value(win_smtpset[1], mailset.smtp_server);
    show_text(win_smtpport[1], port);
    show_value(win_mailfrom[1], mailset.mail_from);
    show_value(win_mailto1[1], mailset.mail_to1);
    show_value(win_mailto2[1], mailset.mail_to2);
    show_value(win_message[1], mailset.mail_subject);
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

void DeleteMailMenu() { open_windows.reset(); }

int SetMailAlertMenu(int unit)
{
    if (unit < 0 || unit >= xportcount || unit >= XPORT_MAX) return 0;
    DeviceEntry& e = xportset[unit];
    // The screen shows and writes back the records as read from the unit.
    if (!is_wifi(e) && EnsureUnitData(unit) != 0) {
        MyMsgBox("通信エラー", "", MSG_ROW_MENU, win_mainset[0]);
        return 0;
    }
    std::memset(&mailset, 0, sizeof mailset);
    std::memcpy(mail_images.r3, e.setup3, SETUP_LEN);
    std::memcpy(mail_images.r4, e.setup4, SETUP_LEN);
    std::memcpy(mail_images.r5, e.setup5, SETUP_LEN);
    std::memcpy(mail_images.r6, e.setup6, SETUP_LEN);
    std::memcpy(mail_images.r7, e.setup7, SETUP_LEN);
    take_values(unit);
    mailset.auth_send = 0;

    open_windows = std::make_unique<ScreenWindows>(kLayout, unit);
    if (!open_windows->ok()) {
        DeleteMailMenu();
        return 0;
    }
    show_values();
    doupdate();

    int r = 0;
    if (InitDIMenu(unit) == 0 && read_analog_settings(unit) == 0) {
        doupdate();
        mailselect_mode = MAILMODE_SERVER;
        r = run_mail_rows(unit);
    }
    DeleteMailMenu();
    return r;
}
