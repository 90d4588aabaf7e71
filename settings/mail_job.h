// What the steps of one read or apply of the mail alert groups share, and
// the steps of each part (settings/mail_*.cpp). Only those files include it.
#pragma once

#include "device/KIVRAXPort.h"
#include "settings/mail_settings.h"

#include <cstdint>

constexpr int MAIL_WIFI_TEXT_MAX = 8 * MAIL_TEXT_LEN + 128;

// One read or apply of one unit: the values, the parts asked for, what the
// unit has, and what the steps hand on to each other.
struct MailJob {
    MailAlertSettings& v;
    unsigned parts;
    MailPresence has;
    int enable = 0;  // digital-input masks as read, or as written
    int logic = 0;
    uint8_t r1[SETUP_LEN] = {};  // images as they are written (from the images read)
    uint8_t r3[SETUP_LEN] = {};
    uint8_t r4[SETUP_LEN] = {};
    uint8_t r5[SETUP_LEN] = {};
    uint8_t r6[SETUP_LEN] = {};
    uint8_t r7[SETUP_LEN] = {};
    char text[MAIL_WIFI_TEXT_MAX] = {};  // the WiFi mail text
    int text_length = -1;                // its length; negative: it could not be built

    bool asks(unsigned part) const { return (parts & part) != 0; }
};

// ---- the mail server (mail_server.cpp) ----
int mail_ensure_read(int unit, MailJob& j);      // records or WiFi keys read: 0, else -1
int mail_take_server(int unit, MailJob& j);      // values from the images or the keys
int mail_build_wifi_text(int unit, MailJob& j);  // 0, or -1 for a value with a line break
int mail_send_wifi_text(int unit, MailJob& j);   // the entry takes the values, then the text
// The images as written: from those read, with the server's values
// (MAIL_SERVER), the rows' bits (MAIL_DI_BITS) and the write headers.
int mail_build_records(int unit, MailJob& j);
int mail_write_record(int unit, const uint8_t* image);

// ---- the digital-input rows (mail_inputs.cpp) ----
int di_read_enable(int unit, MailJob& j);
int di_read_logic(int unit, MailJob& j);
int di_read_memory(int unit, MailJob& j);
int di_read_record6(int unit, MailJob& j);
int di_take_modes(int unit, MailJob& j);  // di_mode from the masks
int di_make_masks(int unit, MailJob& j);  // the masks from di_mode
int di_write_memory(int unit, MailJob& j);
int di_write_enable(int unit, MailJob& j);
int di_write_logic(int unit, MailJob& j);
// The rows' bits of records 6 and 7, from di_mode.
void put_di_record_bits(const DiMail& di, int model, int modtype, uint8_t* r6, uint8_t* r7);
