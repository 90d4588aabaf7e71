// A long run of the tool against a 64-unit plant (63 analog input units on
// XPort modules and one WiFi unit), printed as figures: round after round, a
// search of the whole plant, then on the first unit listed the IP screen, the
// input extension screen, the other settings and the mail alert screen
// opened and left, and the other settings opened again and applied (the unit
// restarts and leaves the list until the next search); then the mail alert
// screen applied on the WiFi unit and on the next analog unit, which are
// listed first in turn. After every round the tool's
// open descriptors, threads and resident memory are read from /proc; the
// figures after the first round and after the last should be the same.
//
//   bench_long_run [exchanges]   (default 10000: requests the units received)
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "tests/screens/operator.h"

namespace {

// The WiFi unit answers both discovery queries, so it is listed second.
std::string plant()
{
    std::string p = R"({"units": [)";
    for (int k = 0; k < 64; k++) {
        const std::string ip = "\"ip\": \"192.0.2." + std::to_string(10 + k) + "\"";
        if (k > 0) p += ",";
        if (k == 1)
            p += R"({"name": "w1", "model": 0, "module": "wifi", "query": "both", )" + ip + "}";
        else
            p += "{\"name\": \"a" + std::to_string(k) + "\", " + ip + ", \"model\": 8}";
    }
    return p + "]}";
}

struct Usage {
    int fds = -1, threads = -1;
    long rss_kb = -1;
};

Usage usage_of(pid_t pid)
{
    Usage u;
    const std::string dir = "/proc/" + std::to_string(pid);
    std::error_code ec;
    u.fds = 0;
    for (auto it = std::filesystem::directory_iterator(dir + "/fd", ec);
         !ec && it != std::filesystem::directory_iterator(); it.increment(ec))
        u.fds++;
    std::ifstream status(dir + "/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind("Threads:", 0) == 0) u.threads = std::atoi(line.c_str() + 8);
        if (line.rfind("VmRSS:", 0) == 0) u.rss_kb = std::atol(line.c_str() + 6);
    }
    return u;
}

// Requests the units received: datagrams and TCP requests to one unit, and
// each broadcast query once.
long exchanges(const rig::Lab& lab)
{
    long n = 0;
    for (const rig::JournalEntry& e : lab.journal()) {
        if (e.dir != "in" || !(e.event.empty() || e.event == "ignored")) continue;
        if (e.local.rfind("255.255.255.255", 0) == 0 && e.unit != "a0") continue;
        n++;
    }
    return n;
}

// From the list's first row: opens the settings menu and chooses a group.
bool choose(op::Session& s, op::Group group)
{
    s.t.enter();
    if (!s.t.wait_text(op::MENU_TITLE)) return false;
    s.t.settle();
    s.choose(group);
    return true;
}

// Enter on the current "設定反映": the unit restarts and leaves the list.
bool applied(op::Session& s)
{
    s.t.enter();
    if (!s.t.wait_text(op::DONE_1, 20000)) return false;
    s.t.enter();
    return s.t.wait_gone(op::MENU_TITLE);
}

// The mail alert screen of the first unit listed, opened (reads made, first
// item current) and then left, or applied from its last item.
bool mail_screen(op::Session& s, bool apply)
{
    if (!choose(s, op::MAIL) || !s.wait_bg(4, 27, op::BLUE, 20000)) return false;
    s.t.settle(300);
    if (!apply) return s.leave();
    return s.move("u", 21, 51) && applied(s);  // from the mail server up to "設定反映"
}

bool round_of_screens(op::Session& s)
{
    if (!choose(s, op::IP) || !s.t.wait_text("設定反映", 20000) || !s.leave()) return false;
    if (!choose(s, op::EXTEND) || !s.t.wait_text("自ポート", 20000) || !s.leave()) return false;
    if (!choose(s, op::ETC) || !s.t.wait_text("AI3 入力レンジ", 20000)) return false;
    s.t.settle(300);
    if (!s.leave() || !mail_screen(s, false)) return false;
    if (!choose(s, op::ETC) || !s.t.wait_text("AI3 入力レンジ", 20000)) return false;
    s.t.settle(300);
    for (int k = 0; k < 4; k++) s.t.down();
    s.t.settle(200);
    return applied(s) && mail_screen(s, true) && mail_screen(s, true);
}

}  // namespace

int main(int argc, char** argv)
{
    const long target = argc > 1 ? std::atol(argv[1]) : 10000;
    op::Session s(plant());
    if (!s.ready() || !s.set_port("10001")) {
        std::fprintf(stderr, "no lab or no tool: %s\n%s", s.lab.sim_log().c_str(),
                     s.t.dump().c_str());
        return 1;
    }
    rig::Term& t = s.t;
    t.settle();
    const Usage start = usage_of(t.pid());
    std::printf("long run: %ld exchanges asked, 64 units\n", target);
    std::printf("%6s %10s %5s %8s %9s %6s\n", "round", "exchanges", "fds", "threads", "rss_kB",
                "sec");
    std::printf("%6s %10d %5d %8d %9ld\n", "start", 0, start.fds, start.threads, start.rss_kb);
    const auto t0 = std::chrono::steady_clock::now();
    Usage first, last;
    long done = 0;
    int round = 0;
    while (done < target) {
        round++;
        if (!s.search() || !round_of_screens(s)) {
            std::fprintf(stderr, "round %d stopped:\n%s\n", round, t.dump().c_str());
            return 1;
        }
        t.esc();  // from the list to the top menu, on "検索"
        t.settle(200);
        done = exchanges(s.lab);
        last = usage_of(t.pid());
        if (round == 1) first = last;
        const double sec =
            std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
        std::printf("%6d %10ld %5d %8d %9ld %6.0f\n", round, done, last.fds, last.threads,
                    last.rss_kb, sec);
        std::fflush(stdout);
    }
    std::printf(
        "after round 1: %d fds, %d threads, %ld kB; after round %d: %d fds, %d threads, "
        "%ld kB (%+ld kB)\n",
        first.fds, first.threads, first.rss_kb, round, last.fds, last.threads, last.rss_kb,
        last.rss_kb - first.rss_kb);
    t.f9();
    return t.wait_exit() == 0 ? 0 : 1;
}
