// What the parts of the open mail alert screen share: its windows, the
// working copies of the setup records, and small drawing helpers. Element 0
// of the item arrays stays empty (select_menu never draws it).
#pragma once

#include <curses.h>

#include "device/KIVRAXPort.h"
#include "screens/mail/KIVRAMailSet.h"
#include "ui/colour_pairs.h"

#include <cstdint>

extern WINDOW* win_mailset;         // the screen
extern WINDOW* win_smtpset[2];      // mail server field
extern WINDOW* win_smtpport[2];     // port field
extern WINDOW* win_smtpauth[2];     // SMTP-AUTH field ("GC" and WiFi units)
extern WINDOW* win_mailfrom[2];     // sender
extern WINDOW* win_mailto1[2];      // recipient 1
extern WINDOW* win_mailto2[2];      // recipient 2
extern WINDOW* win_message[2];      // subject
extern WINDOW* win_sendmailset[2];  // "設定反映"
extern WINDOW* win_analog[2];       // "設定画面へ"
extern WINDOW* win_doalert[3];      // "DO1設定", "DO2設定"
extern WINDOW* win_maildi[MAIL_DI_ROWS * 4];  // per row a group of four: cells in slots 1..3
extern WINDOW* win_authset[4];      // credentials window, user, password, "OK"

// Working copies of records 3 to 7, taken from the entry at opening.
struct MailImages {
    uint8_t r3[SETUP_LEN];
    uint8_t r4[SETUP_LEN];
    uint8_t r5[SETUP_LEN];
    uint8_t r6[SETUP_LEN];
    uint8_t r7[SETUP_LEN];
};
extern MailImages mail_images;

constexpr int MAIL_MSG_ROW = 10;    // message boxes of the screen and its reads
constexpr int MAIL_APPLY_ROW = 15;  // failures of the unit commands

// A field shows a value cut to its width at a character boundary.
void show_value(WINDOW* field, const char* value);
// A message box over the screen, redrawn afterwards.
void mail_message(const char* line1, const char* line2, int row);

// The record bits of the digital-input rows, put into the images on apply.
void put_di_record_bits(const MailSet& m, int model, int modtype, uint8_t* r6, uint8_t* r7);
// The digital-input, threshold and DO steps of the apply.
int write_di_settings(int unit);
int write_analog_settings(int unit);

// Opening reads of the analog inputs, DO alerts and ranges; 0 or -1 (shown).
int read_analog_settings(int unit);

// What the row table of the screen needs to know of the unit.
struct MailUnit {
    int model;
    int modtype;
    int di_rows;
};

// The callbacks of the digital-input rows (mail_di.cpp).
struct LegacyRowContext;
int di_row_items(const LegacyRowContext& ctx);
int di_row_start(const LegacyRowContext& ctx);
int di_row_enter(LegacyRowContext& ctx, int item);
void di_row_leave(LegacyRowContext& ctx);

// The SMTP-AUTH item (mail_auth.cpp) and the apply (mail_apply.cpp): 0 to
// stay on the item, else the screen's result.
int mail_auth_item(int unit);
int mail_apply_item(int unit);
