// The keys the form loops tell apart.
#pragma once

#include <curses.h>

enum class Key { Enter, Esc, F9, Left, Right, Up, Down, Backspace, Delete, Text, Other };

struct KeyPress {
    Key key;
    wint_t ch;   // the character of Key::Text
};

// One key from win (its keypad must be on, so arrows and function keys arrive
// as single codes). Keys the forms do not use come back as Key::Other and are
// never handed to the form library: some terminals' modified arrows arrive as
// codes that the library would take for its own requests.
KeyPress read_key(WINDOW* win);
