// "設定反映" of the mail alert screen: the unit settings first (digital
// inputs, thresholds, DO alerts), then the mail server settings, as setup
// records 1 and 3 to 7 of an XPort unit or one key/value text of a WiFi
// module. The first failure stops everything after it.
#include "screens/mail/KIVRAMailSet.h"
#include "screens/mail/mail_screen.h"

#include "device/address_text.h"
#include "device/record_fields.h"
#include "device/wifi_set_text.h"
#include "base/DebugLog.h"
#include "base/bounded_text.h"

#include <cstdio>
#include <cstring>

namespace {

constexpr int kMailTextMax = 8 * MAIL_TEXT_LEN + 128;

// The module's mail keys as the screen holds them.
WifiMailKeys mail_keys(const MailSet& m)
{
    return {m.smtp_server, m.smtp_port, m.auth_user,  m.auth_pass,
            m.mail_from,   m.mail_to1,  m.mail_to2, m.mail_subject};
}

// The entry takes the screen's values, then the module gets its text.
int write_wifi(int unit, const char* text, int length)
{
    DeviceEntry& e = xportset[unit];
    copy_text(e.mfrom, sizeof e.mfrom, mailset.mail_from);
    copy_text(e.mhost, sizeof e.mhost, mailset.smtp_server);
    e.mport = mailset.smtp_port;
    copy_text(e.muser, sizeof e.muser, mailset.auth_user);
    copy_text(e.mpass, sizeof e.mpass, mailset.auth_pass);
    copy_text(e.mto1, sizeof e.mto1, mailset.mail_to1);
    copy_text(e.mto2, sizeof e.mto2, mailset.mail_to2);
    copy_text(e.msubj, sizeof e.msubj, mailset.mail_subject);
    if (length < 0 || Set_ESP_Parameter(unit, text) < 0) {
        PrnDebug("sending setuprecord1 failed\n");
        mail_message("通信エラー1", "", MAIL_MSG_ROW);
        return -2;
    }
    return 1;
}

struct RecordOut {
    int record;
    uint8_t* image;
    const char* message;
    const char* log;
};

int write_records(int unit, uint8_t* r1, MailImages& im)
{
    const DeviceEntry& e = xportset[unit];
    const RecordOut records[] = {
        {1, r1, "通信エラー1", "sending setuprecord1 failed\n"},
        {3, im.r3, "通信エラー3", "sending setuprecord3 failed\n"},
        {4, im.r4, "通信エラー4", "sending setuprecord4 failed\n"},
        {5, im.r5, "通信エラー5", "sending setuprecord5 failed\n"},
        {6, im.r6, "通信エラー6", "sending setuprecord6 failed\n"},
        {7, im.r7, "通信エラー7", "sending setuprecord7 failed\n"},
    };
    for (const RecordOut& r : records) {
        // Record 1 goes only to "GC" units whose credentials are to be set.
        if (r.record == 1 && !(is_gc(e) && mailset.auth_send == 1)) continue;
        uint8_t reply[4];
        if (UDP_SendRecv(e.addr.sin_addr.s_addr, r.image, SETUP_LEN, reply, sizeof reply) != 0) {
            PrnDebug(r.log);
            mail_message(r.message, "", MAIL_MSG_ROW);
            return -2;
        }
    }
    return 1;
}

}  // namespace

// The images as the apply sends them, from the working copies and mailset.
void build_mail_records(const MailSet& m, int model, int modtype, MailImages& im,
                        uint8_t r1[SETUP_LEN])
{
    std::memset(r1, 0, SETUP_LEN);
    if (m.auth_send == 1) {
        put_text(r1, rec::auth_user, m.auth_user);
        put_text(r1, rec::auth_pass, m.auth_pass);
    }
    put_di_record_bits(m, model, modtype, im.r6, im.r7);
    if (is_gc(modtype)) {
        put_text(im.r4, rec::mail_host, m.smtp_server);
        put_ipv4(im.r5, rec::smtp_ip, 0);
    } else {
        in_addr_t ip = 0;
        // A text that is no address leaves the bytes as they were read.
        if (m.smtp_server[0] == '\0' || parse_dotted_quad(m.smtp_server, &ip))
            put_ipv4(im.r5, rec::smtp_ip, ip);
    }
    put_le16(im.r3, rec::smtp_port, m.smtp_port);
    const char* at = std::strchr(m.mail_from, '@');
    if (m.mail_from[0] == '\0' || at == nullptr) {
        put_byte(im.r6, rec::from_domain, 0);
        put_byte(im.r5, rec::from_user, 0);
    } else {
        char user[MAIL_TEXT_LEN];
        copy_text_n(user, sizeof user, m.mail_from, static_cast<size_t>(at - m.mail_from));
        put_text(im.r5, rec::from_user, user);
        put_text(im.r6, rec::from_domain, at + 1);
    }
    put_text(im.r5, rec::mail_to1, m.mail_to1);
    put_text(im.r5, rec::mail_to2, m.mail_to2);
    put_text(im.r6, rec::subject, m.mail_subject);
    if (model != 0) put_text(im.r6, rec::subject2, m.mail_subject);
    SetRecordWriteHeader(r1, 1, 1);
    SetRecordWriteHeader(im.r3, 3, 1);
    SetRecordWriteHeader(im.r4, 4, 1);
    SetRecordWriteHeader(im.r5, 5, 1);
    SetRecordWriteHeader(im.r6, 6, 1);
    SetRecordWriteHeader(im.r7, 7, 0);
}

int OnOKMailSet(int unit)
{
    if (write_di_settings(unit) != 0) return -1;
    return write_analog_settings(unit) != 0 ? -1 : 0;
}

int mail_apply_item(int unit)
{
    const bool wifi = is_wifi(unit_modtype(unit));
    // The module's text is built first: a value that cannot go into it is
    // the operator's to change, and nothing is sent.
    char text[kMailTextMax];
    int length = 0;
    if (wifi) {
        length = build_wifi_mail_text(mail_keys(mailset), text, sizeof text);
        if (length == WIFI_TEXT_LINE_BREAK) {
            PrnDebug("mail setting holds a line break, not sent\n");
            mail_message("入力エラー", "", MAIL_MSG_ROW);
            return 0;
        }
    }
    // A failure has been shown; the screen stays on "設定反映".
    if (OnOKMailSet(unit) != 0) return 0;
    if (wifi) return write_wifi(unit, text, length);
    // The working copies stay as read, so a later apply starts from them again.
    uint8_t r1[SETUP_LEN];
    MailImages images = mail_images;
    build_mail_records(mailset, unit_model(unit), unit_modtype(unit), images, r1);
    return write_records(unit, r1, images);
}
