// The items of the mail alert screen as a row table: the order of the table
// is the order Up and Down walk, and an item the unit does not have (the
// SMTP-AUTH row of a plain XPort, digital-input rows beyond the unit's,
// the analog and DO buttons) is passed over. The text items and the checks
// of the sender and recipients are here too.
#include "screens/mail/KIVRAMailSet.h"
#include "screens/mail/mail_screen.h"

#include "screens/legacy_driver.h"
#include "base/bounded_text.h"
#include "ui/NQ_Forms.h"
#include "ui/NQ_Menu.h"
#include "ui/form_ids.h"

#include <cstdio>
#include <cstring>

int mailselect_mode = MAILMODE_SERVER;

namespace {

int open_unit = -1;  // the unit whose screen is open

const MailUnit& unit_of(const LegacyRowContext& ctx) { return *static_cast<const MailUnit*>(ctx.state); }

bool auth_present(const LegacyRowContext& ctx)
{
    return is_gc(unit_of(ctx).modtype) || is_wifi(unit_of(ctx).modtype);
}
bool di_present_at(const LegacyRowContext& ctx, int mode)
{
    return mode - MAILMODE_DI_FIRST < unit_of(ctx).di_rows;
}
template <int M>
bool di_present(const LegacyRowContext& ctx)
{
    return di_present_at(ctx, M);
}
bool analog_present(const LegacyRowContext& ctx) { return mail_ai_inputs(unit_of(ctx).model) > 0; }
bool do_present(const LegacyRowContext& ctx) { return unit_of(ctx).model == 10; }

// ---- text items ----

struct TextItem {
    int mode;
    WINDOW** field;
    char* value;  // in mailset; null for the port
    const char* (*check)(const char* text);
};

const TextItem kTextItems[] = {
    {MAILMODE_SERVER, &win_smtpset[1], mailset.smtp_server, nullptr},
    {MAILMODE_PORT, &win_smtpport[1], nullptr, nullptr},
    {MAILMODE_FROM, &win_mailfrom[1], mailset.mail_from, check_mail_from},
    {MAILMODE_TO1, &win_mailto1[1], mailset.mail_to1, check_mail_to},
    {MAILMODE_TO2, &win_mailto2[1], mailset.mail_to2, check_mail_to},
    {MAILMODE_SUBJECT, &win_message[1], mailset.mail_subject, nullptr},
};

unsigned form_of(int mode, int modtype)
{
    switch (mode) {
    case MAILMODE_SERVER: return is_gc(modtype) || is_wifi(modtype) ? FORM_SMTP_HOST : FORM_SMTP_IP;
    case MAILMODE_PORT: return FORM_SMTP_PORT;
    case MAILMODE_FROM: return FORM_MAIL_FROM;
    case MAILMODE_TO1: return FORM_MAIL_TO1;
    case MAILMODE_TO2: return FORM_MAIL_TO2;
    default: return FORM_MAIL_SUBJECT;
    }
}

// Edits one text item in its catalogue form at the form's place. A value
// longer than the entry is shown cut; confirmed unchanged, it stays whole.
int text_enter(LegacyRowContext& ctx, int)
{
    const TextItem* item = nullptr;
    for (const TextItem& t : kTextItems)
        if (t.mode == *ctx.mode) item = &t;
    if (item == nullptr) return 0;
    const unsigned form = form_of(item->mode, unit_of(ctx).modtype);

    char preset[FORM_TEXT_MAX];
    if (item->value == nullptr) {
        std::snprintf(preset, sizeof preset, "%d", mailset.smtp_port);
    } else {
        const size_t room = static_cast<size_t>(myforms[form].width + 1);
        copy_text_n(preset, sizeof preset, item->value,
                    utf8_fit(item->value, std::strlen(item->value), room));
    }
    char out[FORM_TEXT_MAX] = {};
    const int r = edit_form(form, -1, -1, preset, out, sizeof out, win_mailset);
    if (r == MENU_QUIT) return -1;
    char shown[FORM_TEXT_MAX];
    copy_text(shown, sizeof shown, preset);
    cut_rightspace(shown);
    if (r == 1 && item->value == nullptr) {
        mailset.smtp_port = decimal_value(out);
        show_text(*item->field, out);
    } else if (r == 1 && std::strcmp(out, shown) != 0) {
        const char* refusal = item->check != nullptr ? item->check(out) : nullptr;
        if (refusal != nullptr)
            mail_message("入力エラー", refusal, MAIL_MSG_ROW);
        else
            copy_text(item->value, MAIL_TEXT_LEN, out);
    }
    if (item->value != nullptr) show_value(*item->field, item->value);
    doupdate();
    return 0;
}

int auth_enter(LegacyRowContext& ctx, int) { return mail_auth_item(ctx.unit); }

int analog_enter(LegacyRowContext& ctx, int)
{
    if (SetAnalogMenu(ctx.unit) == -1) return -1;
    redraw(win_mailset);
    return 0;
}

int do_enter(LegacyRowContext& ctx, int item)
{
    if (SetDOAlertMenu(ctx.unit, item) == -1) return -1;
    redraw(win_mailset);
    return 0;
}

int apply_enter(LegacyRowContext& ctx, int) { return mail_apply_item(ctx.unit); }

#define TEXT_ROW(mode, wins, present) \
    {mode, wins, 1, 0, ROW_PREV, ROW_NEXT, present, nullptr, nullptr, text_enter, nullptr, nullptr}
#define DI_ROW(r)                                                                           \
    {MAILMODE_DI_FIRST + (r), &win_maildi[4 * (r)], 0, 0, ROW_PREV, ROW_NEXT,                \
     di_present<MAILMODE_DI_FIRST + (r)>, di_row_start, OnChangeSelDI, di_row_enter, di_row_leave, \
     di_row_items}

// mode, windows, items, vertical, up, down, present, start, onchange, enter, leave, items_fn
// Up at the first row wraps to "設定反映", Down at "設定反映" to the first row.
const LegacyRowSpec kRows[] = {
    TEXT_ROW(MAILMODE_SERVER, win_smtpset, nullptr),
    TEXT_ROW(MAILMODE_PORT, win_smtpport, nullptr),
    {MAILMODE_AUTH, win_smtpauth, 1, 0, ROW_PREV, ROW_NEXT, auth_present, nullptr, nullptr,
     auth_enter, nullptr, nullptr},
    TEXT_ROW(MAILMODE_FROM, win_mailfrom, nullptr),
    TEXT_ROW(MAILMODE_TO1, win_mailto1, nullptr),
    TEXT_ROW(MAILMODE_TO2, win_mailto2, nullptr),
    TEXT_ROW(MAILMODE_SUBJECT, win_message, nullptr),
    DI_ROW(0), DI_ROW(1), DI_ROW(2), DI_ROW(3), DI_ROW(4), DI_ROW(5), DI_ROW(6),
    {MAILMODE_ANALOG, win_analog, 1, 0, ROW_PREV, ROW_NEXT, analog_present, nullptr, nullptr,
     analog_enter, nullptr, nullptr},
    {MAILMODE_DO, win_doalert, 2, 0, ROW_PREV, ROW_NEXT, do_present, nullptr, nullptr, do_enter,
     nullptr, nullptr},
    {MAILMODE_APPLY, win_sendmailset, 1, 0, ROW_PREV, ROW_NEXT, nullptr, nullptr, nullptr,
     apply_enter, nullptr, nullptr},
};
constexpr int kRowCount = static_cast<int>(sizeof kRows / sizeof kRows[0]);

#undef TEXT_ROW
#undef DI_ROW

MailUnit unit_facts(int unit)
{
    MailUnit u{unit_model(unit), unit_modtype(unit), 0};
    int cols = 0;
    mail_di_layout(u.model, u.modtype, &u.di_rows, &cols);
    return u;
}

// One pass of the row of `mode`, as the item loops of the screen.
int mail_step(int unit, int mode)
{
    MailUnit u = unit_facts(unit);
    LegacyRowContext ctx{unit, &mailselect_mode, &u, kRows, kRowCount};
    mailselect_mode = mode;
    return run_row(ctx);
}

}  // namespace

