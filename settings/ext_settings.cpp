// The input extension group: what each model and module kind has, the
// controller settings by model family, and the read as step tables.
#include "settings/ext_settings.h"

#include "base/bounded_text.h"
#include "device/address_text.h"
#include "device/extend_commands.h"
#include "device/record_fields.h"
#include "settings/ext_steps.h"
#include "settings/unit_search.h"
#include "base/message_rows.h"

#include <cstring>
#include <initializer_list>

using namespace ext_steps;

namespace {

constexpr unsigned models(std::initializer_list<int> list)
{
    unsigned bits = 0;
    for (int m : list) bits |= 1u << m;
    return bits;
}

constexpr unsigned kDigital = models({0, 1, 2, 5, 6});
constexpr unsigned kMemory = models({9, 11});
constexpr unsigned kLettered = models({8, 10});

// Models 9 and 11 keep the notice in the high nibble of a memory byte.
int read_notice_memory(int unit, int* code)
{
    int byte = 0;
    if (GetMemoryByte(unit, MEM_NOTICE, &byte) != 0) return -1;
    *code = byte >> 4;
    return 0;
}
int write_notice_memory(int unit, int code)
{
    return SetMemoryByte(unit, MEM_NOTICE, code * 16 + 15);
}
int read_chatter_memory(int unit, int* ms) { return GetMemoryByte(unit, MEM_CHATTER, ms); }
int write_chatter_memory(int unit, int ms) { return SetMemoryByte(unit, MEM_CHATTER, ms); }

const ExControl kControls[] = {
    {EXS_DISC, kDigital, ExWay::Parameter, NQKivraGetDisconnectionTime,
     NQKivraSetDisconnectionTime},
    {EXS_NOTICE, kDigital, ExWay::Parameter, NQKivraGetNoticeTime, NQKivraSetNoticeTime},
    {EXS_NOTICE, kMemory, ExWay::Memory, read_notice_memory, write_notice_memory},
    {EXS_NOTICE, kLettered, ExWay::Lettered, GetNoticeA, SetNoticeA},
    {EXS_CHAT, kDigital, ExWay::Parameter, NQKivraGetDiDetectTime, NQKivraSetDiDetectTime},
    {EXS_CHAT, kMemory, ExWay::Memory, read_chatter_memory, write_chatter_memory},
};

// The models whose input extension the settings menu offers, by module kind.
constexpr unsigned kWired = models({0, 3, 4, 5, 6, 8, 9, 10, 11});
constexpr unsigned kGcToo = models({2});

StepResult no_unit() { return settings_failure(0, nullptr, nullptr, 0, nullptr); }

// ---- read ----

int ensure_read(int unit, ExtSettings&) { return EnsureUnitData(unit) == 0 ? 0 : -1; }

// A destination text of record 7: none when it is empty or "0.0.0.0".
void take_dest_text(const uint8_t* setup7, const RecordField& f, ExtSettings& v, int r)
{
    char full[64];
    const size_t n = get_text(setup7, f, full, sizeof full);
    if (n == 0 || std::strcmp(full, "0.0.0.0") == 0) return;
    v.dest_cut[r] = copy_text(v.dest[r], EXT_DEST_LEN, full) < n;
}

void take_wifi(const DeviceEntry& e, ExtSettings& v)
{
    v.port[0] = e.esp_port;
    v.request[0] = true;
    const size_t n = strnlen(e.hip, sizeof e.hip);
    v.dest_cut[0] = copy_text_n(v.dest[0], EXT_DEST_LEN, e.hip, sizeof e.hip) < n;
    v.dport[0] = e.hport;
}

// Connections 2 and 3,4 of "GC" firmware; TCP 1:N is on when any of them waits or requests.
void take_one_to_n(const DeviceEntry& e, int k, ExtSettings& v)
{
    const int mode2 = get_byte(e.setup0, rec::mode2);
    const int mode3 = get_byte(e.setup3, rec::mode3);
    v.port[1] = get_le16(e.setup0, rec::port2);
    v.wait[1] = mode2 >= 0xC0;
    v.request[1] = (mode2 & 0x0F) == k;
    take_dest_text(e.setup7, rec::dest2_text, v, 1);
    v.dport[1] = get_le16(e.setup0, rec::dport2);
    v.port[2] = get_le16(e.setup3, rec::port3);
    v.wait[2] = mode3 >= 0xC0;
    v.tcp1ton = v.wait[1] || v.request[1] || v.wait[2];
}

// Connection values as the unit holds them. A destination port is kept
// even when its destination is not shown, so that it is written back as it was.
int take_connections(int unit, ExtSettings& v)
{
    const DeviceEntry& e = xportset[unit];
    const int model = unit_model(unit);
    v = ExtSettings{};
    v.has_disc = ex_control(EXS_DISC, model) != nullptr;
    v.has_notice = ex_control(EXS_NOTICE, model) != nullptr;
    v.has_chat = ex_control(EXS_CHAT, model) != nullptr;
    v.wait[0] = true;
    if (is_wifi(e)) {
        take_wifi(e, v);
        return 0;
    }
    const int k = ex_request_code(unit);
    v.port[0] = get_le16(e.setup0, rec::cmd_port);
    v.request[0] = (get_byte(e.setup0, rec::mode1) & 0x0F) == k;
    v.dport[0] = get_le16(e.setup0, rec::dport1);
    if (is_gc(e)) {
        take_dest_text(e.setup7, rec::dest1_text, v, 0);
        take_one_to_n(e, k, v);
    } else if (const in_addr_t ip = get_ipv4(e.setup0, rec::dest1_ip); ip != 0) {
        format_dotted(ip, v.dest[0]);
    }
    return 0;
}

// Reads one controller setting; the codes keep their low four bits.
template <ExSetting S>
int read_control(int unit, ExtSettings& v)
{
    const ExControl* c = ex_control(S, unit_model(unit));
    int value = 0;
    if (c == nullptr || c->read(unit, &value) != 0) return -1;
    ex_value(v, S) = S == EXS_CHAT ? value : (value & 0x0F);
    return 0;
}

constexpr int kRow = MSG_ROW_SETTINGS;

const SettingsStep<ExtSettings> kReadConnections[] = {
    {.exchange = ensure_read, .message = kCommError, .row = MSG_ROW_MENU},
    {.exchange = take_connections},
};

// One failure line per family; the notice and the chattering time are
// followed by a pause as well.
const SettingsStep<ExtSettings> kReadControls[] = {
    {.exchange = read_control<EXS_DISC>,
     .pause_ms = 20,
     .message = kCommError,
     .row = kRow,
     .log = "disconnection time get error\n",
     .applies = has<EXS_DISC>,
     .shows = ext_shows(EXS_DISC)},
    {.exchange = read_control<EXS_NOTICE>,
     .pause_ms = 20,
     .message = kCommError,
     .row = kRow,
     .log = "get noticetime error\n",
     .applies = kept<EXS_NOTICE, ExWay::Parameter>,
     .shows = ext_shows(EXS_NOTICE)},
    {.exchange = read_control<EXS_NOTICE>,
     .pause_ms = 20,
     .message = "通信エラー(定期通知)",
     .row = kRow,
     .log = "sendrecv error\n",
     .applies = kept<EXS_NOTICE, ExWay::Memory>,
     .shows = ext_shows(EXS_NOTICE)},
    {.exchange = read_control<EXS_NOTICE>,
     .pause_ms = 20,
     .message = kCommError,
     .row = kRow,
     .log = "sendrecv error\n",
     .applies = kept<EXS_NOTICE, ExWay::Lettered>,
     .shows = ext_shows(EXS_NOTICE)},
    {.pause_ms = 20, .applies = has<EXS_NOTICE>},
    {.exchange = read_control<EXS_CHAT>,
     .pause_ms = 20,
     .message = kCommError,
     .row = kRow,
     .log = "get chattering time  error\n",
     .applies = kept<EXS_CHAT, ExWay::Parameter>,
     .shows = ext_shows(EXS_CHAT)},
    {.exchange = read_control<EXS_CHAT>,
     .pause_ms = 20,
     .message = "通信エラー(チャタリング)",
     .row = kRow,
     .log = "sendrecv error\n",
     .applies = kept<EXS_CHAT, ExWay::Memory>,
     .shows = ext_shows(EXS_CHAT)},
    {.pause_ms = 20, .applies = has<EXS_CHAT>},
};

}  // namespace

