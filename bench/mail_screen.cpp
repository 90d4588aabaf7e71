// Figures of the mail alert screen, printed as a table: opening and applying
// on a model 10 unit (3 thresholds, 2 DO alerts, 3 ranges, 5 records) and a
// WiFi module, against the screen's own pauses plus one lab round trip per
// exchange; and the bytes written to the terminal per move between items
// and per Left/Right in an input row. Every figure comes from a private lab.
#include <arpa/inet.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

#include "device/KIVRAXPort.h"
#include "screen_bench.h"

namespace {

using bench::median;
using bench::now_us;
using op::BLUE;

constexpr int kRounds = 3;
constexpr int kOpenings = 3;  // openings left with Esc per round, before the one that applies

struct Unit {
    const char* name;
    const char* ip;
    const char* what;
    int reads, open_pause_ms;    // exchanges and pauses of the opening
    int tcp_writes, udp_writes;  // exchanges of "設定反映"
    int apply_pause_ms;
};

// Model 10: AK x3, DJ x2, AJ x3 with 20 ms before each and after each group;
// AL x3 and DL/DS x2 with their pauses, records 3..7 back to back.
// WiFi model 0: two DI reads (20 ms, 30 ms before), two DI writes (20 ms
// after each), then the mail text on a connection of its own.
const Unit kUnits[] = {
    {"m10", "192.0.2.11", "model 10", 8, 3 * 20 + 20 + 2 * 20 + 3 * 20 + 20, 7, 5,
     3 * 20 + 2 * (20 + 20)},
    {"w0", "192.0.2.12", "WiFi", 2, 20 + 30, 3, 0, 20 + 20},
};

const char kPlant[] = R"({"units": [
  {"name": "m10", "ip": "192.0.2.11", "model": 10},
  {"name": "w0", "ip": "192.0.2.12", "model": 0, "module": "wifi"}]})";

// Median time of one exchange with the unit over the lab (ms), of the kind
// the apply makes: a controller write ("AL" with the unit's defaults) and a
// record write (record 3 as read), both of which the unit stores.
double tcp_round_trip_ms(const char* ip, bool write)
{
    const uint8_t al[13] = {'A', 'L', 0x20, 0x20, '0', '0', '0', '0', 'F', 'F', 'F', 'F', 0xC8};
    const uint8_t ak[4] = {'A', 'K', 0x20, 0xC8};
    uint8_t rep[13];
    std::vector<double> ms;
    for (int k = 0; k < 21; k++) {
        const long long t0 = now_us();
        if (SendRecv(ip, 10001, write ? 13 : 4, write ? al : ak, 13, rep) != 0) return -1;
        ms.push_back((now_us() - t0) / 1000.0);
    }
    return median(ms);
}

double udp_round_trip_ms(const char* ip)
{
    const uint8_t read[4] = {0, 0, 0, 0xE3};
    uint8_t image[130];
    uint8_t rep[4];
    in_addr a{};
    inet_aton(ip, &a);
    if (UDP_SendRecv(a.s_addr, read, 4, image, 130) != 0) return -1;
    image[0] = 0, image[1] = 1, image[2] = 0, image[3] = 0xC3;
    std::vector<double> ms;
    for (int k = 0; k < 21; k++) {
        const long long t0 = now_us();
        if (UDP_SendRecv(a.s_addr, image, 130, rep, 4) != 0) return -1;
        ms.push_back((now_us() - t0) / 1000.0);
    }
    return median(ms);
}

// The unit's last answer to the menu's model check ("UU" or "MI").
long long model_check_end(const rig::Lab& lab, const char* unit)
{
    long long t = 0;
    for (const rig::JournalEntry& e : lab.sent(unit)) {
        const auto& b = e.bytes;
        if ((b.size() == 5 && b[0] == 'M' && b[1] == 'I') || (b.size() == 2 && b[1] == 0x55))
            t = e.t_us;
    }
    return t;
}

struct Figures {
    std::vector<double> open_ms, apply_ms;
};

