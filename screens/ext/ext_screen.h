// What the parts of the input extension screen share: its sections, its
// windows, the controller settings by model and the record images it writes.
#pragma once

#include <curses.h>

#include "device/KIVRAXPort.h"
#include "screens/ext/KIVRAExtend.h"
#include "screens/legacy_driver.h"
#include "ui/form_ids.h"

#include <cstdint>

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

// A destination shown cut from a longer text of the unit; while it is not
// edited the unit's own bytes are written back.
extern int ex_dest_cut[2];
// The destination port window of a row shows the port.
extern int ex_dport_shown[2];

constexpr int GRID_COLUMNS = 5;

// ---- the controller settings ----
enum ExSetting { EXS_DISC, EXS_NOTICE, EXS_CHAT };

// How one setting is read and written for a family of models.
struct ExControl {
    ExSetting setting;
    unsigned models;  // bit m: model m keeps it this way
    int (*read)(int unit, int* value);
    const char* read_message;  // message box at row 15 when the read fails
    const char* read_log;
    int (*write)(int unit, int value);
    const char* write_message;
    const char* write_log;
    FormId form;                 // the form that edits it
    const char* const* choices;  // list forms: the texts; null for a number
    int nchoices;                // choices of the list form
};
// The way model `model` keeps setting s, or null when it has none.
const ExControl* ex_control(ExSetting s, int model);
// The steps of the settings the model has, in the order disconnection
// time, notice, chattering: the reads at opening (each value shown as it
// arrives) or the writes on apply. out has room for EX_CONTROL_STEPS.
constexpr int EX_CONTROL_STEPS = 5;
int ex_control_steps(int model, bool write, Step* out);
// The setting's value in extset.
int* ex_value(ExSetting s);
// The text the screen shows for the setting's current value.
void ex_value_text(ExSetting s, int model, char* out, int size);

// ---- the unit ----
// Request code of the connection mode bytes: 5 for models 3 and 4 on an XPort, else 1.
int ex_request_code(int unit);

// ---- drawing ----
void ex_show_row(int unit, int row);          // one grid row from extset
void ex_show_setting(int unit, ExSetting s);  // a controller setting's value window
void ex_grey_rows(int on);                    // connections 2 and 3,4 usable (1) or greyed

// ---- apply ----
struct ExImages {
    uint8_t r0[SETUP0_LEN];
    uint8_t r3[SETUP_LEN];
    uint8_t r7[SETUP_LEN];
};
// Records 0, 3 and 7 as the apply step writes them, from the entry's images
// and extset (write headers included).
void ex_build_images(const DeviceEntry& e, int k, int gc, int tcp1ton, ExImages* out);

// The section that Up (MOVE_UP) or Down (MOVE_DOWN) leads to from a section
// of unit `unit`'s screen, with extset and sel_1toN as they are now.
int ex_section_after(int unit, int section, Move dir);
