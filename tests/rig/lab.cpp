// The lab fixture: private namespaces made by lab/labnet, the simulator inside plant.
#include "rig/lab.h"

#include "rig/emulator.h"

#include <fcntl.h>
#include <sched.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <mutex>
#include <nlohmann/json.hpp>
#include <sstream>
#include <thread>

extern char** environ;

namespace rig {

namespace {

std::atomic<int> g_next_lab{0};

// Labs alive in this process, so a Ctrl-C or a kill can still remove them.
constexpr int kMaxLabs = 32;
char g_tags[kMaxLabs][32];
volatile sig_atomic_t g_sims[kMaxLabs];  // simulator pid, 0 = slot free
std::mutex g_registry;

std::string labnet_path() { return lab_source_dir() + "/labnet"; }

std::string ip_path()
{
    for (const char* p : {"/usr/sbin/ip", "/sbin/ip", "/usr/bin/ip", "/bin/ip"})
        if (access(p, X_OK) == 0) return p;
    return "ip";
}

int run_wait(const std::vector<std::string>& argv)
{
    std::vector<char*> args;
    for (const auto& a : argv) args.push_back(const_cast<char*>(a.c_str()));
    args.push_back(nullptr);
    pid_t pid;
    if (posix_spawnp(&pid, args[0], nullptr, nullptr, args.data(), environ) != 0) return -1;
    int status = 0;
    while (waitpid(pid, &status, 0) < 0)
        if (errno != EINTR) return -1;
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

char g_labnet[4096];  // labnet's path, filled before any handler is installed

// Signal path: only async-signal-safe calls.
void remove_labs_and_die(int sig)
{
    static char bash[] = "/bin/bash";
    static char down[] = "down";
    for (int i = 0; i < kMaxLabs; ++i) {
        pid_t sim = g_sims[i];
        if (sim <= 0) continue;
        kill(sim, SIGKILL);
        pid_t p = fork();
        if (p == 0) {
            char* argv[] = {bash, g_labnet, down, g_tags[i], nullptr};
            execv(bash, argv);
            _exit(127);
        }
        if (p > 0) waitpid(p, nullptr, 0);
    }
    signal(sig, SIG_DFL);
    raise(sig);
}

int register_lab(const std::string& tag, pid_t sim)
{
    std::lock_guard<std::mutex> lock(g_registry);
    static bool handlers = false;
    if (!handlers) {
        snprintf(g_labnet, sizeof g_labnet, "%s", labnet_path().c_str());
        struct sigaction sa {};
        sa.sa_handler = remove_labs_and_die;
        sigaction(SIGINT, &sa, nullptr);
        sigaction(SIGTERM, &sa, nullptr);
        sigaction(SIGHUP, &sa, nullptr);
        handlers = true;
    }
    for (int i = 0; i < kMaxLabs; ++i)
        if (g_sims[i] == 0) {
            snprintf(g_tags[i], sizeof g_tags[i], "%s", tag.c_str());
            g_sims[i] = sim;
            return i;
        }
    return -1;
}

void unregister_lab(int slot)
{
    if (slot < 0) return;
    std::lock_guard<std::mutex> lock(g_registry);
    g_sims[slot] = 0;
}

std::string read_file(const std::string& path)
{
    std::ifstream in(path);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

void sweep_once()
{
    static std::once_flag once;
    std::call_once(once, [] { run_wait({"/bin/bash", labnet_path(), "sweep"}); });
}

// The plant networks a plant asks for: its "networks", else the highest
// "net" of its units (lab/PLANT.md), 1 when it names none.
int plant_networks(const std::string& plant_json)
{
    auto j = nlohmann::json::parse(plant_json, nullptr, false);
    if (j.is_discarded() || !j.is_object()) return 1;
    if (j.contains("networks") && j["networks"].is_number_integer()) return j["networks"].get<int>();
    int most = 1;
    if (j.contains("units") && j["units"].is_array())
        for (const auto& u : j["units"])
            if (u.is_object() && u.contains("net") && u["net"].is_number_integer())
                most = std::max(most, u["net"].get<int>());
    return most;
}

bool child_gone(pid_t pid)
{
    int status;
    return waitpid(pid, &status, WNOHANG) == pid;
}

}  // namespace

std::string kivrasetl_path() { return std::string(KIVRA_BINARY_DIR) + "/KIVRASetL"; }
std::string kivraset_path() { return std::string(KIVRA_BINARY_DIR) + "/kivraset"; }
// KIVRASIM names another simulator, e.g. the native one for a board build's tests.
std::string kivrasim_path()
{
    const char* sim = std::getenv("KIVRASIM");
    if (sim != nullptr && *sim != '\0') return sim;
    return std::string(KIVRA_BINARY_DIR) + "/kivrasim";
}
std::string lab_source_dir() { return std::string(KIVRA_SOURCE_DIR) + "/lab"; }

std::string hex(const std::vector<uint8_t>& bytes)
{
    static const char* d = "0123456789abcdef";
    std::string s;
    for (uint8_t b : bytes) {
        s += d[b >> 4];
        s += d[b & 15];
    }
    return s;
}

std::vector<uint8_t> as_bytes(std::string_view text) { return {text.begin(), text.end()}; }

std::vector<uint8_t> unhex(std::string_view text)
{
    std::vector<uint8_t> out;
    int hi = -1;
    for (char c : text) {
        int v;
        if (c >= '0' && c <= '9')
            v = c - '0';
        else if (c >= 'a' && c <= 'f')
            v = c - 'a' + 10;
        else if (c >= 'A' && c <= 'F')
            v = c - 'A' + 10;
        else
            continue;
        if (hi < 0) {
            hi = v;
        } else {
            out.push_back(static_cast<uint8_t>(hi * 16 + v));
            hi = -1;
        }
    }
    return out;
}

bool starts_with(const std::vector<uint8_t>& bytes, const std::vector<uint8_t>& prefix)
{
    return bytes.size() >= prefix.size() && std::equal(prefix.begin(), prefix.end(), bytes.begin());
}

struct Lab::JournalCache {
    std::mutex mutex;
    size_t offset = 0;  // bytes of the journal file parsed so far
    std::vector<JournalEntry> entries;
};

Lab::Lab(const std::string& plant_json) : cache_(std::make_unique<JournalCache>())
{
    sweep_once();
    std::string tag = std::to_string(getpid()) + "-" + std::to_string(g_next_lab++);
    host_ns = "kvh-" + tag;
    plant_ns = "kvp-" + tag;
    char tmpl[] = "/tmp/kivralab-XXXXXX";
    if (!mkdtemp(tmpl)) return;
    dir = tmpl;
    journal_path = dir + "/journal.jsonl";
    state_path = dir + "/state.json";
    plant_path = dir + "/plant.json";
    std::ofstream(plant_path) << plant_json;

    networks = plant_networks(plant_json) == 2 ? 2 : 1;
    if (run_wait({"/bin/bash", labnet_path(), "up", tag, std::to_string(networks)}) != 0) return;
    tag_ = tag;

    // Everything the child needs is built before fork: it only makes system calls.
    std::string ns_path = "/run/netns/" + plant_ns, log_path = dir + "/sim.log";
    std::string sim = kivrasim_path(), parent = std::to_string(getpid());
    std::vector<std::string> sim_argv = {sim,        "--plant", plant_path, "--journal",
                                         journal_path, "--state", state_path, "--dev",
                                         "veth-plant", "--parent", parent};
    if (networks == 2) sim_argv.insert(sim_argv.end(), {"--dev", "veth-plant2"});
    std::vector<std::string> args = with_emulator(sim_argv);
    std::vector<char*> argv;
    for (auto& a : args) argv.push_back(a.data());
    argv.push_back(nullptr);
    pid_t pid = fork();
    if (pid == 0) {
        int ns = open(ns_path.c_str(), O_RDONLY | O_CLOEXEC);
        if (ns < 0 || setns(ns, CLONE_NEWNET) != 0) _exit(126);
        int log = open(log_path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        int null = open("/dev/null", O_RDWR);
        if (log >= 0) dup2(log, 2);
        if (null >= 0) {
            dup2(null, 0);
            dup2(null, 1);
        }
        // Real units answer on hardware of their own, whatever the host runs.
        prefer_over_host_work();
        execv(argv[0], argv.data());
        _exit(127);
    }
    if (pid < 0) return;
    sim_pid = pid;
    slot_ = register_lab(tag, pid);

    // Generous: a sanitizer build on a busy machine starts slowly.
    for (int i = 0; i < 600; ++i) {
        if (read_file(journal_path).find("\"event\":\"ready\"") != std::string::npos) {
            up = true;
            return;
        }
        if (child_gone(sim_pid)) {
            sim_pid = -1;
            return;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
}

Lab::~Lab()
{
    if (home_ns_ >= 0) {
        setns(home_ns_, CLONE_NEWNET);
        close(home_ns_);
    }
    if (sim_pid > 0) {
        kill(sim_pid, SIGTERM);
        bool gone = false;
        for (int i = 0; i < 100 && !gone; ++i) {
            gone = child_gone(sim_pid);
            if (!gone) std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
        if (!gone) {
            kill(sim_pid, SIGKILL);
            waitpid(sim_pid, nullptr, 0);
        }
    }
    if (!tag_.empty()) run_wait({"/bin/bash", labnet_path(), "down", tag_});
    unregister_lab(slot_);
    if (!dir.empty() && !getenv("KIVRA_KEEP_LAB")) {
        std::error_code ec;
        std::filesystem::remove_all(dir, ec);
    }
}

bool Lab::ok() const { return up; }

std::vector<std::string> Lab::in_host(std::vector<std::string> argv) const
{
    std::vector<std::string> full = {ip_path(), "netns", "exec", host_ns};
    full.insert(full.end(), argv.begin(), argv.end());
    return full;
}

int Lab::run_in_host(std::vector<std::string> argv) const
{
    return run_wait(in_host(std::move(argv)));
}

void Lab::enter_host()
{
    int home = open("/proc/thread-self/ns/net", O_RDONLY | O_CLOEXEC);
    int ns = open(("/run/netns/" + host_ns).c_str(), O_RDONLY | O_CLOEXEC);
    if (!up || home < 0 || ns < 0 || setns(ns, CLONE_NEWNET) != 0) {
        fprintf(stderr, "lab: cannot enter the host namespace %s; stopping\n", host_ns.c_str());
        abort();
    }
    close(ns);
    if (home_ns_ < 0)
        home_ns_ = home;
    else
        close(home);
}

std::vector<JournalEntry> Lab::journal() const
{
    // Only the lines added since the last call are read and parsed: tests poll often.
    std::lock_guard<std::mutex> lock(cache_->mutex);
    std::ifstream in(journal_path, std::ios::binary);
    in.seekg(static_cast<std::streamoff>(cache_->offset));
    std::string line;
    while (std::getline(in, line)) {
        if (in.eof()) break;  // no line feed yet: a line still being written
        cache_->offset += line.size() + 1;
        auto j = nlohmann::json::parse(line, nullptr, false);
        if (j.is_discarded() || !j.is_object()) continue;
        JournalEntry e;
        e.t_us = j.value("t_us", 0LL);
        e.unit = j.value("unit", "");
        e.proto = j.value("proto", "");
        e.dir = j.value("dir", "");
        e.local = j.value("local", "");
        e.peer = j.value("peer", "");
        e.conn = j.value("conn", 0);
        e.bytes = unhex(j.value("bytes", ""));
        e.event = j.value("event", "");
        cache_->entries.push_back(std::move(e));
    }
    return cache_->entries;
}

std::vector<JournalEntry> Lab::received(const std::string& unit) const
{
    std::vector<JournalEntry> out;
    for (auto& e : journal())
        if (e.unit == unit && e.dir == "in") out.push_back(std::move(e));
    return out;
}

std::vector<JournalEntry> Lab::sent(const std::string& unit) const
{
    std::vector<JournalEntry> out;
    for (auto& e : journal())
        if (e.unit == unit && e.dir == "out") out.push_back(std::move(e));
    return out;
}

std::string Lab::state(const std::string& unit) const
{
    auto j = nlohmann::json::parse(read_file(state_path), nullptr, false);
    if (j.is_discarded() || !j.contains("units") || !j["units"].contains(unit)) return "";
    return j["units"][unit].dump();
}

bool Lab::wait_journal(const std::function<bool(const std::vector<JournalEntry>&)>& pred,
                       int timeout_ms) const
{
    auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeout_ms);
    for (;;) {
        if (pred(journal())) return true;
        if (std::chrono::steady_clock::now() >= end) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
}

bool Lab::wait_received(const std::string& unit, const std::vector<uint8_t>& prefix, int count,
                        int timeout_ms) const
{
    return wait_journal(
        [&](const std::vector<JournalEntry>& all) {
            int n = 0;
            for (const auto& e : all)
                if (e.unit == unit && e.dir == "in" && starts_with(e.bytes, prefix)) ++n;
            return n >= count;
        },
        timeout_ms);
}

bool Lab::wait_event(const std::string& unit, const std::string& event, int count,
                     int timeout_ms) const
{
    return wait_journal(
        [&](const std::vector<JournalEntry>& all) {
            int n = 0;
            for (const auto& e : all) n += e.unit == unit && e.event == event;
            return n >= count;
        },
        timeout_ms);
}

std::string Lab::sim_log() const { return read_file(dir + "/sim.log"); }

}  // namespace rig
