// The per-input screen of the second-generation analog unit: the input range
// and, while it is "熱電対", the thermocouple type, cold-junction
// compensation, burn-out detection and output, and the temperature output
// scale. Edits stay on this screen until " OK " hands them to etcset.
#include "screens/etc/KIVRAEtc.h"
#include "screens/etc/etc_screen.h"

#include "ui/NQ_Forms.h"
#include "ui/NQ_Menu.h"
#include "ui/form_ids.h"

#include <cstdio>
#include <cstdlib>

namespace {

constexpr int kRangeChoices = 7;
constexpr int kTypeChoices = 8;
constexpr int kScaleChoices = 4;
constexpr int kFormCol = 15;
constexpr int kTcItems = 7;

// Rows of the screen: the range, the seven thermocouple values, " OK ".
enum { V2ROW_RANGE = 1, V2ROW_TC = 2, V2ROW_OK = 9 };

// The open channel screen: its input and the values edited on a copy.
struct ChannelScreen {
    int c;             // the input, 0..2
    AnalogInputV2 in;  // its values while the screen is open
    int tc_item = 1;   // the thermocouple item the list starts on
};

#define V2_VALUE(slot, row)                                         \
    {                                                               \
        slot, 0, row, 17, 1, 16, PAIR_ITEM, nullptr, false, nullptr \
    }

const WindowSpec<ChannelScreen> kChannelLayout[] = {
    {&win_v2etcset[0], -1, 4, 2, 17, 76, PAIR_BASE, nullptr, true, nullptr},
    LAYOUT_LABEL(2, 3, "入力レンジ  :", nullptr),
    LAYOUT_LABEL(4, 3, "熱電対タイプ:", nullptr),
    LAYOUT_LABEL(5, 3, "冷接点補償  :", nullptr),
    LAYOUT_LABEL(6, 3, "断線検知    :", nullptr),
    LAYOUT_LABEL(7, 3, "断線時出力  :", nullptr),
    LAYOUT_LABEL(9, 2, "温度延長出力スケール設定", nullptr),
    LAYOUT_LABEL(11, 3, "レンジ      :", nullptr),
    LAYOUT_LABEL(12, 3, "下限温度    :", nullptr),
    LAYOUT_LABEL(13, 3, "上限温度    :", nullptr),
    V2_VALUE(&win_v2etcrange[1], 2),
    V2_VALUE(&win_v2etcset[1], 4),
    V2_VALUE(&win_v2etcset[2], 5),
    V2_VALUE(&win_v2etcset[3], 6),
    V2_VALUE(&win_v2etcset[4], 7),
    V2_VALUE(&win_v2etcset[5], 11),
    V2_VALUE(&win_v2etcset[6], 12),
    V2_VALUE(&win_v2etcset[7], 13),
    {&win_v2etcOK[1], 0, 15, 30, 1, 10, PAIR_ITEM, " OK ", false, nullptr},
};

#undef V2_VALUE

// The three on/off values: their form, its row and their texts.
struct FlagItem {
    unsigned form;
    int row;
    bool AnalogInputV2::*value;
    const char* on;
    const char* off;
};
const FlagItem kFlags[3] = {
    {FORM_TC_CJC, 6, &AnalogInputV2::cold_junction, "有効", "無効"},
    {FORM_TC_BURNOUT, 7, &AnalogInputV2::burnout_detection, "有効", "無効"},
    {FORM_TC_BURNOUT_OUT, 7, &AnalogInputV2::burnout_high, "最大値", "最小値"},
};

void show_flag(const AnalogInputV2& in, int f)
{
    const FlagItem& fl = kFlags[f];
    show_text(win_v2etcset[2 + f], in.*fl.value ? fl.on : fl.off);
}

void show_temperature(WINDOW* w, const char* format, int tenths)
{
    char text[24];
    std::snprintf(text, sizeof text, format, tenths * 0.1);
    show_text(w, text);
}

void show_channel(const AnalogInputV2& in)
{
    show_text(win_v2etcrange[1], etc_choice_text(EtcChoice::RangeV2, in.range));
    show_text(win_v2etcset[1], etc_choice_text(EtcChoice::TcType, in.tc_type));
    for (int f = 0; f < 3; f++) show_flag(in, f);
    show_text(win_v2etcset[5], etc_choice_text(EtcChoice::Scale, in.scale));
    show_temperature(win_v2etcset[6], "%+.1f", in.scale_low);
    show_temperature(win_v2etcset[7], "%+.1f", in.scale_high);
}

// A choice among the first `choices` of a list form of this screen.
Outcome choose_code(unsigned form, int row, int choices, int& code, WINDOW* w, EtcChoice table)
{
    const int k = choose_form(form, row, kFormCol, choice_start(code, choices), nullptr);
    if (k == MENU_QUIT) return Outcome::Quit;
    if (k >= 1 && k <= choices) {
        code = k - 1;
        show_text(w, etc_choice_text(table, code));
    }
    return Outcome::Stay;
}

Outcome choose_flag(AnalogInputV2& in, int f)
{
    const FlagItem& fl = kFlags[f];
    const int k = choose_form(fl.form, fl.row, kFormCol, in.*fl.value ? 1 : 2, nullptr);
    if (k == MENU_QUIT) return Outcome::Quit;
    if (k == 1 || k == 2) in.*fl.value = k == 1;
    show_flag(in, f);
    return Outcome::Stay;
}

Outcome edit_temperature(unsigned form, int& tenths, WINDOW* w)
{
    char preset[24];
    std::snprintf(preset, sizeof preset, "%.1f", tenths * 0.1);
    char text[FORM_TEXT_MAX] = {};
    const int r =
        edit_form(form, 9, kFormCol, preset, text, static_cast<int>(sizeof text), nullptr);
    if (r == MENU_QUIT) return Outcome::Quit;
    char* end = nullptr;
    const double degrees = std::strtod(text, &end);
    if (r == 1 && end != text) {
        tenths = temp_tenths_from_degrees(degrees);
        show_temperature(w, "%.1f", tenths);
    }
    return Outcome::Stay;
}

// ---- rows ----

Outcome range_enter(ChannelScreen& s, int, int)
{
    if (choose_code(FORM_ADC_RANGE_V2, 2, kRangeChoices, s.in.range, win_v2etcrange[1],
                    EtcChoice::RangeV2) == Outcome::Quit)
        return Outcome::Quit;
    EnableTCset(s.in.range);
    RefreshParents();
    return Outcome::Stay;
}

// Down from the range starts the thermocouple list on its first item.
void range_leave(ChannelScreen& s, int) { s.tc_item = 1; }

bool tc_present(const ChannelScreen& s) { return s.in.range == RANGE_THERMOCOUPLE; }
int tc_start(ChannelScreen& s, int) { return s.tc_item; }

Outcome tc_item_enter(ChannelScreen& s, int item)
{
    AnalogInputV2& in = s.in;
    switch (item) {
    case 1:
        return choose_code(FORM_TC_TYPE, 4, kTypeChoices, in.tc_type, win_v2etcset[1],
                           EtcChoice::TcType);
    case 2:
    case 3:
    case 4:
        return choose_flag(in, item - 2);
    case 5:
        return choose_code(FORM_TF_MODE, 8, kScaleChoices, in.scale, win_v2etcset[5],
                           EtcChoice::Scale);
    case 6:
        return edit_temperature(FORM_TF_LOW, in.scale_low, win_v2etcset[6]);
    case 7:
        return edit_temperature(FORM_TF_HIGH, in.scale_high, win_v2etcset[7]);
    default:
        return Outcome::Stay;
    }
}

Outcome tc_enter(ChannelScreen& s, int, int item)
{
    s.tc_item = item;
    if (tc_item_enter(s, item) == Outcome::Quit) return Outcome::Quit;
    RefreshParents();
    return Outcome::Stay;
}

Outcome ok_enter(ChannelScreen& s, int, int)
{
    etcset.ai_v2.input[s.c] = s.in;
    return Outcome::Done;
}

// Up from " OK " starts the thermocouple list on its last item.
void ok_leave(ChannelScreen& s, int) { s.tc_item = kTcItems; }

// Up and Down walk the three rows in order, both ends wrapping; the
// thermocouple row is skipped while the range is not "熱電対".
const RowSpec<ChannelScreen> kChannelRows[] = {
    {.mode = V2ROW_RANGE, .wins = win_v2etcrange, .enter = range_enter, .leave = range_leave},
    {.mode = V2ROW_TC,
     .wins = win_v2etcset,
     .items = kTcItems,
     .vertical = true,
     .present = tc_present,
     .start = tc_start,
     .enter = tc_enter},
    {.mode = V2ROW_OK, .wins = win_v2etcOK, .enter = ok_enter, .leave = ok_leave},
};

}  // namespace

int EnableTCset(int range)
{
    for (int k = 1; k <= kTcItems; k++)
        set_pair(win_v2etcset[k], range == RANGE_THERMOCOUPLE ? PAIR_ITEM : PAIR_GREY);
    doupdate();
    return 0;
}

int SetV2EtcMenu(int, int n)
{
    if (n < 1 || n > ANALOG_CHANNELS) return 0;
    ChannelScreen s{n - 1, etcset.ai_v2.input[n - 1]};
    Outcome o = Outcome::Back;
    {
        ScreenWindows windows(kChannelLayout, s);
        if (win_v2etcset[0] != nullptr) {
            char title[40];
            std::snprintf(title, sizeof title, "アナログ入力 AI%d 設定", n);
            mvwaddstr(win_v2etcset[0], 0, 1, title);
            wnoutrefresh(win_v2etcset[0]);
        }
        show_channel(s.in);
        EnableTCset(s.in.range);
        int mode = V2ROW_RANGE;
        if (windows.ok()) o = run_rows(kChannelRows, s, mode);
        doupdate();
    }
    return o == Outcome::Quit ? -1 : 0;
}
