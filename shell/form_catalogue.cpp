// Placeholder definitions until the catalogue is written.
#include "shell/KIVRASet.h"

const char* DiscTime[16] = {};
const char* AutoPeriod[16] = {};
const char* AutoPeriodA[16] = {};
const char* AdcSamp[16] = {};
const char* AdcRange[16] = {};
const char* AdcRangeV2[16] = {};
const char* TCType[16] = {};
const char* TFMode[16] = {};
void init_forms() {}
void show_form(unsigned) {}
void hide_form(unsigned) {}