int run_mail_rows(int unit)
{
    open_unit = unit;
    MailUnit u = unit_facts(unit);
    LegacyRowContext ctx{unit, &mailselect_mode, &u, kRows, kRowCount};
    const int r = run_rows(ctx);
    open_unit = -1;
    return r;
}

int mail_next_mode(int mode, Move move, int model, int modtype)
{
    MailUnit u{model, modtype, 0};
    int cols = 0;
    mail_di_layout(model, modtype, &u.di_rows, &cols);
    int current = mode;
    LegacyRowContext ctx{-1, &current, &u, kRows, kRowCount};
    if (!row_present(ctx, mode)) return 0;
    return row_target(ctx, mode, move);
}

const char* check_mail_from(const char* text)
{
    if (text == nullptr || text[0] == '\0') return nullptr;
    const char* at = std::strchr(text, '@');
    if (at == nullptr) return "@マークがありません。";
    const size_t user = static_cast<size_t>(at - text);
    if (user == 0 || user > 23) return "ユーザー名部分の長さが不正です。";
    const size_t domain = std::strlen(at + 1);
    if (domain == 0 || domain > 23) return "ドメイン名部分の長さが不正です。";
    return nullptr;
}

const char* check_mail_to(const char* text)
{
    if (text == nullptr || text[0] == '\0') return nullptr;
    const char* at = std::strchr(text, '@');
    if (at == nullptr) return "@マークがありません。";
    if (at == text || at[1] == '\0') return "@マークの位置が不正です。";
    return nullptr;
}

int loop_smtpset(int unit) { return mail_step(unit, MAILMODE_SERVER); }
int loop_smtpport(int unit) { return mail_step(unit, MAILMODE_PORT); }
int loop_smtpauth(int unit) { return mail_step(unit, MAILMODE_AUTH); }
int loop_mailfrom(int unit) { return mail_step(unit, MAILMODE_FROM); }
int loop_mailto1() { return mail_step(open_unit, MAILMODE_TO1); }
int loop_mailto2() { return mail_step(open_unit, MAILMODE_TO2); }
int loop_setmsg(int unit) { return mail_step(unit, MAILMODE_SUBJECT); }
int loop_sendmailset(int unit) { return mail_step(unit, MAILMODE_APPLY); }
int loop_setdi(int unit, int mode) { return mail_step(unit, mode); }
int loop_analog(int unit) { return mail_step(unit, MAILMODE_ANALOG); }
int loop_doalert(int unit) { return mail_step(unit, MAILMODE_DO); }
