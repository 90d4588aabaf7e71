// Byte images of the XPort's UDP protocol and of the controller's commands:
// built and read here, moved by the exchange code.
#include "device/KIVRAXPort.h"

#include <arpa/inet.h>
#include <cstring>

const uint8_t discovery_query1[4] = {0x00, 0x00, 0x00, 0xF6};
const uint8_t discovery_query2[2] = {'L', 'N'};
const uint8_t extfirm_query[EXTFIRM_QUERY_LEN] = {0x00, 0x00, 0x00, 0xF4};

int IsAcceptedDeviceType(const char devtype[2])
{
    if (devtype[0] == '_' && devtype[1] == 'L') return 1;
    if (devtype[0] != 'X') return 0;
    return std::strchr("124569", devtype[1]) != nullptr && devtype[1] != '\0';
}

void ParseDiscoveryReply(const uint8_t* reply, int len, DeviceEntry* e)
{
    if (reply == nullptr || e == nullptr) return;
    if (len > DISCOVERY_REPLY_MAX) len = DISCOVERY_REPLY_MAX;
    if (len > 5) e->disc_nib5 = reply[5] >> 4;
    if (len > 6) e->disc_nib6 = reply[6] >> 4;
    if (len > 8) e->devtype[0] = static_cast<char>(reply[8]);
    if (len > 9) e->devtype[1] = static_cast<char>(reply[9]);
    for (int k = 0; k < 6; k++)
        if (len > 24 + k) e->mac[k] = reply[24 + k];
}

int BuildRecordRead(int record, uint8_t out[4])
{
    if (record < 0 || record > 31) return -1;
    out[0] = 0x00;
    out[1] = 0x00;
    out[2] = 0x00;
    out[3] = static_cast<uint8_t>(0xE0 + record);
    return 0;
}

void SetRecordWriteHeader(uint8_t* image, int record, int more)
{
    image[0] = 0x00;
    image[1] = more ? 0x01 : 0x00;
    image[2] = 0x00;
    image[3] = static_cast<uint8_t>(0xC0 + (record & 0x3F));
}

int ParseExtraFirmware(const uint8_t* reply, int len, char* out, int size)
{
    if (out == nullptr || size <= 0) return 0;
    out[0] = '\0';
    if (reply == nullptr) return 0;
    int n = 0;
    for (int k = 16; k < len && n < 17 && n < size - 1 && reply[k] != 0; k++)
        out[n++] = static_cast<char>(reply[k]);
    out[n] = '\0';
    return std::strstr(out, "GC") != nullptr ? 1 : 0;
}

void BuildIPSetup(const uint8_t mac[6], in_addr_t ip, uint8_t out[IP_SETUP_LEN])
{
    static const uint8_t head[12] = {0x00, 0x00, 0x00, 0xFC, 'I', 'P', '-', 'S', 'E', 'T', 'U', 'P'};
    std::memcpy(out, head, sizeof head);
    out[12] = 0x00;
    out[13] = 0x00;
    out[14] = mac[4];
    out[15] = mac[5];
    std::memcpy(out + 16, &ip, 4);   // already in network order
}

in_addr_t XsubnetDecode(int hostbits)
{
    // A shift by 32 or more is undefined: 32 host bits and more leave no network bits.
    if (hostbits >= 32) return 0;
    if (hostbits <= 0) return 0xFFFFFFFFu;
    uint32_t mask = 0xFFFFFFFFu << hostbits;
    return htonl(mask);
}

int XSubnetEncode(in_addr_t mask)
{
    uint32_t m = ntohl(mask);
    int ones = 0;
    while (ones < 32 && (m & (0x80000000u >> ones)) != 0) ones++;
    // Any one bit after the first zero makes the mask non-contiguous.
    if (ones < 32 && (m << ones) != 0) return -1;
    return 32 - ones;
}

int DecodeUUAnswer(const uint8_t reply[2], int* model, int* unit_id)
{
    uint8_t b = reply[0];
    if ((b & 0x70) == 0x70) return MODEL_ANSWER_MODEL7;
    if ((b & 0x0F) == 0) return MODEL_ANSWER_ID_F;
    if (reply[0] == 'A' && reply[1] == 'T') return MODEL_ANSWER_AT;
    *unit_id = (~b) & 0x0F;
    *model = (b & 0x70) >> 4;
    return MODEL_ANSWER_OK;
}

void DecodeMIAnswer(const uint8_t reply[5], int* model, int* unit_id)
{
    *unit_id = (~reply[2]) & 0x0F;
    *model = reply[3] & 0x0F;
}

const UnitCommand unit_commands[] = {
    {"MR0401", 7, 9},  {"MR0421", 7, 9},   {"MW0401", 9, 5}, {"MW0421", 9, 5},
    {"MR0432", 7, 11}, {"MW0432", 11, 5},  {"MR0491", 7, 9}, {"MR0B03", 7, 13},
    {"AJ", 4, 6},      {"AS", 4, 4},       {"AK", 4, 13},    {"AL", 13, 13},
    {"TJ", 4, 15},     {"AP", 4, 4},       {"AR", 5, 5},     {"TC", 6, 6},
    {"TF", 13, 13},    {"AQ", 8, 8},       {"DJ", 4, 11},    {"DL", 10, 10},
    {"DS", 5, 5},
};
const int unit_command_count = sizeof unit_commands / sizeof unit_commands[0];

const UnitCommand* FindUnitCommand(const char* name)
{
    if (name == nullptr) return nullptr;
    for (const UnitCommand& c : unit_commands)
        if (std::strcmp(c.name, name) == 0) return &c;
    return nullptr;
}

