// What the read and the apply tables of the input extension group share:
// when a step of a controller setting applies, and their common texts.
#pragma once

#include "settings/ext_settings.h"

namespace ext_steps {

constexpr const char* kCommError = "通信エラー";

inline bool unit_ok(int unit) { return unit >= 0 && unit < xportcount && unit < XPORT_MAX; }

// The unit's model has setting S.
template <ExSetting S>
bool has(int unit, const ExtSettings&)
{
    return ex_control(S, unit_model(unit)) != nullptr;
}
// The unit's model keeps setting S the way W.
template <ExSetting S, ExWay W>
bool kept(int unit, const ExtSettings&)
{
    const ExControl* c = ex_control(S, unit_model(unit));
    return c != nullptr && c->way == W;
}

}  // namespace ext_steps
