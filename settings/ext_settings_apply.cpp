// Applying the input extension group: the refusals, the controller
// commands, then records 0, 3 and 7 of an XPort unit or the PORT/HIP/HPORT
// text of a WiFi module, as one step table.
#include "settings/ext_settings.h"

#include "base/bounded_text.h"
#include "device/address_text.h"
#include "device/record_fields.h"
#include "device/wifi_set_text.h"
#include "settings/ext_steps.h"
#include "base/message_rows.h"

#include <cstring>

using namespace ext_steps;

namespace {

bool no_destination(const char* d) { return d[0] == '\0' || std::strcmp(d, "0.0.0.0") == 0; }

// A destination text into record 7; a text cut from the unit's longer one
// keeps the unit's bytes while it is not changed.
void put_dest_text(uint8_t* r7, const RecordField& f, const ExtSettings& v, int r)
{
    if (v.dest_cut[r]) return;
    put_text(r7, f, no_destination(v.dest[r]) ? "" : v.dest[r]);
}

// ---- when a step applies ----

// The unit cannot hold both: writing a disconnection time other than
// "None" sets the notice to "None".
bool disc_with_notice(int unit, const ExtSettings& v)
{
    return has<EXS_DISC>(unit, v) && has<EXS_NOTICE>(unit, v) && v.disc != 15 && v.notice != 0;
}
// So the notice is sent only while the disconnection time is "None".
template <ExWay W>
bool notice_goes(int unit, const ExtSettings& v)
{
    return kept<EXS_NOTICE, W>(unit, v) && !(has<EXS_DISC>(unit, v) && v.disc != 15);
}

bool wifi(int unit, const ExtSettings&) { return is_wifi(xportset[unit]); }
bool xport(int unit, const ExtSettings&) { return !is_wifi(xportset[unit]); }

// The destination the module's text will carry: the changed one, or the
// module's own while a cut one is not changed.
struct Destination {
    char text[sizeof DeviceEntry::hip + 1];
};
Destination wifi_destination(int unit, const ExtSettings& v)
{
    Destination d;
    const DeviceEntry& e = xportset[unit];
    if (v.dest_cut[0])
        copy_text_n(d.text, sizeof d.text, e.hip, sizeof e.hip);
    else
        copy_text(d.text, sizeof d.text, v.dest[0]);
    return d;
}
// A destination holding a line break (a module's own value may) cannot go
// into the module's text.
bool wifi_unsendable(int unit, const ExtSettings& v)
{
    return wifi(unit, v) && !wifi_value_ok(wifi_destination(unit, v).text);
}

// ---- exchanges ----

int refuse(int, ExtSettings&) { return -1; }

template <ExSetting S>
int write_control(int unit, ExtSettings& v)
{
    const ExControl* c = ex_control(S, unit_model(unit));
    return c != nullptr ? c->write(unit, ex_value(v, S)) : -1;
}

// The entry takes the new values only for the send, and keeps the
// module's own values when the module did not get them.
int send_wifi(int unit, ExtSettings& v)
{
    DeviceEntry& e = xportset[unit];
    const int port = e.esp_port;
    const int hport = e.hport;
    char hip[sizeof e.hip];
    std::memcpy(hip, e.hip, sizeof hip);
    e.esp_port = v.port[0];
    if (!v.dest_cut[0]) copy_text(e.hip, sizeof e.hip, v.dest[0]);
    e.hport = v.dport[0];
    if (DlgMemberToESPSetting_Ext(unit) == 0) return 0;
    e.esp_port = port;
    e.hport = hport;
    std::memcpy(e.hip, hip, sizeof hip);
    return -1;
}

template <int Record>
int write_record(int unit, ExtSettings& v)
{
    ExtImages images;
    ext_record_images(xportset[unit], ex_request_code(unit), v, images);
    uint8_t* image = Record == 0 ? images.r0 : Record == 3 ? images.r3 : images.r7;
    uint8_t reply[4];
    return UDP_SendRecv(xportset[unit].addr.sin_addr.s_addr, image, record_length(Record), reply,
                        sizeof reply);
}

constexpr int kRow = MSG_ROW_SETTINGS;

constexpr SettingsStep<ExtSettings> kApply[] = {
    {.exchange = refuse,
     .message = "切断時間と定期通知は",
     .detail = "同時に設定できません。",
     .row = kRow,
     .applies = disc_with_notice},
    {.exchange = refuse,
     .message = kCommError,
     .row = kRow,
     .log = "set extention error\n",
     .applies = wifi_unsendable},
    {.exchange = write_control<EXS_DISC>,
     .pause_ms = 20,
     .message = kCommError,
     .row = kRow,
     .log = "set disconnection time error\n",
     .applies = kept<EXS_DISC, ExWay::Parameter>},
    {.exchange = write_control<EXS_NOTICE>,
     .pause_ms = 20,
     .message = kCommError,
     .row = kRow,
     .log = "set noticetime error\n",
     .applies = notice_goes<ExWay::Parameter>},
    {.exchange = write_control<EXS_NOTICE>,
     .pause_ms = 20,
     .message = "通信エラー(定期通知)",
     .row = kRow,
     .log = "send recv error\n",
     .applies = notice_goes<ExWay::Memory>},
    {.exchange = write_control<EXS_NOTICE>,
     .pause_ms = 20,
     .message = kCommError,
     .row = kRow,
     .log = "send recv error\n",
     .applies = notice_goes<ExWay::Lettered>},
    {.exchange = write_control<EXS_CHAT>,
     .pause_ms = 20,
     .message = kCommError,
     .row = kRow,
     .log = "setdidetecttime error\n",
     .applies = kept<EXS_CHAT, ExWay::Parameter>},
    {.exchange = write_control<EXS_CHAT>,
     .pause_ms = 20,
     .message = "通信エラー(チャタリング)",
     .row = kRow,
     .log = "sendrecv error\n",
     .applies = kept<EXS_CHAT, ExWay::Memory>},
    {.exchange = send_wifi,
     .message = kCommError,
     .row = kRow,
     .log = "set extention error\n",
     .applies = wifi},
    // The unit restarts after record 7.
    {.exchange = write_record<0>,
     .pause_ms = 20,
     .message = kCommError,
     .row = kRow,
     .log = "send setuprecord 0 error\n",
     .applies = xport},
    {.exchange = write_record<3>,
     .pause_ms = 20,
     .message = kCommError,
     .row = kRow,
     .log = "send setuprecord 3 error\n",
     .applies = xport},
    {.exchange = write_record<7>,
     .pause_ms = 20,
     .message = kCommError,
     .row = kRow,
     .log = "send setuprecord 7 error\n",
     .applies = xport},
};

static_assert(kApply[EXT_APPLY_REFUSALS - 1].exchange == refuse);
static_assert(kApply[EXT_APPLY_REFUSALS].pause_ms == 20);  // the first write; a refusal never waits

}  // namespace

