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

#include "rig/lab.h"
#include "rig/scratch_dir.h"
#include "rig/term.h"

namespace {

const char* const MENU_TITLE = "サブネット内 : 設定項目を選んでください";
constexpr int CURRENT_PAIR = 4;  // colour pair of the current item

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

bool search(rig::Term& t)
{
    t.enter();
    if (!t.wait_text("検索中...", 20000) || !t.wait_gone("検索中...", 90000)) return false;
    t.settle();
    return true;
}

// From the list's first row: opens the settings menu and chooses item n.
bool choose(rig::Term& t, int n)
{
    t.enter();
    if (!t.wait_text(MENU_TITLE)) return false;
    t.settle();
    for (int k = 1; k < n; k++) t.down();
    t.enter();
    return true;
}

// Back from a screen (Esc count) and its menu to the list.
bool leave(rig::Term& t, int escapes)
{
    for (int k = 0; k < escapes; k++) {
        t.settle(200);
        t.esc();
    }
    if (!t.wait_text(MENU_TITLE)) return false;
    t.settle(100);
    t.esc();
    return t.wait_gone(MENU_TITLE);
}

// Enter on the current "設定反映": the unit restarts and leaves the list.
bool applied(rig::Term& t)
{
    t.enter();
    if (!t.wait_text("設定完了しました。", 20000)) return false;
    t.enter();
    return t.wait_gone(MENU_TITLE);
}

// The mail alert screen of the first unit listed, opened (reads made, first
// item current) and then left, or applied from its last item.
bool mail_screen(rig::Term& t, bool apply)
{
    if (!choose(t, 3) || !t.wait_for([&] { return t.bg(4, 27) == CURRENT_PAIR; }, 20000))
        return false;
    t.settle(300);
    if (!apply) return leave(t, 1);
    t.up();  // from the mail server up to "設定反映"
    return t.wait_for([&] { return t.bg(21, 51) == CURRENT_PAIR; }, 5000) && applied(t);
}

bool round_of_screens(rig::Term& t)
{
    if (!choose(t, 1) || !t.wait_text("設定反映", 20000) || !leave(t, 1)) return false;
    if (!choose(t, 2) || !t.wait_text("自ポート", 20000) || !leave(t, 1)) return false;
    if (!choose(t, 4) || !t.wait_text("AI3 入力レンジ", 20000)) return false;
    t.settle(300);
    if (!leave(t, 1) || !mail_screen(t, false)) return false;
    if (!choose(t, 4) || !t.wait_text("AI3 入力レンジ", 20000)) return false;
    t.settle(300);
    for (int k = 0; k < 4; k++) t.down();
    t.settle(200);
    return applied(t) && mail_screen(t, true) && mail_screen(t, true);
}

}  // namespace

int main(int argc, char** argv)
{
    const long target = argc > 1 ? std::atol(argv[1]) : 10000;
    rig::Lab lab(plant());
    if (!lab.ok()) {
        std::fprintf(stderr, "no lab: %s\n", lab.sim_log().c_str());
        return 1;
    }
    rig::ScratchDir dir;
    rig::Term t(lab.in_host({rig::kivrasetl_path()}), 24, 80, {}, dir.path());
    if (!t.wait_text("検索済デバイス一覧")) return 1;
    t.right();
    t.enter();
    t.wait_text("ポート", 5000);
    t.settle();
    t.type("10001");
    t.enter();
    t.enter();
    t.wait_text("ポート:10001");
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
        if (!search(t) || !round_of_screens(t)) {
            std::fprintf(stderr, "round %d stopped:\n%s\n", round, t.dump().c_str());
            return 1;
        }
        t.esc();  // from the list to the top menu, on "検索"
        t.settle(200);
        done = exchanges(lab);
        last = usage_of(t.pid());
        if (round == 1) first = last;
        const double sec =
            std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
        std::printf("%6d %10ld %5d %8d %9ld %6.0f\n", round, done, last.fds, last.threads,
                    last.rss_kb, sec);
        std::fflush(stdout);
    }
    std::printf("after round 1: %d fds, %d threads, %ld kB; after round %d: %d fds, %d threads, "
                "%ld kB (%+ld kB)\n",
                first.fds, first.threads, first.rss_kb, round, last.fds, last.threads,
                last.rss_kb, last.rss_kb - first.rss_kb);
    t.f9();
    return t.wait_exit() == 0 ? 0 : 1;
}
