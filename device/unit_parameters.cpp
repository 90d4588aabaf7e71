// Settings held by a unit's controller: parameter bytes (code, value) and
// the analog threshold pair, over the command channel.
#include "device/KIVRAXPort.h"
#include "base/bounded_text.h"

namespace {

constexpr int kReadCode = 0x90;    // reads parameter byte i
constexpr int kWriteCode = 0x91;   // 0x91 + i writes parameter byte i

// The entry's address text and command port; false for an index outside the table.
bool unit_address(int index, char (&ip)[17], int* port)
{
    if (index < 0 || index >= XPORT_MAX) return false;
    copy_text_n(ip, sizeof ip, xportset[index].ipstr, sizeof xportset[index].ipstr);
    *port = GetCmdPort(index);
    return true;
}

int set_param(int index, int code, int value)
{
    char ip[17];
    int port = 0;
    if (!unit_address(index, ip, &port)) return -1;
    return setPICparameter_new(ip, port, code, value);
}

int get_param(int index, int byte_index, int* value)
{
    char ip[17];
    int port = 0;
    if (!unit_address(index, ip, &port)) return -1;
    return getPICparameter_new(ip, port, kReadCode, byte_index, value);
}

}  // namespace

int setPICparameter_new(const char* ip, int port, int code, int value)
{
    uint8_t request[2] = {static_cast<uint8_t>(code), static_cast<uint8_t>(value)};
    uint8_t reply[2] = {0, 0};
    if (SendRecv(ip, port, 2, request, 2, reply) != 0) return -1;
    return CheckParamWriteReply(request, reply);
}

int getPICparameter_new(const char* ip, int port, int code, int index, int* value)
{
    uint8_t request[2] = {static_cast<uint8_t>(code), static_cast<uint8_t>(index)};
    uint8_t reply[2] = {0, 0};
    if (SendRecv(ip, port, 2, request, 2, reply) != 0) return -1;
    return ParseParamReadReply(request, reply, value);
}

// Byte 0 holds the disconnection time (low nibble) and the periodic notice
// (high nibble); writing one sets the other to "None".
int NQKivraSetDiMailEnable(int index, int v) { return set_param(index, kWriteCode + 4, v); }
int NQKivraGetDiMailEnable(int index, int* v) { return get_param(index, 4, v); }
int NQKivraSetDiMailLogic(int index, int v) { return set_param(index, kWriteCode + 3, v); }
int NQKivraGetDiMailLogic(int index, int* v) { return get_param(index, 3, v); }
int NQKivraSetDisconnectionTime(int index, int code) { return set_param(index, kWriteCode, code); }
int NQKivraSetNoticeTime(int index, int code) { return set_param(index, kWriteCode, code * 16 + 15); }
int NQKivraSetDiDetectTime(int index, int ms) { return set_param(index, kWriteCode + 2, ms); }
int NQKivraGetDiDetectTime(int index, int* ms) { return get_param(index, 2, ms); }

int NQKivraGetDisconnectionTime(int index, int* code)
{
    int byte = 0;
    if (get_param(index, 0, &byte) != 0) return -1;
    if (code != nullptr) *code = byte & 0x0F;
    return 0;
}

int NQKivraGetNoticeTime(int index, int* code)
{
    int byte = 0;
    if (get_param(index, 0, &byte) != 0) return -1;
    if (code != nullptr) *code = (byte >> 4) & 0x0F;
    return 0;
}

int GetADCThreshold(int index, int channel, int* led, int* mail, int* high, int* low)
{
    uint8_t request[4];
    uint8_t reply[13] = {};
    if (BuildThresholdRead(channel, request) != 0) return -1;
    if (SendRecvRaw(index, sizeof request, request, sizeof reply, reply) != 0) return -1;
    int l = 0, m = 0, h = 0, lo = 0;
    if (ParseThresholdReply(reply, &l, &m, &h, &lo) != 0) return -1;
    if (led != nullptr) *led = l;
    if (mail != nullptr) *mail = m;
    if (high != nullptr) *high = h;
    if (low != nullptr) *low = lo;
    return 0;
}

int SetADCThreshold(int index, int channel, int led, int mail, int high, int low)
{
    uint8_t request[13];
    uint8_t reply[13] = {};
    if (BuildThresholdWrite(channel, led, mail, high, low, request) != 0) return -1;
    return SendRecvRaw(index, sizeof request, request, sizeof reply, reply) == 0 ? 0 : -1;
}