void ext_record_images(const DeviceEntry& e, int k, const ExtSettings& v, ExtImages& out)
{
    uint8_t* r0 = out.r0;
    uint8_t* r3 = out.r3;
    uint8_t* r7 = out.r7;
    std::memcpy(r0, e.setup0, SETUP0_LEN);
    std::memcpy(r3, e.setup3, SETUP_LEN);
    std::memcpy(r7, e.setup7, SETUP_LEN);
    const bool gc = is_gc(e);
    const bool one_to_n = gc && v.tcp1ton;

    // Connection 1 always waits for connections; bits 0x30 stay as read.
    put_byte(r0, rec::mode1, (get_byte(r0, rec::mode1) & 0x30) | 0xC0 | (v.request[0] ? k : 0));
    if (gc) {
        int mode2 = get_byte(r0, rec::mode2) & 0x30;
        int mode3 = get_byte(r3, rec::mode3) & 0x3F;
        if (one_to_n) {
            if (v.wait[1]) mode2 |= 0xC0;
            if (v.request[1]) mode2 |= k;
            if (v.wait[2]) mode3 |= 0xC0;
        }
        put_byte(r0, rec::mode2, mode2);
        put_byte(r3, rec::mode3, mode3);
        put_dest_text(r7, rec::dest1_text, v, 0);
    } else {
        // A text that is not a dotted address leaves the unit's bytes.
        in_addr_t ip = 0;
        if (v.dest[0][0] == '\0' || parse_dotted_quad(v.dest[0], &ip))
            put_ipv4(r0, rec::dest1_ip, ip);
    }
    put_le16(r0, rec::dport1, v.dport[0]);
    put_le16(r0, rec::cmd_port, v.port[0]);
    if (one_to_n) {
        put_dest_text(r7, rec::dest2_text, v, 1);
        put_le16(r0, rec::dport2, v.dport[1]);
        put_le16(r0, rec::port2, v.port[1]);
        put_le16(r3, rec::port3, v.port[2]);
    }
    SetRecordWriteHeader(r0, 0, 1);
    SetRecordWriteHeader(r3, 3, 1);
    SetRecordWriteHeader(r7, 7, 0);
}

int DlgMemberToESPSetting_Ext(int index)
{
    if (index < 0 || index >= XPORT_MAX) return -1;
    const DeviceEntry& e = xportset[index];
    char hip[sizeof e.hip + 1];
    copy_text_n(hip, sizeof hip, e.hip, sizeof e.hip);
    char text[sizeof hip + 64];
    if (build_wifi_extend_text(e.esp_port, hip, e.hport, text, sizeof text) < 0) return -1;
    return Set_ESP_Parameter(index, text);
}

StepResult apply_ext_settings(int unit, ExtSettings& values)
{
    if (!unit_ok(unit)) return settings_failure(0, nullptr, nullptr, 0, nullptr);
    return run_settings_steps(kApply, unit, values);
}
