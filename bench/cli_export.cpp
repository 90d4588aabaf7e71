// kivraset export --all and check of plants of 1, 16, 64 and 256 units of
// every family, against the slowest export of one unit alone (each family
// in a plant of its own). Each figure is the whole process, search
// included, the median of three runs; beside it the most threads and
// descriptors the process had at once and its peak resident memory, read
// from /proc while it runs. Then each family's settings file: version and
// size. Target: --all of 256 units at most 2 x the slowest single unit.
// Every figure comes from a private lab; nothing here touches the machine's network.
#include <dirent.h>
#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <string>
#include <vector>

#include "cli/settings_file.h"
#include "rig/lab.h"
#include "rig/scratch_dir.h"

namespace {

using Clock = std::chrono::steady_clock;

// The families, as plant units: model, module.
struct Family {
    const char* name;
    int model;
    const char* module;
};
const Family kFamilies[] = {
    {"plain 0", 0, "xport"},  {"gc 5", 5, "gc"},        {"wifi 5", 5, "wifi"},
    {"analog 8", 8, "xport"}, {"analog 9", 9, "xport"}, {"analog 10", 10, "xport"},
    {"analog 11", 11, "gc"},
};
constexpr int kFamilyCount = sizeof kFamilies / sizeof kFamilies[0];

std::string unit(int k, const Family& f)
{
    const bool first = k < 245;
    char text[256];
    std::snprintf(
        text, sizeof text,
        R"({"name": "u%d", "net": %d, "ip": "%s.%d", "mac": "00:80:a3:02:%02x:%02x", "model": %d, "module": "%s"%s})",
        k, first ? 1 : 2, first ? "192.0.2" : "203.0.113", first ? 10 + k : 10 + k - 245, k >> 8,
        k & 0xFF, f.model, f.module,
        std::strcmp(f.module, "gc") == 0 ? R"(, "devtype": "X6")" : "");
    return text;
}

std::string plant(int n, int family = -1)
{
    std::string p = R"({"networks": 2, "units": [)";
    for (int k = 0; k < n; k++) {
        p += k ? "," : "";
        p += unit(k, kFamilies[family >= 0 ? family : k % kFamilyCount]);
    }
    return p + "]}";
}

struct Run {
    double seconds = -1;
    int status = -1;
    int threads = 0, fds = 0;
    long rss_kib = 0;
};

int count_fds(pid_t pid)
{
    char path[64];
    std::snprintf(path, sizeof path, "/proc/%d/fd", pid);
    DIR* d = opendir(path);
    if (d == nullptr) return 0;
    int n = 0;
    while (readdir(d) != nullptr) n++;
    closedir(d);
    return n - 2;
}

long status_value(pid_t pid, const char* key)
{
    char path[64];
    std::snprintf(path, sizeof path, "/proc/%d/status", pid);
    std::ifstream in(path);
    std::string line;
    while (std::getline(in, line))
        if (line.rfind(key, 0) == 0) return std::atol(line.c_str() + std::strlen(key));
    return 0;
}

// kivraset with args, in this process's namespace (the lab's host), watched.
Run kivraset(const std::vector<std::string>& args)
{
    std::vector<std::string> argv{rig::kivraset_path()};
    argv.insert(argv.end(), args.begin(), args.end());
    std::vector<char*> cargv;
    for (std::string& a : argv) cargv.push_back(a.data());
    cargv.push_back(nullptr);
    posix_spawn_file_actions_t files;
    posix_spawn_file_actions_init(&files);
    posix_spawn_file_actions_addopen(&files, 1, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&files, 2, "/dev/null", O_WRONLY, 0);
    Run r;
    pid_t pid = -1;
    const Clock::time_point t0 = Clock::now();
    if (posix_spawn(&pid, cargv[0], &files, nullptr, cargv.data(), environ) != 0) return r;
    posix_spawn_file_actions_destroy(&files);
    siginfo_t info{};
    for (;;) {
        r.threads = std::max(r.threads, static_cast<int>(status_value(pid, "Threads:")));
        r.fds = std::max(r.fds, count_fds(pid));
        r.rss_kib = std::max(r.rss_kib, status_value(pid, "VmHWM:"));
        info.si_pid = 0;
        if (waitid(P_PID, pid, &info, WEXITED | WNOHANG | WNOWAIT) == 0 && info.si_pid == pid)
            break;
        usleep(2000);
    }
    r.seconds = std::chrono::duration<double>(Clock::now() - t0).count();
    r.rss_kib = std::max(r.rss_kib, status_value(pid, "VmHWM:"));
    int status = 0;
    waitpid(pid, &status, 0);
    r.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return r;
}

Run median_of_three(const std::vector<std::string>& args)
{
    std::vector<Run> runs;
    for (int k = 0; k < 3; k++) runs.push_back(kivraset(args));
    std::sort(runs.begin(), runs.end(),
              [](const Run& a, const Run& b) { return a.seconds < b.seconds; });
    Run m = runs[1];
    for (const Run& r : runs) {
        m.threads = std::max(m.threads, r.threads);
        m.fds = std::max(m.fds, r.fds);
        m.rss_kib = std::max(m.rss_kib, r.rss_kib);
        if (r.status != 0) m.status = r.status;
    }
    return m;
}

void row(const char* what, int n, const Run& r, double slowest)
{
    std::printf("%-8s %5d %9.3f %7.2f %8d %6d %9ld %s\n", what, n, r.seconds, r.seconds / slowest,
                r.threads, r.fds, r.rss_kib, r.status == 0 ? "" : "(status not 0)");
    std::fflush(stdout);
}

}  // namespace

int main()
{
    std::printf("One unit alone, each family (median of 3, search included):\n");
    double slowest = 0;
    std::vector<long> sizes(kFamilyCount, 0);
    for (int f = 0; f < kFamilyCount; f++) {
        rig::Lab lab(plant(1, f));
        if (!lab.ok()) return 1;
        lab.enter_host();
        rig::ScratchDir dir;
        const Run r =
            median_of_three({"export", "00:80:a3:02:00:00", "-o", dir.file("u.json"), "--force"});
        struct stat st {};
        if (stat(dir.file("u.json").c_str(), &st) == 0) sizes[f] = st.st_size;
        std::printf("  %-10s %.3f s\n", kFamilies[f].name, r.seconds);
        slowest = std::max(slowest, r.seconds);
    }
    std::printf("slowest single unit: %.3f s\n\n", slowest);
    std::printf("%-8s %5s %9s %7s %8s %6s %9s\n", "command", "units", "seconds", "x slow",
                "threads", "fds", "peak KiB");
    for (int n : {1, 16, 64, 256}) {
        rig::Lab lab(plant(n));
        if (!lab.ok()) return 1;
        lab.enter_host();
        rig::ScratchDir dir;
        row("export", n, median_of_three({"export", "--all", "-o", dir.path(), "--force"}),
            slowest);
        std::vector<std::string> check{"check"};
        for (int k = 0; k < n; k++) {
            char name[40];
            std::snprintf(name, sizeof name, "00-80-a3-02-%02x-%02x.json", k >> 8, k & 0xFF);
            check.push_back(dir.file(name));
        }
        row("check", n, median_of_three(check), slowest);
    }
    std::printf("\nSettings files, format version %d, bytes per family:\n",
                SETTINGS_FORMAT_VERSION);
    for (int f = 0; f < kFamilyCount; f++)
        std::printf("  %-10s %6ld\n", kFamilies[f].name, sizes[f]);
    return 0;
}
