// Start-up, the fixed windows of the main screen and the top-level loop
// between the top menu and the device list (the form catalogue and its
// choice tables are ui/form_catalogue.h).
#pragma once

#include <curses.h>

#include "ui/fixed_windows.h"
#include "ui/form_catalogue.h"

constexpr int KIVRA_VERSION_MAJOR = 1;
constexpr int KIVRA_VERSION_MINOR = 10;


// Starts curses on the terminal; 1 (after a message saying why) when the
// terminal type is unknown or the terminal is smaller than 80 x 24, else 0.
int init_curses();
int terminal_type_known();       // 1 when TERM names a terminal description that loads
int make_basewin();              // the base window of pair 1; -1 if it cannot be made
void release_fixed_windows();    // deletes the fixed windows at the end of the run
void init_subwins();
int loop_mode1();
int loop_mode2();
int kivraset_run(int argc, char** argv);   // everything main does

// Top menu items that edit a form (the port item and "IP指定追加").
// Return -1 to end the program, 1 to go to the device list, 0 for the next pass.
int top_menu_port();
int top_menu_add();
