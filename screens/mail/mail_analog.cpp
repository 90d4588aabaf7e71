// The analog inputs on the mail alert screen: reading their thresholds (and,
// on model 10, the DO alerts and the input ranges) at opening, the
// threshold window in percent, and writing thresholds and DO alerts.
#include "screens/mail/KIVRAMailSet.h"
#include "screens/mail/mail_screen.h"

#include "screens/legacy_driver.h"
#include "base/DebugLog.h"
#include "ui/NQ_Forms.h"
#include "ui/NQ_Menu.h"
#include "ui/colour_pairs.h"
#include "ui/form_ids.h"

WINDOW* win_analogset[5 * MAIL_AI_INPUTS + 1];  // window, then per input a group of five
WINDOW* win_analogOK[2];

namespace {

int cur_analog = 1;  // the column last used in the threshold window

const char* const kLed[2] = {"範囲内", "範囲外"};
const char* const kMail[3] = {"無効", "点灯時", "消灯時"};

// ---- opening reads and apply writes ----

template <int N>
bool has_input(int unit, const void*)
{
    return N < mail_ai_inputs(unit_model(unit));
}
bool any_input(int unit, const void*) { return mail_ai_inputs(unit_model(unit)) > 0; }
bool has_do(int unit, const void*) { return unit_model(unit) == 10; }

template <int N>
int read_threshold(int unit, void*)
{
    MailSet& m = mailset;
    return GetADCThreshold(unit, N, &m.ai_led[N], &m.ai_mail[N], &m.ai_high[N], &m.ai_low[N]);
}
template <int D>
int read_do(int unit, void*)
{
    MailSet& m = mailset;
    return GetDOalertset(unit, D, &m.do_enable[D], &m.do_ai[D], &m.do_dir[D], &m.do_width[D]);
}
template <int N>
int read_range(int unit, void*)
{
    return GetAIrange(unit, N, &mailset.ai_range[N]);
}
template <int N>
int write_threshold(int unit, void*)
{
    const MailSet& m = mailset;
    return SetADCThreshold(unit, N, m.ai_led[N], m.ai_mail[N], m.ai_high[N], m.ai_low[N]);
}
template <int D>
int write_do(int unit, void*)
{
    const MailSet& m = mailset;
    return SendDOalertset(unit, D, m.do_enable[D], m.do_ai[D], m.do_dir[D], m.do_width[D]);
}

#define READ_AI(n) {read_threshold<n>, 20, "通信エラー", MAIL_MSG_ROW, "getadcthreshold failed\n", has_input<n>}
#define READ_DO(d) {read_do<d>, 20, "通信エラー", MAIL_MSG_ROW, "getdoalertset failed\n", has_do}
#define READ_RANGE(n) {read_range<n>, 20, "通信エラー", MAIL_MSG_ROW, "getairange failed\n", has_do}
#define WRITE_AI(n)                                                                            \
    {write_threshold<n>, 0, "通信エラー", MAIL_APPLY_ROW, "threshold setting send error\n", \
     has_input<n>},                                                                           \
    {nullptr, 20, nullptr, 0, nullptr, has_input<n>}
#define WRITE_DO(d) \
    {write_do<d>, 0, "通信エラー", MAIL_APPLY_ROW, "DOalert setting send error\n", has_do}, \
    {nullptr, 20, nullptr, 0, nullptr, has_do}

const Step kReads[] = {
    READ_AI(0),    READ_AI(1),    READ_AI(2),    {nullptr, 20, nullptr, 0, nullptr, any_input},
    READ_DO(0),    READ_DO(1),    READ_RANGE(0), READ_RANGE(1), READ_RANGE(2),
    {nullptr, 20, nullptr, 0, nullptr, has_do},
};
const Step kWrites[] = {WRITE_AI(0), WRITE_AI(1), WRITE_AI(2), WRITE_DO(0), WRITE_DO(1)};

#undef READ_AI
#undef READ_DO
#undef READ_RANGE
#undef WRITE_AI
#undef WRITE_DO

// ---- the threshold window ----

bool three_inputs(int unit) { return mail_ai_inputs(unit_model(unit)) == 3; }
bool four_columns(int unit) { return mail_ai_columns(unit_model(unit)) == 4; }
bool three_columns(int unit) { return mail_ai_columns(unit_model(unit)) == 3; }
bool four_cells_3(int unit) { return three_inputs(unit) && four_columns(unit); }

#define CELL(slot, row, col, present) LAYOUT_ITEM(&win_analogset[slot], row, col, 10, nullptr, present)
#define ROW_CELLS(i, present)                                        \
    CELL(5 * (i) + 1, 4 + 2 * (i), 10, present),                     \
    CELL(5 * (i) + 2, 4 + 2 * (i), 22, present),                     \
    CELL(5 * (i) + 3, 4 + 2 * (i), 34, present)

const LegacyWindowSpec kWindow[] = {
    {&win_analogset[0], -1, 4, 2, 16, 76, PAIR_BASE, nullptr, true, nullptr},
    LAYOUT_LABEL(0, 1, "アナログ閾値設定", nullptr),
    LAYOUT_LABEL(2, 3, "       閾値Low[%]  閾値High[%] LED点灯条件 AIメール送信", four_columns),
    LAYOUT_LABEL(2, 3, "       閾値Low[%]  閾値High[%] LED点灯条件", three_columns),
    LAYOUT_LABEL(4, 3, "Ch1 :", nullptr),
    LAYOUT_LABEL(6, 3, "Ch2 :", nullptr),
    LAYOUT_LABEL(8, 3, "Ch3 :", three_inputs),
    ROW_CELLS(0, nullptr),
    CELL(4, 4, 46, four_columns),
    ROW_CELLS(1, nullptr),
    CELL(9, 6, 46, four_columns),
    ROW_CELLS(2, three_inputs),
    CELL(14, 8, 46, four_cells_3),
    LAYOUT_ITEM(&win_analogOK[1], 11, 28, 10, "OK", nullptr),
};

#undef CELL
#undef ROW_CELLS

struct Thresholds {
    int low[MAIL_AI_INPUTS];
    int high[MAIL_AI_INPUTS];
    int led[MAIL_AI_INPUTS];
    int mail[MAIL_AI_INPUTS];
};

void show_input(const Thresholds& t, int i, int columns)
{
    char text[THRESHOLD_TEXT_LEN];
    DecodeThresholdStr(t.low[i], text);
    show_text(win_analogset[5 * i + 1], text);
    DecodeThresholdStr(t.high[i], text);
    show_text(win_analogset[5 * i + 2], text);
    show_text(win_analogset[5 * i + 3], choice_text(kLed, 2, t.led[i]));
    if (columns == 4) show_text(win_analogset[5 * i + 4], choice_text(kMail, 3, t.mail[i]));
}

void redraw_window()
{
    redraw(win_mailset);
    redraw(win_analogset[0]);
}

// Edits a threshold of input i in percent: -1 after F9, else 0.
int edit_threshold(unsigned form, int row, int col, int* code)
{
    char preset[THRESHOLD_TEXT_LEN];
    char out[FORM_TEXT_MAX] = {};
    DecodeThresholdStr(*code, preset);
    const int r = edit_form(form, row, col, preset, out, sizeof out, win_mailset);
    redraw_window();
    if (r == MENU_QUIT) return -1;
    if (r == 1) *code = EncodeThresholdStr(out);
    return 0;
}

// Chooses one of n choices for *value: -1 after F9, else 0.
int choose_value(unsigned form, int row, int col, int n, int* value)
{
    const int k = choose_form(form, row, col, choice_start(*value, n), win_mailset);
    redraw_window();
    if (k == MENU_QUIT) return -1;
    if (k >= 1 && k <= n) *value = k - 1;
    return 0;
}

}  // namespace

