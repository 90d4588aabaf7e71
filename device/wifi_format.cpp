// Texts of the WiFi module's key/value protocol: the dump's lines and pairs,
// the version lines, and the fields of the device entry they fill.
#include "device/KIVRAXPort.h"
#include "base/bounded_text.h"

#include <arpa/inet.h>
#include <cstddef>
#include <cstring>
#include <initializer_list>

namespace {

enum class EspKind { Address, Number, Text };

struct EspKey {
    const char* key;
    EspKind kind;
    size_t offset;   // of the field in DeviceEntry
};

const EspKey kEspKeys[] = {
    {"SUBM", EspKind::Address, offsetof(DeviceEntry, netmask)},
    {"GWAY", EspKind::Address, offsetof(DeviceEntry, gateway)},
    {"PORT", EspKind::Number, offsetof(DeviceEntry, esp_port)},
    {"MHOST", EspKind::Text, offsetof(DeviceEntry, mhost)},
    {"MPORT", EspKind::Number, offsetof(DeviceEntry, mport)},
    {"MUSER", EspKind::Text, offsetof(DeviceEntry, muser)},
    {"MPASS", EspKind::Text, offsetof(DeviceEntry, mpass)},
    {"MFROM", EspKind::Text, offsetof(DeviceEntry, mfrom)},
    {"MTO1", EspKind::Text, offsetof(DeviceEntry, mto1)},
    {"MTO2", EspKind::Text, offsetof(DeviceEntry, mto2)},
    {"MSUBJ", EspKind::Text, offsetof(DeviceEntry, msubj)},
    {"HIP", EspKind::Text, offsetof(DeviceEntry, hip)},
    {"HPORT", EspKind::Number, offsetof(DeviceEntry, hport)},
};
constexpr int kEspTextSize = sizeof(DeviceEntry::mhost);
static_assert(sizeof(DeviceEntry::hip) == kEspTextSize && sizeof(DeviceEntry::msubj) == kEspTextSize);

constexpr int kLineBuffer = 256;   // a dump line: at most 255 characters and its LF
constexpr int kDumpPairs = 128;
constexpr int kVersionLine = 31;

// One dump line into line (kLineBuffer + 1 bytes), ended at the CR before
// the LF, or at the LF when the module sent none.
int read_dump_line(int (*next)(void*, uint8_t*), void* ctx, char* line)
{
    for (int n = 0; n < kLineBuffer; n++) {
        uint8_t b = 0;
        if (next(ctx, &b) != 1) return ESP_DUMP_RECV_ERROR;
        if (b == '\n') {
            if (n > 0 && line[n - 1] == '\r') n--;
            line[n] = '\0';
            return ESP_DUMP_OK;
        }
        line[n] = static_cast<char>(b);
    }
    return ESP_DUMP_NO_LINEFEED;
}

// Copies one version line (from p up to its CR or LF, at most 31 characters).
void take_version_line(const uint8_t* p, const uint8_t* end, char out[kVersionLine + 1])
{
    int n = 0;
    while (p + n < end && p[n] != '\r' && p[n] != '\n' && n < kVersionLine) {
        out[n] = static_cast<char>(p[n]);
        n++;
    }
    out[n] = '\0';
}

}  // namespace

void ClearEspFields(DeviceEntry* e)
{
    if (e == nullptr) return;
    e->esp_port = 0;
    e->mport = 0;
    e->hport = 0;
    e->sketch_ver = 0;
    e->text_ver = 0;
    e->netmask = 0;
    e->gateway = 0;
    for (char* t : {e->mhost, e->muser, e->mpass, e->mfrom, e->mto1, e->mto2, e->msubj, e->hip})
        std::memset(t, 0, kEspTextSize);
}

int StoreEspValue(DeviceEntry* e, const char* key, const char* value)
{
    if (e == nullptr || key == nullptr || value == nullptr) return 0;
    for (const EspKey& k : kEspKeys) {
        if (std::strcmp(k.key, key) != 0) continue;
        char* field = reinterpret_cast<char*>(e) + k.offset;
        switch (k.kind) {
        case EspKind::Address: {
            in_addr_t a = inet_addr(value);
            std::memcpy(field, &a, sizeof a);
            break;
        }
        case EspKind::Number: {
            int v = decimal_value(value);
            std::memcpy(field, &v, sizeof v);
            break;
        }
        case EspKind::Text:
            copy_text(field, kEspTextSize, value);
            break;
        }
        return 1;
    }
    return 0;
}

int ReadEspDump(int (*next)(void* ctx, uint8_t* byte), void* ctx, DeviceEntry* e)
{
    char key[kLineBuffer + 1];
    char value[kLineBuffer + 1];
    for (int pair = 0; pair < kDumpPairs; pair++) {
        int r = read_dump_line(next, ctx, key);
        if (r != ESP_DUMP_OK) return r;
        // The module sends one more line after "END"; it is read and dropped.
        r = read_dump_line(next, ctx, value);
        if (r != ESP_DUMP_OK) return r;
        if (std::strcmp(key, "END") == 0) return ESP_DUMP_OK;
        StoreEspValue(e, key, value);
    }
    return ESP_DUMP_NO_END;
}

int ParseEspVersionLine(const char* line, const char* marker_long, const char* marker_short)
{
    if (line == nullptr) return 0;
    // The marker is expected at the start of the line; the number is read
    // right after where it would end there.
    if (std::strstr(line, marker_long) != nullptr) return decimal_value(line + std::strlen(marker_long));
    if (std::strstr(line, marker_short) != nullptr) return decimal_value(line + std::strlen(marker_short));
    return 0;
}

int ParseEspVersions(const uint8_t* reply, int len, int* sketch_ver, int* text_ver)
{
    *sketch_ver = 0;
    *text_ver = 0;
    if (reply == nullptr || len <= 0) return 0;
    const uint8_t* end = reply + len;
    const uint8_t* lf1 = static_cast<const uint8_t*>(std::memchr(reply, '\n', len));
    if (lf1 == nullptr) return 0;
    const uint8_t* lf2 = static_cast<const uint8_t*>(std::memchr(lf1 + 1, '\n', end - (lf1 + 1)));
    if (lf2 == nullptr) return 0;
    char line1[kVersionLine + 1];
    char line2[kVersionLine + 1];
    take_version_line(reply, lf1 + 1, line1);
    take_version_line(lf1 + 1, lf2 + 1, line2);
    *sketch_ver = ParseEspVersionLine(line1, "SKETCH VER : ", "SKETCH VER");
    *text_ver = ParseEspVersionLine(line2, "TEXT VER : ", "TEXT VER");
    return 1;
}
