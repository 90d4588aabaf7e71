// What a hang-up does: the tool may be waiting on a unit or on a key, so the
// handler does only what is safe in a signal handler: write the sequences
// prepared beforehand, restore the kept terminal modes, and end.
#include "shell/hangup.h"

#include <curses.h>
#include <signal.h>
#include <term.h>
#include <termios.h>
#include <unistd.h>

#include <cstring>
#include <initializer_list>

namespace {

termios kept_modes;
bool modes_kept = false;
char restore_text[256];
size_t restore_len = 0;

void add_capability(const char* name)
{
    const char* s = tigetstr(name);
    if (s == nullptr || s == reinterpret_cast<const char*>(-1)) return;
    const size_t n = std::strlen(s);
    if (restore_len + n > sizeof restore_text) return;
    std::memcpy(restore_text + restore_len, s, n);
    restore_len += n;
}

void on_hangup(int)
{
    if (restore_len > 0) {
        ssize_t ignored = write(STDOUT_FILENO, restore_text, restore_len);
        (void)ignored;
    }
    if (modes_kept) tcsetattr(STDIN_FILENO, TCSANOW, &kept_modes);
    _exit(128 + SIGHUP);
}

}  // namespace

void keep_terminal_modes() { modes_kept = tcgetattr(STDIN_FILENO, &kept_modes) == 0; }

void end_on_hangup()
{
    restore_len = 0;
    for (const char* name : {"sgr0", "cnorm", "rmkx", "rmcup"}) add_capability(name);
    struct sigaction sa {};
    sa.sa_handler = on_hangup;
    sigfillset(&sa.sa_mask);
    sigaction(SIGHUP, &sa, nullptr);
}
