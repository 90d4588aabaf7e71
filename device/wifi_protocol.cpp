// The WiFi module's key/value text protocol on TCP 9998: the dump and the
// version request that fill a device entry, and the set texts the screens send.
#include "device/KIVRAXPort.h"
#include "base/bounded_text.h"
#include "device/net_io.h"
#include "base/DebugLog.h"

#include <cerrno>
#include <cstring>
#include <sys/socket.h>

namespace {

constexpr uint8_t kDumpRequest[10] = {'D', 'U', 'M', 'P', '\n', 'E', 'N', 'D', '\n', 0};
constexpr uint8_t kVersionRequest[5] = {'V', 'E', 'R', '\n', 0};
constexpr int kVersionReplyMax = 256;

// Feeds the dump one received byte at a time; the whole dump must be in
// by the deadline, so a module that trickles bytes cannot hold the tool.
struct DumpSource {
    int fd;
    Deadline deadline;
};

int next_dump_byte(void* ctx, uint8_t* byte)
{
    DumpSource* src = static_cast<DumpSource*>(ctx);
    RecvResult r = recv_bytes(src->fd, byte, 1, true, 1, src->deadline);
    if (r.failed) return -1;
    return r.got == 1 ? 1 : 0;
}

int open_module(int index, UniqueFd& fd)
{
    char ip[sizeof xportset[0].ipstr + 1];
    copy_text_n(ip, sizeof ip, xportset[index].ipstr, sizeof xportset[index].ipstr);
    return open_tcp(ip, ESP_TCP_PORT, "connect timeout failed\n", fd, nullptr);
}

int read_dump(int index)
{
    UniqueFd fd;
    if (open_module(index, fd) < 0) return -1;
    if (send_all(fd.get(), kDumpRequest, sizeof kDumpRequest) < 0) {
        PrnDebug("socket send error\n");
        return -1;
    }
    DumpSource src{fd.get(), Deadline::after_ms(TCP_REPLY_DEADLINE_MS)};
    switch (ReadEspDump(next_dump_byte, &src, &xportset[index])) {
    case ESP_DUMP_OK:
        return 0;
    case ESP_DUMP_NO_LINEFEED:
        PrnDebug("no linefeed found\n");
        return -1;
    case ESP_DUMP_NO_END:
        PrnDebug("no END detected\n");
        return -1;
    default:
        // A failed receive, a time-out, or a module that closed mid-dump.
        PrnDebug("socket recv error\n");
        return -1;
    }
}

int read_versions(int index)
{
    UniqueFd fd;
    if (open_module(index, fd) < 0) return -1;
    if (send_all(fd.get(), kVersionRequest, sizeof kVersionRequest) < 0) {
        PrnDebug("socket send error\n");
        return -1;
    }
    uint8_t reply[kVersionReplyMax];
    int got = 0;
    int lines = 0;
    Deadline deadline = Deadline::after_ms(TCP_REPLY_DEADLINE_MS);
    while (got < kVersionReplyMax && lines < 2) {
        RecvResult r = recv_bytes(fd.get(), reply + got, 1, true, 1, deadline);
        if (r.failed) {
            PrnDebug("recv error\n");
            return -1;
        }
        if (r.got == 0) break;   // closed: the lines stay incomplete
        if (reply[got] == '\n') lines++;
        got++;
    }
    DeviceEntry& e = xportset[index];
    ParseEspVersions(reply, got, &e.sketch_ver, &e.text_ver);
    return 0;
}

}  // namespace

int Get_ESP_Parameter(int index)
{
    PrnDebug("Get_ESP_Parameter\n");
    if (index < 0 || index >= XPORT_MAX) return -1;
    if (read_dump(index) < 0) return -1;
    xportset[index].sketch_ver = 0;
    xportset[index].text_ver = 0;
    // What the dump stored stays stored even when the version request fails.
    return read_versions(index);
}

int Get_ESP_Port(int index)
{
    if (index < 0 || index >= XPORT_MAX) return -1;
    DeviceEntry& e = xportset[index];
    std::memset(e.setup0, 0, sizeof e.setup0);
    std::memset(e.setup3, 0, sizeof e.setup3);
    std::memset(e.setup4, 0, sizeof e.setup4);
    std::memset(e.setup5, 0, sizeof e.setup5);
    std::memset(e.setup6, 0, sizeof e.setup6);
    std::memset(e.setup7, 0, sizeof e.setup7);
    // Keys the module leaves out must not keep another unit's values.
    ClearEspFields(&e);
    e.records_read = 0;
    e.network_read = 0;
    if (Get_ESP_Parameter(index) != 0) return -1;
    // The dump's SUBM and GWAY are the module's network settings.
    e.network_read = 1;
    return 0;
}

int Set_ESP_Parameter(int index, const char* text)
{
    PrnDebug("Set_ESP_Parameter\n");
    if (index < 0 || index >= XPORT_MAX || text == nullptr) return -1;
    UniqueFd fd;
    if (open_module(index, fd) < 0) return -1;
    // The whole text must go out; a short send is a failure, not a success.
    if (send_all(fd.get(), text, static_cast<int>(std::strlen(text))) < 0) {
        PrnDebug("socket send error\n");
        return -1;
    }
    return 0;
}
