// The threshold window of the mail alert screen: per analog input Low and
// High in percent, the LED condition and (models 8, 10) the mail mode, one
// row per input and an "OK" row. Its copies reach mailset only by "OK".
#include "screens/mail/KIVRAMailSet.h"
#include "screens/mail/mail_screen.h"

#include "device/KIVRAXPort.h"
#include "ui/NQ_Forms.h"
#include "ui/NQ_Menu.h"
#include "ui/colour_pairs.h"
#include "ui/form_ids.h"

WINDOW* win_analogset[5 * MAIL_AI_INPUTS + 1];  // window, then per input a group of five
WINDOW* win_analogOK[2];

namespace {

int cur_analog = 1;  // the column last used, where the next row starts

const char* const kLed[2] = {"範囲内", "範囲外"};
const char* const kMail[3] = {"無効", "点灯時", "消灯時"};

struct AnalogWindow {
    int inputs;          // 2 or 3
    int columns;         // 4 with the mail mode, else 3
    AnalogThresholds t;  // the copies edited
};

constexpr int kOkRow = MAIL_AI_INPUTS + 1;  // the rows are the inputs 1..3, then "OK"

bool three_inputs(const AnalogWindow& w) { return w.inputs == 3; }
bool four_columns(const AnalogWindow& w) { return w.columns == 4; }
bool three_columns(const AnalogWindow& w) { return w.columns == 3; }
bool four_cells_3(const AnalogWindow& w) { return three_inputs(w) && four_columns(w); }

#define CELL(slot, row, col, present) \
    LAYOUT_ITEM(&win_analogset[slot], row, col, 10, nullptr, present)
#define ROW_CELLS(i, present)                                                                 \
    CELL(5 * (i) + 1, 4 + 2 * (i), 10, present), CELL(5 * (i) + 2, 4 + 2 * (i), 22, present), \
        CELL(5 * (i) + 3, 4 + 2 * (i), 34, present)

const WindowSpec<AnalogWindow> kWindow[] = {
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

void show_input(const AnalogWindow& w, int i)
{
    char text[THRESHOLD_TEXT_LEN];
    DecodeThresholdStr(w.t.ai_low[i], text);
    show_text(win_analogset[5 * i + 1], text);
    DecodeThresholdStr(w.t.ai_high[i], text);
    show_text(win_analogset[5 * i + 2], text);
    show_text(win_analogset[5 * i + 3], choice_text(kLed, 2, w.t.ai_led[i]));
    if (w.columns == 4) show_text(win_analogset[5 * i + 4], choice_text(kMail, 3, w.t.ai_mail[i]));
}

void redraw_window()
{
    redraw(win_mailset);
    redraw(win_analogset[0]);
}

// Edits a threshold in percent at row, col of the screen.
Outcome edit_threshold(unsigned form, int row, int col, int& code)
{
    char preset[THRESHOLD_TEXT_LEN];
    char out[FORM_TEXT_MAX] = {};
    DecodeThresholdStr(code, preset);
    const int r = edit_form(form, row, col, preset, out, sizeof out, win_mailset);
    redraw_window();
    if (r == MENU_QUIT) return Outcome::Quit;
    if (r == 1) code = EncodeThresholdStr(out);
    return Outcome::Stay;
}

// Chooses one of n choices for value.
Outcome choose_value(unsigned form, int row, int col, int n, int& value)
{
    const int k = choose_form(form, row, col, choice_start(value, n), win_mailset);
    redraw_window();
    if (k == MENU_QUIT) return Outcome::Quit;
    if (k >= 1 && k <= n) value = k - 1;
    return Outcome::Stay;
}

// Enter on a cell of input row r (1..): its form just above the row.
Outcome cell_enter(AnalogWindow& w, int r, int column)
{
    const int i = r - 1;
    AnalogThresholds& t = w.t;
    Outcome o = Outcome::Stay;
    switch (column) {
    case 1:
        o = edit_threshold(FORM_THRESH_LOW, 2 * r + 6, 5, t.ai_low[i]);
        break;
    case 2:
        o = edit_threshold(FORM_THRESH_HIGH, 2 * r + 6, 15, t.ai_high[i]);
        break;
    case 3:
        o = choose_value(FORM_LED_CONDITION, 2 * r + 5, 20, 2, t.ai_led[i]);
        break;
    default:
        o = choose_value(FORM_MAIL_MODE, 2 * r + 5, 30, 3, t.ai_mail[i]);
        break;
    }
    if (o == Outcome::Quit) return o;
    cur_analog = column;
    show_input(w, i);
    doupdate();
    return Outcome::Stay;
}

// "OK": the copies are stored (the mail mode only where the window shows it).
Outcome ok_enter(AnalogWindow& w, int, int)
{
    AnalogThresholds& m = mailset.thresholds;
    for (int i = 0; i < w.inputs; i++) {
        m.ai_low[i] = w.t.ai_low[i];
        m.ai_high[i] = w.t.ai_high[i];
        m.ai_led[i] = w.t.ai_led[i];
        if (w.columns == 4) m.ai_mail[i] = w.t.ai_mail[i];
    }
    return Outcome::Done;
}

int start_column(AnalogWindow&, int) { return cur_analog; }
int columns_of(const AnalogWindow& w, int) { return w.columns; }

template <int R>
constexpr RowSpec<AnalogWindow> input_row(Present<AnalogWindow> present)
{
    return {.mode = R,
            .wins = &win_analogset[5 * (R - 1)],
            .present = present,
            .start = start_column,
            .onchange = OnChangeCurAna,
            .enter = cell_enter,
            .items_of = columns_of};
}

// Down from "OK" wraps to the first input, Up from the first input to "OK".
const RowSpec<AnalogWindow> kRows[] = {
    input_row<1>(nullptr),
    input_row<2>(nullptr),
    input_row<3>(three_inputs),
    {.mode = kOkRow, .wins = win_analogOK, .enter = ok_enter},
};

}  // namespace

int OnChangeCurAna(int column)
{
    cur_analog = column;
    return 0;
}

int SetAnalogMenu(int unit)
{
    const MailPresence has = mail_presence(unit_model(unit), unit_modtype(unit));
    if (has.ai_inputs == 0) return -2;
    AnalogWindow w{has.ai_inputs, has.ai_mail ? 4 : 3, mailset.thresholds};
    ScreenWindows windows(kWindow, w);
    if (!windows.ok()) return -2;
    for (int i = 0; i < w.inputs; i++) show_input(w, i);
    doupdate();

    cur_analog = 1;
    int row = 1;
    const Outcome o = run_rows(kRows, w, row);
    return o == Outcome::Done ? 0 : screen_result(o);
}
