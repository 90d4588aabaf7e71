// The other-settings entry: the screen chosen by the unit's model, the
// values and windows the three screens share, and their message box.
#include "screens/etc/KIVRAEtc.h"
#include "screens/etc/etc_screen.h"

#include "base/DebugLog.h"
#include "device/KIVRAXPort.h"
#include "ui/NQ_Menu.h"

EtcSet etcset;
WINDOW* win_etcset[1];
WINDOW* win_etcai[6];
WINDOW* win_etcao[9];
WINDOW* win_etcaosend[2];
WINDOW* win_v2etcset[8];
WINDOW* win_v2etcrange[2];
WINDOW* win_v2etcOK[2];

int SetEtcMenu(int i)
{
    PrnDebug("etc setting menu\n");
    const EtcParts parts = etc_parts(unit_model(i), unit_modtype(i));
    if (parts.input) return SetEtcMenuAI(i);
    if (parts.input_v2) return SetEtcMenuAIV2(i);
    if (parts.outputs > 0) return SetEtcMenuAO(i);
    return screen_result(Outcome::Back);
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

void etc_failure(const StepResult& r) { show_failure(r, win_etcset[0]); }
