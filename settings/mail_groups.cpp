// Each mail alert group read or applied alone: the tables of
// mail_alert.cpp with that group's parts.
#include "settings/mail_settings.h"

namespace {

template <class G>
StepResult read_part(int unit, G& out, G MailAlertSettings::*group, unsigned parts)
{
    MailAlertSettings all{};
    const StepResult r = read_mail_alert(unit, all, parts);
    out = all.*group;
    return r;
}

template <class G>
StepResult apply_part(int unit, const G& values, G MailAlertSettings::*group, unsigned parts)
{
    MailAlertSettings all{};
    all.*group = values;
    return apply_mail_alert(unit, all, parts);
}

}  // namespace

StepResult read_mail_server(int unit, MailServer& out)
{
    return read_part(unit, out, &MailAlertSettings::server, MAIL_SERVER);
}
StepResult read_di_mail(int unit, DiMail& out)
{
    return read_part(unit, out, &MailAlertSettings::di, MAIL_DI);
}
StepResult read_thresholds(int unit, AnalogThresholds& out)
{
    return read_part(unit, out, &MailAlertSettings::thresholds, MAIL_THRESHOLDS);
}
StepResult read_do_alerts(int unit, DoAlerts& out)
{
    return read_part(unit, out, &MailAlertSettings::do_alerts, MAIL_DO);
}

StepResult apply_mail_server(int unit, const MailServer& values)
{
    return apply_part(unit, values, &MailAlertSettings::server, MAIL_SERVER);
}
// The rows' bits in records 6 and 7 go with them.
StepResult apply_di_mail(int unit, const DiMail& values)
{
    return apply_part(unit, values, &MailAlertSettings::di, MAIL_DI | MAIL_DI_BITS);
}
StepResult apply_thresholds(int unit, const AnalogThresholds& values)
{
    return apply_part(unit, values, &MailAlertSettings::thresholds, MAIL_THRESHOLDS);
}
StepResult apply_do_alerts(int unit, const DoAlerts& values)
{
    return apply_part(unit, values, &MailAlertSettings::do_alerts, MAIL_DO);
}
