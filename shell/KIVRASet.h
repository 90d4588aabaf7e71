// Start-up, the fixed windows of the main screen, the form catalogue and the
// top-level loop between the top menu and the device list.
#pragma once

#include <curses.h>

constexpr int KIVRA_VERSION_MAJOR = 1;
constexpr int KIVRA_VERSION_MINOR = 10;

extern WINDOW* basewin;
extern WINDOW* helpbar;
extern WINDOW* menu_search[4];   // 0 the bar, 1..3 the items
extern WINDOW* list_dev[9];      // 0 the list box with its header, 1..8 the rows
extern WINDOW* info_device[4];   // the four lines of the information box

// Choice texts of the list forms, 16 slots each.
extern const char* DiscTime[16];
extern const char* AutoPeriod[16];
extern const char* AutoPeriodA[16];
extern const char* AdcSamp[16];
extern const char* AdcRange[16];
extern const char* AdcRangeV2[16];
extern const char* TCType[16];
extern const char* TFMode[16];

// Starts curses on the terminal; 1 (after a message saying why) when the
// terminal type is unknown or the terminal is smaller than 80 x 24, else 0.
int init_curses();
int terminal_type_known();       // 1 when TERM names a terminal description that loads
int make_basewin();              // the base window of pair 1; -1 if it cannot be made
void release_fixed_windows();    // deletes the fixed windows at the end of the run
void init_subwins();
void init_forms();
void show_form(unsigned n);
// Shows any catalogue form 0..56: at row, col, or at its fixed place when
// row is negative (forms 0..33 only have one).
void show_form_at(unsigned n, int row, int col);
void hide_form(unsigned n);
int loop_mode1();
int loop_mode2();
int kivraset_run(int argc, char** argv);   // everything main does

// Top menu items that edit a form (the port item and "IP指定追加").
// Return -1 to end the program, 1 to go to the device list, 0 for the next pass.
int top_menu_port();
int top_menu_add();
