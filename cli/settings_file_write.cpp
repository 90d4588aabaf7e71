// The settings file writer: format, version, the unit it came from, its
// family, then each group the unit has, its own fields first and then its
// items ("ai1", "connection2", ...), every field in table order.
#include "cli/settings_file.h"
#include "cli/settings_values.h"

#include <cstdio>
#include <cstring>

#include "cli/kivraset.h"
#include "device/address_text.h"

namespace {

bool writes(int f, int item, const UnitSettings& s, const SettingsWriteOptions& opt)
{
    const SettingsField& r = settings_fields[f];
    if (opt.present_only) return (s.present.items[f] & (1u << item)) != 0;
    if ((settings_field_items(f, s.model, s.modtype) & (1u << item)) == 0) return false;
    if ((r.flags & FIELD_SECRET) && !opt.with_secrets) return false;
    if (r.flags & FIELD_UNREPORTED) return false;
    return settings_values::has_value(f, item, s);
}

void field(JsonWriter& w, int f, int item, const UnitSettings& s)
{
    w.key(settings_fields[f].key);
    settings_values::write(w, f, item, s, s);
}

// Items of rows [first, end) of one group sharing the item name of row first.
void items(JsonWriter& w, int first, int end, const UnitSettings& s,
           const SettingsWriteOptions& opt)
{
    const char* name = settings_fields[first].item;
    for (int k = 0; k < SETTINGS_ITEMS_MAX; k++) {
        bool open = false;
        for (int f = first; f < end; f++) {
            if (std::strcmp(settings_fields[f].item, name) != 0 || !writes(f, k, s, opt)) continue;
            if (!open) {
                char key[32];
                std::snprintf(key, sizeof key, "%s%d", name, k + 1);
                w.key(key);
                w.begin_object();
                open = true;
            }
            field(w, f, k, s);
        }
        if (open) w.end_object();
    }
}

void group(JsonWriter& w, SettingsGroup g, const UnitSettings& s, const SettingsWriteOptions& opt)
{
    int first = 0, end = 0;
    while (first < settings_field_count && settings_fields[first].group != g) first++;
    for (end = first; end < settings_field_count && settings_fields[end].group == g;) end++;
    w.key(settings_group_key(g));
    w.begin_object();
    for (int f = first; f < end; f++)
        if (settings_fields[f].item == nullptr && writes(f, 0, s, opt)) field(w, f, 0, s);
    // Each item name once, where it first appears.
    for (int f = first; f < end; f++) {
        const char* name = settings_fields[f].item;
        bool seen = false;
        for (int e = first; e < f && name != nullptr; e++)
            seen = seen || (settings_fields[e].item != nullptr &&
                            std::strcmp(settings_fields[e].item, name) == 0);
        if (name != nullptr && !seen) items(w, f, end, s, opt);
    }
    w.end_object();
}

}  // namespace

void write_settings_file(const UnitSettings& s, const SettingsWriteOptions& opt, JsonWriter& w)
{
    char text[32];
    w.set_indent(2);
    w.begin_object();
    w.key("format");
    w.string(SETTINGS_FORMAT_NAME);
    w.key("version");
    w.integer(SETTINGS_FORMAT_VERSION);
    w.key("unit");
    w.begin_object();
    format_mac(s.mac, text);
    w.key("mac");
    w.string(text);
    if (s.address != 0) {
        format_dotted(s.address, text);
        w.key("address");
        w.string(text);
    }
    w.key("model");
    w.integer(s.model);
    if (s.model_name[0] != '\0') {
        w.key("model_name");
        w.string_n(s.model_name, strnlen(s.model_name, sizeof s.model_name));
    }
    w.key("module");
    w.string(settings_module_name(s.modtype));
    if (s.unit_id >= 0) {
        w.key("unit_id");
        w.integer(s.unit_id);
    }
    w.end_object();
    w.key("family");
    settings_family(s.model, s.modtype, text);
    w.string(text);
    const unsigned has = settings_groups_of(s.model, s.modtype) & opt.groups &
                         (opt.present_only ? s.present.groups : SETTINGS_ALL_GROUPS);
    for (int g = 0; g < SETTINGS_GROUPS; g++)
        if (has & (1u << g)) group(w, static_cast<SettingsGroup>(g), s, opt);
    w.end_object();
    w.end_line();
}
