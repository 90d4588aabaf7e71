// Figures of the device list, printed as a table: search time against the
// protocol's own minimum for growing plants, the cost of units silent on TCP,
// bytes written for one Down in the list, start-up time and peak memory.
// Every figure comes from a private lab; nothing here touches the machine's network.
#include <dirent.h>
#include <signal.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "rig/lab.h"
#include "rig/term.h"

namespace {

using Clock = std::chrono::steady_clock;

long long now_us()
{
    return std::chrono::duration_cast<std::chrono::microseconds>(Clock::now().time_since_epoch()).count();
}

// A plant of n wired units; the host's network holds at most 245 of them
// (192.0.2.10..254), the rest are placed outside it.
std::string plant(int n, bool tcp_silent)
{
    std::string p = R"({"units": [)";
    for (int k = 0; k < n; k++) {
        char unit[256];
        const bool inside = k < 245;
        std::snprintf(unit, sizeof unit,
                      R"(%s{"name": "u%d", "ip": "%s.%d", "mac": "00:80:a3:01:%02x:%02x", "model": %d%s})",
                      k ? "," : "", k, inside ? "192.0.2" : "198.51.100", inside ? 10 + k : 10 + k - 245,
                      k >> 8, k & 0xFF, k % 7, tcp_silent ? R"(, "faults": {"tcp_silent": true})" : "");
        p += unit;
    }
    return p + "]}";
}

// Sets the search port on the top menu.
void set_port(rig::Term& t, const char* port)
{
    t.right();
    t.enter();
    t.wait_text("ポート", 5000);
    t.settle();
    t.type(port);
    t.enter();
    t.enter();
    t.wait_row(0, std::string("ポート:") + port);
}

// The process id of the tool this bench started: the descendant of this
// process whose program is KIVRASetL; -1 when there is none.
int tool_pid()
{
    const std::string tool = rig::kivrasetl_path();
    DIR* d = opendir("/proc");
    if (d == nullptr) return -1;
    int found = -1;
    while (dirent* de = readdir(d)) {
        const int pid = std::atoi(de->d_name);
        if (pid <= 0) continue;
        char exe[4096];
        const std::string link = "/proc/" + std::to_string(pid) + "/exe";
        const ssize_t n = readlink(link.c_str(), exe, sizeof exe - 1);
        if (n <= 0) continue;
        exe[n] = '\0';
        if (tool != exe) continue;
        // Only a tool this bench started: walk up to this process.
        int p = pid;
        for (int hops = 0; hops < 8 && p > 1; hops++) {
            std::ifstream st("/proc/" + std::to_string(p) + "/stat");
            std::string line;
            std::getline(st, line);
            const size_t close = line.rfind(')');
            if (close == std::string::npos) break;
            std::istringstream rest(line.substr(close + 2));
            char state;
            int ppid = 0;
            rest >> state >> ppid;
            if (ppid == getpid()) {
                found = pid;
                break;
            }
            p = ppid;
        }
        if (found > 0) break;
    }
    closedir(d);
    return found;
}

// A number field of /proc/<pid>/status ("VmHWM:" in kB, "Threads:"); -1 when absent.
long status_field(int pid, const char* field)
{
    std::ifstream status("/proc/" + std::to_string(pid) + "/status");
    std::string key;
    while (status >> key) {
        if (key == field) {
            long v = -1;
            status >> v;
            return v;
        }
    }
    return -1;
}

// The most threads the tool had at once while it runs: /proc is read every
// 0.5 ms from a thread of the bench, so a burst shorter than that may be missed.
class ThreadPeak {
  public:
    explicit ThreadPeak(int pid)
        : sampler_([this, pid] {
              while (!stop_.load()) {
                  const long n = status_field(pid, "Threads:");
                  if (n > peak_.load()) peak_.store(n);
                  usleep(500);
              }
          })
    {}
    ~ThreadPeak() { stop(); }
    long stop()
    {
        stop_.store(true);
        if (sampler_.joinable()) sampler_.join();
        return peak_.load();
    }

