// One unit's import: read, plan, apply the groups that change one after the
// other with the unit found and read again after each restart, read back,
// and on a failure put back what was read before.
#include "cli/import_engine.h"

#include <cstdio>
#include <cstring>

#include "cli/import_applies.h"
#include "cli/plant_search.h"
#include "cli/unit_settings.h"
#include "device/KIVRAXPort.h"
#include "settings/unit_search.h"

namespace {

SettingsGroup group_of(int g) { return static_cast<SettingsGroup>(g); }

// The field rows compared after a write: what the unit reports of them.
bool compared(int f)
{
    return (settings_fields[f].flags & (FIELD_UNREPORTED | FIELD_CONTEXT)) == 0;
}

// The address, mask and gateway of a unit taking them by DHCP are the server's.
bool dhcp_decides(int f, const UnitSettings& wanted)
{
    return settings_fields[f].group == SettingsGroup::Ip && wanted.ip.dhcp &&
           std::strcmp(settings_fields[f].key, "dhcp") != 0;
}

// The groups of `groups` whose fields change.
unsigned changing(const ImportUnit& u, const UnitSettings& file)
{
    unsigned groups = 0;
    for (int f = 0; f < settings_field_count; f++)
        for (int k = 0; k < SETTINGS_ITEMS_MAX; k++)
            if (field_changes(f, k, u, file)) groups |= group_bit(settings_fields[f].group);
    return groups;
}

// Names the step that failed; progress on a terminal.
void fail(ImportUnit& u, const char* step, const char* words)
{
    std::snprintf(u.failure, sizeof u.failure, "%s%s", step, words);
}
void progress(const ImportOptions& opt, int i, const char* what)
{
    if (opt.io == nullptr || !opt.io->progress) return;
    char label[48];
    unit_label(i, label, sizeof label);
    std::fprintf(opt.io->err, "kivraset %s: %s: %s...\n", opt.cmd, label, what);
}

// After an apply that restarted it, the unit is found by its MAC address and read again.
bool come_back(int i, bool restarted)
{
    return !restarted || RefindUnit(i, IMPORT_RESTART_WAIT_MS) == 0;
}

// Reads groups back into u.after; true when they could be read.
bool read_back(int i, unsigned groups, ImportUnit& u)
{
    UnitSettings now;
    char why[160];
    if (read_unit_settings(i, groups, &now, why, sizeof why) != nullptr) return false;
    for (int g = 0; g < SETTINGS_GROUPS; g++) {
        if ((groups & (1u << g)) == 0) continue;
        UnitSettings& a = u.after;
        switch (group_of(g)) {
        case SettingsGroup::Ip:
            a.ip = now.ip;
            break;
        case SettingsGroup::InputExtension:
            a.ext = now.ext;
            break;
        case SettingsGroup::MailServer:
            a.mail.server = now.mail.server;
            break;
        case SettingsGroup::DiMail:
            a.mail.di = now.mail.di;
            break;
        case SettingsGroup::Thresholds:
            a.mail.thresholds = now.mail.thresholds;
            break;
        case SettingsGroup::DoAlerts:
            a.mail.do_alerts = now.mail.do_alerts;
            break;
        case SettingsGroup::AnalogInput:
            a.ai = now.ai;
            break;
        case SettingsGroup::AnalogInputV2:
            a.ai2 = now.ai2;
            break;
        case SettingsGroup::AnalogOutput:
            a.ao = now.ao;
            break;
        }
    }
    u.written |= groups;
    return true;
}

// Whether the groups read back hold the values v holds.
bool groups_hold(const ImportUnit& u, unsigned groups, const UnitSettings& v)
{
    for (int f = 0; f < settings_field_count; f++) {
        if ((groups & group_bit(settings_fields[f].group)) == 0 || !compared(f)) continue;
        const unsigned items = settings_field_items(f, u.before.model, u.before.modtype);
        for (int k = 0; k < SETTINGS_ITEMS_MAX; k++)
            if ((items & (1u << k)) && !dhcp_decides(f, v) &&
                !settings_value_equal(f, k, u.after, v))
                return false;
    }
    return true;
}

void set_states(ImportUnit& u, unsigned groups, GroupState s)
{
    for (int g = 0; g < SETTINGS_GROUPS; g++)
        if (groups & (1u << g)) u.state[g] = s;
}

// Writes back what was read before into groups (the applies of `done`, last
// first); each group's state becomes `restored` or `not_restored`.
void put_back(int i, ImportUnit& u, const unsigned* done, int n, GroupState restored,
              GroupState not_restored, const ImportOptions& opt)
{
    for (int k = n - 1; k >= 0; k--) {
        const unsigned groups = done[k];
        const GroupApply* a = nullptr;
        for (int j = 0; j < import_apply_count; j++)
            if (import_applies[j].groups & groups) a = &import_applies[j];
        progress(opt, i, "writing back what was read before");
        // The unit may have restarted with part of the failed apply: it is read again first.
        bool ok = a != nullptr && RefindUnit(i, IMPORT_RESTART_WAIT_MS) == 0 &&
                  a->apply(i, u.before, groups).ok() && come_back(i, a->restarts(i, groups)) &&
                  read_back(i, groups, u) && groups_hold(u, groups, u.before);
        set_states(u, groups, ok ? restored : not_restored);
    }
}

}  // namespace

