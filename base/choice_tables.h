// The choice texts of the catalogue's list forms: what a code read from a
// unit is called on the screens. No curses: settings/ names codes with them.
#pragma once

// Choice texts of the list forms, 16 slots each.
extern const char* DiscTime[16];
extern const char* AutoPeriod[16];
extern const char* AutoPeriodA[16];
extern const char* AdcSamp[16];
extern const char* AdcRange[16];
extern const char* AdcRangeV2[16];
extern const char* TCType[16];
extern const char* TFMode[16];
