// The lettered commands of the analog inputs and DO alerts that the mail
// alert groups read and write besides the thresholds ("AK"/"AL" are unit
// parameters of device/): the range query and the DO alerts of model 10.
#include "settings/mail_settings.h"

#include "device/KIVRAXPort.h"

#include <unistd.h>

int GetAIrange(int unit, int input, int* range)
{
    uint8_t request[4];
    uint8_t reply[6] = {};
    BuildRangeRead(input, request);
    if (SendRecvRaw(unit, sizeof request, request, sizeof reply, reply) != 0) return -1;
    if (range != nullptr) *range = ParseRangeReply(reply);
    return 0;
}

int GetDOalertset(int unit, int d, int* enable, int* input, int* direction, int* width)
{
    uint8_t request[4];
    uint8_t reply[11] = {};
    BuildDOAlertRead(d, request);
    if (SendRecvRaw(unit, sizeof request, request, sizeof reply, reply) != 0) return -1;
    int e = 0, i = 0, dir = 0, w = 0;
    if (ParseDOAlertReply(reply, &e, &i, &dir, &w) != 0) return -1;
    *enable = e, *input = i, *direction = dir, *width = w;
    return 0;
}

int SendDOalertset(int unit, int d, int enable, int input, int direction, int width)
{
    uint8_t part1[10];
    uint8_t reply1[10] = {};
    BuildDOAlertWrite(d, input, direction, width, part1);
    if (SendRecvRaw(unit, sizeof part1, part1, sizeof reply1, reply1) != 0) return -1;
    usleep(20 * 1000);
    uint8_t part2[5];
    uint8_t reply2[5] = {};
    BuildDOAlertStart(d, enable, part2);
    return SendRecvRaw(unit, sizeof part2, part2, sizeof reply2, reply2) == 0 ? 0 : -1;
}
