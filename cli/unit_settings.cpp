// Reading a unit's settings groups into one UnitSettings.
#include "cli/unit_settings.h"

#include <cstdio>
#include <cstring>

#include "device/KIVRAXPort.h"

namespace {

unsigned mail_parts(unsigned groups)
{
    unsigned parts = 0;
    if (groups & group_bit(SettingsGroup::MailServer)) parts |= MAIL_SERVER;
    if (groups & group_bit(SettingsGroup::DiMail)) parts |= MAIL_DI;
    if (groups & group_bit(SettingsGroup::Thresholds)) parts |= MAIL_THRESHOLDS;
    if (groups & group_bit(SettingsGroup::DoAlerts)) parts |= MAIL_DO;
    return parts;
}

}  // namespace

const char* step_failure(const StepResult& r, const char* step, char* why, size_t size)
{
    const char* text = r.log != nullptr ? r.log : r.message != nullptr ? r.message : "failed";
    const int n = static_cast<int>(std::strcspn(text, "\n"));
    std::snprintf(why, size, "%s: %.*s", step, n, text);
    return why;
}

void unit_identity(int i, UnitSettings* out)
{
    const DeviceEntry& e = xportset[i];
    std::memcpy(out->mac, e.mac, 6);
    out->address = e.addr.sin_addr.s_addr;
    out->model = e.model;
    out->modtype = e.modtype;
    out->unit_id = e.unit_id;
    GetModelText(i, out->model_name, sizeof out->model_name);
}

const char* read_unit_settings(int i, unsigned groups, UnitSettings* out, char* why, size_t size)
{
    unit_identity(i, out);
    const unsigned has = groups & settings_groups_of(out->model, out->modtype);
    out->present = SettingsPresent{};
    StepResult r;
    if (has & group_bit(SettingsGroup::Ip)) {
        r = read_ip_settings(i, out->ip);
        if (!r.ok()) return step_failure(r, "reading the IP settings", why, size);
    }
    if (has & group_bit(SettingsGroup::InputExtension)) {
        r = read_ext_settings(i, out->ext);
        if (!r.ok()) return step_failure(r, "reading the input extension", why, size);
    }
    if (mail_parts(has) != 0) {
        r = read_mail_alert(i, out->mail, mail_parts(has));
        if (!r.ok()) return step_failure(r, "reading the mail alert settings", why, size);
    }
    if (has & group_bit(SettingsGroup::AnalogInput)) {
        r = read_analog_input(i, out->ai);
        if (!r.ok()) return step_failure(r, "reading the analog inputs", why, size);
    }
    if (has & group_bit(SettingsGroup::AnalogInputV2)) {
        r = read_analog_input_v2(i, out->ai2);
        if (!r.ok()) return step_failure(r, "reading the analog inputs", why, size);
    }
    if (has & group_bit(SettingsGroup::AnalogOutput)) {
        r = read_analog_output(i, out->ao);
        if (!r.ok()) return step_failure(r, "reading the analog outputs", why, size);
    }
    out->present.groups = has;
    settings_default_scales(*out);
    return nullptr;
}
