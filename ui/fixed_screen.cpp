// The screen stays a fixed 80 x 24 area when the operator resizes the
// terminal window: curses is not told of the new size (it would shrink the
// windows for good), and the next key read paints the whole area again, so
// whatever the terminal lost while smaller comes back.
#include <signal.h>

#include "ui/NQ_Menu.h"

namespace {

volatile sig_atomic_t resized = 0;

void on_resize(int) { resized = 1; }

}  // namespace

void keep_fixed_screen()
{
    struct sigaction sa {};
    sa.sa_handler = on_resize;
    sigemptyset(&sa.sa_mask);
    sa.sa_flags = 0;  // a waiting key read returns, so the repaint happens at once
    sigaction(SIGWINCH, &sa, nullptr);
}

bool repaint_after_resize()
{
    if (!resized) return false;
    resized = 0;
    clearok(curscr, TRUE);
    wrefresh(curscr);
    return true;
}