bool field_changes(int f, int item, const ImportUnit& u, const UnitSettings& file)
{
    const SettingsField& r = settings_fields[f];
    if ((r.flags & (FIELD_CONTEXT | FIELD_READ_ONLY)) != 0) return false;
    if ((file.present.items[f] & (1u << item)) == 0 || dhcp_decides(f, u.wanted)) return false;
    return !settings_value_equal(f, item, u.before, u.wanted);
}

bool field_differs(int f, int item, const ImportUnit& u)
{
    if ((u.written & group_bit(settings_fields[f].group)) == 0 || !compared(f)) return false;
    if ((settings_field_items(f, u.before.model, u.before.modtype) & (1u << item)) == 0)
        return false;
    return !dhcp_decides(f, u.wanted) && !settings_value_equal(f, item, u.after, u.wanted);
}

bool ImportUnit::ok() const
{
    if (failure[0] != '\0') return false;
    for (GroupState s : state)
        if (!group_state_ok(s)) return false;
    return true;
}

void import_unit(int i, const UnitSettings& file, const ImportOptions& opt, ImportUnit& u)
{
    u.index = i;
    progress(opt, i, "reading");
    char why[160];
    if (read_unit_settings(i, file.present.groups, &u.before, why, sizeof why) != nullptr) {
        std::snprintf(u.failure, sizeof u.failure, "%s; nothing sent", why);
        return;
    }
    u.wanted = u.before;
    merge_settings(file, u.wanted);
    u.after = u.before;
    const unsigned changes = changing(u, file);
    for (int g = 0; g < SETTINGS_GROUPS; g++) {
        if ((file.present.groups & (1u << g)) == 0) continue;
        const bool kept = group_of(g) == SettingsGroup::Ip && !opt.with_address;
        u.state[g] = (changes & (1u << g)) == 0 ? GroupState::Unchanged
                     : kept                     ? GroupState::KeptAddress
                                                : GroupState::ToWrite;
    }
    if (opt.dry_run) return;

    unsigned done[8];
    int done_count = 0;
    for (int k = 0; k < import_apply_count; k++) {
        const GroupApply& a = import_applies[k];
        unsigned groups = 0;
        for (int g = 0; g < SETTINGS_GROUPS; g++)
            if ((a.groups & (1u << g)) && u.state[g] == GroupState::ToWrite) groups |= 1u << g;
        if (groups == 0) continue;
        progress(opt, i, a.what);
        const StepResult r = a.apply(i, u.wanted, groups);
        if (!r.ok()) {
            const bool sent = !a.refused(r);
            step_failure(r, a.what, why, sizeof why);
            fail(u, why,
                 sent ? " (part of it may have gone out)" : " (refused; nothing of it sent)");
            set_states(u, groups, sent ? GroupState::FailedNotRestored : GroupState::Refused);
            if (sent)
                put_back(i, u, &groups, 1, GroupState::FailedRestored,
                         GroupState::FailedNotRestored, opt);
            put_back(i, u, done, done_count, GroupState::WrittenRestored,
                     GroupState::WrittenNotRestored, opt);
            break;
        }
        done[done_count++] = groups;
        set_states(u, groups, GroupState::WrittenUnchecked);
        if (!come_back(i, a.restarts(i, groups))) {
            char words[96];
            std::snprintf(words, sizeof words,
                          ": the unit did not answer again within %d s of its restart",
                          IMPORT_RESTART_WAIT_MS / 1000);
            fail(u, a.what, words);
            break;
        }
        if (!read_back(i, groups, u)) {
            fail(u, "reading back what was written", ": no answer");
            break;
        }
        for (int g = 0; g < SETTINGS_GROUPS; g++)
            if (groups & (1u << g))
                u.state[g] = groups_hold(u, 1u << g, u.wanted) ? GroupState::WrittenChecked
                                                               : GroupState::WrittenDiffers;
    }
    for (GroupState& s : u.state)
        if (s == GroupState::ToWrite) s = GroupState::NotWritten;
}

const char* group_state_text(GroupState s)
{
    static const char* const texts[] = {
        "not in the file",
        "unchanged",
        "to be written",
        "not written without --with-address",
        "written and checked",
        "written, but the unit did not take every field",
        "written, not read back",
        "refused, nothing sent",
        "failed part-way, written back as it was",
        "failed part-way, NOT written back",
        "written, then written back as it was",
        "written, NOT written back",
        "not written",
    };
    return texts[static_cast<int>(s)];
}

const char* group_state_key(GroupState s)
{
    static const char* const keys[] = {
        "absent",          "unchanged",           "to_write",          "kept_address",
        "written",         "written_differs",     "written_unchecked", "refused",
        "failed_restored", "failed_not_restored", "written_restored",  "written_not_restored",
        "not_written",
    };
    return keys[static_cast<int>(s)];
}

bool group_state_ok(GroupState s)
{
    return s == GroupState::Absent || s == GroupState::Unchanged || s == GroupState::ToWrite ||
           s == GroupState::KeptAddress || s == GroupState::WrittenChecked;
}
