// The "UU" / "MI" exchange that asks a unit for its model and unit ID.
// Runs in many search threads at once: it touches only its own socket,
// its outputs and the debug log.
#include "device/KIVRAXPort.h"
#include "device/net_io.h"
#include "base/DebugLog.h"

#include <cerrno>

namespace {

constexpr int kRecvCalls = 100;
constexpr uint8_t kAskUU[2] = {'U', 'U'};
constexpr uint8_t kAskMI[3] = {'M', 'I', CMD_END};

// Reads and drops the rest of a refused answer.
void drop_bytes(int fd, int n)
{
    uint8_t scratch[16];
    recv_bytes(fd, scratch, n, true, kRecvCalls, Deadline::after_ms(TCP_REPLY_DEADLINE_MS));
}

int fail(int* error, int err)
{
    *error = error_or_eio(err);
    return -1;
}

}  // namespace

int ModelQuery(const char* ip, int port, const ModelQueryLog& log, int* model, int* unit_id,
               int* error)
{
    int ignored = 0;
    if (error == nullptr) error = &ignored;
    *error = 0;
    UniqueFd fd;
    if (open_tcp(ip, port, log.connect_failed, fd, error) < 0) return -1;

    if (send_all(fd.get(), kAskUU, sizeof kAskUU) < 0) {
        int err = errno;
        PrnDebug("socket send error\n");
        return fail(error, err);
    }
    uint8_t uu[2] = {0, 0};
    RecvResult r = recv_bytes(fd.get(), uu, 2, true, kRecvCalls,
                              Deadline::after_ms(TCP_REPLY_DEADLINE_MS));
    if (r.used_up) PrnDebug(log.recv_warning);
    if (!r.failed) {
        if (r.got < 2) {
            // The unit closed before answering in full: nothing to decode.
            PrnDebug("socket recv error\n");
            return fail(error, 0);
        }
        int m = -1;
        int id = -1;
        switch (DecodeUUAnswer(uu, &m, &id)) {
        case MODEL_ANSWER_MODEL7:
            drop_bytes(fd.get(), 3);
            if (log.log_refusals) PrnDebug("model = 7\n");
            return 1;
        case MODEL_ANSWER_ID_F:
            if (log.log_refusals) PrnDebug("ID = F\n");
            return 1;
        case MODEL_ANSWER_AT:
            if (log.log_refusals) PrnDebug("ID = AT\n");
            drop_bytes(fd.get(), 11);
            return 1;
        default:
            if (model != nullptr) *model = m;
            if (unit_id != nullptr) *unit_id = id;
            return 0;
        }
    }

    // Silent on "UU": units of the later generations answer "MI" instead.
    // "MI" goes on a new connection: a late answer to "UU" arrives on the
    // first one, closed here, and can never be read as the "MI" answer.
    fd.reset();
    if (open_tcp(ip, port, log.connect_failed, fd, error) < 0) return -1;
    if (send_all(fd.get(), kAskMI, sizeof kAskMI) < 0) {
        int err = errno;
        PrnDebug("socket send error\n");
        return fail(error, err);
    }
    uint8_t mi[5] = {0, 0, 0, 0, 0};
    r = recv_bytes(fd.get(), mi, 5, true, kRecvCalls, Deadline::after_ms(TCP_REPLY_DEADLINE_MS));
    if (r.failed) return fail(error, r.error);
    if (r.used_up) {
        PrnDebug(log.recv_warning);
        PrnDebug("socket recv error\n");
        return fail(error, 0);
    }
    int m = -1;
    int id = -1;
    DecodeMIAnswer(mi, &m, &id);
    if (model != nullptr) *model = m;
    if (unit_id != nullptr) *unit_id = id;
    return 0;
}

int GetUnitModelID(const char* ip, int port, int* model, int* unit_id)
{
    static const ModelQueryLog kLog = {"connect timeout failed\n", "warning: recv may be timed out\n", true};
    return ModelQuery(ip, port, kLog, model, unit_id, nullptr);
}
