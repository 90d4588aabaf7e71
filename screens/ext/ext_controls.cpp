// The controller settings on the input extension screen: the form that
// edits each, by the way the model keeps it (settings/ext_settings.h).
#include "screens/ext/ext_screen.h"

#include "ui/NQ_Menu.h"
#include "ui/form_catalogue.h"

namespace {

struct FormOf {
    ExSetting setting;
    ExWay way;
    ExForm form;
};
const FormOf kForms[] = {
    {EXS_DISC, ExWay::Parameter, {FORM_DISC_TIME, DiscTime, 16}},
    {EXS_NOTICE, ExWay::Parameter, {FORM_NOTICE, AutoPeriod, 5}},
    {EXS_NOTICE, ExWay::Memory, {FORM_NOTICE, AutoPeriod, 5}},
    {EXS_NOTICE, ExWay::Lettered, {FORM_NOTICE_A, AutoPeriodA, 14}},
    {EXS_CHAT, ExWay::Parameter, {FORM_CHATTER, nullptr, 0}},
    {EXS_CHAT, ExWay::Memory, {FORM_CHATTER_0, nullptr, 0}},
};

}  // namespace

const ExForm* ex_form(ExSetting s, int model)
{
    const ExControl* c = ex_control(s, model);
    if (c == nullptr) return nullptr;
    for (const FormOf& f : kForms)
        if (f.setting == s && f.way == c->way) return &f.form;
    return nullptr;
}

Outcome ex_edit_setting(ExtScreen& s, ExSetting which)
{
    const ExForm* f = ex_form(which, unit_model(s.unit));
    if (f == nullptr) return Outcome::Stay;
    int& v = ex_value(s.values, which);
    int res;
    if (f->choices != nullptr) {
        res = choose_form(f->form, -1, -1, choice_start(v, f->nchoices), win_extset);
        if (res >= 1 && res <= f->nchoices) v = res - 1;
    } else {
        res = ex_edit_number(f->form, -1, -1, v);
    }
    if (res == MENU_QUIT) return Outcome::Quit;
    ex_show_setting(s.unit, s.values, which);
    doupdate();
    return Outcome::Stay;
}
