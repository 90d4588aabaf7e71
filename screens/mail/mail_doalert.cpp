// The DO alerts of model 10: the "DJ"/"DL"/"DS" exchanges and the window
// of one DO, whose thresholds and width are shown in the unit of the
// watched input's range. Low, High and the LED condition belong to the
// watched input and are the same values the threshold window edits.
#include "screens/mail/KIVRAMailSet.h"
#include "screens/mail/mail_screen.h"

#include "screens/legacy_driver.h"
#include "base/DebugLog.h"
#include "ui/NQ_Forms.h"
#include "ui/NQ_Menu.h"
#include "ui/colour_pairs.h"
#include "ui/form_ids.h"

#include <cstdio>
#include <unistd.h>

WINDOW* win_doalertset[9];   // window, items 1..8
WINDOW* win_doalertunit[3];  // unit of Low, High and the width

namespace {

const char* const kLed[2] = {"範囲内", "範囲外"};

#define ITEM(k, row, col, cols, text) LAYOUT_ITEM(&win_doalertset[k], row, col, cols, text, nullptr)
#define UNIT(k, row) {&win_doalertunit[k], 0, row, 34, 1, 8, 0, nullptr, false, nullptr}
#define TEXT(row, col, text) LAYOUT_LABEL(row, col, text, nullptr)

const LegacyWindowSpec kWindow[] = {
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

// The window's copies. The watched input's values exist only for inputs
// 0..2; a unit may report up to 7, which then shows empty texts.
struct DoAlert {
    int enable, input, direction, width;
    int led, low, high, range;
};

bool known_input(int input) { return input >= 0 && input < MAIL_AI_INPUTS; }

void load_input(DoAlert& a)
{
    if (known_input(a.input)) {
        a.led = mailset.ai_led[a.input];
        a.low = mailset.ai_low[a.input];
        a.high = mailset.ai_high[a.input];
        a.range = mailset.ai_range[a.input];
    } else {
        a.led = -1, a.low = 0, a.high = 0, a.range = -1;
    }
}

void show_input_values(const DoAlert& a)
{
    char text[THRESHOLD_TEXT_LEN];
    char ai[16] = "";
    if (known_input(a.input)) std::snprintf(ai, sizeof ai, "AI%d", a.input + 1);
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

void show_all(const DoAlert& a)
{
    show_text(win_doalertset[1], a.enable == 1 ? "開始" : "停止");
    show_input_values(a);
    show_text(win_doalertset[7], a.direction == 1 ? "ON優先" : "OFF優先");
    doupdate();
}

// A threshold (is_width 0) or the width in the range's unit: -1 after F9, else 0.
int edit_in_unit(DoAlert& a, int* code, int is_width)
{
    const unsigned form = do_alert_form(a.range, is_width);
    if (form >= FORM_COUNT) {
        // A range the unit reported but this program has no form for.
        PrnDebug("AI range select error\n");
        return 0;
    }
    char preset[THRESHOLD_TEXT_LEN];
    char out[FORM_TEXT_MAX] = {};
    DecodeThresholdStrRange(*code, preset, a.range, is_width);
    const int r = edit_form(form, is_width ? 9 : 5, 15, preset, out, sizeof out, win_mailset);
    RefreshParents_DO();
    if (r == MENU_QUIT) return -1;
    if (r == 1) *code = EncodeThresholdStrRange(out, a.range, is_width);
    return 0;
}

// One of the choice items: the choice k (1..n) or 0 for none, -1 after F9.
int choose(unsigned form, int row, int start, int n)
{
    const int k = choose_form(form, row, 15, start, win_mailset);
    RefreshParents_DO();
    if (k == MENU_QUIT) return -1;
    return k >= 1 && k <= n ? k : 0;
}

}  // namespace

int GetDOalertset(int unit, int d, int* enable, int* input, int* direction, int* width)
{
    uint8_t request[4];
    uint8_t reply[11] = {};
    BuildDOAlertRead(d, request);
    if (SendRecvRaw(unit, sizeof request, request, sizeof reply, reply) != 0) return -1;
    int e = 0, i = 0, dir = 0, w = 0;
    if (ParseDOAlertReply(reply, &e, &i, &dir, &w) != 0) return -1;
    *enable = e, *input = i, *direction = dir, *width = w;
    return 0;
}

int SendDOalertset(int unit, int d, int enable, int input, int direction, int width)
{
    uint8_t part1[10];
    uint8_t reply1[10] = {};
    BuildDOAlertWrite(d, input, direction, width, part1);
    if (SendRecvRaw(unit, sizeof part1, part1, sizeof reply1, reply1) != 0) return -1;
    usleep(20 * 1000);
    uint8_t part2[5];
    uint8_t reply2[5] = {};
    BuildDOAlertStart(d, enable, part2);
    return SendRecvRaw(unit, sizeof part2, part2, sizeof reply2, reply2) == 0 ? 0 : -1;
}

void RefreshParents_DO()
{
    redraw(win_mailset);
    redraw(win_doalertset[0]);
}

int SetDOAlertMenu(int, int k)
{
    if (k < 1 || k > MAIL_DO_COUNT) return 0;
    const int d = k - 1;
    DoAlert a{mailset.do_enable[d], mailset.do_ai[d], mailset.do_dir[d], mailset.do_width[d],
              0, 0, 0, 0};
    load_input(a);

    ScreenWindows windows(kWindow, -1);
    if (!windows.ok()) return 0;
    char title[48];
    std::snprintf(title, sizeof title, "DO%d アラート条件設定", k);
    mvwaddstr(win_doalertset[0], 0, 1, title);
    wnoutrefresh(win_doalertset[0]);
    show_all(a);

    int item = 1;
    for (;;) {
        const MenuResult m = menu_result(select_menu(win_doalertset, 8, 1, 0, 0, item, nullptr));
        if (m.act == Act::Quit) return -1;
        if (m.act != Act::Chosen) return 0;  // Esc: nothing is stored
        item = m.item;
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
        case 4: c = edit_in_unit(a, &a.low, 0); break;
        case 5: c = edit_in_unit(a, &a.high, 0); break;
        case 6: c = edit_in_unit(a, &a.width, 1); break;
        case 7:
            c = choose(FORM_DO_DIRECTION, 10, a.direction == 1 ? 1 : 2, 2);
            if (c > 0) a.direction = c == 1 ? 1 : 0;
            break;
        default:
            mailset.do_enable[d] = a.enable;
            mailset.do_ai[d] = a.input;
            mailset.do_width[d] = a.width;
            mailset.do_dir[d] = a.direction;
            if (known_input(a.input)) {
                mailset.ai_led[a.input] = a.led;
                mailset.ai_low[a.input] = a.low;
                mailset.ai_high[a.input] = a.high;
                mailset.ai_range[a.input] = a.range;
            }
            return 0;
        }
        if (c < 0) return -1;
        show_all(a);
    }
}
