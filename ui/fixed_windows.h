// The fixed windows of the main screen: made once at start-up (shell) and
// kept for the whole run; the device list and the settings menu draw into them.
#pragma once

#include <curses.h>

extern WINDOW* basewin;
extern WINDOW* helpbar;
extern WINDOW* menu_search[4];   // 0 the bar, 1..3 the items
extern WINDOW* list_dev[9];      // 0 the list box with its header, 1..8 the rows
extern WINDOW* info_device[4];   // the four lines of the information box
