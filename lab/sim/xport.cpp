// The XPort module's side of UDP port 30718: discovery, setup records, extra
// firmware and the IP-SETUP broadcast.
#include <cstring>

#include "lab/sim/protocol.h"

namespace sim {

namespace {

constexpr int kDiscoveryLen = 30;
constexpr int kExtFirmLen = 33;

Bytes discovery_reply(const Unit& u)
{
    Bytes r(kDiscoveryLen, 0);
    r[3] = 0xF7;
    r[5] = static_cast<uint8_t>(u.nib5 << 4);
    r[6] = static_cast<uint8_t>(u.nib6 << 4);
    r[8] = static_cast<uint8_t>(u.devtype[0]);
    r[9] = static_cast<uint8_t>(u.devtype[1]);
    for (int i = 0; i < 6; ++i) r[24 + i] = u.mac[i];
    return r;
}

bool has_record(const Unit& u, int n) { return n >= 0 && n < 8 && n != 2 && !u.records[n].empty(); }

bool header_is(const Bytes& d, uint8_t last)
{
    return d.size() >= 4 && d[0] == 0 && d[2] == 0 && d[3] == last;
}

}  // namespace

DatagramResult answer_datagram(Unit& u, const Bytes& d, const Faults& f)
{
    DatagramResult res;
    const bool silent = f.udp_silent;

    // Set address by MAC: acted on even by a unit that answers nothing.
    if (d.size() == 20 && header_is(d, 0xFC) && d[1] == 0 &&
        memcmp(d.data() + 4, "IP-SETUP", 8) == 0) {
        if (u.is_wifi() || d[14] != u.mac[4] || d[15] != u.mac[5]) {
            res.event = "ignored";
            return res;
        }
        uint32_t ip;
        memcpy(&ip, d.data() + 16, 4);
        put_ip(u.records[0], rec::kIp, ip);
        res.changed = true;
        res.restart = true;
        return res;
    }

    bool f6 = d.size() == 4 && header_is(d, 0xF6) && d[1] == 0;
    bool ln = d.size() == 2 && d[0] == 'L' && d[1] == 'N';
    if (f6 || ln) {
        bool answers =
            u.query == Query::Both || (f6 && u.query == Query::F6) || (ln && u.query == Query::LN);
        res.discovery = true;
        if (answers && !silent)
            res.replies.push_back(discovery_reply(u));
        else
            res.event = "ignored";
        return res;
    }

    // The WiFi module keeps no setup records: it answers only discovery.
    if (u.is_wifi() || silent) {
        res.event = "ignored";
        return res;
    }

    if (d.size() == 4 && d[0] == 0 && d[1] == 0 && d[2] == 0 && d[3] >= 0xE0 && d[3] <= 0xE7) {
        int n = d[3] - 0xE0;
        if (n == 1 || !has_record(u, n) || n == f.unreadable_record) {
            res.event = "ignored";
            return res;
        }
        res.replies.push_back(u.records[n]);
        return res;
    }

    if (d.size() >= 4 && d[0] == 0 && d[2] == 0 && d[1] <= 1 && d[3] >= 0xC0 && d[3] <= 0xC7) {
        int n = d[3] - 0xC0;
        size_t len = n == 0 ? kRecord0Len : kRecordLen;
        if (n == 2 || d.size() != len) {
            res.event = "bad length";
            return res;
        }
        if (u.records[n].size() != len) u.records[n].assign(len, 0);
        std::copy(d.begin() + 4, d.end(), u.records[n].begin() + 4);
        u.records[n][3] = static_cast<uint8_t>(0xD0 + n);
        if (n == 1) u.record1_written = true;
        res.changed = true;
        res.restart = d[1] == 0;  // the last record of an operation
        res.replies.push_back(Bytes{0, 0, 0, static_cast<uint8_t>(0xD0 + n)});
        return res;
    }

    if (d.size() == 4 && header_is(d, 0xF4) && d[1] == 0) {
        Bytes r(kExtFirmLen, 0);
        r[3] = 0xF5;
        for (size_t i = 0; i < u.extfirm.size() && 16 + i < kExtFirmLen; ++i)
            r[16 + i] = static_cast<uint8_t>(u.extfirm[i]);
        res.replies.push_back(r);
        return res;
    }

    res.event = "unknown";
    return res;
}

}  // namespace sim
