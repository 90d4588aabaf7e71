// Figures of the other-settings screens, printed as a table: opening and
// applying on models 8, 10 and 11, from the key to the screen ready and to
// the message box, against the screens' own pauses plus one lab round trip
// per exchange. Every figure comes from a private lab.
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

constexpr int kRounds = 3;    // searches; each applies once per model
constexpr int kOpenings = 3;  // openings left with Esc per round, before the one that applies

struct Model {
    int model;
    const char* name;
    const char* ip;
    const char* ready_text;  // a value the opening shows once every read is in
    int ready_row, ready_col;
    int reads, open_pause_ms;    // exchanges and pauses of the opening
    int writes, apply_pause_ms;  // of "設定反映"
    int downs_to_apply;          // from the first item
};

const Model kModels[] = {
    {8, "m8", "192.0.2.10", "10Hz", 4, 23, 4, 4 * 20 + 10, 4, 4 * 20 + 20, 4},
    {10, "m10", "192.0.2.11", "10Hz", 4, 23, 7, 7 * 20 + 10, 10, 10 * 20 + 20, 4},
    {11, "m11", "192.0.2.12", "+0.00000", 10, 23, 3, 3 * 20 + 20, 3, 3 * 20 + 20, 3},
};

const char kPlant[] = R"({"units": [
  {"name": "m8", "ip": "192.0.2.10", "model": 8},
  {"name": "m10", "ip": "192.0.2.11", "model": 10},
  {"name": "m11", "ip": "192.0.2.12", "model": 11}]})";

// Median time of one controller exchange with the unit over the lab (ms):
// a read, or a write (which the unit also stores).
double round_trip_ms(const char* ip, bool write)
{
    const uint8_t read[4] = {'A', 'J', 0x20, 0xC8};
    const uint8_t same_range[5] = {'A', 'R', 0x21, 0x20, 0xC8};
    uint8_t rep[6];
    std::vector<double> ms;
    for (int k = 0; k < 21; k++) {
        const long long t0 = now_us();
        const int r = write ? SendRecv(ip, 10001, 5, same_range, 5, rep)
                            : SendRecv(ip, 10001, 4, read, 6, rep);
        if (r != 0) return -1;
        ms.push_back((now_us() - t0) / 1000.0);
    }
    return median(ms);
}

// The unit's last answer to "MI" (the end of the menu's model check), in
// the steady clock's microseconds.
long long model_check_end(const rig::Lab& lab, const char* unit)
{
    long long t = 0;
    for (const rig::JournalEntry& e : lab.sent(unit))
        if (e.bytes.size() == 5 && e.bytes[0] == 'M' && e.bytes[1] == 'I') t = e.t_us;
    return t;
}

struct Figures {
    std::vector<double> open_ms, key_ms, apply_ms;
};

// One pass over the models: each is opened and left, then opened and applied
// (it restarts and leaves the list, so the next model is first).
bool measure_round(op::Session& s, Figures* fig)
{
    rig::Term& t = s.t;
    for (int k = 0; k < 3; k++) {
        const Model& m = kModels[k];
        for (int run = 0; run <= kOpenings; run++) {
            if (!bench::menu_on(s, m.ip, op::ETC)) return false;
            const long long t0 = now_us();
            t.enter();
            auto ready = [&] {
                return t.text(m.ready_row, m.ready_col, 12).rfind(m.ready_text, 0) == 0;
            };
            if (!t.wait_for(ready, 20000)) return false;
            const long long t1 = now_us();
            fig[k].open_ms.push_back((t1 - model_check_end(s.lab, m.name)) / 1000.0);
            fig[k].key_ms.push_back((t1 - t0) / 1000.0);
            if (run == kOpenings) break;
            if (!s.leave()) return false;
        }
        for (int d = 0; d < m.downs_to_apply; d++) t.down();
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

    Figures fig[3];
    for (int round = 0; round < kRounds; round++) {
        if (!s.search() || !measure_round(s, fig)) {
            std::fprintf(stderr, "the screens did not answer as expected\n%s", s.t.dump().c_str());
            return 1;
        }
    }

    std::printf(
        "Other settings, medians of %d openings and %d applies per model. Opening: from\n"
        "the end of the menu's model check to the values shown (from the key, the check's\n"
        "1.5 s wait for \"UU\" included, in brackets); applying: from the key to the message\n"
        "box. Minimum = the screens' own pauses + one lab round trip per exchange (reads\n"
        "and writes measured apart: the unit stores each write).\n\n",
        kRounds * (kOpenings + 1), kRounds);
    std::printf("%-6s %7s %7s %8s %8s %6s %13s %9s %8s %6s\n", "model", "read", "write", "open ms",
                "min ms", "ratio", "(key/min ms)", "apply ms", "min ms", "ratio");
    for (int k = 0; k < 3; k++) {
        const Model& m = kModels[k];
        const double rtt_r = round_trip_ms(m.ip, false);
        const double rtt_w = round_trip_ms(m.ip, true);
        const double open = median(fig[k].open_ms);
        const double apply = median(fig[k].apply_ms);
        const double open_min = m.open_pause_ms + m.reads * rtt_r;
        const double apply_min = m.apply_pause_ms + m.writes * rtt_w;
        char key[32];
        std::snprintf(key, sizeof key, "(%.0f/%.0f)", median(fig[k].key_ms),
                      1500 + open_min + 2 * rtt_r);
        std::printf("%-6d %7.2f %7.2f %8.1f %8.1f %6.3f %13s %9.1f %8.1f %6.3f\n", m.model, rtt_r,
                    rtt_w, open, open_min, open / open_min, key, apply, apply_min,
                    apply / apply_min);
    }
    s.t.f9();
    s.t.wait_exit();
    return 0;
}
