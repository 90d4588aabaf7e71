// The settings file reader: the whole text is parsed, every key is known,
// given once and of its type, every value is checked against the unit's
// family, before anything is stored for a caller to send. The first fault
// is named by its key and place.
#include "cli/settings_file.h"
#include "cli/settings_values.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <vector>

#include "base/bounded_text.h"
#include "cli/kivraset.h"
#include "device/address_text.h"

namespace {

constexpr int kTokens = 4096;

struct Reader {
    const JsonDoc& doc;
    UnitSettings& s;
    SettingsFileError* err;

    int fail(int tok, const char* key, const char* reason)
    {
        if (err == nullptr) return -1;
        copy_text(err->key, sizeof err->key, key);
        copy_text(err->reason, sizeof err->reason, reason);
        err->line = err->column = 0;
        if (tok < 0 || tok >= doc.count) return -1;
        err->line = err->column = 1;
        // A string's place is its opening quote.
        const int at = doc.tokens[tok].start - (doc.tokens[tok].type == JsonType::String ? 1 : 0);
        for (int k = 0; k < at && k < doc.length; k++) {
            err->column = doc.text[k] == '\n' ? 1 : err->column + 1;
            err->line += doc.text[k] == '\n';
        }
        return -1;
    }

    // Every key of an object once; the first key given again is a fault.
    int once(int object, const char* path)
    {
        for (int k = json_first(doc, object); k >= 0; k = json_next(doc, json_next(doc, k)))
            for (int e = json_first(doc, object); e >= 0 && e != k;
                 e = json_next(doc, json_next(doc, e))) {
                char key[64];
                if (json_text(doc, k, key, sizeof key) >= 0 && json_text_is(doc, e, key)) {
                    char where[128];
                    std::snprintf(where, sizeof where, "%s%s%s", path, path[0] ? "." : "", key);
                    return fail(k, where, "given twice");
                }
            }
        return 0;
    }

    int object_at(int tok, const char* path)
    {
        if (doc.tokens[tok].type != JsonType::Object) return fail(tok, path, "expected an object");
        return once(tok, path);
    }

