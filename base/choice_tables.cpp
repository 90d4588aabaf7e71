// The choice texts of the catalogue's list forms, 16 slots each.
#include "base/choice_tables.h"

const char* DiscTime[16] = {"0ms",  "300ms", "500ms", "1sec",  "3sec",  "5sec",  "10sec", "30sec",
                            "50sec", "1min", "3min",  "5min",  "10min", "30min", "50min", "None"};
const char* AutoPeriod[16] = {"None", "10sec", "30sec", "60sec", "180sec", "", "", "", "",
                              "",     "",      "",      "",      "",       "", nullptr};
const char* AutoPeriodA[16] = {"0.05sec", "0.1sec", "0.2sec", "0.5sec", "1sec",  "2sec",
                               "5sec",    "10sec",  "20sec",  "30sec",  "1min",  "2min",
                               "5min",    "10min",  "",       ""};
const char* AdcSamp[16] = {"10Hz", "16.6Hz", "50Hz", "60Hz", "400Hz", "1200Hz", "3600Hz", "14400Hz",
                           "",     "",       "",     "",     "",      "",       "",       ""};
const char* AdcRange[16] = {"+/-100mV", "+/-1V", "+/-10V", "+/-30V", "0-20mA (50Ω)", "0-20mA (250Ω)",
                            "",         "",      "",       "",       "",             "",
                            "",         "",      "",       ""};
const char* AdcRangeV2[16] = {"+/-100mV", "+/-1V", "+/-10V", "+/-30V", "0-20mA (50Ω)", "0-20mA (250Ω)",
                              "熱電対",   "",      "",       "",       "",             "",
                              "",         "",      "",       ""};
const char* TCType[16] = {"K 熱電対", "J 熱電対", "T 熱電対", "E 熱電対", "N 熱電対", "R 熱電対",
                          "S 熱電対", "B 熱電対", "",         "",         "",         "",
                          "",         "",         "",         ""};
const char* TFMode[16] = {"0-10 V", "0-5 V", "1-5 V", "4-20 mA", "", "", "", "",
                          "",       "",      "",      "",        "", "", "", ""};
