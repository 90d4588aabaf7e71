// The window of one DO alert of model 10, whose thresholds and width are
// shown in the unit of the watched input's range. Low, High and the LED
// condition belong to the watched input and are the same values the
// threshold window edits.
#include "screens/mail/KIVRAMailSet.h"
#include "screens/mail/mail_screen.h"

#include "base/DebugLog.h"
#include "ui/NQ_Forms.h"
#include "ui/NQ_Menu.h"
#include "ui/colour_pairs.h"
#include "ui/form_ids.h"

#include <cstdio>

WINDOW* win_doalertset[9];   // window, items 1..8
WINDOW* win_doalertunit[3];  // unit of Low, High and the width

namespace {

const char* const kLed[2] = {"範囲内", "範囲外"};

// The window's copies. The watched input's values exist only for inputs
// 0..2; a unit may report up to 7, which then shows empty texts.
struct DoWindow {
    int d;  // 0 DO1, 1 DO2
    int enable, input, direction, width;
    int led, low, high, range;
};

#define ITEM(k, row, col, cols, text) LAYOUT_ITEM(&win_doalertset[k], row, col, cols, text, nullptr)
#define UNIT(k, row)                                                      \
    {                                                                     \
        &win_doalertunit[k], 0, row, 34, 1, 8, 0, nullptr, false, nullptr \
    }
#define TEXT(row, col, text) LAYOUT_LABEL(row, col, text, nullptr)

const WindowSpec<DoWindow> kWindow[] = {
    {&win_doalertset[0], -1, 4, 2, 17, 76, PAIR_BASE, nullptr, true, nullptr},
    TEXT(2, 3, "DOアラート :"),
    TEXT(4, 3, "監視対象AI :"),
    TEXT(5, 3, "LED点灯条件:"),
    TEXT(6, 3, "閾値Low    :"),
    TEXT(7, 3, "閾値High   :"),
    TEXT(9, 1, "ヒステリシス"),
    TEXT(10, 3, "      幅   :"),
    TEXT(11, 3, "      方向 :"),
    ITEM(1, 2, 17, 16, nullptr),
    ITEM(2, 4, 17, 16, nullptr),
    ITEM(3, 5, 17, 16, nullptr),
    ITEM(4, 6, 17, 16, nullptr),
    ITEM(5, 7, 17, 16, nullptr),
    ITEM(6, 10, 17, 16, nullptr),
    ITEM(7, 11, 17, 16, nullptr),
    ITEM(8, 13, 40, 10, " OK "),
    UNIT(0, 6),
    UNIT(1, 7),
    UNIT(2, 10),
};

#undef ITEM
#undef UNIT
#undef TEXT

bool known_input(int input) { return input >= 0 && input < MAIL_AI_INPUTS; }

void load_input(DoWindow& a)
{
    const AnalogThresholds& t = mailset.thresholds;
    if (known_input(a.input)) {
        a.led = t.ai_led[a.input];
        a.low = t.ai_low[a.input];
        a.high = t.ai_high[a.input];
        a.range = t.ai_range[a.input];
    } else {
        a.led = -1, a.low = 0, a.high = 0, a.range = -1;
    }
}

void show_input_values(const DoWindow& a)
{
    char text[THRESHOLD_TEXT_LEN];
    char ai[16];
    std::snprintf(ai, sizeof ai, "AI%d", a.input + 1);
    show_text(win_doalertset[2], ai);
    show_text(win_doalertset[3], choice_text(kLed, 2, a.led));
    DecodeThresholdStrRange(a.low, text, a.range, 0);
    show_text(win_doalertset[4], text);
    DecodeThresholdStrRange(a.high, text, a.range, 0);
    show_text(win_doalertset[5], text);
    DecodeThresholdStrRange(a.width, text, a.range, 1);
    show_text(win_doalertset[6], text);
    for (WINDOW* w : win_doalertunit) show_text(w, choice_text(RangeUnit, 8, a.range));
}

void show_all(DoWindow& a)
{
    show_text(win_doalertset[1], a.enable == 1 ? "開始" : "停止");
    show_input_values(a);
    show_text(win_doalertset[7], a.direction == 1 ? "ON優先" : "OFF優先");
    doupdate();
}

// A threshold (is_width 0) or the width in the range's unit.
Outcome edit_in_unit(DoWindow& a, int& code, int is_width)
{
    const unsigned form = do_alert_form(a.range, is_width);
    if (form >= FORM_COUNT) {
        // A range the unit reported but this program has no form for.
        PrnDebug("AI range select error\n");
        return Outcome::Stay;
    }
    char preset[THRESHOLD_TEXT_LEN];
    char out[FORM_TEXT_MAX] = {};
    DecodeThresholdStrRange(code, preset, a.range, is_width);
    const int r = edit_form(form, is_width ? 9 : 5, 15, preset, out, sizeof out, win_mailset);
    RefreshParents_DO();
    if (r == MENU_QUIT) return Outcome::Quit;
    if (r == 1) code = EncodeThresholdStrRange(out, a.range, is_width);
    return Outcome::Stay;
}

// One of the choice items: the choice k (1..n) or 0 for none, -1 after F9.
int choose(unsigned form, int row, int start, int n)
{
    const int k = choose_form(form, row, 15, start, win_mailset);
    RefreshParents_DO();
    if (k == MENU_QUIT) return -1;
    return k >= 1 && k <= n ? k : 0;
}

// Stores the window's values into the DO and the watched input.
Outcome store(const DoWindow& a)
{
    DoAlerts& o = mailset.do_alerts;
    o.do_enable[a.d] = a.enable;
    o.do_ai[a.d] = a.input;
    o.do_width[a.d] = a.width;
    o.do_dir[a.d] = a.direction;
    if (known_input(a.input)) {
        AnalogThresholds& t = mailset.thresholds;
        t.ai_led[a.input] = a.led;
        t.ai_low[a.input] = a.low;
        t.ai_high[a.input] = a.high;
        t.ai_range[a.input] = a.range;
    }
    return Outcome::Done;
}

Outcome do_chosen(DoWindow& a, int item)
{
    int c = 0;
    switch (item) {
    case 1:
        c = choose(FORM_DO_ALERT, 2, a.enable == 1 ? 1 : 2, 2);
        if (c > 0) a.enable = c == 1 ? 1 : 0;
        break;
    case 2:
        c = choose(FORM_DO_INPUT, 3, choice_start(a.input, 3), 3);
        // Another input brings its own values; changes to the former are dropped.
        if (c > 0 && c - 1 != a.input) {
            a.input = c - 1;
            load_input(a);
        }
        break;
    case 3:
        c = choose(FORM_LED_CONDITION, 4, choice_start(a.led, 2), 2);
        if (c > 0) a.led = c - 1;
        break;
    case 4:
        return edit_in_unit(a, a.low, 0);
    case 5:
        return edit_in_unit(a, a.high, 0);
    case 6:
        return edit_in_unit(a, a.width, 1);
    case 7:
        c = choose(FORM_DO_DIRECTION, 10, a.direction == 1 ? 1 : 2, 2);
        if (c > 0) a.direction = c == 1 ? 1 : 0;
        break;
    default:
        return store(a);
    }
    return c < 0 ? Outcome::Quit : Outcome::Stay;
}

}  // namespace

void RefreshParents_DO()
{
    redraw(win_mailset);
    redraw(win_doalertset[0]);
}

int SetDOAlertMenu(int, int k)
{
    if (k < 1 || k > MAIL_DO_COUNT) return 0;
    const DoAlerts& o = mailset.do_alerts;
    const int d = k - 1;
    DoWindow a{d, o.do_enable[d], o.do_ai[d], o.do_dir[d], o.do_width[d], 0, 0, 0, 0};
    load_input(a);

    ScreenWindows windows(kWindow, a);
    if (!windows.ok()) return 0;
    char title[48];
    std::snprintf(title, sizeof title, "DO%d アラート条件設定", k);
    mvwaddstr(win_doalertset[0], 0, 1, title);
    wnoutrefresh(win_doalertset[0]);
    show_all(a);
    // Esc leaves with nothing stored.
    return run_items(win_doalertset, 8, do_chosen, a, ListPlace::Chosen, show_all) == Outcome::Quit
               ? -1
               : 0;
}
