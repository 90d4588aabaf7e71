// The mail server group: taken from the record images of an XPort unit or
// the mail keys of a WiFi module, and written back as records 1 and 3..7
// (built from the images read) or as one key/value text.
#include "settings/mail_job.h"

#include "base/DebugLog.h"
#include "base/bounded_text.h"
#include "device/address_text.h"
#include "device/record_fields.h"
#include "device/wifi_set_text.h"
#include "settings/unit_search.h"

#include <cstdio>
#include <cstring>

namespace {

void take_wifi_keys(const DeviceEntry& e, MailServer& m)
{
    // A sender without its user part counts as none.
    if (e.mfrom[0] != '@') copy_text_n(m.mail_from, MAIL_TEXT_LEN, e.mfrom, sizeof e.mfrom);
    copy_text_n(m.smtp_server, MAIL_TEXT_LEN, e.mhost, sizeof e.mhost);
    m.smtp_port = e.mport;
    copy_text_n(m.auth_user, MAIL_TEXT_LEN, e.muser, sizeof e.muser);
    copy_text_n(m.auth_pass, MAIL_TEXT_LEN, e.mpass, sizeof e.mpass);
    copy_text_n(m.mail_to1, MAIL_TEXT_LEN, e.mto1, sizeof e.mto1);
    copy_text_n(m.mail_to2, MAIL_TEXT_LEN, e.mto2, sizeof e.mto2);
    copy_text_n(m.mail_subject, MAIL_TEXT_LEN, e.msubj, sizeof e.msubj);
}

void take_records(const DeviceEntry& e, MailServer& m)
{
    if (is_gc(e)) {
        get_text(e.setup4, rec::mail_host, m.smtp_server, MAIL_TEXT_LEN);
    } else {
        format_dotted(get_ipv4(e.setup5, rec::smtp_ip), m.smtp_server);
    }
    m.smtp_port = get_le16(e.setup3, rec::smtp_port);
    if (get_byte(e.setup5, rec::from_user) != 0) {
        char user[rec::from_user.room];
        char domain[rec::from_domain.room];
        get_text(e.setup5, rec::from_user, user, sizeof user);
        get_text(e.setup6, rec::from_domain, domain, sizeof domain);
        std::snprintf(m.mail_from, MAIL_TEXT_LEN, "%s@%s", user, domain);
    }
    get_text(e.setup5, rec::mail_to1, m.mail_to1, MAIL_TEXT_LEN);
    get_text(e.setup5, rec::mail_to2, m.mail_to2, MAIL_TEXT_LEN);
    get_text(e.setup6, rec::subject, m.mail_subject, MAIL_TEXT_LEN);
}

// The server's values into the images; bytes after a text's terminator
// keep what they held.
void put_server(const MailServer& m, int model, bool gc, MailJob& j)
{
    if (m.auth_send == 1) {
        put_text(j.r1, rec::auth_user, m.auth_user);
        put_text(j.r1, rec::auth_pass, m.auth_pass);
    }
    if (gc) {
        put_text(j.r4, rec::mail_host, m.smtp_server);
        put_ipv4(j.r5, rec::smtp_ip, 0);
    } else {
        in_addr_t ip = 0;
        // A text that is no address leaves the bytes as they were read.
        if (m.smtp_server[0] == '\0' || parse_dotted_quad(m.smtp_server, &ip))
            put_ipv4(j.r5, rec::smtp_ip, ip);
    }
    put_le16(j.r3, rec::smtp_port, m.smtp_port);
    const char* at = std::strchr(m.mail_from, '@');
    if (m.mail_from[0] == '\0' || at == nullptr) {
        put_byte(j.r6, rec::from_domain, 0);
        put_byte(j.r5, rec::from_user, 0);
    } else {
        char user[MAIL_TEXT_LEN];
        copy_text_n(user, sizeof user, m.mail_from, static_cast<size_t>(at - m.mail_from));
        put_text(j.r5, rec::from_user, user);
        put_text(j.r6, rec::from_domain, at + 1);
    }
    put_text(j.r5, rec::mail_to1, m.mail_to1);
    put_text(j.r5, rec::mail_to2, m.mail_to2);
    put_text(j.r6, rec::subject, m.mail_subject);
    if (model != 0) put_text(j.r6, rec::subject2, m.mail_subject);
}

WifiMailKeys mail_keys(const MailServer& m)
{
    return {m.smtp_server, m.smtp_port, m.auth_user, m.auth_pass,
            m.mail_from,   m.mail_to1,  m.mail_to2,  m.mail_subject};
}

}  // namespace

