// The mail alert groups of a unit: the mail server (where alert mails go
// and from whom), the digital-input mail rows, the analog thresholds and the
// DO alerts of model 10. Each is a struct of its own with its own read and
// apply, so any of them can be read, compared and written alone; the mail
// alert screen reads and applies them together, in its order.
//
// Where the values live depends on the unit: the mail server in setup
// records 1 and 3..7 of an XPort unit or in the mail keys of a WiFi module;
// the digital-input rows in controller parameters, in memory at 0x0432 or
// in record 6 bits; thresholds, ranges and DO alerts behind the lettered
// commands "AK"/"AL", "AJ" and "DJ"/"DL"/"DS". Records are written from the
// images read from the unit, so only the bytes of the groups applied change.
#pragma once

#include "settings/settings_steps.h"
#include "settings/threshold_text.h"

constexpr int MAIL_TEXT_LEN = 256;  // every text of the mail server
constexpr int MAIL_DI_ROWS = 7;     // digital-input rows at most
constexpr int MAIL_AI_INPUTS = 3;   // analog inputs at most
constexpr int MAIL_DO_COUNT = 2;    // DO1, DO2

// The mail server. Texts end at their first zero byte; what follows it is
// not part of the value (compare with ==).
struct MailServer {
    char smtp_server[MAIL_TEXT_LEN];   // dotted address (plain XPort) or host name ("GC", WiFi)
    int smtp_port;                     // mail server port (low 16 bits written to a record)
    int auth_send;                     // "GC" unit: 1 writes record 1 with the credentials
    char auth_user[MAIL_TEXT_LEN];     // SMTP-AUTH user ("GC": never read, empty after a read)
    char auth_pass[MAIL_TEXT_LEN];     // SMTP-AUTH password (likewise)
    char mail_from[MAIL_TEXT_LEN];     // sender: user "@" domain, or empty
    char mail_to1[MAIL_TEXT_LEN];      // recipient 1
    char mail_to2[MAIL_TEXT_LEN];      // recipient 2
    char mail_subject[MAIL_TEXT_LEN];  // subject of the alert mails
};
bool operator==(const MailServer& a, const MailServer& b);

// Per digital-input row, what sends a mail.
enum DiMailMode { DI_MAIL_OFF = 0, DI_MAIL_ON_ON = 1, DI_MAIL_ON_OFF = 2 };
struct DiMail {
    int di_mode[MAIL_DI_ROWS];  // DiMailMode per row; rows the unit does not have stay 0
    bool operator==(const DiMail&) const = default;
};

// Per analog input: thresholds as codes (threshold_text.h converts them to
// percent or to the unit of the input's range), the LED condition and the
// mail mode.
struct AnalogThresholds {
    int ai_low[MAIL_AI_INPUTS];    // threshold Low, a threshold code
    int ai_high[MAIL_AI_INPUTS];   // threshold High, a threshold code
    int ai_led[MAIL_AI_INPUTS];    // LED lit 0 inside, 1 outside Low..High
    int ai_mail[MAIL_AI_INPUTS];   // mail 0 never, 1 when the LED lights, 2 when it goes out
    int ai_range[MAIL_AI_INPUTS];  // input range as read ("AJ", model 10; 0..6 have a
                                   // unit, up to 15 possible); read only, never written here
    bool operator==(const AnalogThresholds&) const = default;
};

// Per DO of model 10. Its LED condition and thresholds are those of the
// watched input (AnalogThresholds).
struct DoAlerts {
    int do_enable[MAIL_DO_COUNT];  // alert started (1) or stopped (0)
    int do_ai[MAIL_DO_COUNT];      // watched analog input (0..2 in use, 0..7 possible)
    int do_dir[MAIL_DO_COUNT];     // 1 ON priority, 0 OFF priority
    int do_width[MAIL_DO_COUNT];   // hysteresis width, a width code
    bool operator==(const DoAlerts&) const = default;
};

// Everything the mail alert screen edits.
struct MailAlertSettings {
    MailServer server;
    DiMail di;
    AnalogThresholds thresholds;
    DoAlerts do_alerts;
};
bool operator==(const MailAlertSettings& a, const MailAlertSettings& b);

// ---- what a unit has ----

// How a unit keeps its digital-input rows.
enum class DiWay {
    None,       // no rows
    Accessors,  // controller parameters (mail enable and mail logic masks)
    Memory,     // memory at 0x0432: logic mask, enable mask
    Record6,    // bits of record 6 (and trigger bytes of record 7 on "GC" units)
};

