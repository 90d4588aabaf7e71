// The field tables of the settings groups: one row per field, read top to
// bottom like the file (docs/settings-file.md). A field that differs by
// model or module kind (a range, a choice table, a room) is two rows with
// the same key whose `items` never both hold for one unit.
#include "cli/settings_file.h"

#include <cstdio>
#include <cstring>

#include "ui/choice_tables.h"

namespace {

using S = UnitSettings;
using F = SettingsField;
using G = SettingsGroup;

// ---- which units have a field, and how many items ----

bool has_group(G g, int model, int modtype)
{
    return (settings_groups_of(model, modtype) & group_bit(g)) != 0;
}
template <G Grp>
int whole_group(int m, int t)
{
    return has_group(Grp, m, t) ? 1 : 0;
}

int ext_connections(int m, int t)
{
    return ext_parts(m, t).group ? (ext_parts(m, t).one_to_n ? 3 : 1) : 0;
}
int ext_requests(int m, int t)
{
    return ext_parts(m, t).request ? (ext_parts(m, t).one_to_n ? 2 : 1) : 0;
}
int ext_dests(int m, int t)
{
    return ext_parts(m, t).group ? (ext_parts(m, t).one_to_n ? 2 : 1) : 0;
}
int ext_1ton(int m, int t) { return ext_parts(m, t).one_to_n ? 1 : 0; }
int ext_plain_dests(int m, int t) { return ext_parts(m, t).dest_host ? 0 : ext_dests(m, t); }
int ext_named_dests(int m, int t) { return ext_parts(m, t).dest_host ? ext_dests(m, t) : 0; }
int ext_disc(int m, int t) { return ext_parts(m, t).disc ? 1 : 0; }
bool lettered_notice(int m) { return m == 8 || m == 10; }
int ext_notice(int m, int t) { return ext_parts(m, t).notice && !lettered_notice(m) ? 1 : 0; }
int ext_notice_a(int m, int t) { return ext_parts(m, t).notice && lettered_notice(m) ? 1 : 0; }
bool wide_chatter(int m) { return m == 9 || m == 11; }
int ext_chat(int m, int t) { return ext_parts(m, t).chat && !wide_chatter(m) ? 1 : 0; }
int ext_chat_wide(int m, int t) { return ext_parts(m, t).chat && wide_chatter(m) ? 1 : 0; }

int mail_any(int m, int t) { return mail_presence(m, t).exists ? 1 : 0; }
int mail_dotted(int m, int t) { return mail_any(m, t) && !mail_presence(m, t).named ? 1 : 0; }
int mail_named(int m, int t) { return mail_any(m, t) && mail_presence(m, t).named ? 1 : 0; }
int mail_gc(int m, int t) { return mail_any(m, t) && is_gc(t) ? 1 : 0; }
int mail_wifi(int m, int t) { return mail_any(m, t) && is_wifi(t) ? 1 : 0; }
int di_rows3(int m, int t)
{
    const MailPresence p = mail_presence(m, t);
    return p.exists && p.di_cols == 3 ? p.di_rows : 0;
}
int di_rows2(int m, int t)
{
    const MailPresence p = mail_presence(m, t);
    return p.exists && p.di_cols == 2 ? p.di_rows : 0;
}
int ai_inputs(int m, int t) { return mail_any(m, t) ? mail_presence(m, t).ai_inputs : 0; }
int ai_ranged(int m, int t) { return mail_presence(m, t).ai_range ? ai_inputs(m, t) : 0; }
int ai_mailed(int m, int t) { return mail_presence(m, t).ai_mail ? ai_inputs(m, t) : 0; }
int do_count(int m, int t) { return mail_any(m, t) ? mail_presence(m, t).do_count : 0; }
int v1_channels(int m, int t) { return etc_parts(m, t).input ? ANALOG_CHANNELS : 0; }
int v2_channels(int m, int t) { return etc_parts(m, t).input_v2 ? ANALOG_CHANNELS : 0; }
int outputs(int m, int t) { return etc_parts(m, t).outputs; }

// ---- rooms: bytes a text may have, its terminator excluded ----

int dest_room(int, int) { return EXT_DEST_LEN - 1; }
int dotted_room(int, int) { return 15; }
// The records' rooms of an XPort unit, a WiFi module's key values.
template <int Records, int Gc = Records>
int record_room(int, int t)
{
    return is_wifi(t) ? MAIL_TEXT_LEN - 1 : is_gc(t) ? Gc : Records;
}

// ---- choice texts of the file's own choices ----

const char* const kDiModes3[] = {"never", "on", "off"};
const char* const kDiModes2[] = {"never", "on"};
const char* const kLed[] = {"inside", "outside"};
const char* const kAiMail[] = {"never", "led_on", "led_off"};
const char* const kInputs[] = {"ai1", "ai2", "ai3"};
const char* const kDirection[] = {"off_priority", "on_priority"};
const char* const kKinds[] = {"unknown", "voltage", "current"};  // codes -1, 0, 1

#define REF(expr)               \
    +[](S& s, int i) -> void* { \
        (void)i;                \
        return &(expr);         \
    }
#define COUNT(a) static_cast<int>(sizeof(a) / sizeof((a)[0]))

int no_room(int, int) { return 0; }

}  // namespace