    int header();
    int unit_block(int tok);
    int group(SettingsGroup g, int tok);
    int item_object(SettingsGroup g, const char* name, int number, int tok);
    int field(int f, int item, int tok);
};

int Reader::header()
{
    const int format = json_member(doc, 0, "format");
    if (format < 0) return fail(-1, "format", "missing: this is no settings file");
    if (!json_text_is(doc, format, SETTINGS_FORMAT_NAME))
        return fail(format, "format", "expected \"kivraset-settings\"");
    const int version = json_member(doc, 0, "version");
    long long v = 0;
    if (version < 0) return fail(-1, "version", "missing");
    if (json_integer(doc, version, 1, 1000000, &v) != 0)
        return fail(version, "version", "expected a positive integer");
    if (v > SETTINGS_FORMAT_VERSION)
        return fail(version, "version", "newer than this kivraset reads (1)");
    for (int k = json_first(doc, 0); k >= 0; k = json_next(doc, json_next(doc, k))) {
        bool known = json_text_is(doc, k, "format") || json_text_is(doc, k, "version") ||
                     json_text_is(doc, k, "unit") || json_text_is(doc, k, "family");
        for (int g = 0; g < SETTINGS_GROUPS; g++)
            known =
                known || json_text_is(doc, k, settings_group_key(static_cast<SettingsGroup>(g)));
        char key[64];
        if (!known && json_text(doc, k, key, sizeof key) < 0) copy_text(key, sizeof key, "?");
        if (!known) return fail(k, key, "unknown key");
    }
    return 0;
}

int Reader::unit_block(int tok)
{
    if (tok < 0) return fail(-1, "unit", "missing: the file names no unit");
    if (object_at(tok, "unit") != 0) return -1;
    for (int k = json_first(doc, tok); k >= 0; k = json_next(doc, json_next(doc, k))) {
        static const char* const keys[] = {"mac",        "address", "model",
                                           "model_name", "module",  "unit_id"};
        bool known = false;
        for (const char* key : keys) known = known || json_text_is(doc, k, key);
        if (!known) return fail(k, "unit", "unknown key in the unit");
    }
    char text[32];
    UnitName name{};
    const int mac = json_member(doc, tok, "mac");
    if (mac < 0) return fail(tok, "unit.mac", "missing");
    if (json_text(doc, mac, text, sizeof text) < 0 || parse_unit_name(text, &name) != 0 ||
        name.kind != UnitNameKind::Mac)
        return fail(mac, "unit.mac", "expected a MAC address (00:80:a3:10:00:01)");
    std::memcpy(s.mac, name.mac, 6);
    const int address = json_member(doc, tok, "address");
    if (address >= 0 &&
        (json_text(doc, address, text, sizeof text) < 0 || !parse_dotted_quad(text, &s.address)))
        return fail(address, "unit.address", "expected a dotted address");
    long long v = 0;
    const int model = json_member(doc, tok, "model");
    if (model < 0) return fail(tok, "unit.model", "missing");
    if (json_integer(doc, model, 0, 15, &v) != 0)
        return fail(model, "unit.model", "expected a model number 0..15");
    s.model = static_cast<int>(v);
    const int module = json_member(doc, tok, "module");
    if (module < 0) return fail(tok, "unit.module", "missing");
    if (json_text_is(doc, module, "xport"))
        s.modtype = MODTYPE_XPORT;
    else if (json_text_is(doc, module, "gc"))
        s.modtype = MODTYPE_GC;
    else if (json_text_is(doc, module, "wifi"))
        s.modtype = MODTYPE_WIFI;
    else
        return fail(module, "unit.module", "expected \"xport\", \"gc\" or \"wifi\"");
    const int model_name = json_member(doc, tok, "model_name");
    if (model_name >= 0 && json_text(doc, model_name, s.model_name, sizeof s.model_name) < 0)
        return fail(model_name, "unit.model_name", "expected a text of at most 31 bytes");
    const int unit_id = json_member(doc, tok, "unit_id");
    if (unit_id >= 0 && json_integer(doc, unit_id, 0, 15, &v) != 0)
        return fail(unit_id, "unit.unit_id", "expected 0..15");
    if (unit_id >= 0) s.unit_id = static_cast<int>(v);
    return 0;
}

int Reader::field(int f, int item, int tok)
{
    char why[96];
    const char* fault = settings_values::read(doc, tok, f, item, s, why, sizeof why);
    char path[96];
    settings_field_path(f, item, path, sizeof path);
    if (fault != nullptr) return fail(tok, path, fault);
    s.present.items[f] |= static_cast<uint8_t>(1u << item);
    return 0;
}

// Row f has this key in group g, for items (item name) or the group itself (nullptr).
bool row_is(int f, SettingsGroup g, const char* item, const JsonDoc& doc, int key)
{
    const SettingsField& r = settings_fields[f];
    if (r.group != g || (r.item == nullptr) != (item == nullptr)) return false;
    if (item != nullptr && std::strcmp(r.item, item) != 0) return false;
    return json_text_is(doc, key, r.key) == 1;
}

int Reader::item_object(SettingsGroup g, const char* name, int number, int tok)
{
    char path[64];
    std::snprintf(path, sizeof path, "%s.%s%d", settings_group_key(g), name, number);
    if (object_at(tok, path) != 0) return -1;
    for (int k = json_first(doc, tok); k >= 0; k = json_next(doc, json_next(doc, k))) {
        int rows = 0, has = 0;
        for (int f = 0; f < settings_field_count; f++) {
            if (!row_is(f, g, name, doc, k)) continue;
            rows++;
            has += (settings_field_items(f, s.model, s.modtype) >> (number - 1)) & 1u;
        }
        char key[64], where[160];
        if (json_text(doc, k, key, sizeof key) < 0) copy_text(key, sizeof key, "?");
        std::snprintf(where, sizeof where, "%s.%s", path, key);
        if (rows == 0) return fail(k, where, "unknown key");
        if (has == 0) return fail(k, where, "this unit's family has no such field");
    }
    // In table order, so a number's unit is known before the number.
    for (int f = 0; f < settings_field_count; f++) {
        const SettingsField& r = settings_fields[f];
        if (r.group != g || r.item == nullptr || std::strcmp(r.item, name) != 0) continue;
        if (((settings_field_items(f, s.model, s.modtype) >> (number - 1)) & 1u) == 0) continue;
        const int v = json_member(doc, tok, r.key);
        if (v >= 0 && field(f, number - 1, v) != 0) return -1;
    }
    return 0;
}

// "ai2" as the item name "ai" of some row of g and 2; 0 when it is none.
int item_key(SettingsGroup g, const JsonDoc& doc, int key, const char** name)
{
    char text[32];
    if (json_text(doc, key, text, sizeof text) < 0) return 0;
    for (int f = 0; f < settings_field_count; f++) {
        const SettingsField& r = settings_fields[f];
        const size_t n = r.item != nullptr ? std::strlen(r.item) : 0;
        if (r.group != g || n == 0 || std::strncmp(text, r.item, n) != 0) continue;
        if (text[n] < '1' || text[n] > '0' + SETTINGS_ITEMS_MAX || text[n + 1] != '\0') continue;
        *name = r.item;
        return text[n] - '0';
    }
    return 0;
}

int Reader::group(SettingsGroup g, int tok)
{
    const char* gkey = settings_group_key(g);
    if (object_at(tok, gkey) != 0) return -1;
    if ((settings_groups_of(s.model, s.modtype) & group_bit(g)) == 0)
        return fail(tok, gkey, "this unit's family has no such group");
    s.present.groups |= group_bit(g);
    for (int k = json_first(doc, tok); k >= 0; k = json_next(doc, json_next(doc, k))) {
        char key[64], where[128];
        if (json_text(doc, k, key, sizeof key) < 0) copy_text(key, sizeof key, "?");
        std::snprintf(where, sizeof where, "%s.%s", gkey, key);
        const char* name = nullptr;
        const int number = item_key(g, doc, k, &name);
        if (number > 0) {
            bool has = false;
            for (int f = 0; f < settings_field_count; f++)
                has = has || (settings_fields[f].group == g && settings_fields[f].item != nullptr &&
                              std::strcmp(settings_fields[f].item, name) == 0 &&
                              ((settings_field_items(f, s.model, s.modtype) >> (number - 1)) & 1u));
            if (!has) return fail(k, where, "this unit's family has no such item");
            if (item_object(g, name, number, json_next(doc, k)) != 0) return -1;
            continue;
        }
        int rows = 0, has = 0;
        for (int f = 0; f < settings_field_count; f++) {
            if (!row_is(f, g, nullptr, doc, k)) continue;
            rows++;
            has += settings_field_items(f, s.model, s.modtype) & 1u;
        }
        if (rows == 0) return fail(k, where, "unknown key");
        if (has == 0) return fail(k, where, "this unit's family has no such field");
    }
    for (int f = 0; f < settings_field_count; f++) {
        const SettingsField& r = settings_fields[f];
        if (r.group != g || r.item != nullptr ||
            (settings_field_items(f, s.model, s.modtype) & 1u) == 0)
            continue;
        const int v = json_member(doc, tok, r.key);
        if (v >= 0 && field(f, 0, v) != 0) return -1;
    }
    return 0;
}

}  // namespace

