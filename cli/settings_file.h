// Settings files: one unit's settings groups as a versioned JSON document
// with named fields (docs/settings-file.md). One table of fields per group
// (its key, type, range or room, which models and module kinds have it, and
// where it lives in the group's struct) drives the writer, the reader's
// validation, the comparison of a file with a unit and the merge of a
// file's fields into what was read from a unit. Nothing here talks to a
// unit: a file is read and checked whole before anything is sent.
#pragma once

#include <netinet/in.h>

#include <cstddef>
#include <cstdint>

#include "cli/json.h"
#include "settings/etc_settings.h"
#include "settings/ext_settings.h"
#include "settings/ip_settings.h"
#include "settings/mail_settings.h"

constexpr const char* SETTINGS_FORMAT_NAME = "kivraset-settings";
constexpr int SETTINGS_FORMAT_VERSION = 1;
constexpr size_t SETTINGS_FILE_MAX = 64 * 1024;  // bytes a settings file may have

// The groups of a file, in the order they are written, read from a unit
// and applied.
enum class SettingsGroup : uint8_t {
    Ip,              // "ip": IpSettings
    InputExtension,  // "input_extension": ExtSettings
    MailServer,      // "mail_server": MailServer
    DiMail,          // "di_mail": DiMail
    Thresholds,      // "thresholds": AnalogThresholds
    DoAlerts,        // "do_alerts": DoAlerts
    AnalogInput,     // "analog_input": AnalogInputSettings (model 8)
    AnalogInputV2,   // "analog_input_v2": AnalogInputV2Settings (model 10)
    AnalogOutput,    // "analog_output": AnalogOutputSettings (models 9, 11)
};
constexpr int SETTINGS_GROUPS = 9;
constexpr unsigned group_bit(SettingsGroup g) { return 1u << static_cast<int>(g); }
constexpr unsigned SETTINGS_ALL_GROUPS = (1u << SETTINGS_GROUPS) - 1;

// The JSON key of a group ("mail_server").
const char* settings_group_key(SettingsGroup g);
// The groups a unit of this model and module kind has, as group bits.
unsigned settings_groups_of(int model, int modtype);

// The rows of the field tables, and the items a row may have at most (the
// inputs, rows, connections or outputs of its group).
constexpr int SETTINGS_FIELDS_MAX = 96;
constexpr int SETTINGS_ITEMS_MAX = 8;

// Which groups and fields a file holds: a group's bit, and per field row the
// items given (bit k: item k + 1; a field of the group itself uses bit 0).
struct SettingsPresent {
    unsigned groups = 0;
    uint8_t items[SETTINGS_FIELDS_MAX] = {};
};

// A unit's settings, as read from it or from a file, with the unit they
// belong to.
struct UnitSettings {
    uint8_t mac[6] = {};
    in_addr_t address = 0;  // where the unit answered (network order); 0 unknown
    int model = -1;         // 0..15
    int modtype = 0;        // MODTYPE_XPORT, MODTYPE_GC or MODTYPE_WIFI
    int unit_id = -1;       // rotary switch 0..15; -1 unknown
    char model_name[32] = {};

    IpSettings ip;
    ExtSettings ext;
    MailAlertSettings mail{};
    AnalogInputSettings ai;
    AnalogInputV2Settings ai2;
    AnalogOutputSettings ao;

    // The unit the thresholds and DO alert widths are given in: the range
    // code whose unit it is, or -1 for percent of full scale. A unit's read
    // takes its input ranges' (settings_default_scales); a file says it.
    int ai_scale[MAIL_AI_INPUTS] = {-1, -1, -1};
    int do_scale[MAIL_DO_COUNT] = {-1, -1};
    int do_range[MAIL_DO_COUNT] = {-1, -1};  // the watched input's range a file names; -1 none

    SettingsPresent present;  // what a file held; a unit's read: the groups read
};

// The family of a model and module kind: "10/xport". A file applies only to
// units of its own family, whose groups and fields are exactly the file's.
void settings_family(int model, int modtype, char out[16]);
// "xport", "gc" or "wifi".
const char* settings_module_name(int modtype);

// ---- the field tables ----

enum class FieldType : uint8_t {
    Bool,     // true / false
    Int,      // an integer lo..hi
    Choice,   // a code lo..hi: its screen text, or the code as an integer
    Text,     // a unit text: a string, or {"hex": "..."} for bytes that are not UTF-8
    Dotted,   // a text that must be a dotted address (a plain XPort's mail server and destinations)
    Address,  // an in_addr_t as a dotted address
    Mask,     // a netmask: a dotted address whose one bits have no gap
    Threshold,  // a threshold code, as a number in the item's "unit"
    Width,      // a width code 0..65535, likewise
    Tenths,     // tenths of a degree, as degrees with one decimal
    Output,     // an analog output's value, volts or milliamperes by its "kind"
    Unit,       // "unit": "%" or the range's unit; no value of its own
    Range,      // a DO alert's watched input's range: only for its width's unit
};

