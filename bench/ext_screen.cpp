// Figures of the input extension screen on each kind of unit: from the key
// to the screen ready (the first item current) and from "設定反映" to the
// message box, against the screen's own pauses plus one lab round trip per
// exchange; and the bytes written to the terminal per move between
// sections and along the connection grid.
#include "device/KIVRAXPort.h"
#include "screen_bench.h"

#include <arpa/inet.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string>

namespace {

using Clock = std::chrono::steady_clock;
using op::BLUE;

double ms_since(Clock::time_point t)
{
    return std::chrono::duration<double, std::milli>(Clock::now() - t).count();
}

struct Variant {
    const char* what;
    const char* ip;
    int ready_row, ready_col;           // the item current when the screen is ready
    int open_pause_ms, open_exchanges;  // model check included
    int model_wait_ms;                  // a unit that answers only "MI" leaves "UU" unanswered
    int apply_pause_ms, apply_tcp, apply_udp;
};

struct RoundTrips {
    double tcp_read, tcp_write, udp_read, udp_write;  // ms, each the mean of n exchanges
};

// Lab round trips of the exchanges the screen makes; writes take longer,
// as the simulator stores each one before it answers.
RoundTrips round_trips(int n)
{
    const uint8_t read_param[2] = {0x90, 0x02};
    const uint8_t write_param[2] = {0x93, 0x0A};
    uint8_t read_record[4] = {0, 0, 0, 0xE3};
    uint8_t image[130];
    uint8_t reply[130];
    const in_addr_t ip = inet_addr("192.0.2.10");
    RoundTrips r{};
    auto t = Clock::now();
    for (int k = 0; k < n; k++) SendRecv("192.0.2.10", 10001, 2, read_param, 2, reply);
    r.tcp_read = ms_since(t) / n;
    t = Clock::now();
    for (int k = 0; k < n; k++) SendRecv("192.0.2.10", 10001, 2, write_param, 2, reply);
    r.tcp_write = ms_since(t) / n;
    t = Clock::now();
    for (int k = 0; k < n; k++) UDP_SendRecv(ip, read_record, 4, image, 130);
    r.udp_read = ms_since(t) / n;
    SetRecordWriteHeader(image, 3, 1);  // not the last record: the unit does not restart
    t = Clock::now();
    for (int k = 0; k < n; k++) UDP_SendRecv(ip, image, 130, reply, 4);
    r.udp_write = ms_since(t) / n;
    return r;
}

// Presses key, waits for the item at row, col to be current; bytes written.
size_t move_bytes(op::Session& s, void (rig::Term::*key)(), int row, int col)
{
    const size_t before = s.t.bytes_read();
    (s.t.*key)();
    if (!s.wait_bg(row, col, BLUE)) return 0;
    s.t.settle(30);
    return s.t.bytes_read() - before;
}

}  // namespace

int main()
{
    op::Session s(R"({"units": [
      {"name": "plain", "ip": "192.0.2.10", "model": 0},
      {"name": "gc", "ip": "192.0.2.11", "model": 2, "module": "gc", "devtype": "X6",
       "conn": {"mode2": 193}},
      {"name": "wifi", "ip": "192.0.2.12", "model": 1, "module": "wifi"},
      {"name": "m9", "ip": "192.0.2.13", "model": 9},
      {"name": "m10", "ip": "192.0.2.14", "model": 10}]})");
    if (!bench::started(s)) return 1;
    const RoundTrips rt = round_trips(50);
    if (!s.search()) return 1;
    rig::Term& t = s.t;

    const Variant variants[] = {
        {"plain XPort, model 0", "192.0.2.10", 7, 15, 100, 4, 0, 120, 3, 3},
        {"GC firmware, model 2, 1:N on", "192.0.2.11", 4, 19, 100, 4, 0, 120, 3, 3},
        {"WiFi module, model 1", "192.0.2.12", 7, 15, 100, 4, 0, 60, 4, 0},
        {"model 9 (memory bytes)", "192.0.2.13", 7, 15, 80, 4, TCP_IO_MS, 100, 2, 3},
        {"model 10 (AJ/AS)", "192.0.2.14", 7, 15, 40, 3, TCP_IO_MS, 80, 1, 3},
    };
    std::printf(
        "lab round trips (ms): command read %.2f, command write %.2f, record read %.2f, "
        "record write %.2f\n\n",
        rt.tcp_read, rt.tcp_write, rt.udp_read, rt.udp_write);
    std::printf("%-30s %9s %9s %6s %9s %9s %9s %6s\n", "unit", "open ms", "minimum", "ratio",
                "last sent", "apply ms", "minimum", "ratio");
    size_t grid_bytes = 0, section_bytes = 0;
    for (const Variant& v : variants) {
        const bool first = &v == &variants[0];
        if (!s.open_menu(v.ip)) {
            std::printf("%-30s the settings menu did not open\n%s", v.what, t.dump().c_str());
            return 1;
        }
        // Opened three times (Esc back to the menu in between); the middle figure counts.
        double opens[3];
        for (double& open : opens) {
            t.down();
            t.settle();
            const auto start = Clock::now();
            t.enter();
            if (!s.wait_bg(v.ready_row, v.ready_col, BLUE, 20000)) {
                std::printf("%-30s the screen did not open\n%s", v.what, t.dump().c_str());
                return 1;
            }
            open = ms_since(start);
            if (&open == &opens[2]) break;
            t.settle(30);
            t.esc();
            t.wait_text(op::MENU_TITLE);
            t.settle();
        }
        std::sort(opens, opens + 3);
        const double open_ms = opens[1];
        if (first) {
            // Along the grid, then down through every section back to the grid.
            for (int c : {25, 35, 45, 65}) grid_bytes += move_bytes(s, &rig::Term::right, 7, c);
            const int rows[][2] = {{14, 19}, {16, 19}, {18, 19}, {20, 51}, {7, 65}};
            for (const auto& rc : rows)
                section_bytes += move_bytes(s, &rig::Term::down, rc[0], rc[1]);
        }
        t.up();
        if (!s.wait_bg(20, 51, BLUE)) return 1;
        t.settle(30);
        const auto start = Clock::now();
        t.enter();
        if (!t.wait_row(19, op::DONE_1, 20000)) return 1;
        const double apply_ms = ms_since(start);
        // The last request the unit received, on the same clock as the key.
        const long long key_us =
            std::chrono::duration_cast<std::chrono::microseconds>(start.time_since_epoch()).count();
        long long last_us = key_us;
        for (const rig::JournalEntry& e : s.lab.journal())
            if (e.dir == "in" && e.local.rfind(std::string(v.ip) + ":", 0) == 0) last_us = e.t_us;
        const double sent_ms = (last_us - key_us) / 1000.0;
        const double open_min = v.open_pause_ms + v.model_wait_ms + v.open_exchanges * rt.tcp_read;
        const double apply_min =
            v.apply_pause_ms + v.apply_tcp * rt.tcp_write + v.apply_udp * rt.udp_write;
        std::printf("%-30s %9.1f %9.1f %6.3f %9.1f %9.1f %9.1f %6.3f\n", v.what, open_ms, open_min,
                    open_ms / open_min, sent_ms, apply_ms, apply_min, apply_ms / apply_min);
        t.enter();
        t.wait_gone(op::MENU_TITLE);
        t.settle();
    }
    std::printf(
        "\nbytes to the terminal: %.0f per Right along the grid, %.0f per Down between "
        "sections\n",
        grid_bytes / 4.0, section_bytes / 5.0);
    t.f9();
    t.wait_exit();
    return 0;
}