int mail_ai_inputs(int model)
{
    if (model == 8 || model == 10 || model == 11) return 3;
    return model == 9 ? 2 : 0;
}

int mail_ai_columns(int model) { return model == 8 || model == 10 ? 4 : 3; }

int GetAIrange(int unit, int input, int* range)
{
    uint8_t request[4];
    uint8_t reply[6] = {};
    BuildRangeRead(input, request);
    if (SendRecvRaw(unit, sizeof request, request, sizeof reply, reply) != 0) return -1;
    if (range != nullptr) *range = ParseRangeReply(reply);
    return 0;
}

int read_analog_settings(int unit)
{
    PrnDebug("Get Analog Setting info\n");
    return run_steps(kReads, unit, nullptr, win_mailset);
}

int write_analog_settings(int unit) { return run_steps(kWrites, unit, nullptr, win_mailset); }

int OnChangeCurAna(int column)
{
    cur_analog = column;
    return 0;
}

int SetAnalogMenu(int unit)
{
    const int inputs = mail_ai_inputs(unit_model(unit));
    const int columns = mail_ai_columns(unit_model(unit));
    if (inputs == 0) return -2;
    Thresholds t{};
    for (int i = 0; i < inputs; i++) {
        t.low[i] = mailset.ai_low[i];
        t.high[i] = mailset.ai_high[i];
        t.led[i] = mailset.ai_led[i];
        t.mail[i] = mailset.ai_mail[i];
    }
    ScreenWindows windows(kWindow, unit);
    if (!windows.ok()) return -2;
    for (int i = 0; i < inputs; i++) show_input(t, i, columns);
    doupdate();

    int r = 1;
    cur_analog = 1;
    for (;;) {
        const bool ok_row = r > inputs;
        const MenuResult m = menu_result(
            ok_row ? select_menu(win_analogOK, 1, 0, MENU_LEAVE_BOTH, 0, 1, nullptr)
                   : select_menu(&win_analogset[5 * (r - 1)], columns, 0, MENU_LEAVE_BOTH, 0,
                                 cur_analog, OnChangeCurAna));
        if (m.act == Act::Quit) return -1;
        if (m.act == Act::Esc) return -2;
        if (m.act == Act::Up) r = r == 1 ? inputs + 1 : r - 1;
        if (m.act == Act::Down) r = r == inputs + 1 ? 1 : r + 1;
        if (m.act != Act::Chosen) continue;
        if (ok_row) {
            for (int i = 0; i < inputs; i++) {
                mailset.ai_low[i] = t.low[i];
                mailset.ai_high[i] = t.high[i];
                mailset.ai_led[i] = t.led[i];
                if (columns == 4) mailset.ai_mail[i] = t.mail[i];
            }
            return 0;
        }
        const int i = r - 1;
        int q = 0;
        switch (m.item) {
        case 1: q = edit_threshold(FORM_THRESH_LOW, 2 * r + 6, 5, &t.low[i]); break;
        case 2: q = edit_threshold(FORM_THRESH_HIGH, 2 * r + 6, 15, &t.high[i]); break;
        case 3: q = choose_value(FORM_LED_CONDITION, 2 * r + 5, 20, 2, &t.led[i]); break;
        default: q = choose_value(FORM_MAIL_MODE, 2 * r + 5, 30, 3, &t.mail[i]); break;
        }
        if (q < 0) return -1;
        cur_analog = m.item;
        show_input(t, i, columns);
        doupdate();
    }
}
