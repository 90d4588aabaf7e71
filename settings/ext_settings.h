// The input extension group: a unit's TCP connection settings (connection
// 1; with "GC" firmware TCP 1:N with connection 2 and connections 3,4) and
// the controller's disconnection time, periodic notice and chattering time.
// The connections live in setup records 0, 3 and 7 of an XPort unit or in a
// WiFi module's PORT/HIP/HPORT keys; the controller settings are parameter
// bytes, controller memory ("MR"/"MW") or "AJ"/"AS" by model family.
// Failures are StepResults whose messages the screen shows at row 15 (the
// unit's data not read: row 18, over the settings menu); an index outside
// the device table fails at once, with no message.
#pragma once

#include "device/KIVRAXPort.h"
#include "settings/settings_steps.h"

#include <cstdint>

constexpr int EXT_DEST_LEN = 51;  // a destination text with its terminator

// Index 0 is connection 1, 1 connection 2, 2 connections 3,4 (which have an
// own port and a wait flag only). Connections 2 and 3,4 exist with "GC"
// firmware alone; a WiFi module has connection 1 only, always waiting and
// always requesting. Parts a unit does not have stay zero, and texts are
// zero to their end, so two reads of one unit compare equal with ==.
struct ExtSettings {
    bool tcp1ton = false;  // TCP 1:N on: connections 2 to 4 in use ("GC")
    int port[3] = {};      // own port, 1..65535 (connection 1's is the command port)
    bool wait[3] = {};     // waits for connections; connection 1 always does
    bool request[2] = {};  // connects to its destination
    char dest[2][EXT_DEST_LEN] =
        {};                   // destination: a dotted address, with "GC" or WiFi a host name too
    int dport[2] = {};        // destination port, 0..65535, kept when no destination is shown
    bool dest_cut[2] = {};    // dest is cut from the unit's longer text: its bytes are
                              // written back as they are until dest is changed
    bool has_disc = false;    // the model has a disconnection time
    bool has_notice = false;  // the model has a periodic notice
    bool has_chat = false;    // the model has a chattering time
    int disc = 0;             // disconnection time code 0..15 (DiscTime; 15 "None"), as read
    int notice =
        0;         // periodic notice code 0..15 (AutoPeriod; AutoPeriodA for models 8, 10), as read
    int chat = 0;  // chattering time in ms (4..20; 0..20 for models 9, 11), as read
    bool operator==(const ExtSettings&) const = default;
};

// ---- what a unit has ----

// The controller settings.
enum ExSetting { EXS_DISC, EXS_NOTICE, EXS_CHAT };
// How a model keeps one: parameter bytes, a controller memory byte
// ("MR"/"MW"), or the lettered "AJ"/"AS" notice.
enum class ExWay { Parameter, Memory, Lettered };
struct ExControl {
    ExSetting setting;
    unsigned models;  // bit m: model m keeps it this way
    ExWay way;
    int (*read)(int unit, int* value);
    int (*write)(int unit, int value);
};
// The way model `model` keeps setting s, or null when it has none.
const ExControl* ex_control(ExSetting s, int model);
// The setting's value in the struct.
int& ex_value(ExtSettings& v, ExSetting s);
int ex_value(const ExtSettings& v, ExSetting s);

// Which parts of the group a unit of this model and module kind has.
struct ExtParts {
    bool group;      // the settings menu offers the input extension at all
    bool one_to_n;   // TCP 1:N, connection 2 and connections 3,4 ("GC" firmware)
    bool dest_host;  // a destination may be a host name (else a dotted address)
    bool request;  // connection 1's connect request can be changed (a WiFi module always connects)
    bool records;  // written as setup records 0, 3, 7 (else the WiFi module's text)
    bool disc, notice, chat;  // the controller settings
    bool operator==(const ExtParts&) const = default;
};
ExtParts ext_parts(int model, int modtype);

// The request code of the mode bytes: 5 for models 3 and 4 on an XPort, else 1.
int ex_request_code(int unit);
// Sets a destination as the operator typed it (cut to its room, zero to
// its end); it is no longer the unit's own text.
void set_ext_dest(ExtSettings& v, int r, const char* text);

// ---- read ----

// Codes of StepResult::shows: a controller setting has arrived.
constexpr int ext_shows(ExSetting s) { return s + 1; }
constexpr ExSetting ext_shown_setting(int shows) { return static_cast<ExSetting>(shows - 1); }

// The connections as the unit holds them: what was not read yet of the
// unit is read first (records, or a WiFi module's parameters); fails with
// "通信エラー" at row 18. Clears the controller settings and says which the
// model has.
StepResult read_ext_connections(int unit, ExtSettings& out);
// The controller settings the model has, 20 ms apart and each followed by
// `shown` as it arrives; the first failure ends the read.
StepResult read_ext_controls(int unit, ExtSettings& out, StepShown<ExtSettings> shown = nullptr);
// Both, for a reader with no screen.
StepResult read_ext_settings(int unit, ExtSettings& out);

// ---- apply ----

// Writes the values back: a disconnection time with a notice is refused,
// and so is a WiFi destination holding a line break (nothing is sent then);
// then the controller settings, 20 ms apart (writing a disconnection time
// other than "None" sets the notice to "None" itself, so the notice goes
// only with "None"); then records 0, 3 and 7, 20 ms apart (the unit
// restarts after the last), or the module's PORT/HIP/HPORT text. What was
// sent before a failure stays sent. The entry's record images are not
// changed; a WiFi entry holds the values sent once the module took them.
StepResult apply_ext_settings(int unit, ExtSettings& values);
// The apply's first steps only refuse: a failure among them sent nothing.
constexpr int EXT_APPLY_REFUSALS = 2;

// Records 0, 3 and 7 as the apply writes them: the entry's images with the
// connection values and the write headers.
struct ExtImages {
    uint8_t r0[SETUP0_LEN];
    uint8_t r3[SETUP_LEN];
    uint8_t r7[SETUP_LEN];
};
void ext_record_images(const DeviceEntry& e, int request_code, const ExtSettings& v,
                       ExtImages& out);

// Sends the WiFi module its PORT/HIP/HPORT text from entry `index`'s
// esp_port, hip and hport; 0, or -1 (a value with a line break sends nothing).
int DlgMemberToESPSetting_Ext(int index);
