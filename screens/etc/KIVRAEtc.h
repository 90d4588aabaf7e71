// Other settings of the analog units: ADC sampling and input ranges (first
// and second generation, with thermocouples and temperature scaling on the
// second) and the kinds and default values of the analog outputs. The
// screens are views of the groups of settings/etc_settings.h.
#pragma once

#include <curses.h>

#include "settings/etc_settings.h"

// The values of the other-settings screen that is open, as read from the
// unit and changed by the operator; cleared when one opens. Only the group
// of the unit's model is used.
struct EtcSet {
    AnalogInputSettings ai;       // model 8
    AnalogInputV2Settings ai_v2;  // model 10
    AnalogOutputSettings ao;      // models 9 and 11
};
extern EtcSet etcset;

// The frame all three screens share (element 0).
extern WINDOW* win_etcset[1];
// The input screens: 1 the sampling, 2..4 the inputs, 5 "設定反映".
extern WINDOW* win_etcai[6];
// The output screen: 3c + 1 the kind and 3c + 2 the value of output c;
// 3c stays empty (select_menu's container of the row).
extern WINDOW* win_etcao[9];
extern WINDOW* win_etcaosend[2];
// The per-channel screen of the second generation: its frame (element 0)
// and the seven thermocouple values, the range and the OK button.
extern WINDOW* win_v2etcset[8];
extern WINDOW* win_v2etcrange[2];
extern WINDOW* win_v2etcOK[2];

// Opens the screen of the unit's model: 1 written, -1 F9, -2 left without
// writing (also after a read failure, and for a model without one).
int SetEtcMenu(int i);
int SetEtcMenuAI(int i);    // model 8
int SetEtcMenuAIV2(int i);  // model 10
int SetEtcMenuAO(int i);    // models 9 and 11
// Writes the input settings of etcset (model 10: thermocouples and scales
// too); 1, or 0 after the failure's message.
int OnSendEtcAI(int i);
// Writes the outputs' kinds and defaults of etcset; 1, or 0 after the failure's message.
int OnSendEtcAO(int i);
// The per-channel screen of input n (1..3): 0 when left, -1 after F9.
int SetV2EtcMenu(int i, int n);
// The thermocouple values usable (range 6, "熱電対") or greyed.
int EnableTCset(int range);
// Draws the shared frame and the per-channel frame again.
void RefreshParents();
