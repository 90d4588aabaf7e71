// The analog output screen of models 9 (two outputs) and 11 (three): a view
// of etcset.ao, each output's kind and default value, read when the screen
// opens and written by OnSendEtcAO on "設定反映".
#include "screens/etc/KIVRAEtc.h"
#include "screens/etc/etc_screen.h"

#include "base/DebugLog.h"
#include "device/KIVRAXPort.h"
#include "ui/NQ_Forms.h"
#include "ui/NQ_Menu.h"
#include "ui/form_ids.h"

#include <cstdio>
#include <cstdlib>

namespace {

// The open output screen.
struct AoScreen {
    int unit;
    int outputs;   // 2 or 3
    int item = 1;  // the item an output row starts on: 1 the kind, 2 the value
};

bool three_outputs(const AoScreen& s) { return s.outputs > 2; }

#define AO_ROW_WINDOWS(c, present)                                                             \
    {&win_etcao[3 * (c) + 1], 0, 4 + 2 * (c), 10, 1, 10, PAIR_ITEM, nullptr, false, present},  \
    {                                                                                          \
        &win_etcao[3 * (c) + 2], 0, 4 + 2 * (c), 22, 1, 12, PAIR_ITEM, nullptr, false, present \
    }

const WindowSpec<AoScreen> kAoLayout[] = {
    ETC_FRAME,
    LAYOUT_LABEL(2, 2, "アナログ出力初期値", nullptr),
    LAYOUT_LABEL(4, 4, "AO1 :", nullptr),
    LAYOUT_LABEL(6, 4, "AO2 :", nullptr),
    LAYOUT_LABEL(8, 4, "AO3 :", three_outputs),
    AO_ROW_WINDOWS(0, nullptr),
    AO_ROW_WINDOWS(1, nullptr),
    AO_ROW_WINDOWS(2, three_outputs),
    LAYOUT_ITEM(&win_etcaosend[1], 10, 36, 16, "設定反映", nullptr),
};

#undef AO_ROW_WINDOWS

// An output of a kind without a name shows no value either.
void show_output(int c)
{
    const AnalogOutput& out = etcset.ao.output[c];
    show_text(win_etcao[3 * c + 1], etc_choice_text(EtcChoice::OutputKind, out.kind));
    char text[32] = "";
    if (out.kind != AO_UNKNOWN) std::snprintf(text, sizeof text, "%+.5f", out.value);
    show_text(win_etcao[3 * c + 2], text);
}

void range_message(int kind)
{
    if (kind == AO_CURRENT)
        etc_message("電流の設定範囲は", "0-20 mV です。");
    else
        etc_message("電圧の設定範囲は", "+/-10V です。");
}

// The value limited to its kind's range, with the kind's message when it had to be.
double limited(int kind, double value)
{
    bool clamped = false;
    const double v = ao_clamp(kind, value, &clamped);
    if (clamped) range_message(kind);
    return v;
}

// ---- rows: the outputs, then "設定反映" ----

enum { AOROW_APPLY = 4 };

int output_start(AoScreen& s, int) { return s.item; }

Outcome choose_kind(int c, int row)
{
    AnalogOutput& out = etcset.ao.output[c];
    const int old = out.kind;
    const int k = choose_form(FORM_AO_KIND, 2 * row + 3, 15, choice_start(old, 2), win_etcset[0]);
    if (k == MENU_QUIT) return Outcome::Quit;
    if (k != 1 && k != 2) return Outcome::Stay;
    out.kind = k - 1;
    // The value kept from the other kind is brought into this kind's range.
    if (out.kind != old) {
        show_output(c);
        doupdate();
        out.value = limited(out.kind, out.value);
    }
    show_output(c);
    doupdate();
    return Outcome::Stay;
}

Outcome edit_value(int c, int row)
{
    AnalogOutput& out = etcset.ao.output[c];
    if (out.kind == AO_UNKNOWN) {
        etc_message("AO 種別を", "選択してください。");
        return Outcome::Stay;
    }
    char preset[32];
    std::snprintf(preset, sizeof preset, "%+.5f", out.value);
    char text[FORM_TEXT_MAX] = {};
    const int r = edit_form(FORM_AO_VALUE, 2 * row + 3, 25, preset, text,
                            static_cast<int>(sizeof text), win_etcset[0]);
    if (r == MENU_QUIT) return Outcome::Quit;
    char* end = nullptr;
    const double v = std::strtod(text, &end);
    if (r != 1 || end == text) return Outcome::Stay;
    out.value = limited(out.kind, v);
    show_output(c);
    doupdate();
    return Outcome::Stay;
}

// Row r (1..3) is output r - 1.
Outcome output_enter(AoScreen& s, int row, int item)
{
    s.item = item;
    return item == 1 ? choose_kind(row - 1, row) : edit_value(row - 1, row);
}

void apply_leave(AoScreen& s, int) { s.item = 1; }

Outcome apply_enter(AoScreen& s, int, int)
{
    s.item = 1;
    return OnSendEtcAO(s.unit) != 0 ? Outcome::Done : Outcome::Stay;
}

// Every row is a horizontal menu that Up and Down leave for the previous
// and next row; both ends wrap, and the third output is there on model 11 only.
constexpr RowSpec<AoScreen> output_row(int row, Present<AoScreen> present = nullptr)
{
    return {.mode = row,
            .wins = &win_etcao[3 * (row - 1)],
            .items = 2,
            .present = present,
            .start = output_start,
            .enter = output_enter};
}

const RowSpec<AoScreen> kAoRows[] = {
    output_row(1),
    output_row(2),
    output_row(3, three_outputs),
    {.mode = AOROW_APPLY, .wins = win_etcaosend, .enter = apply_enter, .leave = apply_leave},
};

}  // namespace

int SetEtcMenuAO(int i)
{
    PrnDebug("AO model setting\n");
    etcset = EtcSet{};
    AoScreen s{i, etc_parts(unit_model(i), unit_modtype(i)).outputs > 2 ? 3 : 2};
    ScreenWindows windows(kAoLayout, s);
    doupdate();
    if (!windows.ok()) return screen_result(Outcome::Back);
    const StepResult read = read_analog_output(i, etcset.ao);
    if (!read.ok()) {
        etc_failure(read);
        return screen_result(Outcome::Back);
    }
    for (int c = 0; c < s.outputs; c++) show_output(c);
    doupdate();
    int mode = 1;
    return screen_result(run_rows(kAoRows, s, mode));
}

int OnSendEtcAO(int i)
{
    const StepResult r = apply_analog_output(i, etcset.ao);
    etc_failure(r);
    return r.ok() ? 1 : 0;
}