enum FieldFlag : unsigned {
    FIELD_SECRET = 1u << 0,  // written only with --with-secrets
    FIELD_UNREPORTED =
        1u << 1,  // the unit never reports it: written by no export, compared by no check
    FIELD_READ_ONLY = 1u << 2,  // reported, compared, never written to the unit
    FIELD_CONTEXT = 1u << 3,    // says how to read its item's numbers; no value in the struct
    FIELD_NOT_FIRST = 1u << 4,  // item 1 has no such field (connection 1 always waits)
    FIELD_SENDER = 1u << 5,     // a mail sender: "" or user@domain, each part 1..23 bytes
    FIELD_RECIPIENT = 1u << 6,  // a mail recipient: "" or text with an @ inside it
    FIELD_UNSET_15 = 1u << 7,   // code 15 too: what a controller never set holds (0xFF)
};

struct SettingsField {
    SettingsGroup group;
    const char* item;  // items named item1, item2, ... ("ai1"); nullptr: the group's own field
    const char* key;
    FieldType type;
    int lo, hi;                            // Int, Choice: the codes allowed
    const char* const* choices;            // Choice: text of code lo + k at k (null or "": none)
    int choice_count;                      // texts in choices
    int (*items)(int model, int modtype);  // items of a unit of this kind (0: it has no such field;
                                           // 1 for a field of the group itself)
    int (*room)(int model, int modtype);   // Text, Dotted: bytes at most, terminator excluded
    unsigned flags;
    void* (*ref)(UnitSettings& s, int item);  // where the value lives (item 0-based)
};

extern const SettingsField settings_fields[];
extern const int settings_field_count;

// The items field row f has on a unit of this kind, as bits (bit k: item
// k + 1; a field of the group itself: bit 0); 0 when the unit has no such field.
unsigned settings_field_items(int f, int model, int modtype);
// The thresholds' and widths' units of a unit's read: the input's range
// when it has a unit (model 10), else percent.
void settings_default_scales(UnitSettings& s);
// "mail_server.subject", "thresholds.ai2.low" (item 0-based; ignored for a
// group's own field) into out.
void settings_field_path(int f, int item, char* out, size_t size);

// ---- writing ----

struct SettingsWriteOptions {
    unsigned groups = SETTINGS_ALL_GROUPS;  // of those the unit has
    bool with_secrets = false;              // write FIELD_SECRET fields too
    // false (export): every field the unit reports, present mask unread;
    // true: exactly the groups and fields s.present holds (a file read
    // and written again), secrets and unreported fields included.
    bool present_only = false;
};
// The whole file of s: format, version, unit, family and the groups, one
// member a line, indented by two blanks (w is left so). One line feed ends it.
void write_settings_file(const UnitSettings& s, const SettingsWriteOptions& opt, JsonWriter& w);

// The JSON text of one field's value ("12.5", "\"abc\"", "true", "\"1sec\"")
// into out (cut at size - 1 bytes); thresholds and widths in the units
// `scales` gives them in (the file's, so a unit's value reads beside it).
void settings_value_text(int f, int item, const UnitSettings& s, const UnitSettings& scales,
                         char* out, size_t size);
// Whether field f's item holds the same value in a and b (codes, bytes).
bool settings_value_equal(int f, int item, const UnitSettings& a, const UnitSettings& b);

// ---- reading ----

struct SettingsFileError {
    char key[96];      // "mail_server.subject"; "" for a fault of the whole text
    char reason[160];  // what is wrong
    int line, column;  // where (1-based); 0 when not known
};
// Reads and checks a whole file into out (present says what it held).
// 0, or -1 with err naming the key and the reason. Fields the file does not
// hold keep what out held.
int read_settings_file(const char* text, size_t length, UnitSettings* out, SettingsFileError* err);
// Reads the file at path (at most SETTINGS_FILE_MAX bytes) the same way.
int load_settings_file(const char* path, UnitSettings* out, SettingsFileError* err);

// ---- comparing and merging ----

// Calls each(f, item) for every field the file holds that its unit reports
// (not FIELD_UNREPORTED, not FIELD_CONTEXT), in table order.
template <class Each>
void each_present_field(const UnitSettings& file, Each each)
{
    for (int f = 0; f < settings_field_count && f < SETTINGS_FIELDS_MAX; f++) {
        if (settings_fields[f].flags & (FIELD_UNREPORTED | FIELD_CONTEXT)) continue;
        for (int k = 0; k < SETTINGS_ITEMS_MAX; k++)
            if (file.present.items[f] & (1u << k)) each(f, k);
    }
}
// Copies every field the file holds into unit (context and read-only rows
// excepted), so a group read from the unit becomes what applying the file
// makes of it; a destination that changes is no longer the unit's cut text.
void merge_settings(const UnitSettings& file, UnitSettings& unit);
