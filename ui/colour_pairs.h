// The colour pairs of the program by what they are used for (defined at
// start-up; the numbers are the curses pair numbers).
#pragma once

enum ColourPair : short {
    PAIR_BASE = 1,     // black on grey: the base window, message boxes, screen frames
    PAIR_LIST = 2,     // blue on white: device list rows, information box
    PAIR_BAR = 3,      // black on white: help bar, list header
    PAIR_ITEM = 4,     // blue on white: items that are not current
    PAIR_CURRENT = 5,  // white on blue: the current item, form frames and entries
    PAIR_MARKED = 6,   // blue on yellow: the chosen value, the unit whose settings are open
    PAIR_GREY = 7,     // grey on white: items that cannot be used now
};
