// Figures of the selection menu as the operator moves through it: bytes
// written to the terminal and time until the move is on screen, for a move
// along a menu bar, a move down a list, a move that scrolls a scroll box, and
// a message box shown and closed. Runs the toolkit's harness under the
// terminal rig; the harness adds its own status line of about 20 to 60 bytes
// to every move.
#include <chrono>
#include <cstdio>
#include <string>

#include "rig/term.h"

namespace {

using Clock = std::chrono::steady_clock;

std::string harness() { return KIVRA_BINARY_DIR "/tests/menu_harness"; }

struct Figure {
    const char* what;
    double bytes;
    double ms;
};

// Presses key n times in mode, each time waiting until the harness shows the
// move's onchange call, and returns the mean bytes and time per move.
Figure moves(const char* what, const char* mode, void (rig::Term::*key)(), int n,
             int (*item_after)(int))
{
    rig::Term t({harness(), mode, "0"});
    if (!t.wait_row(21, "onchange=1")) return {what, -1, -1};
    t.settle();
    std::string calls = "onchange=1";
    double total_ms = 0;
    size_t bytes = 0;
    for (int i = 1; i <= n; ++i) {
        calls += ',';
        calls += std::to_string(item_after(i));
        size_t before = t.bytes_read();
        auto start = Clock::now();
        (t.*key)();
        if (!t.wait_row(21, calls + " ")) return {what, -1, -1};
        total_ms += std::chrono::duration<double, std::milli>(Clock::now() - start).count();
        t.settle(30);
        bytes += t.bytes_read() - before;
    }
    t.f9();
    t.wait_exit();
    return {what, double(bytes) / n, total_ms / n};
}

Figure message_boxes(int n)
{
    rig::Term t({harness(), "m", std::to_string(n)});
    if (!t.wait_text("一行目のメッセージ")) return {"message box closed", -1, -1};
    t.settle();
    double total_ms = 0;
    size_t bytes = 0;
    for (int i = 1; i <= n; ++i) {
        size_t before = t.bytes_read();
        auto start = Clock::now();
        t.type("x");
        if (!t.wait_row(20, "closed=" + std::to_string(i))) return {"message box", -1, -1};
        total_ms += std::chrono::duration<double, std::milli>(Clock::now() - start).count();
        t.settle(30);
        bytes += t.bytes_read() - before;
    }
    t.f9();
    t.wait_exit();
    return {"message box closed and the next one shown", double(bytes) / n, total_ms / n};
}

}  // namespace

int main()
{
    Figure figures[] = {
        // The harness's line of onchange calls must stay within 80 columns.
        moves("Right along a 3-item menu bar", "h", &rig::Term::right, 30,
              [](int i) { return i % 3 + 1; }),
        moves("Down a 5-row list", "v", &rig::Term::down, 4, [](int i) { return i + 1; }),
        moves("Down a scroll box of 10 lines (9 moves, 2 scroll)", "s", &rig::Term::down, 9,
              [](int i) { return i + 1; }),
        message_boxes(20),
    };
    std::printf("%-48s %12s %12s\n", "move", "bytes/move", "ms/move");
    for (const Figure& f : figures) std::printf("%-48s %12.0f %12.2f\n", f.what, f.bytes, f.ms);
    return 0;
}
