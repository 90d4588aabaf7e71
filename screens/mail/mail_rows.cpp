// The items of the mail alert screen as a row table: the order of the table
// is the order Up and Down walk, and an item the unit does not have (the
// SMTP-AUTH row of a plain XPort, digital-input rows beyond the unit's,
// the analog and DO buttons) is passed over. The text items are here too.
#include "screens/mail/KIVRAMailSet.h"
#include "screens/mail/mail_screen.h"

#include "base/bounded_text.h"
#include "device/KIVRAXPort.h"
#include "ui/NQ_Forms.h"
#include "ui/NQ_Menu.h"
#include "ui/form_ids.h"

#include <cstdio>
#include <cstring>

int mailselect_mode = MAILMODE_SERVER;

namespace {

bool auth_present(const MailScreen& s) { return s.has.auth; }
template <int R>
bool di_present(const MailScreen& s)
{
    return R < s.has.di_rows;
}
bool analog_present(const MailScreen& s) { return s.has.ai_inputs > 0; }
bool do_present(const MailScreen& s) { return s.has.do_count > 0; }

// ---- text items ----

struct TextItem {
    int mode;
    WINDOW** field;
    char* value;  // in mailset; null for the port
    const char* (*check)(const char* text);
};

const TextItem kTextItems[] = {
    {MAILMODE_SERVER, &win_smtpset[1], mailset.server.smtp_server, nullptr},
    {MAILMODE_PORT, &win_smtpport[1], nullptr, nullptr},
    {MAILMODE_FROM, &win_mailfrom[1], mailset.server.mail_from, check_mail_from},
    {MAILMODE_TO1, &win_mailto1[1], mailset.server.mail_to1, check_mail_to},
    {MAILMODE_TO2, &win_mailto2[1], mailset.server.mail_to2, check_mail_to},
    {MAILMODE_SUBJECT, &win_message[1], mailset.server.mail_subject, nullptr},
};

unsigned form_of(int mode, bool named)
{
    switch (mode) {
    case MAILMODE_SERVER:
        return named ? FORM_SMTP_HOST : FORM_SMTP_IP;
    case MAILMODE_PORT:
        return FORM_SMTP_PORT;
    case MAILMODE_FROM:
        return FORM_MAIL_FROM;
    case MAILMODE_TO1:
        return FORM_MAIL_TO1;
    case MAILMODE_TO2:
        return FORM_MAIL_TO2;
    default:
        return FORM_MAIL_SUBJECT;
    }
}

// Stores a confirmed text unless its check refuses it. A value longer than
// the entry is shown cut; confirmed unchanged, it stays whole, and it is
// the whole value that is checked.
void take_text(const TextItem& item, const char* out, const char* shown)
{
    const bool changed = std::strcmp(out, shown) != 0;
    const char* refusal = item.check != nullptr ? item.check(changed ? out : item.value) : nullptr;
    if (refusal != nullptr)
        mail_message("入力エラー", refusal, MAIL_MSG_ROW);
    else if (changed)
        copy_text(item.value, MAIL_TEXT_LEN, out);
}

// Edits one text item in its catalogue form at the form's place.
Outcome text_enter(MailScreen& s, int mode, int)
{
    const TextItem* item = nullptr;
    for (const TextItem& t : kTextItems)
        if (t.mode == mode) item = &t;
    if (item == nullptr) return Outcome::Stay;
    const unsigned form = form_of(item->mode, s.has.named);

    char preset[FORM_TEXT_MAX];
    if (item->value == nullptr) {
        std::snprintf(preset, sizeof preset, "%d", mailset.server.smtp_port);
    } else {
        const size_t room = static_cast<size_t>(myforms[form].width + 1);
        copy_text_n(preset, sizeof preset, item->value,
                    utf8_fit(item->value, std::strlen(item->value), room));
    }
    char out[FORM_TEXT_MAX] = {};
    const int r = edit_form(form, -1, -1, preset, out, sizeof out, win_mailset);
    if (r == MENU_QUIT) return Outcome::Quit;
    char shown[FORM_TEXT_MAX];
    copy_text(shown, sizeof shown, preset);
    cut_rightspace(shown);
    if (r == 1 && item->value == nullptr) {
        mailset.server.smtp_port = decimal_value(out);
        show_text(*item->field, out);
    } else if (r == 1) {
        take_text(*item, out, shown);
    }
    if (item->value != nullptr) show_value(*item->field, item->value);
    doupdate();
    return Outcome::Stay;
}

Outcome auth_enter(MailScreen& s, int, int) { return mail_auth_item(s); }

Outcome analog_enter(MailScreen& s, int, int)
{
    if (SetAnalogMenu(s.unit) == -1) return Outcome::Quit;
    redraw(win_mailset);
    return Outcome::Stay;
}

Outcome do_enter(MailScreen& s, int, int item)
{
    if (SetDOAlertMenu(s.unit, item) == -1) return Outcome::Quit;
    redraw(win_mailset);
    return Outcome::Stay;
}

Outcome apply_enter(MailScreen& s, int, int) { return mail_apply_item(s); }

constexpr RowSpec<MailScreen> text_row(int mode, WINDOW** wins)
{
    return {.mode = mode, .wins = wins, .enter = text_enter};
}
template <int R>
constexpr RowSpec<MailScreen> di_row()
{
    return {.mode = MAILMODE_DI_FIRST + R,
            .wins = &win_maildi[4 * R],
            .present = di_present<R>,
            .start = di_row_start,
            .onchange = OnChangeSelDI,
            .enter = di_row_enter,
            .leave = di_row_leave,
            .items_of = di_row_items};
}

// Up at the first row wraps to "設定反映", Down at "設定反映" to the first row.
const RowSpec<MailScreen> kRows[] = {
    text_row(MAILMODE_SERVER, win_smtpset),
    text_row(MAILMODE_PORT, win_smtpport),
    {.mode = MAILMODE_AUTH, .wins = win_smtpauth, .present = auth_present, .enter = auth_enter},
    text_row(MAILMODE_FROM, win_mailfrom),
    text_row(MAILMODE_TO1, win_mailto1),
    text_row(MAILMODE_TO2, win_mailto2),
    text_row(MAILMODE_SUBJECT, win_message),
    di_row<0>(),
    di_row<1>(),
    di_row<2>(),
    di_row<3>(),
    di_row<4>(),
    di_row<5>(),
    di_row<6>(),
    {.mode = MAILMODE_ANALOG, .wins = win_analog, .present = analog_present, .enter = analog_enter},
    {.mode = MAILMODE_DO,
     .wins = win_doalert,
     .items = 2,
     .present = do_present,
     .enter = do_enter},
    {.mode = MAILMODE_APPLY, .wins = win_sendmailset, .enter = apply_enter},
};

// The screen of a unit as the rows see it (no windows are opened).
MailScreen screen_of(int unit, int model, int modtype)
{
    return MailScreen{unit, model, modtype, mail_presence(model, modtype), std::nullopt};
}

// One pass of the row of `mode`, as the item loops of the screen.
int mail_step(int unit, int mode)
{
    MailScreen s = screen_of(unit, unit_model(unit), unit_modtype(unit));
    mailselect_mode = mode;
    return screen_result(run_row(kRows, s, mailselect_mode));
}

}  // namespace

