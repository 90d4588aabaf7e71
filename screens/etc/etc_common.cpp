// The other-settings entry: the screen chosen by model, the state and frame
// the three screens share, and their clean-up.
#include "screens/etc/KIVRAEtc.h"
#include "screens/etc/etc_parts.h"

#include "device/KIVRAXPort.h"
#include "base/DebugLog.h"
#include "ui/NQ_Menu.h"

#include <optional>

EtcSet etcset;
WINDOW* win_etcset[1];
WINDOW* win_etcai[6];
WINDOW* win_etcao[9];
WINDOW* win_etcaosend[2];
WINDOW* win_v2etcset[8];
WINDOW* win_v2etcrange[2];
WINDOW* win_v2etcOK[2];

namespace {

// The windows of the screen that is open (one at a time).
std::optional<ScreenWindows> etc_windows;

}  // namespace

int SetEtcMenu(int i)
{
    PrnDebug("etc setting menu\n");
    switch (unit_model(i)) {
    case 8:
        return SetEtcMenuAI(i);
    case 9:
    case 11:
        return SetEtcMenuAO(i);
    case 10:
        return SetEtcMenuAIV2(i);
    default:
        return 0;
    }
}

bool open_etc_windows(const LegacyWindowSpec* layout, int count, int i)
{
    etc_windows.reset();
    etc_windows.emplace(layout, count, i);
    doupdate();
    return etc_windows->ok();
}

void DeleteEtcMenu(int)
{
    // The owner removes sub-windows before the frame they belong to.
    etc_windows.reset();
}

void RefreshParents()
{
    redraw(win_etcset[0]);
    redraw(win_v2etcset[0]);
}

void etc_message(const char* line1, const char* line2)
{
    MyMsgBox(line1, line2, MSG_ROW_SETTINGS, win_etcset[0]);
}

int etc_exchange(int i, const uint8_t* request, int reqlen, uint8_t* reply, int replen)
{
    return SendRecvRaw(i, reqlen, request, replen, reply) == 0 ? 0 : -1;
}
