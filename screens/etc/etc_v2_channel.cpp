// The per-input screen of the second-generation analog unit: the input range
// and, while it is "熱電対", the thermocouple type, cold-junction
// compensation, burn-out detection and output, and the temperature output
// scale. Edits stay on this screen until " OK " hands them to etcset.
#include "screens/etc/KIVRAEtc.h"
#include "screens/etc/etc_parts.h"

#include "device/analog_commands.h"
#include "ui/form_catalogue.h"
#include "ui/NQ_Forms.h"
#include "ui/NQ_Menu.h"
#include "ui/form_ids.h"

#include <cstdio>
#include <cstdlib>

namespace {

constexpr int kThermocouple = 6;  // the range "熱電対"
constexpr int kRangeChoices = 7;
constexpr int kTypeChoices = 8;
constexpr int kModeChoices = 4;
constexpr int kFormCol = 15;

// Rows of the screen: the range, the seven thermocouple values, " OK ".
enum { V2ROW_RANGE = 1, V2ROW_TC = 2, V2ROW_OK = 9 };

#define V2_VALUE(slot, row)                                         \
    {                                                               \
        slot, 0, row, 17, 1, 16, PAIR_ITEM, nullptr, false, nullptr \
    }

const LegacyWindowSpec kChannelLayout[] = {
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

// The channel's values while its screen is open.
struct Channel {
    int c;
    int range, type, flags, mode, low, high;
    int tc_item;  // the thermocouple item the list starts on
};

Channel& channel_of(const LegacyRowContext& ctx) { return *static_cast<Channel*>(ctx.state); }

// The on/off texts of the three flag values.
struct FlagItem {
    unsigned form;
    int row;  // screen row of its form
    int bit;
    const char* on;
    const char* off;
};
const FlagItem kFlags[3] = {
    {FORM_TC_CJC, 6, 1, "有効", "無効"},
    {FORM_TC_BURNOUT, 7, 2, "有効", "無効"},
    {FORM_TC_BURNOUT_OUT, 7, 4, "最大値", "最小値"},
};

void show_flag(const Channel& ch, int f)
{
    const FlagItem& fl = kFlags[f];
    show_text(win_v2etcset[2 + f], (ch.flags & fl.bit) != 0 ? fl.on : fl.off);
}

void show_temperature(WINDOW* w, const char* format, int pattern)
{
    char text[24];
    std::snprintf(text, sizeof text, format, temp_tenths_from_pattern(pattern) * 0.1);
    show_text(w, text);
}

void show_channel(const Channel& ch)
{
    show_text(win_v2etcrange[1], choice_text(AdcRangeV2, 16, ch.range));
    show_text(win_v2etcset[1], choice_text(TCType, 16, ch.type));
    for (int f = 0; f < 3; f++) show_flag(ch, f);
    show_text(win_v2etcset[5], choice_text(TFMode, 16, ch.mode));
    show_temperature(win_v2etcset[6], "%+.1f", ch.low);
    show_temperature(win_v2etcset[7], "%+.1f", ch.high);
}

// A choice in a list form of this screen; -1 after F9, else 0 (*value set
// to the choice's index when one of `choices` was chosen).
int choose_index(unsigned form, int row, int choices, int* value, WINDOW* w,
                 const char* const* table)
{
    const int k = choose_form(form, row, kFormCol, choice_start(*value, choices), nullptr);
    if (k == MENU_QUIT) return -1;
    if (k >= 1 && k <= choices) {
        *value = k - 1;
        show_text(w, table[k - 1]);
    }
    return 0;
}

int choose_flag(Channel& ch, int f)
{
    const FlagItem& fl = kFlags[f];
    const int k = choose_form(fl.form, fl.row, kFormCol, (ch.flags & fl.bit) != 0 ? 1 : 2, nullptr);
    if (k == MENU_QUIT) return -1;
    if (k == 1) ch.flags |= fl.bit;
    if (k == 2) ch.flags &= ~fl.bit;
    show_flag(ch, f);
    return 0;
}

int edit_temperature(unsigned form, int* pattern, WINDOW* w)
{
    char preset[24];
    std::snprintf(preset, sizeof preset, "%.1f", temp_tenths_from_pattern(*pattern) * 0.1);
    char text[FORM_TEXT_MAX] = {};
    const int r =
        edit_form(form, 9, kFormCol, preset, text, static_cast<int>(sizeof text), nullptr);
    if (r == MENU_QUIT) return -1;
    char* end = nullptr;
    const double degrees = std::strtod(text, &end);
    if (r == 1 && end != text) {
        *pattern = temp_pattern_from_tenths(temp_tenths_from_degrees(degrees));
        show_temperature(w, "%.1f", *pattern);
    }
    return 0;
}

// ---- rows ----

int range_enter(LegacyRowContext& ctx, int)
{
    Channel& ch = channel_of(ctx);
    if (choose_index(FORM_ADC_RANGE_V2, 2, kRangeChoices, &ch.range, win_v2etcrange[1],
                     AdcRangeV2) < 0)
        return -1;
    EnableTCset(ch.range);
    RefreshParents();
    return 0;
}

// Down from the range starts the thermocouple list on its first item.
void range_leave(LegacyRowContext& ctx) { channel_of(ctx).tc_item = 1; }

bool tc_present(const LegacyRowContext& ctx) { return channel_of(ctx).range == kThermocouple; }
int tc_start(const LegacyRowContext& ctx) { return channel_of(ctx).tc_item; }

int tc_enter(LegacyRowContext& ctx, int item)
{
    Channel& ch = channel_of(ctx);
    ch.tc_item = item;
    int r = 0;
    switch (item) {
    case 1:
        r = choose_index(FORM_TC_TYPE, 4, kTypeChoices, &ch.type, win_v2etcset[1], TCType);
        break;
    case 2:
    case 3:
    case 4:
        r = choose_flag(ch, item - 2);
        break;
    case 5:
        r = choose_index(FORM_TF_MODE, 8, kModeChoices, &ch.mode, win_v2etcset[5], TFMode);
        break;
    case 6:
        r = edit_temperature(FORM_TF_LOW, &ch.low, win_v2etcset[6]);
        break;
    case 7:
        r = edit_temperature(FORM_TF_HIGH, &ch.high, win_v2etcset[7]);
        break;
    default:
        break;
    }
    if (r < 0) return -1;
    RefreshParents();
    return 0;
}

constexpr int kLeftWithOk = 2;

int ok_enter(LegacyRowContext& ctx, int)
{
    const Channel& ch = channel_of(ctx);
    etcset.ai_range[ch.c] = ch.range;
    etcset.tc_type[ch.c] = ch.type;
    etcset.tc_flags[ch.c] = ch.flags;
    etcset.tf_mode[ch.c] = ch.mode;
    etcset.tf_low[ch.c] = ch.low;
    etcset.tf_high[ch.c] = ch.high;
    return kLeftWithOk;
}

// Up from " OK " starts the thermocouple list on its last item.
void ok_leave(LegacyRowContext& ctx) { channel_of(ctx).tc_item = 7; }

// mode, windows, items, vertical, up, down, present, start, onchange, enter, leave, items_fn
const LegacyRowSpec kChannelRows[] = {
    {V2ROW_RANGE, win_v2etcrange, 1, 0, V2ROW_OK, V2ROW_TC, nullptr, nullptr, nullptr, range_enter,
     range_leave, nullptr},
    {V2ROW_TC, win_v2etcset, 7, 1, V2ROW_RANGE, V2ROW_OK, tc_present, tc_start, nullptr, tc_enter,
     nullptr, nullptr},
    {V2ROW_OK, win_v2etcOK, 1, 0, V2ROW_TC, V2ROW_RANGE, nullptr, nullptr, nullptr, ok_enter,
     ok_leave, nullptr},
};

}  // namespace

int EnableTCset(int range)
{
    for (int k = 1; k <= 7; k++)
        set_pair(win_v2etcset[k], range == kThermocouple ? PAIR_ITEM : PAIR_GREY);
    doupdate();
    return 0;
}

int SetV2EtcMenu(int i, int n)
{
    if (n < 1 || n > ANALOG_CHANNELS) return 0;
    const int c = n - 1;
    Channel ch{c,
               etcset.ai_range[c],
               etcset.tc_type[c],
               etcset.tc_flags[c],
               etcset.tf_mode[c],
               etcset.tf_low[c],
               etcset.tf_high[c],
               1};
    int r = 0;
    {
        ScreenWindows windows(kChannelLayout, i);
        if (win_v2etcset[0] != nullptr) {
            char title[40];
            std::snprintf(title, sizeof title, "アナログ入力 AI%d 設定", n);
            mvwaddstr(win_v2etcset[0], 0, 1, title);
            wnoutrefresh(win_v2etcset[0]);
        }
        show_channel(ch);
        EnableTCset(ch.range);
        int mode = V2ROW_RANGE;
        LegacyRowContext ctx{i, &mode, &ch, kChannelRows, 3};
        if (windows.ok()) r = run_rows(ctx);
        doupdate();
    }
    return r == -1 ? -1 : 0;
}
