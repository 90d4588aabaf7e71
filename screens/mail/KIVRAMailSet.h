// The mail alert screen of one unit: mail server, port, SMTP-AUTH, sender,
// recipients and subject; the digital-input mail rows; the analog
// thresholds; the DO alerts of model 10; and "設定反映", which writes them.
// A view of the mail alert groups of settings/mail_settings.h, which read
// and write the unit.
#pragma once

#include "settings/mail_settings.h"
#include "settings/threshold_text.h"

// The values the open screen shows and edits, cleared at every opening
// and read from the unit; "設定反映" writes them.
extern MailAlertSettings mailset;
extern int mailselect_mode;  // current item of the screen, MailMode

// ---- the screen ----
int SetMailAlertMenu(int unit);  // 1 written, 0 a read failed, -2 Esc or a write failed, -1 F9
int loop_smtpset(int unit);
int loop_smtpport(int unit);
int loop_smtpauth(int unit);
int loop_mailfrom(int unit);
int loop_mailto1();
int loop_mailto2();
int loop_setmsg(int unit);
int loop_sendmailset(int unit);
int SetAuthMenu();          // 0 OK, -2 Esc, -1 F9
int OnOKMailSet(int unit);  // 0 the unit settings were sent, -1 after a failure (shown)

// Modes of the screen's items (mailselect_mode).
enum MailMode {
    MAILMODE_SERVER = 1,
    MAILMODE_PORT = 2,
    MAILMODE_AUTH = 3,
    MAILMODE_FROM = 4,
    MAILMODE_TO1 = 5,
    MAILMODE_TO2 = 6,
    MAILMODE_SUBJECT = 7,
    MAILMODE_DI_FIRST = 8,  // 8..14: digital-input rows 1..7
    MAILMODE_DI_LAST = 14,
    MAILMODE_ANALOG = 15,
    MAILMODE_APPLY = 16,
    MAILMODE_DO = 17,
};
enum Move : int;  // MOVE_UP, MOVE_DOWN (screens/screen_rows.h)
// The mode that Up or Down leads to from `mode` on a unit of this model and
// module kind; 0 for a mode the screen does not have.
int mail_next_mode(int mode, Move move, int model, int modtype);

// ---- digital-input rows ----
int loop_setdi(int unit, int mode);
int OnChangeSelDI(int item);

// ---- analog thresholds ----
int loop_analog(int unit);
int SetAnalogMenu(int unit);  // 0 OK, -2 Esc, -1 F9
int OnChangeCurAna(int column);

// ---- DO alerts (model 10) ----
int loop_doalert(int unit);
int SetDOAlertMenu(int unit, int k);  // 0, or -1 for F9
void RefreshParents_DO();
