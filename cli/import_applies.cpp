// The applies of an import as a table: the input extension, the mail alert
// groups (one apply for all of them that change, so the records go out
// once), the analog settings, and the IP address last.
#include "cli/import_applies.h"

#include "device/KIVRAXPort.h"

namespace {

constexpr unsigned bit(SettingsGroup g) { return group_bit(g); }
constexpr unsigned kMailGroups = bit(SettingsGroup::MailServer) | bit(SettingsGroup::DiMail) |
                                 bit(SettingsGroup::Thresholds) | bit(SettingsGroup::DoAlerts);

bool always(int, unsigned) { return true; }
bool never(int, unsigned) { return false; }

StepResult apply_ext(int unit, const UnitSettings& v, unsigned)
{
    ExtSettings values = v.ext;
    return apply_ext_settings(unit, values);
}
bool ext_refused(const StepResult& r) { return r.failed < EXT_APPLY_REFUSALS; }

unsigned mail_parts(unsigned groups)
{
    unsigned parts = 0;
    if (groups & bit(SettingsGroup::MailServer)) parts |= MAIL_SERVER;
    // The rows' bits in records 6 and 7 go with them, as when the screen applies them.
    if (groups & bit(SettingsGroup::DiMail)) parts |= MAIL_DI | MAIL_DI_BITS;
    if (groups & bit(SettingsGroup::Thresholds)) parts |= MAIL_THRESHOLDS;
    if (groups & bit(SettingsGroup::DoAlerts)) parts |= MAIL_DO;
    return parts;
}
StepResult apply_mail(int unit, const UnitSettings& v, unsigned groups)
{
    return apply_mail_alert(unit, v.mail, mail_parts(groups));
}
bool mail_refused(const StepResult& r) { return mail_apply_stop(r) == MailStop::Refused; }
// The records (or a WiFi module's mail text) go out with the server, and
// with the rows where the unit keeps bits of them in its records.
bool mail_restarts(int unit, unsigned groups)
{
    const MailPresence has = mail_presence(unit_model(unit), unit_modtype(unit));
    const unsigned parts = mail_parts(groups);
    return (parts & MAIL_SERVER) != 0 || (has.records && has.di_bits && (parts & MAIL_DI) != 0);
}

template <class G, G UnitSettings::*Member, StepResult (*Apply)(int, G&)>
StepResult apply_etc(int unit, const UnitSettings& v, unsigned)
{
    G values = v.*Member;
    return Apply(unit, values);
}
bool etc_refused(const StepResult& r) { return r.failed < ETC_APPLY_REFUSALS; }

StepResult apply_ip(int unit, const UnitSettings& v, unsigned)
{
    IpSettings values = v.ip;
    return apply_ip_settings(unit, values);
}
bool ip_refused(const StepResult& r)
{
    return r.failed == IP_STEP_PING || r.failed == IP_STEP_DHCP_WIFI ||
           r.failed == IP_STEP_OUTSIDE_WIFI || r.failed == IP_STEP_MASK;
}

}  // namespace

const GroupApply import_applies[] = {
    {bit(SettingsGroup::InputExtension), "writing the input extension", apply_ext, ext_refused,
     always},
    {kMailGroups, "writing the mail alert settings", apply_mail, mail_refused, mail_restarts},
    {bit(SettingsGroup::AnalogInput), "writing the analog inputs",
     apply_etc<AnalogInputSettings, &UnitSettings::ai, apply_analog_input>, etc_refused, never},
    {bit(SettingsGroup::AnalogInputV2), "writing the analog inputs",
     apply_etc<AnalogInputV2Settings, &UnitSettings::ai2, apply_analog_input_v2>, etc_refused,
     never},
    {bit(SettingsGroup::AnalogOutput), "writing the analog outputs",
     apply_etc<AnalogOutputSettings, &UnitSettings::ao, apply_analog_output>, etc_refused, never},
    {bit(SettingsGroup::Ip), "writing the IP settings", apply_ip, ip_refused, always},
};
const int import_apply_count = sizeof import_applies / sizeof import_applies[0];