const SettingsField settings_fields[] = {
    // ip
    {G::Ip, nullptr, "dhcp", FieldType::Bool, 0, 1, nullptr, 0,
     +[](int m, int t) { return is_wifi(t) ? 0 : whole_group<G::Ip>(m, t); }, no_room, 0,
     REF(s.ip.dhcp)},
    // A WiFi module cannot take its address automatically.
    {G::Ip, nullptr, "dhcp", FieldType::Bool, 0, 0, nullptr, 0,
     +[](int m, int t) { return is_wifi(t) ? whole_group<G::Ip>(m, t) : 0; }, no_room, 0,
     REF(s.ip.dhcp)},
    {G::Ip, nullptr, "address", FieldType::Address, 0, 0, nullptr, 0, whole_group<G::Ip>, no_room,
     0, REF(s.ip.address)},
    {G::Ip, nullptr, "netmask", FieldType::Mask, 0, 0, nullptr, 0, whole_group<G::Ip>, no_room, 0,
     REF(s.ip.netmask)},
    {G::Ip, nullptr, "gateway", FieldType::Address, 0, 0, nullptr, 0, whole_group<G::Ip>, no_room,
     0, REF(s.ip.gateway)},

    // input_extension
    {G::InputExtension, nullptr, "tcp_1_to_n", FieldType::Bool, 0, 1, nullptr, 0, ext_1ton, no_room,
     0, REF(s.ext.tcp1ton)},
    {G::InputExtension, nullptr, "disconnection_time", FieldType::Choice, 0, 15, DiscTime, 16,
     ext_disc, no_room, 0, REF(s.ext.disc)},
    {G::InputExtension, nullptr, "periodic_notice", FieldType::Choice, 0, 4, AutoPeriod, 16,
     ext_notice, no_room, FIELD_UNSET_15, REF(s.ext.notice)},
    {G::InputExtension, nullptr, "periodic_notice", FieldType::Choice, 0, 13, AutoPeriodA, 16,
     ext_notice_a, no_room, 0, REF(s.ext.notice)},
    {G::InputExtension, nullptr, "chattering_ms", FieldType::Int, 4, 20, nullptr, 0, ext_chat,
     no_room, 0, REF(s.ext.chat)},
    {G::InputExtension, nullptr, "chattering_ms", FieldType::Int, 0, 20, nullptr, 0, ext_chat_wide,
     no_room, 0, REF(s.ext.chat)},
    {G::InputExtension, "connection", "port", FieldType::Int, 1, 65535, nullptr, 0, ext_connections,
     no_room, 0, REF(s.ext.port[i])},
    // Connection 1 always waits; connections 2 and 3,4 may.
    {G::InputExtension, "connection", "wait", FieldType::Bool, 0, 1, nullptr, 0,
     +[](int m, int t) { return ext_1ton(m, t) ? 3 : 0; }, no_room, FIELD_NOT_FIRST,
     REF(s.ext.wait[i])},
    {G::InputExtension, "connection", "request", FieldType::Bool, 0, 1, nullptr, 0, ext_requests,
     no_room, 0, REF(s.ext.request[i])},
    {G::InputExtension, "connection", "destination", FieldType::Dotted, 0, 0, nullptr, 0,
     ext_plain_dests, dotted_room, 0, REF(s.ext.dest[i])},
    {G::InputExtension, "connection", "destination", FieldType::Text, 0, 0, nullptr, 0,
     ext_named_dests, dest_room, 0, REF(s.ext.dest[i])},
    {G::InputExtension, "connection", "destination_port", FieldType::Int, 0, 65535, nullptr, 0,
     ext_dests, no_room, 0, REF(s.ext.dport[i])},

    // mail_server
    {G::MailServer, nullptr, "server", FieldType::Dotted, 0, 0, nullptr, 0, mail_dotted,
     dotted_room, 0, REF(s.mail.server.smtp_server)},
    {G::MailServer, nullptr, "server", FieldType::Text, 0, 0, nullptr, 0, mail_named,
     record_room<50>, 0, REF(s.mail.server.smtp_server)},
    {G::MailServer, nullptr, "port", FieldType::Int, 0, 65535, nullptr, 0, mail_any, no_room, 0,
     REF(s.mail.server.smtp_port)},
    // A "GC" unit takes its credentials in record 1, which it never reports.
    {G::MailServer, nullptr, "send_auth", FieldType::Int, 0, 1, nullptr, 0, mail_gc, no_room,
     FIELD_UNREPORTED, REF(s.mail.server.auth_send)},
    {G::MailServer, nullptr, "auth_user", FieldType::Text, 0, 0, nullptr, 0, mail_gc,
     record_room<44>, FIELD_UNREPORTED, REF(s.mail.server.auth_user)},
    {G::MailServer, nullptr, "auth_password", FieldType::Text, 0, 0, nullptr, 0, mail_gc,
     record_room<13>, FIELD_UNREPORTED | FIELD_SECRET, REF(s.mail.server.auth_pass)},
    {G::MailServer, nullptr, "auth_user", FieldType::Text, 0, 0, nullptr, 0, mail_wifi,
     record_room<0>, 0, REF(s.mail.server.auth_user)},
    {G::MailServer, nullptr, "auth_password", FieldType::Text, 0, 0, nullptr, 0, mail_wifi,
     record_room<0>, FIELD_SECRET, REF(s.mail.server.auth_pass)},
    // user@domain: each part at most 23 bytes in the records.
    {G::MailServer, nullptr, "from", FieldType::Text, 0, 0, nullptr, 0, mail_any, record_room<47>,
     FIELD_SENDER, REF(s.mail.server.mail_from)},
    {G::MailServer, nullptr, "to1", FieldType::Text, 0, 0, nullptr, 0, mail_any, record_room<48>,
     FIELD_RECIPIENT, REF(s.mail.server.mail_to1)},
    {G::MailServer, nullptr, "to2", FieldType::Text, 0, 0, nullptr, 0, mail_any, record_room<48>,
     FIELD_RECIPIENT, REF(s.mail.server.mail_to2)},
    {G::MailServer, nullptr, "subject", FieldType::Text, 0, 0, nullptr, 0, mail_any,
     record_room<28>, 0, REF(s.mail.server.mail_subject)},

    // di_mail
    {G::DiMail, "di", "mail", FieldType::Choice, 0, 2, kDiModes3, COUNT(kDiModes3), di_rows3,
     no_room, 0, REF(s.mail.di.di_mode[i])},
    {G::DiMail, "di", "mail", FieldType::Choice, 0, 1, kDiModes2, COUNT(kDiModes2), di_rows2,
     no_room, 0, REF(s.mail.di.di_mode[i])},

    // thresholds
    {G::Thresholds, "ai", "range", FieldType::Choice, 0, 15, AdcRangeV2, 16, ai_ranged, no_room,
     FIELD_READ_ONLY, REF(s.mail.thresholds.ai_range[i])},
    {G::Thresholds, "ai", "unit", FieldType::Unit, 0, 0, nullptr, 0, ai_inputs, no_room,
     FIELD_CONTEXT, REF(s.ai_scale[i])},
    {G::Thresholds, "ai", "low", FieldType::Threshold, 0, 0, nullptr, 0, ai_inputs, no_room, 0,
     REF(s.mail.thresholds.ai_low[i])},
    {G::Thresholds, "ai", "high", FieldType::Threshold, 0, 0, nullptr, 0, ai_inputs, no_room, 0,
     REF(s.mail.thresholds.ai_high[i])},
    {G::Thresholds, "ai", "led", FieldType::Choice, 0, 1, kLed, COUNT(kLed), ai_inputs, no_room, 0,
     REF(s.mail.thresholds.ai_led[i])},
    {G::Thresholds, "ai", "mail", FieldType::Choice, 0, 3, kAiMail, COUNT(kAiMail), ai_mailed,
     no_room, 0, REF(s.mail.thresholds.ai_mail[i])},

    // do_alerts
    {G::DoAlerts, "do", "enabled", FieldType::Int, 0, 1, nullptr, 0, do_count, no_room, 0,
     REF(s.mail.do_alerts.do_enable[i])},
    {G::DoAlerts, "do", "input", FieldType::Choice, 0, 7, kInputs, COUNT(kInputs), do_count,
     no_room, 0, REF(s.mail.do_alerts.do_ai[i])},
    {G::DoAlerts, "do", "direction", FieldType::Choice, 0, 1, kDirection, COUNT(kDirection),
     do_count, no_room, 0, REF(s.mail.do_alerts.do_dir[i])},
    {G::DoAlerts, "do", "range", FieldType::Range, 0, 15, AdcRangeV2, 16, do_count, no_room,
     FIELD_CONTEXT, REF(s.do_range[i])},
    {G::DoAlerts, "do", "unit", FieldType::Unit, 0, 0, nullptr, 0, do_count, no_room, FIELD_CONTEXT,
     REF(s.do_scale[i])},
    {G::DoAlerts, "do", "width", FieldType::Width, 0, 0, nullptr, 0, do_count, no_room, 0,
     REF(s.mail.do_alerts.do_width[i])},

    // analog_input (first generation)
    {G::AnalogInput, nullptr, "sampling", FieldType::Choice, 0, SAMPLING_CODE_MAX, AdcSamp, 16,
     +[](int m, int t) { return v1_channels(m, t) ? 1 : 0; }, no_room, 0, REF(s.ai.sampling)},
    {G::AnalogInput, "ai", "range", FieldType::Choice, 0, 15, AdcRange, 16, v1_channels, no_room, 0,
     REF(s.ai.range[i])},

    // analog_input_v2 (second generation)
    {G::AnalogInputV2, nullptr, "sampling", FieldType::Choice, 0, SAMPLING_CODE_MAX, AdcSamp, 16,
     +[](int m, int t) { return v2_channels(m, t) ? 1 : 0; }, no_room, 0, REF(s.ai2.sampling)},
    {G::AnalogInputV2, "ai", "range", FieldType::Choice, 0, 15, AdcRangeV2, 16, v2_channels,
     no_room, 0, REF(s.ai2.input[i].range)},
    {G::AnalogInputV2, "ai", "thermocouple", FieldType::Choice, 0, 15, TCType, 16, v2_channels,
     no_room, 0, REF(s.ai2.input[i].tc_type)},
    {G::AnalogInputV2, "ai", "cold_junction", FieldType::Bool, 0, 1, nullptr, 0, v2_channels,
     no_room, 0, REF(s.ai2.input[i].cold_junction)},
    {G::AnalogInputV2, "ai", "burnout_detection", FieldType::Bool, 0, 1, nullptr, 0, v2_channels,
     no_room, 0, REF(s.ai2.input[i].burnout_detection)},
    {G::AnalogInputV2, "ai", "burnout_high", FieldType::Bool, 0, 1, nullptr, 0, v2_channels,
     no_room, 0, REF(s.ai2.input[i].burnout_high)},
    {G::AnalogInputV2, "ai", "scale", FieldType::Choice, 0, 3, TFMode, 16, v2_channels, no_room, 0,
     REF(s.ai2.input[i].scale)},
    {G::AnalogInputV2, "ai", "scale_low", FieldType::Tenths, -32768, 32767, nullptr, 0, v2_channels,
     no_room, 0, REF(s.ai2.input[i].scale_low)},
    {G::AnalogInputV2, "ai", "scale_high", FieldType::Tenths, -32768, 32767, nullptr, 0,
     v2_channels, no_room, 0, REF(s.ai2.input[i].scale_high)},

    // analog_output
    {G::AnalogOutput, "ao", "kind", FieldType::Choice, AO_UNKNOWN, AO_CURRENT, kKinds,
     COUNT(kKinds), outputs, no_room, 0, REF(s.ao.output[i].kind)},
    {G::AnalogOutput, "ao", "value", FieldType::Output, 0, 0, nullptr, 0, outputs, no_room, 0,
     REF(s.ao.output[i])},
};
const int settings_field_count = COUNT(settings_fields);
static_assert(COUNT(settings_fields) <= SETTINGS_FIELDS_MAX);