// Which parts of the mail alert groups a unit of this model and module kind
// has. Fields that a unit does not have are read as 0 and never written.
struct MailPresence {
    bool exists;    // the unit has mail alerts at all
    bool named;     // the server is a host name ("GC", WiFi), else a dotted address
    bool auth;      // SMTP-AUTH credentials ("GC": record 1, written only; WiFi: keys)
    bool records;   // the server lives in setup records (XPort), else in WiFi keys
    int di_rows;    // digital-input rows, 0..7
    int di_cols;    // choices per row: 0 no section, 2 (off, on) or 3 (off, on ON, on OFF)
    DiWay di_way;   // how the rows are read and written
    bool di_bits;   // applying the rows also changes record 6/7 bits
    int ai_inputs;  // analog inputs with thresholds: 0, 2 or 3
    bool ai_mail;   // the mail mode is edited (models 8, 10); else written back as read
    bool ai_range;  // the input ranges are read (model 10)
    int do_count;   // DO alerts: 2 on model 10, else 0
};
MailPresence mail_presence(int model, int modtype);

// ---- reads and applies ----

// The parts a read or an apply touches, as bits.
enum MailPart : unsigned {
    MAIL_SERVER = 1u << 0,      // the mail server (records or WiFi text)
    MAIL_DI = 1u << 1,          // the digital-input rows' unit commands
    MAIL_DI_BITS = 1u << 2,     // the rows' bits in records 6 and 7 (XPort; records go out)
    MAIL_THRESHOLDS = 1u << 3,  // thresholds (and the ranges when read)
    MAIL_DO = 1u << 4,          // DO alerts
    MAIL_ALL = 0x1Fu,
};

// Both take the unit's model and module kind as its entry holds them, and
// first read what was not read of the unit yet (records, a WiFi module's
// keys; "通信エラー" at the settings menu's row, nothing sent).
//
// Reads the parts of one unit into values, in the screen's order: the mail
// server, the digital-input rows (each failure "通信エラー" at row 15), the
// thresholds, the DO alerts and the ranges (row 10). Parts not asked for
// keep their values.
StepResult read_mail_alert(int unit, MailAlertSettings& values, unsigned parts = MAIL_ALL);
// Writes the parts, in the screen's order: a mail server value a WiFi
// module cannot take is refused first ("入力エラー", row 10) with nothing
// sent; then the digital-input rows, the thresholds and the DO alerts (each
// failure "通信エラー" at row 15); then the mail server as the WiFi text
// ("通信エラー1") or records 1 (a "GC" unit with auth_send) and 3..7
// ("通信エラーN", row 10), after which the unit restarts. The first failure
// stops everything after it.
StepResult apply_mail_alert(int unit, const MailAlertSettings& values, unsigned parts = MAIL_ALL);

// Where a failed apply stopped.
enum class MailStop {
    None,          // nothing failed
    Refused,       // a value the unit cannot take; nothing was sent
    UnitSettings,  // a digital-input, threshold or DO alert write
    MailServer,    // the WiFi text or a record write; the unit settings were written
};
MailStop mail_apply_stop(const StepResult& r);

// One group alone. The mail server's records keep the rows' bits as read;
// the rows' apply writes records 3..7 with the server as read when the unit
// keeps bits of them there.
StepResult read_mail_server(int unit, MailServer& out);
StepResult read_di_mail(int unit, DiMail& out);
StepResult read_thresholds(int unit, AnalogThresholds& out);
StepResult read_do_alerts(int unit, DoAlerts& out);
StepResult apply_mail_server(int unit, const MailServer& values);
StepResult apply_di_mail(int unit, const DiMail& values);
StepResult apply_thresholds(int unit, const AnalogThresholds& values);
StepResult apply_do_alerts(int unit, const DoAlerts& values);

// The sender and recipient checks: null when the text may be stored, else
// the reason shown under "入力エラー".
const char* check_mail_from(const char* text);
const char* check_mail_to(const char* text);

// The unit accessors of the analog inputs and DO alerts: 0, or -1 when the
// exchange failed (nothing stored).
int GetAIrange(int unit, int input, int* range);
int GetDOalertset(int unit, int d, int* enable, int* input, int* direction, int* width);
// "DL", 20 ms, "DS"; "DS" is not sent when "DL" failed.
int SendDOalertset(int unit, int d, int enable, int input, int direction, int width);