namespace {

const char kHex[] = "0123456789ABCDEF";

void put_hex4(uint8_t* out, int value)
{
    for (int k = 0; k < 4; k++) out[k] = static_cast<uint8_t>(kHex[(value >> (12 - 4 * k)) & 0x0F]);
}

int hex_digit(uint8_t c)
{
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return -1;
}

// n hexadecimal digits starting at p; -1 when one of them is not one.
int read_hex(const uint8_t* p, int n)
{
    int value = 0;
    for (int k = 0; k < n; k++) {
        int d = hex_digit(p[k]);
        if (d < 0) return -1;
        value = value * 16 + d;
    }
    return value;
}

}  // namespace

void BuildMemoryRead(int address, uint8_t out[7])
{
    out[0] = 'M';
    out[1] = 'R';
    put_hex4(out + 2, address);
    out[6] = CMD_END;
}

int BuildMemoryWrite(int address, const uint8_t* data, int n, uint8_t* out)
{
    if (n != 1 && n != 2) return -1;
    out[0] = 'M';
    out[1] = 'W';
    put_hex4(out + 2, address);
    for (int k = 0; k < n; k++) {
        out[6 + 2 * k] = static_cast<uint8_t>(kHex[data[k] >> 4]);
        out[7 + 2 * k] = static_cast<uint8_t>(kHex[data[k] & 0x0F]);
    }
    out[6 + 2 * n] = CMD_END;
    return 7 + 2 * n;
}

int ParseMemoryReply(const uint8_t* reply, int len, int n, uint8_t* data)
{
    // n is compared by halves: a large count must not overflow the length.
    if (reply == nullptr || n < 0 || len < 6 || n > (len - 6) / 2) return -1;
    for (int k = 0; k < n; k++)
        if (read_hex(reply + 6 + 2 * k, 2) < 0) return -1;
    for (int k = 0; k < n; k++) data[k] = static_cast<uint8_t>(read_hex(reply + 6 + 2 * k, 2));
    return 0;
}

int CheckParamWriteReply(const uint8_t request[2], const uint8_t reply[2])
{
    // The controller repeats both bytes of a write it took.
    return reply[0] == request[0] && reply[1] == request[1] ? 0 : -1;
}

int ParseParamReadReply(const uint8_t request[2], const uint8_t reply[2], int* value)
{
    if (reply[0] != request[0]) return -1;
    if (value != nullptr) *value = reply[1];
    return 0;
}

int BuildThresholdRead(int channel, uint8_t out[4])
{
    if (channel < 0 || channel >= ANALOG_INPUTS) return -1;
    out[0] = 'A';
    out[1] = 'K';
    out[2] = static_cast<uint8_t>(channel + 0x20);
    out[3] = CMD_END;
    return 0;
}

int BuildThresholdWrite(int channel, int led, int mail, int high, int low, uint8_t out[13])
{
    // The mode byte holds the mail code in its two low bits.
    if (channel < 0 || channel >= ANALOG_INPUTS || mail < 0 || mail > 3) return -1;
    out[0] = 'A';
    out[1] = 'L';
    out[2] = static_cast<uint8_t>(channel + 0x20);
    // The mail code has two bits: a larger value must not reach the LED bit.
    out[3] = static_cast<uint8_t>(0x20 + (led != 0 ? 0x08 : 0x00) + (mail & 0x03));
    put_hex4(out + 4, low & 0xFFFF);
    put_hex4(out + 8, high & 0xFFFF);
    out[12] = CMD_END;
    return 0;
}

int ParseThresholdReply(const uint8_t reply[13], int* led, int* mail, int* high, int* low)
{
    int lo = read_hex(reply + 4, 4);
    int hi = read_hex(reply + 8, 4);
    if (lo < 0 || hi < 0) return -1;
    *led = (reply[3] >> 3) & 0x01;
    *mail = reply[3] & 0x03;
    *low = lo;
    *high = hi;
    return 0;
}

void BuildRangeRead(int input, uint8_t out[4])
{
    out[0] = 'A';
    out[1] = 'J';
    out[2] = static_cast<uint8_t>(input + 0x20);
    out[3] = CMD_END;
}

int ParseRangeReply(const uint8_t reply[6]) { return reply[3] & 0x0F; }

void BuildDOAlertRead(int d, uint8_t out[4])
{
    out[0] = 'D';
    out[1] = 'J';
    out[2] = static_cast<uint8_t>(d + 0x20);
    out[3] = CMD_END;
}

int ParseDOAlertReply(const uint8_t reply[11], int* enable, int* input, int* direction, int* width)
{
    const int w = read_hex(reply + 6, 4);
    if (w < 0) return -1;
    *enable = reply[3] & 0x01;
    *input = reply[4] & 0x07;
    *direction = reply[5] & 0x01;
    *width = w;
    return 0;
}

void BuildDOAlertWrite(int d, int input, int direction, int width, uint8_t out[10])
{
    out[0] = 'D';
    out[1] = 'L';
    out[2] = static_cast<uint8_t>(d + 0x20);
    out[3] = static_cast<uint8_t>(input + 0x20);
    out[4] = static_cast<uint8_t>(direction + 0x20);
    put_hex4(out + 5, width & 0xFFFF);
    out[9] = CMD_END;
}

void BuildDOAlertStart(int d, int enable, uint8_t out[5])
{
    out[0] = 'D';
    out[1] = 'S';
    out[2] = static_cast<uint8_t>(d + 0x20);
    out[3] = static_cast<uint8_t>(enable + 0x20);
    out[4] = CMD_END;
}