  private:
    std::atomic<bool> stop_{false};
    std::atomic<long> peak_{-1};
    std::thread sampler_;
};

struct SearchRun {
    double seconds = -1;      // from choosing "検索" to the drawn list
    double minimum = -1;      // last discovery reply + 1 s, from the same start
    double discovery = -1;    // end of the discovery wait: the first record-0 read after it
    long rss_kb = -1;
    long threads = -1;  // the most threads the tool had at once
    size_t down_bytes = 0;
    double startup = -1;
};

SearchRun run_search(int n, bool tcp_silent, bool with_port, bool measure_down)
{
    SearchRun out;
    rig::Lab lab(plant(n, tcp_silent));
    if (!lab.ok()) {
        std::fprintf(stderr, "lab did not come up: %s\n", lab.sim_log().c_str());
        return out;
    }
    const long long t_start = now_us();
    rig::Term t(lab.in_host({rig::kivrasetl_path()}));
    if (!t.wait_text("KIVRASetL V1.10", 20000) || !t.wait_text("検索済デバイス一覧", 20000)) return out;
    out.startup = (now_us() - t_start) / 1e6;
    t.settle();
    if (with_port) set_port(t, "10001");
    const int pid = tool_pid();
    ThreadPeak peak(pid);

    const long long t0 = now_us();
    t.enter();
    if (!t.wait_text("検索中...", 20000)) return out;
    if (!t.wait_gone("検索中...", 300000)) return out;
    const long long t1 = now_us();
    out.seconds = (t1 - t0) / 1e6;

    long long last_reply = 0;
    for (const rig::JournalEntry& e : lab.journal()) {
        if (e.proto == "udp" && e.dir == "out" && e.bytes.size() == 30 && e.t_us > last_reply)
            last_reply = e.t_us;
    }
    if (last_reply > 0) out.minimum = (last_reply + 1000000 - t0) / 1e6;
    // The discovery wait is renewed to 1 s plus what was left of the previous
    // second, so it ends 1-2 s after the last reply; the first record read marks its end.
    long long first_read = 0;
    for (const rig::JournalEntry& e : lab.journal()) {
        if (e.proto == "udp" && e.dir == "in" && e.bytes == std::vector<uint8_t>{0, 0, 0, 0xE0} &&
            e.t_us > last_reply && (first_read == 0 || e.t_us < first_read))
            first_read = e.t_us;
    }
    if (first_read > 0) out.discovery = (first_read - t0) / 1e6;
    out.threads = peak.stop();
    out.rss_kb = status_field(pid, "VmHWM:");

    if (measure_down) {
        t.settle(300);
        const size_t before = t.bytes_read();
        t.down();
        t.settle(300);
        out.down_bytes = t.bytes_read() - before;
    }
    t.f9();
    t.wait_exit();
    return out;
}

}  // namespace

int main()
{
    std::printf("Search from choosing 検索 to the drawn list (search port set: every unit in the\n"
                "host's network gets its model query). Minimum = last discovery reply + 1 s;\n"
                "discovery = when the discovery wait really ended (1 s plus the remainder of the\n"
                "previous second after the last reply), taken from the first record read.\n\n");
    std::printf("%-26s %9s %10s %7s %12s %7s %12s %8s\n", "plant", "search s", "minimum s", "ratio",
                "discovery s", "ratio", "peak RSS kB", "threads");
    double silent_one = -1;
    long rss_one = -1, rss_full = -1;
    for (int n : {1, 16, 64, 256}) {
        const SearchRun r = run_search(n, false, true, false);
        if (n == 1) rss_one = r.rss_kb;
        if (n == 256) rss_full = r.rss_kb;
        char name[64];
        std::snprintf(name, sizeof name, "%d units%s", n, n > 245 ? " (11 outside)" : "");
        std::printf("%-26s %9.3f %10.3f %7.3f %12.3f %7.3f %12ld %8ld\n", name, r.seconds,
                    r.minimum, r.minimum > 0 ? r.seconds / r.minimum : 0.0, r.discovery,
                    r.discovery > 0 ? r.seconds / r.discovery : 0.0, r.rss_kb, r.threads);
        std::fflush(stdout);
    }
    // 245 of the 256 units lie in the host's network and get a worker each.
    if (rss_one > 0 && rss_full > 0)
        std::printf(
            "Peak RSS of the 256-unit search against the 1-unit search: %.3f "
            "(%.1f kB more for each of the other 244 model-query workers)\n",
            static_cast<double>(rss_full) / rss_one, (rss_full - rss_one) / 244.0);
    std::printf("\nUnits silent on TCP (each model query runs into its time-outs)\n\n");
    std::printf("%-34s %10s %10s\n", "plant", "search s", "vs 1 unit");
    for (int n : {1, 16, 64}) {
        const SearchRun r = run_search(n, true, true, false);
        if (n == 1) silent_one = r.seconds;
        char name[64];
        std::snprintf(name, sizeof name, "%d silent units", n);
        std::printf("%-34s %10.3f %10.3f\n", name, r.seconds, silent_one > 0 ? r.seconds / silent_one : 0.0);
        std::fflush(stdout);
    }
    const SearchRun d = run_search(10, false, false, true);
    std::printf("\nBytes written to the terminal for one Down in a list of 10: %zu\n", d.down_bytes);
    std::printf("Start-up to the first full screen (inside the lab): %.3f s\n", d.startup);
    return 0;
}