int read_settings_file(const char* text, size_t length, UnitSettings* out, SettingsFileError* err)
{
    if (err != nullptr) *err = SettingsFileError{};
    if (out == nullptr) return -1;
    std::vector<JsonToken> tokens(kTokens);
    JsonDoc doc;
    UnitSettings s = *out;
    s.present = SettingsPresent{};
    Reader r{doc, s, err};
    if (length > SETTINGS_FILE_MAX)
        return r.fail(-1, "", "larger than a settings file can be (64 KiB)");
    if (json_parse(text, length, tokens.data(), kTokens, &doc) != 0) {
        if (err != nullptr) {
            copy_text(err->reason, sizeof err->reason, doc.error.reason);
            err->line = doc.error.line;
            err->column = doc.error.column;
        }
        return -1;
    }
    if (doc.tokens[0].type != JsonType::Object) return r.fail(0, "", "expected a JSON object");
    if (r.once(0, "") != 0 || r.header() != 0 || r.unit_block(json_member(doc, 0, "unit")) != 0)
        return -1;
    const int family = json_member(doc, 0, "family");
    char want[16];
    settings_family(s.model, s.modtype, want);
    if (family < 0) return r.fail(-1, "family", "missing");
    if (!json_text_is(doc, family, want))
        return r.fail(family, "family", "does not match unit.model and unit.module");
    for (int g = 0; g < SETTINGS_GROUPS; g++) {
        const int tok = json_member(doc, 0, settings_group_key(static_cast<SettingsGroup>(g)));
        if (tok >= 0 && r.group(static_cast<SettingsGroup>(g), tok) != 0) return -1;
    }
    *out = s;
    return 0;
}

int load_settings_file(const char* path, UnitSettings* out, SettingsFileError* err)
{
    if (err != nullptr) *err = SettingsFileError{};
    const int fd = path != nullptr ? open(path, O_RDONLY | O_CLOEXEC) : -1;
    std::vector<char> text(SETTINGS_FILE_MAX + 1);
    size_t used = 0;
    int saved = fd < 0 ? errno : 0;
    while (fd >= 0 && used < text.size()) {
        const ssize_t n = read(fd, text.data() + used, text.size() - used);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) saved = errno;
        if (n <= 0) break;
        used += static_cast<size_t>(n);
    }
    if (fd >= 0) close(fd);
    if (saved != 0) {
        if (err != nullptr) copy_text(err->reason, sizeof err->reason, std::strerror(saved));
        return -1;
    }
    return read_settings_file(text.data(), used, out, err);
}
