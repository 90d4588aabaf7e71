// The unit's controller behind the command port: the model query, parameter
// bytes, and the lettered commands ending in 0xC8, each with its fixed lengths.
#include <cstdio>
#include <cstring>

#include "lab/sim/protocol.h"

namespace sim {

namespace {

constexpr uint8_t kEnd = 0xC8;
constexpr size_t kLongestRequest = 64;

// Request and answer lengths of the lettered commands; 0 = depends on the request.
struct Command {
    char name[3];
    size_t request;
    size_t reply;
};
constexpr Command kCommands[] = {
    {"MI", 3, 5},   {"MR", 7, 0},  {"MW", 0, 5},   {"AJ", 4, 6}, {"AS", 4, 4}, {"AK", 4, 13},
    {"AL", 13, 13}, {"TJ", 4, 15}, {"AP", 4, 4},   {"AR", 5, 5}, {"TC", 6, 6}, {"TF", 13, 13},
    {"AQ", 8, 8},   {"DJ", 4, 11}, {"DL", 10, 10}, {"DS", 5, 5},
};

const Command* find_command(const Bytes& r)
{
    if (r.size() < 2) return nullptr;
    for (const Command& c : kCommands)
        if (r[0] == static_cast<uint8_t>(c.name[0]) && r[1] == static_cast<uint8_t>(c.name[1]))
            return &c;
    return nullptr;
}

int hex_value(const Bytes& r, size_t at, size_t digits)
{
    if (at + digits > r.size()) return -1;
    int v = 0;
    for (size_t i = 0; i < digits; ++i) {
        uint8_t c = r[at + i];
        int d;
        if (c >= '0' && c <= '9')
            d = c - '0';
        else if (c >= 'A' && c <= 'F')
            d = c - 'A' + 10;
        else if (c >= 'a' && c <= 'f')
            d = c - 'a' + 10;
        else
            return -1;
        v = v * 16 + d;
    }
    return v;
}

void put_hex(Bytes& out, int value, int digits)
{
    char buf[16];
    snprintf(buf, sizeof buf, "%0*X", digits, value & ((1 << (4 * digits)) - 1));
    out.insert(out.end(), buf, buf + digits);
}

// How many memory bytes one "MR" answers at this address.
int memory_span(int addr)
{
    if (addr == 0x0432) return 2;
    if (addr == 0x0B03 || addr == 0x0B33 || addr == 0x0B63) return 3;
    return 1;
}

uint8_t mem(const Unit& u, int addr)
{
    auto it = u.memory.find(static_cast<uint16_t>(addr));
    return it == u.memory.end() ? 0 : it->second;
}

// A parameter byte built on 0x20, checked against its range.
bool arg(const Bytes& r, size_t at, int hi, int* out)
{
    if (at >= r.size()) return false;
    int v = r[at] - 0x20;
    if (v < 0 || v > hi) return false;
    *out = v;
    return true;
}

CommandResult model_query(const Unit& u, bool mi)
{
    CommandResult res;
    uint8_t id = static_cast<uint8_t>(~u.unit_id & 0x0F);
    if (mi) {
        res.reply = {'M', 'I', id, static_cast<uint8_t>(u.model & 0x0F), kEnd};
        return res;
    }
    switch (u.answer) {
    case Answer::MI:
        res.event = "ignored";
        break;
    case Answer::AT: {
        // Thirteen bytes: the text and three zero bytes.
        static const unsigned char at[13] = "AT+ERROR\r\n";
        res.reply.assign(at, at + sizeof at);
        break;
    }
    case Answer::UU:
        // A model 7 unit answers five bytes.
        if ((u.model & 0x07) == 7)
            res.reply = {static_cast<uint8_t>(0x70 | id), 0x55, 0x20, 0x20, kEnd};
        else
            res.reply = {static_cast<uint8_t>(((u.model & 0x07) << 4) | id), 0x55};
        break;
    }
    return res;
}

CommandResult parameter(Unit& u, const Bytes& r)
{
    CommandResult res;
    if (r[0] == 0x90) {
        res.reply = {0x90, u.params[r[1]]};
        return res;
    }
    u.params[r[0] - 0x91] = r[1];
    res.changed = true;
    res.reply = r;
    return res;
}

CommandResult memory_command(Unit& u, const Bytes& r)
{
    CommandResult res;
    int addr = hex_value(r, 2, 4);
    if (addr < 0) {
        res.event = "bad value";
        return res;
    }
    if (r[1] == 'R') {
        res.reply.assign(r.begin(), r.begin() + 6);
        for (int i = 0; i < memory_span(addr); ++i) put_hex(res.reply, mem(u, addr + i), 2);
        res.reply.push_back(kEnd);
        return res;
    }
    size_t n = (r.size() - 7) / 2;
    for (size_t i = 0; i < n; ++i) {
        int v = hex_value(r, 6 + 2 * i, 2);
        if (v < 0 || addr + i > 0xFFFF) {
            res.event = "bad value";
            return res;
        }
        u.memory[static_cast<uint16_t>(addr + i)] = static_cast<uint8_t>(v);
    }
    res.changed = true;
    res.reply = {'M', 'W', 'O', 'K', kEnd};
    return res;
}

// The lettered commands other than MI, MR and MW.
CommandResult lettered(Unit& u, const Bytes& r)
{
    CommandResult res;
    auto bad = [&res]() {
        res.event = "bad value";
        res.reply.clear();
        return res;
    };
    const std::string name{static_cast<char>(r[0]), static_cast<char>(r[1])};
    int c = 0, a = 0, b = 0;
    if (name == "AJ") {
        if (!arg(r, 2, kAnalogInputs - 1, &c)) return bad();
        res.reply = {r[0],
                     r[1],
                     r[2],
                     static_cast<uint8_t>(0x20 + (u.ai[c].range & 0x0F)),
                     static_cast<uint8_t>(0x20 + (u.notice & 0x0F)),
                     kEnd};
    } else if (name == "AK") {
        if (!arg(r, 2, kAnalogInputs - 1, &c)) return bad();
        const AnalogInput& in = u.ai[c];
        res.reply = {r[0], r[1], r[2], static_cast<uint8_t>(0x20 + in.led * 8 + in.mail)};
        put_hex(res.reply, in.low, 4);
        put_hex(res.reply, in.high, 4);
        res.reply.push_back(kEnd);
    } else if (name == "TJ") {
        if (!arg(r, 2, kAnalogInputs - 1, &c)) return bad();
        const AnalogInput& in = u.ai[c];
        res.reply = {r[0],
                     r[1],
                     r[2],
                     static_cast<uint8_t>(0x20 + in.tc_type),
                     static_cast<uint8_t>(0x20 + in.tc_flags),
                     static_cast<uint8_t>(0x20 + in.tc_out)};
        put_hex(res.reply, in.tc_low, 4);
        put_hex(res.reply, in.tc_high, 4);
        res.reply.push_back(kEnd);
    } else if (name == "DJ") {
        if (!arg(r, 2, kDoAlerts - 1, &c)) return bad();
        const DoAlert& d = u.dos[c];
        res.reply = {r[0],
                     r[1],
                     r[2],
                     static_cast<uint8_t>(0x20 + d.enable),
                     static_cast<uint8_t>(0x20 + d.input),
                     static_cast<uint8_t>(0x20 + d.direction)};
        put_hex(res.reply, d.width, 4);
        res.reply.push_back(kEnd);
    } else {
        // Writes: store, then echo the request.
        if (name == "AS") {
            if (!arg(r, 2, 15, &a)) return bad();
            u.notice = a;
        } else if (name == "AL") {
            int low = hex_value(r, 4, 4), high = hex_value(r, 8, 4);
            if (!arg(r, 2, kAnalogInputs - 1, &c) || !arg(r, 3, 15, &a) || low < 0 || high < 0)
                return bad();
            u.ai[c].led = (a >> 3) & 1;
            u.ai[c].mail = a & 3;
            u.ai[c].low = low;
            u.ai[c].high = high;
        } else if (name == "AP") {
            if (!arg(r, 2, 0xDF, &a)) return bad();
            u.memory[0x0491] = static_cast<uint8_t>(a);
        } else if (name == "AR") {
            if (!arg(r, 2, kAnalogInputs - 1, &c) || !arg(r, 3, 15, &a)) return bad();
            u.ai[c].range = a;
        } else if (name == "TC") {
            if (!arg(r, 2, kAnalogInputs - 1, &c) || !arg(r, 3, 15, &a) || !arg(r, 4, 15, &b))
                return bad();
            u.ai[c].tc_type = a;
            u.ai[c].tc_flags = b;
        } else if (name == "TF") {
            int low = hex_value(r, 4, 4), high = hex_value(r, 8, 4);
            if (!arg(r, 2, kAnalogInputs - 1, &c) || !arg(r, 3, 15, &a) || low < 0 || high < 0)
                return bad();
            u.ai[c].tc_out = a;
            u.ai[c].tc_low = low;
            u.ai[c].tc_high = high;
        } else if (name == "AQ") {
            int code = hex_value(r, 3, 4);
            if (!arg(r, 2, 15, &a) || (a & 7) >= kAnalogInputs || code < 0) return bad();
            int addr = 0x0B03 + 0x30 * (a & 7);
            u.memory[static_cast<uint16_t>(addr)] = (a & 8) ? 0 : 1;  // 1 = voltage
            u.memory[static_cast<uint16_t>(addr + 1)] = static_cast<uint8_t>(code >> 8);
            u.memory[static_cast<uint16_t>(addr + 2)] = static_cast<uint8_t>(code & 0xFF);
        } else if (name == "DL") {
            int width = hex_value(r, 5, 4);
            if (!arg(r, 2, kDoAlerts - 1, &c) || !arg(r, 3, 15, &a) || !arg(r, 4, 15, &b) ||
                width < 0)
                return bad();
            u.dos[c].input = a;
            u.dos[c].direction = b;
            u.dos[c].width = width;
        } else if (name == "DS") {
            if (!arg(r, 2, kDoAlerts - 1, &c) || !arg(r, 3, 15, &a)) return bad();
            u.dos[c].enable = a;
        }
        res.changed = true;
        res.reply = r;
    }
    return res;
}

}  // namespace

Frame frame_request(const Bytes& buf, size_t* len)
{
    if (buf.empty()) return Frame::Need;
    if (buf[0] >= 0x90 && buf[0] <= 0x9F) {
        if (buf.size() < 2) return Frame::Need;
        *len = 2;
        return Frame::Request;
    }
    if (buf[0] == 'U') {
        if (buf.size() < 2) return Frame::Need;
        if (buf[1] == 'U') {
            *len = 2;
            return Frame::Request;
        }
    }
    for (size_t i = 0; i < buf.size(); ++i)
        if (buf[i] == kEnd) {
            *len = i + 1;
            return Frame::Request;
        }
    if (buf.size() > kLongestRequest) {
        *len = buf.size();
        return Frame::Junk;
    }
    return Frame::Need;
}

CommandResult answer_command(Unit& u, const Bytes& r)
{
    CommandResult res;
    if (r.size() == 2 && r[0] == 'U' && r[1] == 'U') return model_query(u, false);
    if (r.size() == 2 && r[0] >= 0x90 && r[0] <= 0x9F) return parameter(u, r);
    const Command* c = find_command(r);
    if (!c) {
        res.event = "unknown";
        return res;
    }
    bool length_ok = c->request
                         ? r.size() == c->request
                         : (r.size() >= 9 && (r.size() - 7) % 2 == 0);  // MW: 1 or more bytes
    if (!length_ok) {
        res.event = "bad length";
        return res;
    }
    if (r[0] == 'M' && r[1] == 'I') return model_query(u, true);
    if (r[0] == 'M') return memory_command(u, r);
    return lettered(u, r);
}

void wrong_echo(Bytes& reply, const Bytes& request)
{
    if (reply.size() == 2 && reply[0] == 0x90) {
        reply[0] = 0x91;
    } else if (reply.size() == 2 && reply == request) {
        reply[1] ^= 0x01;
    } else if (reply.size() >= 4 && reply == request && reply.back() == kEnd) {
        reply[reply.size() - 2] ^= 0x01;  // a lettered write's last value byte
    }
}

void garble(Bytes& bytes)
{
    static const uint8_t junk[] = {0xA5, 0x5A, 0xFF, 0x00, 0x13, 0x37, 0xC8, 0x0A, 0x0D, 0x80};
    for (size_t i = 0; i < bytes.size(); ++i) bytes[i] = junk[i % sizeof junk];
}

}  // namespace sim
