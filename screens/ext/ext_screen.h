// What the parts of the input extension screen share: its struct, its
// sections, its windows and the drawing of its values.
#pragma once

#include <curses.h>

#include "screens/ext/KIVRAExtend.h"
#include "screens/screen_driver.h"
#include "ui/form_ids.h"

// Sections of the screen, the values of exselect_mode.
enum ExSection {
    EXSEC_1TON = 1,    // TCP 1:N selector ("GC" firmware)
    EXSEC_CONN1 = 2,   // connection 1 grid row
    EXSEC_CONN2 = 3,   // connection 2 grid row (GC, 1:N on)
    EXSEC_CONN34 = 4,  // connections 3,4 grid row (GC, 1:N on)
    EXSEC_DISC = 5,
    EXSEC_NOTICE = 6,
    EXSEC_CHAT = 7,
    EXSEC_SEND = 8,  // "設定反映"
};

extern int exselect_mode;  // current section
extern int sel_1toN;       // 1 "有効", 2 "無効"
extern int sel_tcp;        // current column of the connection grid, 1..5

// Windows of the open screen (element 0 of each row array is its
// container, which select_menu never draws; here the screen window).
extern WINDOW* win_extset;       // the screen window
extern WINDOW* win_ex1ton[3];    // "有効", "無効"
extern WINDOW* win_extcp[3][6];  // grid rows: connection 1, 2, 3,4; columns 1..5
extern WINDOW* win_exdisc[2];
extern WINDOW* win_exnotice[2];
extern WINDOW* win_exchat[2];
extern WINDOW* win_exsend[2];

constexpr int GRID_COLUMNS = 5;

// The open screen: its unit, the values it edits (extset) and what it
// shows of them.
struct ExtScreen {
    int unit;
    ExtSettings& values;
    bool dport_shown[2];  // the destination port window of connection 1, 2 shows the port
};
// The screen of unit `unit` over extset, showing each destination port
// that has a destination (a WiFi module's always).
ExtScreen ext_screen(int unit);

// ---- the controller settings ----
// The form that edits a setting kept one way, with its choice texts (null
// for a number) and its number of choices.
struct ExForm {
    FormId form;
    const char* const* choices;
    int nchoices;
};
// The form of the setting for model `model`, or null when it has none.
const ExForm* ex_form(ExSetting s, int model);
// A number in entry form `form` (at row, col; its own place when row is
// negative), preset with value, which takes the confirmed number. The
// result of edit_form.
int ex_edit_number(unsigned form, int row, int col, int& value);
// Enter on a setting's value: its form, then the value shown.
Outcome ex_edit_setting(ExtScreen& s, ExSetting which);

// ---- drawing (staged) ----
void ex_show_row(const ExtScreen& s, int row);                      // one grid row
void ex_show_setting(int unit, const ExtSettings& v, ExSetting s);  // a setting's value window
void ex_grey_rows(int on);  // connections 2 and 3,4 usable (1) or greyed

// ---- rows and apply ----
// Runs the sections from exselect_mode until the screen ends: Done after
// the settings were written, Back (Esc), Quit (F9).
Outcome run_ext_rows(ExtScreen& s);
// "設定反映": a failure shows its message and the screen stays (Stay).
Outcome apply_ext_screen(ExtScreen& s);
// The section that Up (MOVE_UP) or Down (MOVE_DOWN) leads to from a section
// of unit `unit`'s screen, with extset and sel_1toN as they are now.
int ex_section_after(int unit, int section, Move dir);