namespace {

const char* const kGroupKeys[SETTINGS_GROUPS] = {
    "ip",        "input_extension", "mail_server",     "di_mail",       "thresholds",
    "do_alerts", "analog_input",    "analog_input_v2", "analog_output",
};

}  // namespace

const char* settings_group_key(SettingsGroup g)
{
    const int k = static_cast<int>(g);
    return k >= 0 && k < SETTINGS_GROUPS ? kGroupKeys[k] : "";
}

unsigned settings_groups_of(int model, int modtype)
{
    if (model < 0 || model > 15) return 0;
    unsigned g = group_bit(G::Ip);
    if (ext_parts(model, modtype).group) g |= group_bit(G::InputExtension);
    const MailPresence p = mail_presence(model, modtype);
    if (p.exists) g |= group_bit(G::MailServer);
    if (p.exists && p.di_rows > 0 && p.di_cols > 0) g |= group_bit(G::DiMail);
    if (p.exists && p.ai_inputs > 0) g |= group_bit(G::Thresholds);
    if (p.exists && p.do_count > 0) g |= group_bit(G::DoAlerts);
    const EtcParts e = etc_parts(model, modtype);
    if (e.input) g |= group_bit(G::AnalogInput);
    if (e.input_v2) g |= group_bit(G::AnalogInputV2);
    if (e.outputs > 0) g |= group_bit(G::AnalogOutput);
    return g;
}

