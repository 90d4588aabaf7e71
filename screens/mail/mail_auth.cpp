// The SMTP-AUTH item of the mail alert screen and its credentials window:
// "GC" units choose ON (record 1 is written) or OFF, WiFi modules edit
// their user name and password directly.
#include "screens/mail/KIVRAMailSet.h"
#include "screens/mail/mail_screen.h"

#include "base/bounded_text.h"
#include "device/KIVRAXPort.h"
#include "ui/NQ_Forms.h"
#include "ui/NQ_Menu.h"
#include "ui/colour_pairs.h"
#include "ui/form_ids.h"

#include <cstring>

WINDOW* win_authset[4];

namespace {

// The window's copies of the credentials; they reach mailset only by "OK".
struct AuthWindow {
    char user[MAIL_TEXT_LEN];
    char pass[MAIL_TEXT_LEN];
};

const WindowSpec<AuthWindow> kAuthLayout[] = {
    {&win_authset[0], -1, 4, 2, 10, 76, PAIR_BASE, nullptr, true, nullptr},
    LAYOUT_LABEL(0, 1, "SMTP-AUTH設定", nullptr),
    LAYOUT_LABEL(2, 3, "認証ユーザ名   :", nullptr),
    LAYOUT_LABEL(4, 3, "認証パスワード :", nullptr),
    LAYOUT_ITEM(&win_authset[1], 2, 20, 45, nullptr, nullptr),
    LAYOUT_ITEM(&win_authset[2], 4, 20, 14, nullptr, nullptr),
    LAYOUT_ITEM(&win_authset[3], 6, 20, 6, "OK", nullptr),
};

// After a form both the screen and the window are drawn again.
void redraw_auth()
{
    redraw(win_mailset);
    redraw(win_authset[0]);
}

Outcome edit_user(AuthWindow& w)
{
    char out[FORM_TEXT_MAX] = {};
    char preset[FORM_TEXT_MAX];
    const size_t room = static_cast<size_t>(myforms[FORM_AUTH_USER].width + 1);
    copy_text_n(preset, sizeof preset, w.user, utf8_fit(w.user, std::strlen(w.user), room));
    const int r = edit_form(FORM_AUTH_USER, -1, -1, preset, out, sizeof out, win_mailset);
    redraw_auth();
    if (r == MENU_QUIT) return Outcome::Quit;
    // Confirmed unchanged, a name longer than the entry stays whole.
    if (r == 1 && std::strlen(out) < 45 && std::strcmp(out, preset) != 0) {
        copy_text(w.user, sizeof w.user, out);
        show_value(win_authset[1], w.user);
    }
    return Outcome::Stay;
}

Outcome edit_pass(AuthWindow& w)
{
    char out[FORM_TEXT_MAX] = {};
    const int r = edit_form(FORM_AUTH_PASS, -1, -1, "", out, sizeof out, win_mailset);
    redraw_auth();
    if (r == MENU_QUIT) return Outcome::Quit;
    if (r == 1 && std::strlen(out) < 14) {
        copy_text(w.pass, sizeof w.pass, out);
        show_text(win_authset[2], "*************");
    }
    return Outcome::Stay;
}

Outcome auth_chosen(AuthWindow& w, int item)
{
    if (item == 1) return edit_user(w);
    if (item == 2) return edit_pass(w);
    MailServer& m = mailset.server;
    copy_text(m.auth_user, MAIL_TEXT_LEN, w.user);
    copy_text(m.auth_pass, MAIL_TEXT_LEN, w.pass);
    return Outcome::Done;
}

void update_screen(AuthWindow&) { doupdate(); }

}  // namespace

int SetAuthMenu()
{
    AuthWindow w{};
    copy_text(w.user, sizeof w.user, mailset.server.auth_user);
    copy_text(w.pass, sizeof w.pass, mailset.server.auth_pass);

    ScreenWindows windows(kAuthLayout, w);
    if (!windows.ok()) return -2;
    show_value(win_authset[1], w.user);
    show_text(win_authset[2], w.pass[0] != '\0' ? "**************" : "");
    doupdate();
    // Esc drops the copies.
    const Outcome o = run_items(win_authset, 3, auth_chosen, w, ListPlace::Chosen, update_screen);
    return o == Outcome::Done ? 0 : screen_result(o);
}

Outcome mail_auth_item(MailScreen& s)
{
    int r = 0;
    if (is_wifi(s.modtype)) {
        r = SetAuthMenu();
    } else if (is_gc(s.modtype)) {
        const int choice = choose_form(FORM_SMTP_AUTH, -1, -1, 1, win_mailset);
        if (choice == MENU_QUIT) return Outcome::Quit;
        if (choice == 2) {
            mailset.server.auth_send = 0;
            show_text(win_smtpauth[1], "OFF");
        } else if (choice == 1) {
            mailset.server.auth_send = 1;
            show_text(win_smtpauth[1], "ON");
            doupdate();
            r = SetAuthMenu();
        }
    }
    redraw(win_mailset);
    return r == -1 ? Outcome::Quit : Outcome::Stay;
}
