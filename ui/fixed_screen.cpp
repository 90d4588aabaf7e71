// The screen stays a fixed 80 x 24 area when the operator resizes the
// terminal window. The resize signal is held blocked for the whole run, so
// curses is never told of the new size (it would shrink the windows for
// good) and no socket wait, pause or key read is ever cut short by it. The
// next key read finds the pending signal and paints the whole area again,
// so whatever the terminal lost while it was smaller comes back.
#include <pthread.h>
#include <signal.h>

#include "ui/NQ_Menu.h"

namespace {

sigset_t resize_signal()
{
    sigset_t s;
    sigemptyset(&s);
    sigaddset(&s, SIGWINCH);
    return s;
}

}  // namespace

void keep_fixed_screen()
{
    // Called before any thread starts: every later thread inherits the mask.
    sigset_t s = resize_signal();
    pthread_sigmask(SIG_BLOCK, &s, nullptr);
}

bool repaint_after_resize()
{
    sigset_t s = resize_signal();
    timespec now{};
    bool resized = false;
    while (sigtimedwait(&s, nullptr, &now) == SIGWINCH) resized = true;
    if (!resized) return false;
    clearok(curscr, TRUE);
    wrefresh(curscr);
    return true;
}