unsigned settings_field_items(int f, int model, int modtype)
{
    if (f < 0 || f >= settings_field_count) return 0;
    const SettingsField& r = settings_fields[f];
    if ((settings_groups_of(model, modtype) & group_bit(r.group)) == 0) return 0;
    int n = r.items(model, modtype);
    n = n < 0 ? 0 : n > SETTINGS_ITEMS_MAX ? SETTINGS_ITEMS_MAX : n;
    unsigned mask = (1u << n) - 1;
    if (r.flags & FIELD_NOT_FIRST) mask &= ~1u;
    return mask;
}

void settings_default_scales(UnitSettings& s)
{
    const bool ranged = mail_presence(s.model, s.modtype).ai_range;
    const AnalogThresholds& t = s.mail.thresholds;
    auto scale_of = [&](int input) {
        if (!ranged || input < 0 || input >= MAIL_AI_INPUTS) return -1;
        const int r = t.ai_range[input];
        return r >= 0 && r < THRESHOLD_RANGES ? r : -1;
    };
    for (int k = 0; k < MAIL_AI_INPUTS; k++) s.ai_scale[k] = scale_of(k);
    for (int d = 0; d < MAIL_DO_COUNT; d++) {
        s.do_scale[d] = scale_of(s.mail.do_alerts.do_ai[d]);
        s.do_range[d] = s.do_scale[d];
    }
}

void settings_field_path(int f, int item, char* out, size_t size)
{
    if (out == nullptr || size == 0) return;
    out[0] = '\0';
    if (f < 0 || f >= settings_field_count) return;
    const SettingsField& r = settings_fields[f];
    if (r.item == nullptr)
        std::snprintf(out, size, "%s.%s", settings_group_key(r.group), r.key);
    else
        std::snprintf(out, size, "%s.%s%d.%s", settings_group_key(r.group), r.item, item + 1,
                      r.key);
}

const char* settings_module_name(int modtype)
{
    return is_wifi(modtype) ? "wifi" : is_gc(modtype) ? "gc" : "xport";
}

void settings_family(int model, int modtype, char out[16])
{
    std::snprintf(out, 16, "%d/%s", model, settings_module_name(modtype));
}
