// What the parts of the open mail alert screen share: its struct, its
// windows and small drawing helpers. Element 0 of the item arrays stays
// empty (select_menu never draws it).
#pragma once

#include <curses.h>

#include "screens/mail/KIVRAMailSet.h"
#include "screens/screen_driver.h"

#include <optional>

extern WINDOW* win_mailset;                   // the screen
extern WINDOW* win_smtpset[2];                // mail server field
extern WINDOW* win_smtpport[2];               // port field
extern WINDOW* win_smtpauth[2];               // SMTP-AUTH field ("GC" and WiFi units)
extern WINDOW* win_mailfrom[2];               // sender
extern WINDOW* win_mailto1[2];                // recipient 1
extern WINDOW* win_mailto2[2];                // recipient 2
extern WINDOW* win_message[2];                // subject
extern WINDOW* win_sendmailset[2];            // "設定反映"
extern WINDOW* win_analog[2];                 // "設定画面へ"
extern WINDOW* win_doalert[3];                // "DO1設定", "DO2設定"
extern WINDOW* win_maildi[MAIL_DI_ROWS * 4];  // per row a group of four: cells in slots 1..3
extern WINDOW* win_authset[4];                // credentials window, user, password, "OK"

constexpr int MAIL_MSG_ROW = 10;  // message boxes of the screen and its reads

// The open screen: its unit, what the unit has, and its windows while it
// is open. The values it edits are mailset.
struct MailScreen {
    int unit;          // index into xportset; -1 when only the rows are asked
    int model;         // the unit's model
    int modtype;       // and module kind
    MailPresence has;  // the items, rows and buttons of this model and kind
    std::optional<ScreenWindows> windows;
};

// Deletes the screen's windows, sub-windows first (nothing when none are open).
void DeleteMailMenu(MailScreen& s);

// A field shows a value cut to its width at a character boundary.
void show_value(WINDOW* field, const char* value);
// A message box over the screen, redrawn afterwards.
void mail_message(const char* line1, const char* line2, int row);

// The digital-input rows (mail_di.cpp): drawn and read at opening; 0, or
// -1 after a read failure (shown, windows deleted).
int InitDIMenu(MailScreen& s);
int di_row_items(const MailScreen& s, int mode);
int di_row_start(MailScreen& s, int mode);
Outcome di_row_enter(MailScreen& s, int mode, int item);
void di_row_leave(MailScreen& s, int mode);

// The SMTP-AUTH item (mail_auth.cpp) and "設定反映" (mail_apply.cpp).
Outcome mail_auth_item(MailScreen& s);
Outcome mail_apply_item(MailScreen& s);