const ExControl* ex_control(ExSetting s, int model)
{
    if (model < 0 || model > 31) return nullptr;
    for (const ExControl& c : kControls)
        if (c.setting == s && (c.models & (1u << model)) != 0) return &c;
    return nullptr;
}

int& ex_value(ExtSettings& v, ExSetting s)
{
    return s == EXS_DISC ? v.disc : s == EXS_NOTICE ? v.notice : v.chat;
}
int ex_value(const ExtSettings& v, ExSetting s)
{
    return s == EXS_DISC ? v.disc : s == EXS_NOTICE ? v.notice : v.chat;
}

ExtParts ext_parts(int model, int modtype)
{
    const bool known = model >= 0 && model < 16;
    const unsigned bit = known ? 1u << model : 0;
    ExtParts p{};
    p.group = is_wifi(modtype) || (bit & kWired) != 0 || (is_gc(modtype) && (bit & kGcToo) != 0);
    if (!p.group) return p;
    p.one_to_n = is_gc(modtype);
    p.dest_host = is_gc(modtype) || is_wifi(modtype);
    p.request = !is_wifi(modtype);
    p.records = !is_wifi(modtype);
    p.disc = ex_control(EXS_DISC, model) != nullptr;
    p.notice = ex_control(EXS_NOTICE, model) != nullptr;
    p.chat = ex_control(EXS_CHAT, model) != nullptr;
    return p;
}

int ex_request_code(int unit)
{
    if (unit < 0 || unit >= XPORT_MAX || is_wifi(unit_modtype(unit))) return 1;
    const int model = unit_model(unit);
    return model == 3 || model == 4 ? 5 : 1;
}

void set_ext_dest(ExtSettings& v, int r, const char* text)
{
    if (r < 0 || r > 1) return;
    std::memset(v.dest[r], 0, EXT_DEST_LEN);
    copy_text(v.dest[r], EXT_DEST_LEN, text);
    v.dest_cut[r] = false;
}

StepResult read_ext_connections(int unit, ExtSettings& out)
{
    return unit_ok(unit) ? run_settings_steps(kReadConnections, unit, out) : no_unit();
}

StepResult read_ext_controls(int unit, ExtSettings& out, StepShown<ExtSettings> shown)
{
    return unit_ok(unit) ? run_settings_steps(kReadControls, unit, out, shown) : no_unit();
}

StepResult read_ext_settings(int unit, ExtSettings& out)
{
    const StepResult r = read_ext_connections(unit, out);
    return r.ok() ? read_ext_controls(unit, out) : r;
}
