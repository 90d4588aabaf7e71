// Whether the terminal description named by TERM can be loaded, asked before
// curses starts. Kept apart: the terminfo header defines macros named like
// ordinary words (lines, columns).
#include <curses.h>
#include <term.h>
#include <unistd.h>

#include "shell/KIVRASet.h"

int terminal_type_known()
{
    int err = 0;
    TERMINAL* before = cur_term;
    if (setupterm(nullptr, STDOUT_FILENO, &err) != OK) return 0;
    // Only the answer is wanted: the description loaded here is let go again.
    TERMINAL* loaded = set_curterm(before);
    if (loaded != before) del_curterm(loaded);
    return 1;
}