bool operator==(const MailServer& a, const MailServer& b)
{
    const char* const ta[] = {a.smtp_server, a.auth_user, a.auth_pass,   a.mail_from,
                              a.mail_to1,    a.mail_to2,  a.mail_subject};
    const char* const tb[] = {b.smtp_server, b.auth_user, b.auth_pass,   b.mail_from,
                              b.mail_to1,    b.mail_to2,  b.mail_subject};
    for (size_t k = 0; k < sizeof ta / sizeof ta[0]; k++)
        if (std::strncmp(ta[k], tb[k], MAIL_TEXT_LEN) != 0) return false;
    return a.smtp_port == b.smtp_port && a.auth_send == b.auth_send;
}

int mail_ensure_read(int unit, MailJob&) { return EnsureUnitData(unit) == 0 ? 0 : -1; }

int mail_take_server(int unit, MailJob& j)
{
    MailServer& m = j.v.server;
    m = MailServer{};
    const DeviceEntry& e = xportset[unit];
    if (is_wifi(e))
        take_wifi_keys(e, m);
    else
        take_records(e, m);
    return 0;
}

int mail_build_wifi_text(int, MailJob& j)
{
    j.text_length = build_wifi_mail_text(mail_keys(j.v.server), j.text, sizeof j.text);
    return j.text_length == WIFI_TEXT_LINE_BREAK ? -1 : 0;
}

int mail_send_wifi_text(int unit, MailJob& j)
{
    // The entry keeps the values sent, also when the send fails.
    DeviceEntry& e = xportset[unit];
    const MailServer& m = j.v.server;
    copy_text(e.mfrom, sizeof e.mfrom, m.mail_from);
    copy_text(e.mhost, sizeof e.mhost, m.smtp_server);
    e.mport = m.smtp_port;
    copy_text(e.muser, sizeof e.muser, m.auth_user);
    copy_text(e.mpass, sizeof e.mpass, m.auth_pass);
    copy_text(e.mto1, sizeof e.mto1, m.mail_to1);
    copy_text(e.mto2, sizeof e.mto2, m.mail_to2);
    copy_text(e.msubj, sizeof e.msubj, m.mail_subject);
    return j.text_length < 0 || Set_ESP_Parameter(unit, j.text) < 0 ? -1 : 0;
}

int mail_build_records(int unit, MailJob& j)
{
    const DeviceEntry& e = xportset[unit];
    std::memset(j.r1, 0, SETUP_LEN);
    std::memcpy(j.r3, e.setup3, SETUP_LEN);
    std::memcpy(j.r4, e.setup4, SETUP_LEN);
    std::memcpy(j.r5, e.setup5, SETUP_LEN);
    std::memcpy(j.r6, e.setup6, SETUP_LEN);
    std::memcpy(j.r7, e.setup7, SETUP_LEN);
    if (j.asks(MAIL_DI_BITS)) put_di_record_bits(j.v.di, e.model, e.modtype, j.r6, j.r7);
    if (j.asks(MAIL_SERVER)) put_server(j.v.server, e.model, is_gc(e), j);
    SetRecordWriteHeader(j.r1, 1, 1);
    SetRecordWriteHeader(j.r3, 3, 1);
    SetRecordWriteHeader(j.r4, 4, 1);
    SetRecordWriteHeader(j.r5, 5, 1);
    SetRecordWriteHeader(j.r6, 6, 1);
    // The last record ends the operation: the unit restarts with them.
    SetRecordWriteHeader(j.r7, 7, 0);
    return 0;
}

int mail_write_record(int unit, const uint8_t* image)
{
    uint8_t reply[4];
    return UDP_SendRecv(xportset[unit].addr.sin_addr.s_addr, image, SETUP_LEN, reply,
                        sizeof reply) == 0
               ? 0
               : -1;
}

const char* check_mail_from(const char* text)
{
    if (text == nullptr || text[0] == '\0') return nullptr;
    const char* at = std::strchr(text, '@');
    if (at == nullptr) return "@マークがありません。";
    const size_t user = static_cast<size_t>(at - text);
    if (user == 0 || user > 23) return "ユーザー名部分の長さが不正です。";
    const size_t domain = std::strlen(at + 1);
    if (domain == 0 || domain > 23) return "ドメイン名部分の長さが不正です。";
    return nullptr;
}

const char* check_mail_to(const char* text)
{
    if (text == nullptr || text[0] == '\0') return nullptr;
    const char* at = std::strchr(text, '@');
    if (at == nullptr) return "@マークがありません。";
    if (at == text || at[1] == '\0') return "@マークの位置が不正です。";
    return nullptr;
}
