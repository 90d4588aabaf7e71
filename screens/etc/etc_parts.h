// What the other-settings screens share: the frame, the owner of the open
// screen's windows, the message box of these screens and the exchanges.
#pragma once

#include "device/KIVRAXPort.h"
#include "screens/etc/KIVRAEtc.h"
#include "screens/legacy_driver.h"
#include "ui/NQ_Menu.h"
#include "ui/colour_pairs.h"

// The frame at screen row 2, column 1, 20 x 78, and its title.
#define ETC_FRAME                                                          \
    {&win_etcset[0], -1, 2, 1, 20, 78, PAIR_BASE, nullptr, true, nullptr}, \
    {                                                                      \
        nullptr, 0, 0, 1, 0, 0, 0, "その他の設定", false, nullptr          \
    }

// One exchange of an opening or an apply: its pause, and on failure
// "通信エラー" at row 15 and the log line.
#define ETC_STEP(fn, pause, applies)                                       \
    {                                                                      \
        fn, pause, ETC_COMM_ERROR, MSG_ROW_SETTINGS, ETC_COMM_LOG, applies \
    }

// Opens a screen's layout for unit i and shows it; DeleteEtcMenu removes it.
// False when a window could not be made (the windows made are removed).
bool open_etc_windows(const LegacyWindowSpec* layout, int count, int i);
template <size_t N>
bool open_etc_windows(const LegacyWindowSpec (&layout)[N], int i)
{
    return open_etc_windows(layout, static_cast<int>(N), i);
}

// Removes the open screen's windows on every way out of a screen.
struct EtcScreenGuard {
    int unit;
    ~EtcScreenGuard() { DeleteEtcMenu(unit); }
};

// A message box of these screens (row 15), the frame drawn again after the key.
void etc_message(const char* line1, const char* line2);

// Failures of the exchanges, as the steps show and log them.
constexpr const char* ETC_COMM_ERROR = "通信エラー";
constexpr const char* ETC_COMM_LOG = "sendrecv error\n";

// One exchange with the unit's controller: 0, or -1 when it failed.
int etc_exchange(int i, const uint8_t* request, int reqlen, uint8_t* reply, int replen);
