// The input extension screen: the unit's TCP connection settings (one
// connection, or with "GC" firmware TCP 1:N with connections 2 and 3,4) and
// the controller's disconnection time, periodic notice and chattering time.
#pragma once

constexpr int EXT_DEST_LEN = 51;  // a destination text with its terminator

// The screen's working state, cleared each time the screen opens.
struct ExtSet {
    int tcp1ton;                 // 1: TCP 1:N on (connections 2 to 4 in use)
    int port[3];                 // own port of connection 1, 2, 3,4
    int wait[3];                 // wait for connection (1 = "有効") of connection 1, 2, 3,4
    int request[2];              // connect request of connection 1, 2
    char dest[2][EXT_DEST_LEN];  // destination of connection 1, 2 (address or host name)
    int dport[2];                // destination port of connection 1, 2
    int has_disc;                // the model has a disconnection time
    int has_notice;              // the model has a periodic notice
    int has_chat;                // the model has a chattering time
    int disc;                    // disconnection time code (DiscTime; 15 "None")
    int notice;                  // periodic notice code (AutoPeriod, AutoPeriodA for models 8, 10)
    int chat;                    // chattering time in ms
};

extern ExtSet extset;

// Runs the screen for unit `index`: 1 settings written (the unit restarts),
// -2 left with Esc, -1 F9, 0 the current settings could not be read.
int SetInputExtendMenu(int index);
// Deletes the screen's windows, sub-windows first.
void DeleteExMenu(int index);
// Writes the edited settings: 1 written, 0 not (a message was shown).
int OnSendExSet(int index);
// Sends the WiFi module its "PORT/HIP/HPORT" text from the entry; 0 or -1.
int DlgMemberToESPSetting_Ext(int index);

// One pass of a section: 0 go on (exselect_mode changed), -2 Esc, -1 F9;
// loop_exsend gives 1 when the button was pressed.
int loop_1toNset(int index);
int loop_tcpset(int index);
int loop_disc(int index);
int loop_notice(int index);
int loop_chat(int index);
int loop_exsend(int index);
// Change callbacks of the 1:N selector and of the connection grid.
int OnChangeSel1toN(int choice);
int OnChangeSelTCP(int column);
