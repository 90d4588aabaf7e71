// "設定反映" of the mail alert screen: the groups are written in the order
// of apply_mail_alert, and the screen shows where it stopped.
#include "screens/mail/KIVRAMailSet.h"
#include "screens/mail/mail_screen.h"

Outcome mail_apply_item(MailScreen& s)
{
    const StepResult r = apply_mail_alert(s.unit, mailset);
    show_failure(r, win_mailset);
    switch (mail_apply_stop(r)) {
    case MailStop::None:
        return Outcome::Done;
    case MailStop::Refused:
    case MailStop::UnitSettings:
        // Nothing of the mail server was sent: the screen stays on "設定反映".
        return Outcome::Stay;
    case MailStop::MailServer:
        break;
    }
    return Outcome::Back;
}

int OnOKMailSet(int unit)
{
    const StepResult r = apply_mail_alert(unit, mailset, MAIL_DI | MAIL_THRESHOLDS | MAIL_DO);
    show_failure(r, win_mailset);
    return r.ok() ? 0 : -1;
}