Outcome run_mail_rows(MailScreen& s) { return run_rows(kRows, s, mailselect_mode); }

int mail_next_mode(int mode, Move move, int model, int modtype)
{
    const MailScreen s = screen_of(-1, model, modtype);
    if (!row_present(kRows, s, mode)) return 0;
    return row_target(kRows, s, mode, move);
}

int loop_smtpset(int unit) { return mail_step(unit, MAILMODE_SERVER); }
int loop_smtpport(int unit) { return mail_step(unit, MAILMODE_PORT); }
int loop_smtpauth(int unit) { return mail_step(unit, MAILMODE_AUTH); }
int loop_mailfrom(int unit) { return mail_step(unit, MAILMODE_FROM); }
// The recipients' rows are the same on every unit.
int loop_mailto1() { return mail_step(-1, MAILMODE_TO1); }
int loop_mailto2() { return mail_step(-1, MAILMODE_TO2); }
int loop_setmsg(int unit) { return mail_step(unit, MAILMODE_SUBJECT); }
int loop_sendmailset(int unit) { return mail_step(unit, MAILMODE_APPLY); }
int loop_setdi(int unit, int mode) { return mail_step(unit, mode); }
int loop_analog(int unit) { return mail_step(unit, MAILMODE_ANALOG); }
int loop_doalert(int unit) { return mail_step(unit, MAILMODE_DO); }
