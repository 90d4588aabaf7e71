// The mail alert screen of one unit: mail server, port, SMTP-AUTH, sender,
// recipients and subject; the digital-input mail rows; the analog
// thresholds; the DO alerts of model 10; and the apply that writes them.
// The threshold texts are pure conversions with no curses.
#pragma once

#include <cstddef>

constexpr int MAIL_TEXT_LEN = 256;      // every text of mailset
constexpr int MAIL_DI_ROWS = 7;         // digital-input rows at most
constexpr int MAIL_AI_INPUTS = 3;       // analog inputs at most
constexpr int MAIL_DO_COUNT = 2;        // DO1, DO2
constexpr int THRESHOLD_TEXT_LEN = 32;  // a threshold text with its terminator

// The working values of the open mail alert screen, cleared at every opening.
struct MailSet {
    char smtp_server[MAIL_TEXT_LEN];   // dotted address (plain XPort) or host name
    int smtp_port;                     // mail server port
    int auth_send;                     // 1: record 1 with the credentials is written ("GC" units)
    char auth_user[MAIL_TEXT_LEN];     // SMTP-AUTH user name
    char auth_pass[MAIL_TEXT_LEN];     // SMTP-AUTH password
    char mail_from[MAIL_TEXT_LEN];     // sender: user "@" domain, or empty
    char mail_to1[MAIL_TEXT_LEN];      // recipient 1
    char mail_to2[MAIL_TEXT_LEN];      // recipient 2
    char mail_subject[MAIL_TEXT_LEN];  // subject of the alert mails
    int di_mode[MAIL_DI_ROWS];         // per input row: 0 no mail, 1 mail on ON, 2 mail on OFF
    int ai_led[MAIL_AI_INPUTS];        // LED lit 0 inside, 1 outside Low..High
    int ai_mail[MAIL_AI_INPUTS];       // mail 0 never, 1 when the LED lights, 2 when it goes out
    int ai_high[MAIL_AI_INPUTS];       // threshold High, a threshold code
    int ai_low[MAIL_AI_INPUTS];        // threshold Low, a threshold code
    int di_any;                        // 1 when some input row sends mail (set on apply)
    int do_enable[MAIL_DO_COUNT];      // DO alert started (1) or stopped (0)
    int do_ai[MAIL_DO_COUNT];          // watched analog input as read (0..2 in use, 0..7 possible)
    int do_dir[MAIL_DO_COUNT];         // 1 ON priority, 0 OFF priority
    int do_width[MAIL_DO_COUNT];       // hysteresis width, a width code
    int ai_range[MAIL_AI_INPUTS];      // input range 0..6 (low nibble as read: 0..15)
    int di_rows;                       // digital-input rows, 0..7
    int di_cols;                       // cells per digital-input row: 0, 2 or 3
};

extern MailSet mailset;
extern int mailselect_mode;  // current item of the screen, 1..17

// ---- the screen ----
int SetMailAlertMenu(int unit);  // 1 written, 0 a read failed, -2 Esc or a write failed, -1 F9
void DeleteMailMenu();
int loop_smtpset(int unit);
int loop_smtpport(int unit);
int loop_smtpauth(int unit);
int loop_mailfrom(int unit);
int loop_mailto1();
int loop_mailto2();
int loop_setmsg(int unit);
int loop_sendmailset(int unit);
int SetAuthMenu();  // 0 OK, -2 Esc, -1 F9
int OnOKMailSet(int unit);  // 0 the unit settings were sent, -1 after a failure

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

// The sender and recipient checks: null when the text may be stored, else
// the reason shown under "入力エラー".
const char* check_mail_from(const char* text);
const char* check_mail_to(const char* text);

// ---- digital-input rows ----
int InitDIMenu(int unit);  // 0, or -1 after a read failure (message shown, windows deleted)
int loop_setdi(int unit, int mode);
int OnChangeSelDI(int item);
// Rows and cells per row of a unit (di_rows, di_cols).
void mail_di_layout(int model, int modtype, int* rows, int* cols);

// ---- analog thresholds ----
extern const char* RangeUnit[8];
int EncodeThresholdStr(const char* text);
void DecodeThresholdStr(int code, char* buffer, size_t size = THRESHOLD_TEXT_LEN);
int EncodeThresholdStrRange(const char* text, int range, int is_width);
void DecodeThresholdStrRange(int code, char* buffer, int range, int is_width,
                             size_t size = THRESHOLD_TEXT_LEN);
int GetAIrange(int unit, int input, int* range);
int loop_analog(int unit);
int SetAnalogMenu(int unit);  // 0 OK, -2 Esc, -1 F9
int OnChangeCurAna(int column);
// Analog inputs of a model (0, 2 or 3) and columns of its threshold window (3 or 4).
int mail_ai_inputs(int model);
int mail_ai_columns(int model);

// ---- DO alerts (model 10) ----
int GetDOalertset(int unit, int d, int* enable, int* input, int* direction, int* width);
int SendDOalertset(int unit, int d, int enable, int input, int direction, int width);
int loop_doalert(int unit);
int SetDOAlertMenu(int unit, int k);  // 0, or -1 for F9
void RefreshParents_DO();
