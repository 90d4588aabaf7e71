// What the analog settings' step tables share (settings/ only): one
// controller exchange, the step of a request with its pause and failure,
// and the refusal of a unit outside the device table.
#pragma once

#include "device/KIVRAXPort.h"
#include "settings/settings_steps.h"
#include "base/message_rows.h"

#include <cstdint>

namespace etc_steps {

constexpr int kPauseMs = 20;  // before every request, and after the last write

// One exchange with the unit's controller: 0, or -1 when it failed.
inline int exchange(int unit, const uint8_t* request, int reqlen, uint8_t* reply, int replen)
{
    return SendRecvRaw(unit, reqlen, request, replen, reply) == 0 ? 0 : -1;
}

// A write, whose reply is as long as the request: 0, or -1 when it failed.
inline int write_request(int unit, const uint8_t* request, int len)
{
    uint8_t reply[16];
    if (len > static_cast<int>(sizeof reply)) return -1;
    return exchange(unit, request, len, reply, len);
}

// A request: 20 ms before it; on failure "通信エラー" at row 15 and its log line.
template <class G>
constexpr SettingsStep<G> request(int (*fn)(int, G&), bool (*applies)(int, const G&) = nullptr)
{
    return {.exchange = fn,
            .pause_ms = kPauseMs,
            .message = "通信エラー",
            .row = MSG_ROW_SETTINGS,
            .log = "sendrecv error\n",
            .applies = applies};
}

// A step that only refuses: it applies where the values cannot be written.
template <class G>
int refuse(int, G&)
{
    return -1;
}

// The refusal of values a request cannot carry (never made by a screen).
template <class G>
constexpr SettingsStep<G> unfit(bool (*applies)(int, const G&))
{
    return {.exchange = refuse<G>, .log = "analog settings out of range\n", .applies = applies};
}

// Runs a table for a unit of the device table; any other index fails at once.
template <class G, size_t N>
StepResult run(const SettingsStep<G> (&steps)[N], int unit, G& values)
{
    if (unit < 0 || unit >= xportcount || unit >= XPORT_MAX)
        return settings_failure(0, nullptr, nullptr, 0, nullptr);
    return run_settings_steps(steps, unit, values);
}

}  // namespace etc_steps
