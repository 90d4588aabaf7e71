// Plant file -> units with their record images, parameters and memory; state -> JSON.
#include "lab/sim/plant.h"

#include <nlohmann/json.hpp>

#include <cstdio>
#include <set>

namespace sim {

using nlohmann::json;

std::string to_hex(const std::vector<uint8_t>& bytes)
{
    static const char* digits = "0123456789abcdef";
    std::string s;
    s.reserve(bytes.size() * 2);
    for (uint8_t b : bytes) {
        s += digits[b >> 4];
        s += digits[b & 15];
    }
    return s;
}

static int hex_digit(char c)
{
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

bool from_hex(const std::string& text, std::vector<uint8_t>* bytes)
{
    bytes->clear();
    int hi = -1;
    for (char c : text) {
        if (c == ' ' || c == ':') continue;
        int d = hex_digit(c);
        if (d < 0) return false;
        if (hi < 0) {
            hi = d;
        } else {
            bytes->push_back(static_cast<uint8_t>(hi * 16 + d));
            hi = -1;
        }
    }
    return hi < 0;
}

namespace {

struct Loader {
    std::string* error;
    std::string where;

    bool fail(const std::string& what)
    {
        *error = where + what;
        return false;
    }
    bool text(const json& j, const char* key, std::string* out)
    {
        if (!j.contains(key)) return true;
        if (!j[key].is_string()) return fail(std::string(key) + " must be a text");
        *out = j[key].get<std::string>();
        return true;
    }
    bool integer(const json& j, const char* key, int lo, int hi, int* out)
    {
        if (!j.contains(key)) return true;
        if (!j[key].is_number_integer()) return fail(std::string(key) + " must be a whole number");
        long long v = j[key].get<long long>();
        if (v < lo || v > hi) return fail(std::string(key) + " out of range");
        *out = static_cast<int>(v);
        return true;
    }
    // Every key of j is one of keys (keys starting with "_" are comments).
    bool only(const json& j, std::initializer_list<const char*> keys)
    {
        if (!j.is_object()) return fail("must be an object");
        for (auto it = j.begin(); it != j.end(); ++it) {
            bool known = !it.key().empty() && it.key()[0] == '_';
            for (const char* k : keys) known = known || it.key() == k;
            if (!known) return fail("unknown key " + it.key());
        }
        return true;
    }
    bool flag(const json& j, const char* key, bool* out)
    {
        if (!j.contains(key)) return true;
        if (!j[key].is_boolean()) return fail(std::string(key) + " must be true or false");
        *out = j[key].get<bool>();
        return true;
    }
    bool address(const json& j, const char* key, uint32_t* out)
    {
        std::string s;
        if (!j.contains(key)) return true;
        if (!text(j, key, &s)) return false;
        if (!parse_ip(s, out)) return fail(std::string(key) + " is not an IPv4 address");
        return true;
    }
};

// The record images a unit starts with, from its settings.
bool build_records(Unit& u, const json& j, Loader& L, uint32_t static_ip, uint32_t mask,
                   uint32_t gateway, bool dhcp, int cmd_port)
{
    for (int n = 0; n < 8; ++n) {
        if (n == 2) continue;
        u.records[n].assign(n == 0 ? kRecord0Len : kRecordLen, 0);
        u.records[n][3] = static_cast<uint8_t>(0xD0 + n);
    }
    auto& r0 = u.records[0];
    auto& r3 = u.records[3];
    auto& r4 = u.records[4];
    auto& r5 = u.records[5];
    auto& r6 = u.records[6];
    auto& r7 = u.records[7];
    if (!dhcp) {
        put_ip(r0, rec::kIp, static_ip);
        r0[rec::kHostBits] = static_cast<uint8_t>(host_bits_of(mask) < 0 ? 8 : host_bits_of(mask));
        put_ip(r0, rec::kGateway, gateway);
    }
    put_le16(r0, rec::kCmdPort, static_cast<uint16_t>(cmd_port));
    bool gc = u.module == Module::GC;

    json conn = j.value("conn", json::object());
    L.where = u.name + ".conn: ";
    if (!L.only(conn, {"dest1", "dport1", "mode1", "port2", "dest2", "dport2", "mode2", "port3",
                       "mode3"}))
        return false;
    std::string dest1 = "0.0.0.0", dest2;
    int dport1 = 0, mode1 = 0xC0, port2 = 10002, dport2 = 0, mode2 = 0, port3 = 10003, mode3 = 0;
    if (!L.text(conn, "dest1", &dest1) || !L.text(conn, "dest2", &dest2) ||
        !L.integer(conn, "dport1", 0, 65535, &dport1) ||
        !L.integer(conn, "mode1", 0, 255, &mode1) || !L.integer(conn, "port2", 0, 65535, &port2) ||
        !L.integer(conn, "dport2", 0, 65535, &dport2) ||
        !L.integer(conn, "mode2", 0, 255, &mode2) || !L.integer(conn, "port3", 0, 65535, &port3) ||
        !L.integer(conn, "mode3", 0, 255, &mode3))
        return false;
    if (gc) {
        put_text(r7, rec::kDestText1, rec::kDestText2, dest1);
        put_text(r7, rec::kDestText2, kRecordLen, dest2);
    } else {
        uint32_t d1 = 0;
        if (!parse_ip(dest1, &d1)) return L.fail("dest1 is not an IPv4 address");
        put_ip(r0, rec::kDest1, d1);
    }
    put_le16(r0, rec::kDport1, static_cast<uint16_t>(dport1));
    r0[rec::kMode1] = static_cast<uint8_t>(mode1);
    put_le16(r0, rec::kPort2, static_cast<uint16_t>(port2));
    put_le16(r0, rec::kDport2, static_cast<uint16_t>(dport2));
    r0[rec::kMode2] = static_cast<uint8_t>(mode2);
    put_le16(r3, rec::kPort3, static_cast<uint16_t>(port3));
    r3[rec::kMode3] = static_cast<uint8_t>(mode3);

    json mail = j.value("mail", json::object());
    L.where = u.name + ".mail: ";
    if (!L.only(mail, {"server", "host", "port", "from_user", "from_domain", "to1", "to2",
                       "subject", "subject2"}))
        return false;
    uint32_t server = 0;
    std::string host, from_user, from_domain, to1, to2, subject, subject2;
    int port = 25;
    if (!L.address(mail, "server", &server) || !L.text(mail, "host", &host) ||
        !L.integer(mail, "port", 0, 65535, &port) || !L.text(mail, "from_user", &from_user) ||
        !L.text(mail, "from_domain", &from_domain) || !L.text(mail, "to1", &to1) ||
        !L.text(mail, "to2", &to2) || !L.text(mail, "subject", &subject))
        return false;
    subject2 = subject;
    if (!L.text(mail, "subject2", &subject2)) return false;
    put_ip(r5, rec::kSmtpIp, server);
    put_text(r4, rec::kMailHost, kRecordLen, host);
    put_le16(r3, rec::kSmtpPort, static_cast<uint16_t>(port));
    put_text(r5, rec::kFromUser, kRecordLen, from_user);
    put_text(r6, rec::kFromDomain, 28, from_domain);  // byte 28 holds the input mail triggers
    put_text(r5, rec::kTo1, rec::kTo2, to1);
    put_text(r5, rec::kTo2, rec::kFromUser, to2);
    put_text(r6, rec::kSubject, rec::kSubject2, subject);
    put_text(r6, rec::kSubject2, kRecordLen, subject2);

    json patches = j.value("records", json::object());
    L.where = u.name + ".records: ";
    if (!patches.is_object()) return L.fail("must be an object");
    for (auto it = patches.begin(); it != patches.end(); ++it) {
        int n = atoi(it.key().c_str());
        if (n < 0 || n > 7 || n == 2 || it.key().empty()) return L.fail("no record " + it.key());
        if (!it.value().is_object()) return L.fail("record " + it.key() + " must be an object");
        for (auto p = it.value().begin(); p != it.value().end(); ++p) {
            int at = atoi(p.key().c_str());
            std::vector<uint8_t> bytes;
            if (!p.value().is_string() || !from_hex(p.value().get<std::string>(), &bytes))
                return L.fail("record " + it.key() + " offset " + p.key() + " needs hex bytes");
            if (at < 0 || at + bytes.size() > u.records[n].size())
                return L.fail("record " + it.key() + " offset " + p.key() + " outside the image");
            for (size_t i = 0; i < bytes.size(); ++i) u.records[n][at + i] = bytes[i];
        }
    }
    return true;
}

bool load_controller(Unit& u, const json& j, Loader& L)
{
    L.where = u.name + ": ";
    u.params[0] = 0xFF;
    u.params[2] = 10;
    json params = j.value("params", json::object());
    if (!params.is_object()) return L.fail("params must be an object");
    for (auto it = params.begin(); it != params.end(); ++it) {
        int i = atoi(it.key().c_str());
        if (i < 0 || i > 255 || !it.value().is_number_integer() || it.value().get<int>() < 0 ||
            it.value().get<int>() > 255)
            return L.fail("params " + it.key() + " must be 0..255 at index 0..255");
        u.params[i] = static_cast<uint8_t>(it.value().get<int>());
    }
    json memory = j.value("memory", json::object());
    if (!memory.is_object()) return L.fail("memory must be an object");
    for (auto it = memory.begin(); it != memory.end(); ++it) {
        unsigned long addr = strtoul(it.key().c_str(), nullptr, 16);
        std::vector<uint8_t> bytes;
        if (addr > 0xFFFF || !it.value().is_string() ||
            !from_hex(it.value().get<std::string>(), &bytes) || addr + bytes.size() > 0x10000)
            return L.fail("memory " + it.key() + " needs hex bytes at a 16-bit address");
        for (size_t i = 0; i < bytes.size(); ++i)
            u.memory[static_cast<uint16_t>(addr + i)] = bytes[i];
    }
    if (!L.integer(j, "notice", 0, 15, &u.notice)) return false;
    json ai = j.value("ai", json::array());
    if (!ai.is_array() || ai.size() > kAnalogInputs)
        return L.fail("ai must be a list of at most 3");
    for (size_t c = 0; c < ai.size(); ++c) {
        AnalogInput& a = u.ai[c];
        L.where = u.name + ".ai[" + std::to_string(c) + "]: ";
        if (!L.only(ai[c], {"range", "led", "mail", "low", "high", "tc_type", "tc_flags", "tc_out",
                            "tc_low", "tc_high"}))
            return false;
        if (!L.integer(ai[c], "range", 0, 15, &a.range) || !L.integer(ai[c], "led", 0, 1, &a.led) ||
            !L.integer(ai[c], "mail", 0, 3, &a.mail) ||
            !L.integer(ai[c], "low", 0, 65535, &a.low) ||
            !L.integer(ai[c], "high", 0, 65535, &a.high) ||
            !L.integer(ai[c], "tc_type", 0, 15, &a.tc_type) ||
            !L.integer(ai[c], "tc_flags", 0, 15, &a.tc_flags) ||
            !L.integer(ai[c], "tc_out", 0, 15, &a.tc_out) ||
            !L.integer(ai[c], "tc_low", 0, 65535, &a.tc_low) ||
            !L.integer(ai[c], "tc_high", 0, 65535, &a.tc_high))
            return false;
    }
    json dos = j.value("do", json::array());
    if (!dos.is_array() || dos.size() > kDoAlerts) return L.fail("do must be a list of at most 4");
    for (size_t d = 0; d < dos.size(); ++d) {
        DoAlert& a = u.dos[d];
        L.where = u.name + ".do[" + std::to_string(d) + "]: ";
        if (!L.only(dos[d], {"enable", "input", "direction", "width"})) return false;
        if (!L.integer(dos[d], "enable", 0, 15, &a.enable) ||
            !L.integer(dos[d], "input", 0, 15, &a.input) ||
            !L.integer(dos[d], "direction", 0, 15, &a.direction) ||
            !L.integer(dos[d], "width", 0, 65535, &a.width))
            return false;
    }
    return true;
}

bool read_knobs(const json& f, Loader& L, Faults* faults);  // the knobs present in f

bool load_faults(Unit& u, const json& j, Loader& L)
{
    json f = j.value("faults", json::object());
    L.where = u.name + ".faults: ";
    if (!f.is_object()) return L.fail("must be an object");
    static const std::set<std::string> known = {"udp_silent",
                                                "unreadable_record",
                                                "udp_delay_ms",
                                                "udp_truncate",
                                                "udp_garbage",
                                                "tcp_silent",
                                                "refused",
                                                "delay_ms",
                                                "truncate",
                                                "close_early",
                                                "wrong_echo",
                                                "garbage",
                                                "dump_stops_after_end",
                                                "long_dump_line",
                                                "uu_delay_ms",
                                                "discovery_repeat_ms",
                                                "trickle_ms",
                                                "trickle_bytes",
                                                "extra_bytes",
                                                "udp_trickle_ms",
                                                "udp_trickle_bytes",
                                                "udp_extra_bytes"};
    for (auto it = f.begin(); it != f.end(); ++it)
        if (!known.count(it.key())) return L.fail("unknown knob " + it.key());
    return read_knobs(f, L, &u.faults);
}

// "faults_on": knobs for the requests that start with some bytes.
bool load_faults_on(Unit& u, const json& j, Loader& L)
{
    json list = j.value("faults_on", json::array());
    L.where = u.name + ".faults_on: ";
    if (!list.is_array()) return L.fail("must be a list");
    static const std::set<std::string> knobs = {
        "silent",   "close_early", "truncate",     "garbage",     "wrong_echo",
        "delay_ms", "udp_silent",  "udp_truncate", "udp_garbage", "udp_delay_ms",
        "trickle_ms", "trickle_bytes", "extra_bytes", "udp_trickle_ms", "udp_trickle_bytes",
        "udp_extra_bytes"};
    for (size_t i = 0; i < list.size(); ++i) {
        const json& e = list[i];
        L.where = u.name + ".faults_on[" + std::to_string(i) + "]: ";
        if (!e.is_object()) return L.fail("must be an object");
        TargetedFaults t;
        size_t set = 0;
        for (auto it = e.begin(); it != e.end(); ++it) {
            if (it.key() == "after")
                return L.fail("unknown knob after (from: N makes the N-th matching request fail)");
            if (knobs.count(it.key()))
                ++set;
            else if (it.key() != "on" && it.key() != "on_text" && it.key() != "from" &&
                     it.key() != "times" && it.key()[0] != '_')
                return L.fail("unknown knob " + it.key());
        }
        if (e.contains("on") == e.contains("on_text"))
            return L.fail("needs either on (hex bytes) or on_text (a text)");
        std::string prefix;
        if (!L.text(e, "on", &prefix) || !L.text(e, "on_text", &prefix)) return false;
        if (e.contains("on_text"))
            t.prefix.assign(prefix.begin(), prefix.end());
        else if (!from_hex(prefix, &t.prefix))
            return L.fail("on needs hex bytes, e.g. \"4d57\"");
        if (t.prefix.empty()) return L.fail("the prefix is empty (plain faults act on everything)");
        if (set == 0) return L.fail("sets no knob");
        Faults& k = t.knobs;
        if (!L.integer(e, "from", 1, 1000000, &t.from) ||
            !L.integer(e, "times", 1, 1000000, &t.times) || !L.flag(e, "silent", &k.tcp_silent) ||
            !read_knobs(e, L, &k))
            return false;
        u.faults_on.push_back(std::move(t));
    }
    return true;
}

bool read_knobs(const json& f, Loader& L, Faults* faults)
{
    Faults& k = *faults;
    return L.flag(f, "udp_silent", &k.udp_silent) &&
           L.integer(f, "unreadable_record", 0, 7, &k.unreadable_record) &&
           L.integer(f, "udp_delay_ms", 0, 600000, &k.udp_delay_ms) &&
           L.integer(f, "udp_truncate", 0, 100000, &k.udp_truncate) &&
           L.flag(f, "udp_garbage", &k.udp_garbage) && L.flag(f, "tcp_silent", &k.tcp_silent) &&
           L.flag(f, "refused", &k.refused) && L.integer(f, "delay_ms", 0, 600000, &k.delay_ms) &&
           L.integer(f, "truncate", 0, 100000, &k.truncate) &&
           L.flag(f, "close_early", &k.close_early) && L.flag(f, "wrong_echo", &k.wrong_echo) &&
           L.flag(f, "garbage", &k.garbage) &&
           L.flag(f, "dump_stops_after_end", &k.dump_stops_after_end) &&
           L.integer(f, "long_dump_line", 0, 100000, &k.long_dump_line) &&
           L.integer(f, "uu_delay_ms", 0, 600000, &k.uu_delay_ms) &&
           L.integer(f, "discovery_repeat_ms", 0, 600000, &k.discovery_repeat_ms) &&
           L.integer(f, "trickle_ms", 0, 600000, &k.trickle_ms) &&
           L.integer(f, "trickle_bytes", 1, 100000, &k.trickle_bytes) &&
           L.integer(f, "extra_bytes", 0, 1 << 20, &k.extra_bytes) &&
           L.integer(f, "udp_trickle_ms", 0, 600000, &k.udp_trickle_ms) &&
           L.integer(f, "udp_trickle_bytes", 1, 100000, &k.udp_trickle_bytes) &&
           L.integer(f, "udp_extra_bytes", 0, 1 << 20, &k.udp_extra_bytes);
}

bool load_unit(const json& j, size_t position, Unit& u, Loader& L)
{
    L.where = "unit " + std::to_string(position) + ": ";
    if (!j.is_object()) return L.fail("must be an object");
    if (!j.contains("name") || !j["name"].is_string() || j["name"].get<std::string>().empty())
        return L.fail("needs a name");
    u.name = j["name"].get<std::string>();
    L.where = u.name + ": ";
    if (!L.only(j, {"name",   "ip",      "mac",       "module",   "devtype", "query",
                    "nib5",   "nib6",    "model",     "unit_id",  "answer",  "cmd_port",
                    "dhcp",   "dhcp_ip", "static_ip", "mask",     "gateway", "extfirm",
                    "conn",   "mail",    "records",   "params",   "memory",  "ai",
                    "notice", "do",      "wifi",      "versions", "faults",  "faults_on"}))
        return false;
    if (!j.contains("ip")) return L.fail("needs an ip");
    if (!L.address(j, "ip", &u.ip)) return false;

    std::string module = "xport";
    if (!L.text(j, "module", &module)) return false;
    if (module == "xport")
        u.module = Module::XPort;
    else if (module == "gc")
        u.module = Module::GC;
    else if (module == "wifi")
        u.module = Module::WiFi;
    else
        return L.fail("module must be xport, gc or wifi");

    char mac_default[32];
    snprintf(mac_default, sizeof mac_default, "00:80:a3:00:%02x:%02x",
             static_cast<unsigned>((position >> 8) & 0xFF), static_cast<unsigned>(position & 0xFF));
    std::string mac = mac_default;
    if (!L.text(j, "mac", &mac)) return false;
    std::vector<uint8_t> mac_bytes;
    if (!from_hex(mac, &mac_bytes) || mac_bytes.size() != 6) return L.fail("mac needs six bytes");
    for (int i = 0; i < 6; ++i) u.mac[i] = mac_bytes[i];

    std::string devtype = u.is_wifi() ? "_L" : "X5";
    if (!L.text(j, "devtype", &devtype)) return false;
    if (devtype.size() != 2) return L.fail("devtype must be two characters");
    u.devtype[0] = devtype[0];
    u.devtype[1] = devtype[1];

    std::string query = u.is_wifi() ? "ln" : "f6";
    if (!L.text(j, "query", &query)) return false;
    if (query == "f6")
        u.query = Query::F6;
    else if (query == "ln")
        u.query = Query::LN;
    else if (query == "both")
        u.query = Query::Both;
    else if (query == "none")
        u.query = Query::None;
    else
        return L.fail("query must be f6, ln, both or none");

    if (!L.integer(j, "nib5", 0, 15, &u.nib5) || !L.integer(j, "nib6", 0, 15, &u.nib6) ||
        !L.integer(j, "model", 0, 15, &u.model) || !L.integer(j, "unit_id", 0, 15, &u.unit_id))
        return false;
    std::string answer = u.model >= 8 ? "mi" : "uu";
    if (!L.text(j, "answer", &answer)) return false;
    if (answer == "uu")
        u.answer = Answer::UU;
    else if (answer == "mi")
        u.answer = Answer::MI;
    else if (answer == "at")
        u.answer = Answer::AT;
    else
        return L.fail("answer must be uu, mi or at");

    int cmd_port = 10001;
    bool dhcp = false;
    uint32_t mask = 0, gateway = 0, static_ip = u.ip;
    parse_ip("255.255.255.0", &mask);
    u.dhcp_ip = u.ip;
    if (!L.integer(j, "cmd_port", 0, 65535, &cmd_port) || !L.flag(j, "dhcp", &dhcp) ||
        !L.address(j, "mask", &mask) || !L.address(j, "gateway", &gateway) ||
        !L.address(j, "static_ip", &static_ip) || !L.address(j, "dhcp_ip", &u.dhcp_ip))
        return false;
    if (host_bits_of(mask) < 0) return L.fail("mask is not contiguous");
    u.extfirm = u.module == Module::GC ? "GC-1.20" : "";
    if (!L.text(j, "extfirm", &u.extfirm)) return false;

    if (u.is_wifi()) {
        for (auto& r : u.records) r.clear();
        u.set_wifi("IP", ip_text(u.ip));
        u.set_wifi("SUBM", ip_text(mask));
        u.set_wifi("GWAY", ip_text(gateway));
        u.set_wifi("PORT", std::to_string(cmd_port));
        static const char* defaults[][2] = {
            {"MHOST", ""}, {"MPORT", "25"}, {"MUSER", ""}, {"MPASS", ""}, {"MFROM", ""},
            {"MTO1", ""},  {"MTO2", ""},    {"MSUBJ", ""}, {"HIP", ""},   {"HPORT", "0"}};
        for (const auto& kv : defaults) u.set_wifi(kv[0], kv[1]);
        json w = j.value("wifi", json::object());
        L.where = u.name + ".wifi: ";
        if (!w.is_object()) return L.fail("must be an object");
        for (auto it = w.begin(); it != w.end(); ++it) {
            if (!it.value().is_string()) return L.fail(it.key() + " must be a text");
            u.set_wifi(it.key(), it.value().get<std::string>());
        }
        json v = j.value("versions", json::array());
        if (!v.empty()) {
            if (!v.is_array() || v.size() != 2 || !v[0].is_string() || !v[1].is_string())
                return L.fail("versions must be two texts");
            u.versions = {v[0].get<std::string>(), v[1].get<std::string>()};
        }
    } else if (!build_records(u, j, L, static_ip, mask, gateway, dhcp, cmd_port)) {
        return false;
    }
    return load_controller(u, j, L) && load_faults(u, j, L) && load_faults_on(u, j, L);
}

}  // namespace

bool load_plant(const std::string& json_text, Plant* plant, std::string* error)
{
    json j = json::parse(json_text, nullptr, false);
    if (j.is_discarded() || !j.is_object()) {
        *error = "the plant is not a JSON object";
        return false;
    }
    Loader L{error, ""};
    if (!L.only(j, {"units", "hosts"})) return false;
    json hosts = j.value("hosts", json::array());
    if (!hosts.is_array()) return L.fail("hosts must be a list");
    for (const auto& h : hosts) {
        uint32_t ip;
        if (!h.is_string() || !parse_ip(h.get<std::string>(), &ip))
            return L.fail("bad host address");
        plant->hosts.push_back(ip);
    }
    json units = j.value("units", json::array());
    if (!units.is_array()) return L.fail("units must be a list");
    std::set<std::string> names;
    for (size_t i = 0; i < units.size(); ++i) {
        Unit u;
        if (!load_unit(units[i], i, u, L)) return false;
        if (!names.insert(u.name).second) return L.fail("two units named " + u.name);
        plant->units.push_back(std::move(u));
    }
    return true;
}

std::string state_json(const std::vector<Unit>& units)
{
    json all = json::object();
    for (const Unit& u : units) {
        json s;
        s["ip"] = ip_text(u.ip);
        s["restarts"] = u.restarts;
        s["cmd_port"] = u.cmd_port();
        if (u.is_wifi()) {
            const std::string* subm = u.wifi_value("SUBM");
            const std::string* gway = u.wifi_value("GWAY");
            s["dhcp"] = false;
            s["mask"] = subm ? *subm : "";
            s["gateway"] = gway ? *gway : "";
            json w = json::object();
            for (const auto& kv : u.wifi) w[kv.first] = kv.second;
            s["wifi"] = w;
        } else {
            const auto& r0 = u.records[0];
            s["dhcp"] = record0_dhcp(u);
            s["static_ip"] = ip_text(get_ip(r0, rec::kIp));
            s["mask"] = ip_text(mask_of(r0[rec::kHostBits]));
            s["gateway"] = ip_text(get_ip(r0, rec::kGateway));
            json r = json::object();
            for (int n = 0; n < 8; ++n) {
                if (n == 2 || (n == 1 && !u.record1_written) || u.records[n].empty()) continue;
                r[std::to_string(n)] = to_hex(u.records[n]);
            }
            s["records"] = r;
        }
        s["params"] = to_hex(std::vector<uint8_t>(u.params.begin(), u.params.end()));
        json m = json::object();
        for (const auto& [addr, value] : u.memory) {
            char key[8];
            snprintf(key, sizeof key, "%04x", addr);
            m[key] = to_hex({value});
        }
        s["memory"] = m;
        json ai = json::array();
        for (const AnalogInput& a : u.ai)
            ai.push_back({{"range", a.range},
                          {"led", a.led},
                          {"mail", a.mail},
                          {"low", a.low},
                          {"high", a.high},
                          {"tc_type", a.tc_type},
                          {"tc_flags", a.tc_flags},
                          {"tc_out", a.tc_out},
                          {"tc_low", a.tc_low},
                          {"tc_high", a.tc_high}});
        s["ai"] = ai;
        s["notice"] = u.notice;
        json dos = json::array();
        for (const DoAlert& d : u.dos)
            dos.push_back({{"enable", d.enable},
                           {"input", d.input},
                           {"direction", d.direction},
                           {"width", d.width}});
        s["do"] = dos;
        all[u.name] = s;
    }
    return json{{"units", all}}.dump() + "\n";
}

}  // namespace sim
