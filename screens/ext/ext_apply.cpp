// "設定反映" on the input extension screen: the group's apply
// (settings/ext_settings.h) with TCP 1:N as the selector stands, and its
// failure shown over the screen.
#include "screens/ext/ext_screen.h"

Outcome apply_ext_screen(ExtScreen& s)
{
    s.values.tcp1ton = sel_1toN == 1;
    const StepResult r = apply_ext_settings(s.unit, s.values);
    if (r.ok()) return Outcome::Done;
    show_failure(r, win_extset);
    return Outcome::Stay;
}

int OnSendExSet(int index)
{
    if (index < 0 || index >= xportcount || index >= XPORT_MAX) return 0;
    ExtScreen s = ext_screen(index);
    return apply_ext_screen(s) == Outcome::Done ? 1 : 0;
}
