// Applying the input extension settings: the controller commands first,
// then records 0, 3 and 7 of an XPort unit or the "PORT/HIP/HPORT" text of
// a WiFi module. The first failure stops the apply; what was sent before
// it stays sent.
#include "screens/ext/ext_screen.h"

#include "device/address_text.h"
#include "device/record_fields.h"
#include "device/wifi_set_text.h"
#include "screens/legacy_driver.h"
#include "base/bounded_text.h"
#include "base/DebugLog.h"
#include "ui/NQ_Menu.h"

#include <cstdio>
#include <cstring>

namespace {

bool no_destination(const char* d) { return d[0] == '\0' || std::strcmp(d, "0.0.0.0") == 0; }

// A destination text into record 7; a text shown cut from the unit's
// longer one keeps the unit's bytes while it is not edited.
void put_dest_text(uint8_t* r7, const RecordField& f, int r)
{
    if (ex_dest_cut[r]) return;
    put_text(r7, f, no_destination(extset.dest[r]) ? "" : extset.dest[r]);
}

int write_record(int unit, uint8_t* image, int len)
{
    uint8_t reply[4];
    return UDP_SendRecv(xportset[unit].addr.sin_addr.s_addr, image, len, reply, sizeof reply);
}
int write_record0(int unit, void* s)
{
    return write_record(unit, static_cast<ExImages*>(s)->r0, SETUP0_LEN);
}
int write_record3(int unit, void* s)
{
    return write_record(unit, static_cast<ExImages*>(s)->r3, SETUP_LEN);
}
int write_record7(int unit, void* s)
{
    return write_record(unit, static_cast<ExImages*>(s)->r7, SETUP_LEN);
}

// The entry takes the new values only for the send, and keeps the
// module's own values when the module did not get them.
int send_wifi(int unit, void*)
{
    DeviceEntry& e = xportset[unit];
    const int port = e.esp_port;
    const int hport = e.hport;
    char hip[sizeof e.hip];
    std::memcpy(hip, e.hip, sizeof hip);
    e.esp_port = extset.port[0];
    if (!ex_dest_cut[0]) copy_text(e.hip, sizeof e.hip, extset.dest[0]);
    e.hport = extset.dport[0];
    if (DlgMemberToESPSetting_Ext(unit) == 0) return 0;
    e.esp_port = port;
    e.hport = hport;
    std::memcpy(e.hip, hip, sizeof hip);
    return -1;
}

// Records 0, 3 and 7, 20 ms apart; the unit restarts after the last.
const Step kRecordWrites[] = {
    {write_record0, 20, "通信エラー", MSG_ROW_SETTINGS, "send setuprecord 0 error\n", nullptr},
    {write_record3, 20, "通信エラー", MSG_ROW_SETTINGS, "send setuprecord 3 error\n", nullptr},
    {write_record7, 20, "通信エラー", MSG_ROW_SETTINGS, "send setuprecord 7 error\n", nullptr},
};

// The destination the module's text will carry: the edited one, or the
// module's own while a cut one is not edited.
struct Destination {
    char text[sizeof DeviceEntry::hip + 1];
};
Destination wifi_destination(int unit)
{
    Destination d;
    const DeviceEntry& e = xportset[unit];
    if (ex_dest_cut[0])
        copy_text_n(d.text, sizeof d.text, e.hip, sizeof e.hip);
    else
        copy_text(d.text, sizeof d.text, extset.dest[0]);
    return d;
}

const Step kWifiSend = {send_wifi, 0, "通信エラー", MSG_ROW_SETTINGS, "set extention error\n",
                        nullptr};

}  // namespace

void ex_build_images(const DeviceEntry& e, int k, int gc, int tcp1ton, ExImages* out)
{
    uint8_t* r0 = out->r0;
    uint8_t* r3 = out->r3;
    uint8_t* r7 = out->r7;
    std::memcpy(r0, e.setup0, SETUP0_LEN);
    std::memcpy(r3, e.setup3, SETUP_LEN);
    std::memcpy(r7, e.setup7, SETUP_LEN);

    // Connection 1 always waits for connections.
    put_byte(r0, rec::mode1,
             (get_byte(r0, rec::mode1) & 0x30) | 0xC0 | (extset.request[0] ? k : 0));
    if (gc) {
        int mode2 = get_byte(r0, rec::mode2) & 0x30;
        int mode3 = get_byte(r3, rec::mode3) & 0x3F;
        if (tcp1ton) {
            if (extset.wait[1]) mode2 |= 0xC0;
            if (extset.request[1]) mode2 |= k;
            if (extset.wait[2]) mode3 |= 0xC0;
        }
        put_byte(r0, rec::mode2, mode2);
        put_byte(r3, rec::mode3, mode3);
        put_dest_text(r7, rec::dest1_text, 0);
    } else {
        in_addr_t ip = 0;
        if (extset.dest[0][0] == '\0' || parse_dotted_quad(extset.dest[0], &ip))
            put_ipv4(r0, rec::dest1_ip, ip);
    }
    if (tcp1ton) put_dest_text(r7, rec::dest2_text, 1);
    put_le16(r0, rec::dport1, extset.dport[0]);
    if (tcp1ton) put_le16(r0, rec::dport2, extset.dport[1]);
    put_le16(r0, rec::cmd_port, extset.port[0]);
    if (tcp1ton) {
        put_le16(r0, rec::port2, extset.port[1]);
        if (gc) put_le16(r3, rec::port3, extset.port[2]);
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

int OnSendExSet(int index)
{
    if (index < 0 || index >= xportcount || index >= XPORT_MAX) return 0;
    const int gc = is_gc(unit_modtype(index));
    extset.tcp1ton = sel_1toN == 1 ? 1 : 0;
    ExImages images;
    ex_build_images(xportset[index], ex_request_code(index), gc, extset.tcp1ton, &images);

    if (extset.has_disc && extset.has_notice && extset.disc != 15 && extset.notice != 0) {
        MyMsgBox("切断時間と定期通知は", "同時に設定できません。", MSG_ROW_SETTINGS, win_extset);
        return 0;
    }

    // A destination holding a line break (a module's own value may) cannot
    // go into the module's text: nothing at all is sent then.
    if (is_wifi(unit_modtype(index)) && !wifi_value_ok(wifi_destination(index).text)) {
        PrnDebug(kWifiSend.log);
        MyMsgBox(kWifiSend.message, "", kWifiSend.row, win_extset);
        return 0;
    }

    Step steps[EX_CONTROL_STEPS + 3];
    int n = ex_control_steps(unit_model(index), true, steps);
    if (is_wifi(unit_modtype(index))) {
        steps[n++] = kWifiSend;
    } else {
        for (const Step& st : kRecordWrites) steps[n++] = st;
    }
    return run_steps(steps, n, index, &images, win_extset) == 0 ? 1 : 0;
}
