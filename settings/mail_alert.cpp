// The reads and the apply of the mail alert groups as step tables, in the
// order the mail alert screen makes them, and each group alone.
#include "settings/mail_job.h"

#include "base/message_rows.h"

namespace {

constexpr const char* kComm = "通信エラー";
constexpr int kMailRow = 10;  // the screen's own reads, the refusal and the mail server writes
constexpr int kUnitRow = 15;  // the digital-input reads and every unit command of the apply

// ---- when a step applies ----

bool wants_server(int, const MailJob& j) { return j.asks(MAIL_SERVER); }
bool wants_di(int, const MailJob& j) { return j.asks(MAIL_DI) && j.has.di_cols != 0; }
template <DiWay W>
bool di_by(int unit, const MailJob& j)
{
    return wants_di(unit, j) && j.has.di_way == W;
}
bool di_rows_out(int, const MailJob& j) { return j.asks(MAIL_DI) && j.has.di_rows != 0; }
template <DiWay W>
bool di_out_by(int unit, const MailJob& j)
{
    return di_rows_out(unit, j) && j.has.di_way == W;
}
template <int N>
bool has_input(int, const MailJob& j)
{
    return j.asks(MAIL_THRESHOLDS) && N < j.has.ai_inputs;
}
bool any_input(int unit, const MailJob& j) { return has_input<0>(unit, j); }
bool has_range(int, const MailJob& j) { return j.asks(MAIL_THRESHOLDS) && j.has.ai_range; }
template <int D>
bool has_do(int, const MailJob& j)
{
    return j.asks(MAIL_DO) && D < j.has.do_count;
}
// Model 10 is given its pause after the DO alert and range reads.
bool do_or_range(int unit, const MailJob& j) { return has_do<0>(unit, j) || has_range(unit, j); }
bool server_on_wifi(int, const MailJob& j) { return j.asks(MAIL_SERVER) && !j.has.records; }
bool records_out(int, const MailJob& j)
{
    return j.has.records && (j.asks(MAIL_SERVER) || (j.asks(MAIL_DI_BITS) && j.has.di_bits));
}
// Record 1 goes only to "GC" units whose credentials are to be set.
bool record1_out(int unit, const MailJob& j)
{
    return records_out(unit, j) && j.asks(MAIL_SERVER) && j.has.auth && j.v.server.auth_send == 1;
}

// ---- the thresholds and DO alerts ----

template <int N>
int read_threshold(int unit, MailJob& j)
{
    AnalogThresholds& t = j.v.thresholds;
    return GetADCThreshold(unit, N, &t.ai_led[N], &t.ai_mail[N], &t.ai_high[N], &t.ai_low[N]);
}
template <int N>
int read_range(int unit, MailJob& j)
{
    return GetAIrange(unit, N, &j.v.thresholds.ai_range[N]);
}
template <int D>
int read_do(int unit, MailJob& j)
{
    DoAlerts& a = j.v.do_alerts;
    return GetDOalertset(unit, D, &a.do_enable[D], &a.do_ai[D], &a.do_dir[D], &a.do_width[D]);
}
template <int N>
int write_threshold(int unit, MailJob& j)
{
    const AnalogThresholds& t = j.v.thresholds;
    return SetADCThreshold(unit, N, t.ai_led[N], t.ai_mail[N], t.ai_high[N], t.ai_low[N]);
}
template <int D>
int write_do(int unit, MailJob& j)
{
    const DoAlerts& a = j.v.do_alerts;
    return SendDOalertset(unit, D, a.do_enable[D], a.do_ai[D], a.do_dir[D], a.do_width[D]);
}

// ---- records ----

int write_record1(int unit, MailJob& j) { return mail_write_record(unit, j.r1); }
template <int R>
int write_record(int unit, MailJob& j)
{
    const uint8_t* const images[] = {j.r3, j.r4, j.r5, j.r6, j.r7};
    return mail_write_record(unit, images[R - 3]);
}

// ---- the tables ----

#define READ_AI(n)                                                                        \
    {                                                                                     \
        .exchange = read_threshold<n>, .pause_ms = 20, .message = kComm, .row = kMailRow, \
        .log = "getadcthreshold failed\n", .applies = has_input<n>                        \
    }
#define READ_DO(d)                                                                 \
    {                                                                              \
        .exchange = read_do<d>, .pause_ms = 20, .message = kComm, .row = kMailRow, \
        .log = "getdoalertset failed\n", .applies = has_do<d>                      \
    }
#define READ_RANGE(n)                                                                 \
    {                                                                                 \
        .exchange = read_range<n>, .pause_ms = 20, .message = kComm, .row = kMailRow, \
        .log = "getairange failed\n", .applies = has_range                            \
    }

// The records or a WiFi module's keys (and with them the command port) are
// read first when they were not read yet; once read this sends nothing.
constexpr SettingsStep<MailJob> kEnsure = {
    .exchange = mail_ensure_read, .message = kComm, .row = MSG_ROW_MENU};

constexpr SettingsStep<MailJob> kRead[] = {
    kEnsure,
    {.exchange = mail_take_server, .applies = wants_server},
    {.exchange = di_read_enable,
     .pause_ms = 20,
     .message = kComm,
     .row = kUnitRow,
     .log = "getdimailenable failed\n",
     .applies = di_by<DiWay::Accessors>},
    {.exchange = di_read_logic,
     .pause_ms = 30,
     .message = kComm,
     .row = kUnitRow,
     .log = "getdimailelogic failed\n",
     .applies = di_by<DiWay::Accessors>},
    {.exchange = di_read_memory,
     .message = kComm,
     .row = kUnitRow,
     .log = "sendrecv failed\n",
     .applies = di_by<DiWay::Memory>},
    {.exchange = di_read_record6, .applies = di_by<DiWay::Record6>},
    {.exchange = di_take_modes, .applies = wants_di},
    READ_AI(0),
    READ_AI(1),
    READ_AI(2),
    {.pause_ms = 20, .applies = any_input},
    READ_DO(0),
    READ_DO(1),
    READ_RANGE(0),
    READ_RANGE(1),
    READ_RANGE(2),
    {.pause_ms = 20, .applies = do_or_range},
};

#define WRITE_AI(n)                             \
    {.exchange = write_threshold<n>,            \
     .message = kComm,                          \
     .row = kUnitRow,                           \
     .log = "threshold setting send error\n",   \
     .applies = has_input<n>},                  \
    {                                           \
        .pause_ms = 20, .applies = has_input<n> \
    }
#define WRITE_DO(d)                          \
    {.exchange = write_do<d>,                \
     .message = kComm,                       \
     .row = kUnitRow,                        \
     .log = "DOalert setting send error\n",  \
     .applies = has_do<d>},                  \
    {                                        \
        .pause_ms = 20, .applies = has_do<d> \
    }
#define WRITE_RECORD(r)                                                           \
    {                                                                             \
        .exchange = write_record<r>, .message = "通信エラー" #r, .row = kMailRow, \
        .log = "sending setuprecord" #r " failed\n", .applies = records_out       \
    }

// A value a WiFi module's text cannot carry is the operator's to change,
// so the text is built before anything is sent.
constexpr int kLastRefusal = 1;
constexpr int kFirstServerWrite = 18;
constexpr SettingsStep<MailJob> kApply[] = {
    kEnsure,
    {.exchange = mail_build_wifi_text,
     .message = "入力エラー",
     .row = kMailRow,
     .log = "mail setting holds a line break, not sent\n",
     .applies = server_on_wifi},
    {.exchange = di_make_masks, .applies = di_rows_out},
    {.exchange = di_write_memory,
     .pause_ms = 10,
     .message = kComm,
     .row = kUnitRow,
     .log = "sendrecv failed\n",
     .applies = di_out_by<DiWay::Memory>},
    {.pause_ms = 20, .applies = di_out_by<DiWay::Memory>},
    {.exchange = di_write_enable,
     .message = kComm,
     .row = kUnitRow,
     .log = "dimail setting send error\n",
     .applies = di_out_by<DiWay::Accessors>},
    {.exchange = di_write_logic,
     .pause_ms = 20,
     .message = kComm,
     .row = kUnitRow,
     .log = "maillogic setting send error\n",
     .applies = di_out_by<DiWay::Accessors>},
    {.pause_ms = 20, .applies = di_rows_out},
    WRITE_AI(0),
    WRITE_AI(1),
    WRITE_AI(2),
    WRITE_DO(0),
    WRITE_DO(1),
    {.exchange = mail_send_wifi_text,
     .message = "通信エラー1",
     .row = kMailRow,
     .log = "sending setuprecord1 failed\n",
     .applies = server_on_wifi},
    {.exchange = mail_build_records, .applies = records_out},
    {.exchange = write_record1,
     .message = "通信エラー1",
     .row = kMailRow,
     .log = "sending setuprecord1 failed\n",
     .applies = record1_out},
    WRITE_RECORD(3),
    WRITE_RECORD(4),
    WRITE_RECORD(5),
    WRITE_RECORD(6),
    WRITE_RECORD(7),
};
static_assert(kApply[kLastRefusal].exchange == mail_build_wifi_text);
static_assert(kApply[kFirstServerWrite].exchange == mail_send_wifi_text);

#undef READ_AI
#undef READ_DO
#undef READ_RANGE
#undef WRITE_AI
#undef WRITE_DO
#undef WRITE_RECORD

bool in_table(int unit) { return unit >= 0 && unit < xportcount && unit < XPORT_MAX; }
StepResult no_unit() { return settings_failure(0, nullptr, nullptr, 0, nullptr); }

MailJob job(int unit, MailAlertSettings& values, unsigned parts)
{
    return MailJob{.v = values,
                   .parts = parts,
                   .has = mail_presence(xportset[unit].model, xportset[unit].modtype)};
}

}  // namespace

bool operator==(const MailAlertSettings& a, const MailAlertSettings& b)
{
    return a.server == b.server && a.di == b.di && a.thresholds == b.thresholds &&
           a.do_alerts == b.do_alerts;
}

StepResult read_mail_alert(int unit, MailAlertSettings& values, unsigned parts)
{
    if (!in_table(unit)) return no_unit();
    if ((parts & MAIL_THRESHOLDS) != 0) values.thresholds = AnalogThresholds{};
    if ((parts & MAIL_DO) != 0) values.do_alerts = DoAlerts{};
    MailJob j = job(unit, values, parts);
    return run_settings_steps(kRead, unit, j);
}

StepResult apply_mail_alert(int unit, const MailAlertSettings& values, unsigned parts)
{
    if (!in_table(unit)) return no_unit();
    MailAlertSettings sent = values;
    MailJob j = job(unit, sent, parts);
    return run_settings_steps(kApply, unit, j);
}

MailStop mail_apply_stop(const StepResult& r)
{
    if (r.ok()) return MailStop::None;
    if (r.failed <= kLastRefusal) return MailStop::Refused;
    return r.failed < kFirstServerWrite ? MailStop::UnitSettings : MailStop::MailServer;
}
