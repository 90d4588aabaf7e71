// The WiFi module's key/value text protocol on TCP port 9998.
#include <cstring>
#include <string>

#include "lab/sim/protocol.h"

namespace sim {

namespace {

const char kDumpRequest[] = "DUMP\nEND\n";  // + one zero byte
const char kVersionRequest[] = "VER\n";     // + one zero byte

// buf equals (or, when partial, begins) the request text followed by a zero byte.
int match_request(const Bytes& buf, const char* text)
{
    size_t n = strlen(text) + 1;
    size_t m = buf.size() < n ? buf.size() : n;
    for (size_t i = 0; i < m; ++i)
        if (buf[i] != static_cast<uint8_t>(text[i])) return -1;  // text[n-1] is the zero
    return buf.size() >= n ? 1 : 0;
}

void add_line(Bytes& out, const std::string& line)
{
    out.insert(out.end(), line.begin(), line.end());
    out.push_back('\r');
    out.push_back('\n');
}

}  // namespace

WifiFrame frame_wifi(const Bytes& buf, size_t* len)
{
    int dump = match_request(buf, kDumpRequest);
    int ver = match_request(buf, kVersionRequest);
    if (dump == 1) {
        *len = sizeof kDumpRequest;
        return WifiFrame::Dump;
    }
    if (ver == 1) {
        *len = sizeof kVersionRequest;
        return WifiFrame::Version;
    }
    if (dump == 0 || ver == 0) return WifiFrame::Need;
    // A set text: key and value lines, closed by the key line "END".
    size_t start = 0;
    bool key = true;
    for (size_t i = 0; i < buf.size(); ++i) {
        if (buf[i] != '\n') continue;
        size_t end = i > start && buf[i - 1] == '\r' ? i - 1 : i;
        if (key && end - start == 3 && memcmp(buf.data() + start, "END", 3) == 0) {
            *len = i + 1;
            return WifiFrame::SetText;
        }
        key = !key;
        start = i + 1;
    }
    return WifiFrame::Need;
}

Bytes wifi_dump(const Unit& u)
{
    Bytes out;
    bool first = true;
    for (const auto& [key, value] : u.wifi) {
        add_line(out, key);
        if (first && u.faults.long_dump_line > 0)
            add_line(out, std::string(u.faults.long_dump_line, '9'));
        else
            add_line(out, value);
        first = false;
    }
    add_line(out, "END");
    if (!u.faults.dump_stops_after_end) add_line(out, "");
    return out;
}

Bytes wifi_versions(const Unit& u)
{
    Bytes out;
    add_line(out, u.versions[0]);
    add_line(out, u.versions[1]);
    return out;
}

int apply_set_text(Unit& u, const Bytes& text)
{
    std::vector<std::string> lines;
    std::string line;
    for (uint8_t c : text) {
        if (c == '\n') {
            if (!line.empty() && line.back() == '\r') line.pop_back();
            lines.push_back(line);
            line.clear();
        } else {
            line += static_cast<char>(c);
        }
    }
    int stored = 0;
    for (size_t i = 0; i + 1 < lines.size(); i += 2) {
        if (lines[i] == "END") break;
        u.set_wifi(lines[i], lines[i + 1]);
        ++stored;
    }
    return stored;
}

}  // namespace sim
