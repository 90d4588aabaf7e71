// The SMTP-AUTH item of the mail alert screen and its credentials window:
// "GC" units choose ON (record 1 is written) or OFF, WiFi modules edit
// their user name and password directly.
#include "screens/mail/KIVRAMailSet.h"
#include "screens/mail/mail_screen.h"

#include "screens/legacy_driver.h"
#include "base/bounded_text.h"
#include "ui/NQ_Forms.h"
#include "ui/NQ_Menu.h"
#include "ui/colour_pairs.h"
#include "ui/form_ids.h"

#include <cstring>

WINDOW* win_authset[4];

namespace {


const LegacyWindowSpec kAuthLayout[] = {
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

}  // namespace

int SetAuthMenu()
{
    char user[MAIL_TEXT_LEN];
    char pass[MAIL_TEXT_LEN];
    copy_text(user, sizeof user, mailset.auth_user);
    copy_text(pass, sizeof pass, mailset.auth_pass);

    ScreenWindows windows(kAuthLayout, -1);
    if (!windows.ok()) return -2;
    show_value(win_authset[1], user);
    show_text(win_authset[2], pass[0] != '\0' ? "**************" : "");
    doupdate();

    int item = 1;
    for (;;) {
        const MenuResult m = menu_result(select_menu(win_authset, 3, 1, 0, 0, item, nullptr));
        if (m.act == Act::Quit) return -1;
        if (m.act != Act::Chosen) return -2;  // Esc: the copies are dropped
        item = m.item;
        char out[FORM_TEXT_MAX] = {};
        if (item == 1) {
            char preset[FORM_TEXT_MAX];
            const size_t room = static_cast<size_t>(myforms[FORM_AUTH_USER].width + 1);
            copy_text_n(preset, sizeof preset, user, utf8_fit(user, std::strlen(user), room));
            const int r = edit_form(FORM_AUTH_USER, -1, -1, preset, out, sizeof out, win_mailset);
            redraw_auth();
            if (r == MENU_QUIT) return -1;
            // Confirmed unchanged, a name longer than the entry stays whole.
            if (r == 1 && std::strlen(out) < 45 && std::strcmp(out, preset) != 0) {
                copy_text(user, sizeof user, out);
                show_value(win_authset[1], user);
            }
        } else if (item == 2) {
            const int r = edit_form(FORM_AUTH_PASS, -1, -1, "", out, sizeof out, win_mailset);
            redraw_auth();
            if (r == MENU_QUIT) return -1;
            if (r == 1 && std::strlen(out) < 14) {
                copy_text(pass, sizeof pass, out);
                show_text(win_authset[2], "*************");
            }
        } else {
            copy_text(mailset.auth_user, MAIL_TEXT_LEN, user);
            copy_text(mailset.auth_pass, MAIL_TEXT_LEN, pass);
            return 0;
        }
        doupdate();
    }
}

int mail_auth_item(int unit)
{
    int r = 0;
    if (is_wifi(unit_modtype(unit))) {
        r = SetAuthMenu();
    } else if (is_gc(unit_modtype(unit))) {
        const int choice = choose_form(FORM_SMTP_AUTH, -1, -1, 1, win_mailset);
        if (choice == MENU_QUIT) return -1;
        if (choice == 2) {
            mailset.auth_send = 0;
            show_text(win_smtpauth[1], "OFF");
        } else if (choice == 1) {
            mailset.auth_send = 1;
            show_text(win_smtpauth[1], "ON");
            doupdate();
            r = SetAuthMenu();
        }
    }
    redraw(win_mailset);
    return r == -1 ? -1 : 0;
}
