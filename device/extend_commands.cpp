// Controller memory bytes and the "AJ"/"AS" notice of the analog models.
#include "device/extend_commands.h"

#include "device/KIVRAXPort.h"

void BuildNoticeQuery(uint8_t out[NOTICE_QUERY_LEN])
{
    out[0] = 'A';
    out[1] = 'J';
    out[2] = 0x20;
    out[3] = CMD_END;
}

void BuildNoticeSet(int code, uint8_t out[NOTICE_SET_LEN])
{
    out[0] = 'A';
    out[1] = 'S';
    out[2] = static_cast<uint8_t>((code & 0x0F) + 0x20);
    out[3] = CMD_END;
}

int ParseNoticeReply(const uint8_t reply[NOTICE_REPLY_LEN]) { return reply[4] & 0x0F; }

int GetMemoryByte(int index, int address, int* value)
{
    uint8_t request[7];
    uint8_t reply[9] = {};
    BuildMemoryRead(address, request);
    if (SendRecvRaw(index, sizeof request, request, sizeof reply, reply) != 0) return -1;
    uint8_t data = 0;
    if (ParseMemoryReply(reply, sizeof reply, 1, &data) != 0) return -1;
    if (value != nullptr) *value = data;
    return 0;
}

int SetMemoryByte(int index, int address, int value)
{
    const uint8_t data = static_cast<uint8_t>(value & 0xFF);
    uint8_t request[9];
    uint8_t reply[5] = {};
    BuildMemoryWrite(address, &data, 1, request);
    return SendRecvRaw(index, sizeof request, request, sizeof reply, reply) == 0 ? 0 : -1;
}

int GetNoticeA(int index, int* code)
{
    uint8_t request[NOTICE_QUERY_LEN];
    uint8_t reply[NOTICE_REPLY_LEN] = {};
    BuildNoticeQuery(request);
    if (SendRecvRaw(index, sizeof request, request, sizeof reply, reply) != 0) return -1;
    if (code != nullptr) *code = ParseNoticeReply(reply);
    return 0;
}

int SetNoticeA(int index, int code)
{
    uint8_t request[NOTICE_SET_LEN];
    uint8_t reply[NOTICE_SET_LEN] = {};
    BuildNoticeSet(code, request);
    return SendRecvRaw(index, sizeof request, request, sizeof reply, reply) == 0 ? 0 : -1;
}
