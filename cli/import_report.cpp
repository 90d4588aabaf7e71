// An import's report: the plan and the outcome of each unit's groups.
#include "cli/import_report.h"

#include <cstring>

#include "cli/json.h"

namespace {

constexpr size_t kValueLen = 640;  // a value's JSON text (a 255-byte text as hex, with room)

// The JSON text of a field's value in s, or what stands for it.
void value_text(int f, int item, const UnitSettings& s, const UnitSettings& file, bool known,
                char (&out)[kValueLen])
{
    if (settings_fields[f].flags & FIELD_SECRET)
        std::snprintf(out, sizeof out, "\"(secret)\"");
    else if (!known)
        std::snprintf(out, sizeof out, "null");
    else
        settings_value_text(f, item, s, file, out, sizeof out);
}

// The path without the group's key: "connection1.destination".
const char* in_group(const char* path)
{
    const char* dot = std::strchr(path, '.');
    return dot != nullptr ? dot + 1 : path;
}

// Calls each(f, item) for every field row of group g, in table order.
template <class Each>
void each_field_of(int g, Each each)
{
    for (int f = 0; f < settings_field_count; f++)
        if (static_cast<int>(settings_fields[f].group) == g)
            for (int k = 0; k < SETTINGS_ITEMS_MAX; k++) each(f, k);
}

bool unreported(int f) { return (settings_fields[f].flags & FIELD_UNREPORTED) != 0; }

void print_unit_text(const ImportRun& run, const ImportUnit& u, FILE* out)
{
    char label[48], family[16];
    unit_label(u.index, label, sizeof label);
    settings_family(u.before.model, u.before.modtype, family);
    std::fprintf(out, "%s %s (%s)%s\n", label, u.before.model_name, family,
                 run.dry_run ? ": plan, nothing sent" : "");
    for (int g = 0; g < SETTINGS_GROUPS; g++) {
        if (u.state[g] == GroupState::Absent) continue;
        std::fprintf(out, "  %s: %s\n", settings_group_key(static_cast<SettingsGroup>(g)),
                     group_state_text(u.state[g]));
        each_field_of(g, [&](int f, int k) {
            char path[96], old_text[kValueLen], new_text[kValueLen], now[kValueLen];
            settings_field_path(f, k, path, sizeof path);
            if (field_changes(f, k, u, *run.file)) {
                value_text(f, k, u.before, *run.file, !unreported(f), old_text);
                value_text(f, k, u.wanted, *run.file, true, new_text);
                std::fprintf(out, "    %s: %s -> %s\n", in_group(path), old_text, new_text);
            }
            if (field_differs(f, k, u)) {
                value_text(f, k, u.wanted, *run.file, true, new_text);
                value_text(f, k, u.after, *run.file, true, now);
                std::fprintf(out, "    %s: not taken: the unit has %s, not %s\n", in_group(path),
                             now, new_text);
            }
        });
    }
}

void raw(JsonWriter& w, const char* key, const char* json_text)
{
    w.key(key);
    w.number_text(json_text, std::strlen(json_text));
}

void print_unit_json(const ImportRun& run, const NamedUnit& n, const ImportUnit& u, JsonWriter& w)
{
    char mac[18], family[16];
    format_mac(xportset[u.index].mac, mac);
    settings_family(u.before.model, u.before.modtype, family);
    w.begin_object();
    w.key("unit");
    w.string(n.text);
    w.key("mac");
    w.string(mac);
    w.key("address");
    w.string_n(xportset[u.index].ipstr, strnlen(xportset[u.index].ipstr, 16));
    w.key("family");
    w.string(family);
    w.key("ok");
    w.boolean(u.ok());
    w.key("failure");
    u.failure[0] != '\0' ? w.string(u.failure) : w.null();
    w.key("groups");
    w.begin_array();
    for (int g = 0; g < SETTINGS_GROUPS; g++) {
        if (u.state[g] == GroupState::Absent) continue;
        w.begin_object();
        w.key("group");
        w.string(settings_group_key(static_cast<SettingsGroup>(g)));
        w.key("state");
        w.string(group_state_key(u.state[g]));
        for (int pass = 0; pass < 2; pass++) {
            w.key(pass == 0 ? "changes" : "not_taken");
            w.begin_array();
            each_field_of(g, [&](int f, int k) {
                if (pass == 0 ? !field_changes(f, k, u, *run.file) : !field_differs(f, k, u))
                    return;
                char path[96], a[kValueLen], b[kValueLen];
                settings_field_path(f, k, path, sizeof path);
                value_text(f, k, pass == 0 ? u.before : u.wanted, *run.file,
                           pass == 1 || !unreported(f), a);
                value_text(f, k, pass == 0 ? u.wanted : u.after, *run.file, true, b);
                w.begin_object();
                w.key("field");
                w.string(path);
                raw(w, pass == 0 ? "old" : "wanted", a);
                raw(w, pass == 0 ? "new" : "unit", b);
                w.end_object();
            });
            w.end_array();
        }
        w.end_object();
    }
    w.end_array();
    w.end_object();
}

}  // namespace

int print_import_report(const ImportRun& run, bool json, const CliIo& io)
{
    int status = CLI_OK;
    JsonWriter w(io.out);
    if (json) {
        w.begin_object();
        w.key("file");
        w.string(run.file_path);
        w.key("dry_run");
        w.boolean(run.dry_run);
        w.key("units");
        w.begin_array();
    }
    for (int k = 0; k < run.count; k++) {
        const NamedUnit& n = run.named[k];
        const ImportUnit& u = run.units[k];
        if (n.index < 0) continue;
        if (!u.ok()) status = CLI_UNIT_FAILED;
        if (u.failure[0] != '\0') {
            char label[48];
            unit_label(u.index, label, sizeof label);
            std::fprintf(io.err, "kivraset import: %s: %s\n", label, u.failure);
        }
        if (json)
            print_unit_json(run, n, u, w);
        else
            print_unit_text(run, u, io.out);
    }
    if (json) {
        w.end_array();
        w.key("not_sent");
        w.begin_array();
    }
    for (int k = 0; k < run.count; k++) {
        const NamedUnit& n = run.named[k];
        if (n.index >= 0) continue;
        status = CLI_UNIT_FAILED;
        if (!json) continue;
        w.begin_object();
        w.key("unit");
        w.string(n.text);
        w.key("reason");
        w.string(n.failed_read != nullptr ? n.failed_read : n.fault != nullptr ? n.fault : "");
        w.end_object();
    }
    if (json) {
        w.end_array();
        w.end_object();
        w.end_line();
    }
    return status;
}
