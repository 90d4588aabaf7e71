// The input extension screen: the unit's TCP connection settings (one
// connection, or with "GC" firmware TCP 1:N with connections 2 and 3,4) and
// the controller's disconnection time, periodic notice and chattering time.
// The values, their read and their apply are the input extension group of
// settings/ext_settings.h; the screen is a view of extset.
#pragma once

#include "settings/ext_settings.h"

// The screen's working state, read again each time the screen opens.
extern ExtSettings extset;

// Runs the screen for unit `index`: 1 settings written (the unit restarts),
// -2 left with Esc, -1 F9, 0 the current settings could not be read.
int SetInputExtendMenu(int index);
// Writes extset with TCP 1:N as the selector stands: 1 written, 0 not (a
// message was shown).
int OnSendExSet(int index);

// One pass of a section: 0 go on (exselect_mode changed), -2 Esc, -1 F9;
// loop_exsend gives 1 when the settings were written.
int loop_1toNset(int index);
int loop_tcpset(int index);
int loop_disc(int index);
int loop_notice(int index);
int loop_chat(int index);
int loop_exsend(int index);
// Change callbacks of the 1:N selector and of the connection grid.
int OnChangeSel1toN(int choice);
int OnChangeSelTCP(int column);
