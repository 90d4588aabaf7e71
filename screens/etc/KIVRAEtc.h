// Other settings of the analog units: ADC sampling and input ranges (first
// and second generation, with thermocouples and temperature scaling on the
// second) and the kinds and default values of the analog outputs.
#pragma once

#include <curses.h>

// The values of the other-settings screen that is open; cleared when one opens.
struct EtcSet {
    int adc_samp;     // sampling code as read (AdcSamp index 0..7 when it names one)
    int ai_range[3];  // input range of AI1..AI3: AdcRange (0..5) or AdcRangeV2 (0..6) index
    int tc_type[3];   // thermocouple type, TCType index
    int tc_flags[3];  // 1 cold-junction compensation, 2 burn-out detection, 4 burn-out to maximum
    int tf_mode[3];   // temperature output type, TFMode index
    int tf_low[3];    // lower scale temperature, 16-bit pattern of tenths of a degree
    int tf_high[3];   // upper scale temperature, likewise
    int ao_kind[3];   // 0 voltage, 1 current, -1 a kind the unit reported that has no name
    double ao_value[3];  // default output in volts or milliamperes
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

// Opens the screen of the unit's model: 1 written, -1 F9, 0 left without writing.
int SetEtcMenu(int i);
int SetEtcMenuAI(int i);    // model 8
int SetEtcMenuAIV2(int i);  // model 10
int SetEtcMenuAO(int i);    // models 9 and 11
// Writes the input settings (model 10: thermocouples and scales too); 1 or 0.
int OnSendEtcAI(int i);
// Writes the outputs' kinds and defaults; 1 or 0.
int OnSendEtcAO(int i);
// The per-channel screen of input n (1..3): 0 when left, -1 after F9.
int SetV2EtcMenu(int i, int n);
// The thermocouple values usable (range 6, "熱電対") or greyed.
int EnableTCset(int range);
// Draws the shared frame and the per-channel frame again.
void RefreshParents();
// Removes the windows of the open screen, its frame last.
void DeleteEtcMenu(int i);