// Bytes written per key, each waited for until the item at row, col is current.
double bytes_per_move(op::Session& s, void (rig::Term::*key)(), const int (*at)[2], int n)
{
    size_t bytes = 0;
    for (int k = 0; k < n; k++) {
        const size_t before = s.t.bytes_read();
        (s.t.*key)();
        s.wait_bg(at[k][0], at[k][1], BLUE, 5000);
        s.t.settle(50);
        bytes += s.t.bytes_read() - before;
    }
    return double(bytes) / n;
}

bool measure_round(op::Session& s, Figures* fig, double* moves)
{
    rig::Term& t = s.t;
    for (int k = 0; k < 2; k++) {
        const Unit& u = kUnits[k];
        for (int run = 0; run <= kOpenings; run++) {
            if (!bench::menu_on(s, u.ip, op::MAIL)) return false;
            t.enter();
            if (!s.wait_bg(4, 27, BLUE, 20000)) return false;
            fig[k].open_ms.push_back((now_us() - model_check_end(s.lab, u.name)) / 1000.0);
            if (k == 1 && run == 0 && moves[0] < 0) {
                const int down[4][2] = {{5, 27}, {6, 27}, {7, 27}, {8, 27}};
                const int up[4][2] = {{7, 27}, {6, 27}, {5, 27}, {4, 27}};
                moves[0] = (bytes_per_move(s, &rig::Term::down, down, 4) +
                            bytes_per_move(s, &rig::Term::up, up, 4)) /
                           2;
                for (int d = 0; d < 7; d++) t.down();
                s.wait_bg(13, 27, BLUE, 5000);
                t.settle(100);
                const int right[2][2] = {{13, 39}, {13, 51}};
                const int left[2][2] = {{13, 39}, {13, 27}};
                moves[1] = (bytes_per_move(s, &rig::Term::right, right, 2) +
                            bytes_per_move(s, &rig::Term::left, left, 2)) /
                           2;
            }
            if (run == kOpenings) break;
            if (!s.leave()) return false;
        }
        t.up();  // the server wraps up to "設定反映"
        s.wait_bg(21, 51, BLUE, 5000);
        t.settle(200);
        const double apply_ms = bench::timed_apply(t);
        if (apply_ms < 0) return false;
        fig[k].apply_ms.push_back(apply_ms);
    }
    return true;
}

}  // namespace

int main()
{
    op::Session s(kPlant);
    if (!bench::started(s)) return 1;

    Figures fig[2];
    double moves[2] = {-1, -1};
    for (int round = 0; round < kRounds; round++) {
        if (!s.search() || !measure_round(s, fig, moves)) {
            std::fprintf(stderr, "the screen did not answer as expected\n%s", s.t.dump().c_str());
            return 1;
        }
    }
    std::printf(
        "Mail alert screen, medians of %d openings and %d applies per unit. Opening: from\n"
        "the end of the menu's model check to the first item current; applying: from the\n"
        "key to the message box. Minimum = the screen's own pauses + one lab round trip\n"
        "per exchange (controller reads, controller writes and record writes measured\n"
        "apart: the unit stores each write).\n\n",
        kRounds * (kOpenings + 1), kRounds);
    std::printf("%-9s %6s %6s %6s %8s %8s %6s %9s %8s %6s\n", "unit", "read", "write", "record",
                "open ms", "min ms", "ratio", "apply ms", "min ms", "ratio");
    for (int k = 0; k < 2; k++) {
        const Unit& u = kUnits[k];
        const double tcp_r = tcp_round_trip_ms(u.ip, false);
        const double tcp = tcp_round_trip_ms(u.ip, true);
        const double udp = udp_round_trip_ms(kUnits[0].ip);
        const double open = median(fig[k].open_ms), apply = median(fig[k].apply_ms);
        const double open_min = u.open_pause_ms + u.reads * tcp_r;
        const double apply_min = u.apply_pause_ms + u.tcp_writes * tcp + u.udp_writes * udp;
        std::printf("%-9s %6.2f %6.2f %6.2f %8.1f %8.1f %6.3f %9.1f %8.1f %6.3f\n", u.what, tcp_r,
                    tcp, udp, open, open_min, open / open_min, apply, apply_min, apply / apply_min);
    }
    std::printf("\nbytes to the terminal per move between items: %.0f\n", moves[0]);
    std::printf("bytes to the terminal per Left/Right in an input row: %.0f\n", moves[1]);
    s.t.f9();
    s.t.wait_exit();
    return 0;
}
