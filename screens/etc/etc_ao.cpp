// The analog output screen of models 9 (two outputs) and 11 (three): each
// output's kind and default value, read when the screen opens and written
// by OnSendEtcAO on "設定反映".
#include "screens/etc/KIVRAEtc.h"
#include "screens/etc/etc_parts.h"

#include "device/analog_commands.h"
#include "base/DebugLog.h"
#include "ui/NQ_Forms.h"
#include "ui/NQ_Menu.h"
#include "ui/form_ids.h"

#include <cstdio>
#include <cstdlib>

namespace {

bool three_outputs(int i) { return unit_model(i) == 11; }
bool third_output(int i, const void*) { return three_outputs(i); }
int outputs_of(int i) { return three_outputs(i) ? 3 : 2; }

#define AO_ROW_WINDOWS(c, present)                                                             \
    {&win_etcao[3 * (c) + 1], 0, 4 + 2 * (c), 10, 1, 10, PAIR_ITEM, nullptr, false, present},  \
    {                                                                                          \
        &win_etcao[3 * (c) + 2], 0, 4 + 2 * (c), 22, 1, 12, PAIR_ITEM, nullptr, false, present \
    }

const LegacyWindowSpec kAoLayout[] = {
    ETC_FRAME,
    LAYOUT_LABEL(2, 2, "アナログ出力初期値", nullptr),
    LAYOUT_LABEL(4, 4, "AO1 :", nullptr),
    LAYOUT_LABEL(6, 4, "AO2 :", nullptr),
    {nullptr, 0, 8, 4, 0, 0, 0, "AO3 :", false, three_outputs},
    AO_ROW_WINDOWS(0, nullptr),
    AO_ROW_WINDOWS(1, nullptr),
    AO_ROW_WINDOWS(2, three_outputs),
    LAYOUT_ITEM(&win_etcaosend[1], 10, 36, 16, "設定反映", nullptr),
};

#undef AO_ROW_WINDOWS

const char* kind_text(int kind)
{
    if (kind == AO_VOLTAGE) return "電圧[v]";
    if (kind == AO_CURRENT) return "電流[mA]";
    return "";
}

// An output of a kind without a name shows no value either.
void show_output(int c)
{
    show_text(win_etcao[3 * c + 1], kind_text(etcset.ao_kind[c]));
    char text[32] = "";
    if (etcset.ao_kind[c] != AO_UNKNOWN)
        std::snprintf(text, sizeof text, "%+.5f", etcset.ao_value[c]);
    show_text(win_etcao[3 * c + 2], text);
}

void range_message(int kind)
{
    if (kind == AO_CURRENT)
        etc_message("電流の設定範囲は", "0-20 mV です。");
    else
        etc_message("電圧の設定範囲は", "+/-10V です。");
}

void kind_first_message() { etc_message("AO 種別を", "選択してください。"); }

// The value limited to its kind's range, with the kind's message when it had to be.
double limited(int kind, double value)
{
    bool clamped = false;
    const double v = ao_clamp(kind, value, &clamped);
    if (clamped) range_message(kind);
    return v;
}

// ---- exchanges ----

template <int C>
int read_output(int i, void*)
{
    uint8_t req[AO_READ_LEN];
    uint8_t rep[AO_REPLY_LEN] = {};
    build_ao_read(C, req);
    int digits = 0, code = 0;
    if (etc_exchange(i, req, AO_READ_LEN, rep, AO_REPLY_LEN) != 0 ||
        parse_ao_reply(rep, &digits, &code) != 0)
        return -1;
    etcset.ao_kind[C] = ao_kind_from_digits(digits);
    etcset.ao_value[C] =
        etcset.ao_kind[C] == AO_UNKNOWN ? 0.0 : ao_value_from_code(etcset.ao_kind[C], code);
    return 0;
}

template <int C>
int write_output(int i, void*)
{
    uint8_t req[AO_WRITE_LEN];
    uint8_t rep[AO_WRITE_LEN];
    const int kind = etcset.ao_kind[C];
    if (build_ao_write(C, kind, ao_code_from_value(kind, etcset.ao_value[C]), req) != 0) return -1;
    return etc_exchange(i, req, AO_WRITE_LEN, rep, AO_WRITE_LEN);
}

const Step kAoReads[] = {
    ETC_STEP(read_output<0>, 20, nullptr),
    ETC_STEP(read_output<1>, 20, nullptr),
    ETC_STEP(read_output<2>, 20, third_output),
    ETC_STEP(nullptr, 20, nullptr),
};

const Step kAoWrites[] = {
    ETC_STEP(write_output<0>, 20, nullptr),
    ETC_STEP(write_output<1>, 20, nullptr),
    ETC_STEP(write_output<2>, 20, third_output),
    ETC_STEP(nullptr, 20, nullptr),
};

// ---- rows: the outputs, then "設定反映" ----

enum { AOROW_APPLY = 4 };

// The item an output row starts on: 1 the kind, 2 the value.
int& start_item(const LegacyRowContext& ctx) { return *static_cast<int*>(ctx.state); }
int output_start(const LegacyRowContext& ctx) { return start_item(ctx); }

int choose_kind(int c, int row)
{
    const int old = etcset.ao_kind[c];
    const int k = choose_form(FORM_AO_KIND, 2 * row + 3, 15, choice_start(old, 2), win_etcset[0]);
    if (k == MENU_QUIT) return -1;
    if (k != 1 && k != 2) return 0;
    etcset.ao_kind[c] = k - 1;
    // The value kept from the other kind is brought into this kind's range.
    if (etcset.ao_kind[c] != old) {
        show_output(c);
        doupdate();
        etcset.ao_value[c] = limited(etcset.ao_kind[c], etcset.ao_value[c]);
    }
    show_output(c);
    doupdate();
    return 0;
}

int edit_value(int c, int row)
{
    if (etcset.ao_kind[c] == AO_UNKNOWN) {
        kind_first_message();
        return 0;
    }
    char preset[32];
    std::snprintf(preset, sizeof preset, "%+.5f", etcset.ao_value[c]);
    char text[FORM_TEXT_MAX] = {};
    const int r = edit_form(FORM_AO_VALUE, 2 * row + 3, 25, preset, text,
                            static_cast<int>(sizeof text), win_etcset[0]);
    if (r == MENU_QUIT) return -1;
    char* end = nullptr;
    const double v = std::strtod(text, &end);
    if (r != 1 || end == text) return 0;
    etcset.ao_value[c] = limited(etcset.ao_kind[c], v);
    show_output(c);
    doupdate();
    return 0;
}

int output_enter(LegacyRowContext& ctx, int item)
{
    const int row = *ctx.mode;
    start_item(ctx) = item;
    const int r = item == 1 ? choose_kind(row - 1, row) : edit_value(row - 1, row);
    return r < 0 ? -1 : 0;
}

bool third_row(const LegacyRowContext& ctx) { return three_outputs(ctx.unit); }

void apply_leave(LegacyRowContext& ctx) { start_item(ctx) = 1; }

int apply_enter(LegacyRowContext& ctx, int)
{
    start_item(ctx) = 1;
    return OnSendEtcAO(ctx.unit) != 0 ? 1 : 0;
}

// mode, windows, items, vertical, up, down, present, start, onchange, enter, leave, items_fn
const LegacyRowSpec kAoRows[] = {
    {1, &win_etcao[0], 2, 0, ROW_PREV, ROW_NEXT, nullptr, output_start, nullptr, output_enter,
     nullptr, nullptr},
    {2, &win_etcao[3], 2, 0, ROW_PREV, ROW_NEXT, nullptr, output_start, nullptr, output_enter,
     nullptr, nullptr},
    {3, &win_etcao[6], 2, 0, ROW_PREV, ROW_NEXT, third_row, output_start, nullptr, output_enter,
     nullptr, nullptr},
    {AOROW_APPLY, win_etcaosend, 1, 0, ROW_PREV, ROW_NEXT, nullptr, nullptr, nullptr, apply_enter,
     apply_leave, nullptr},
};

}  // namespace

int SetEtcMenuAO(int i)
{
    PrnDebug("AO model setting\n");
    etcset = EtcSet{};
    EtcScreenGuard guard{i};
    if (!open_etc_windows(kAoLayout, i)) return 0;
    if (run_steps(kAoReads, i, nullptr, win_etcset[0]) != 0) return 0;
    for (int c = 0; c < outputs_of(i); c++) show_output(c);
    doupdate();
    int mode = 1;
    int item = 1;
    LegacyRowContext ctx{i, &mode, &item, kAoRows, 4};
    const int r = run_rows(ctx);
    if (r == -1) return -1;
    return r == 1 ? 1 : 0;
}

int OnSendEtcAO(int i)
{
    // A kind the unit reported without a name has no channel byte.
    for (int c = 0; c < outputs_of(i); c++) {
        if (etcset.ao_kind[c] == AO_UNKNOWN) {
            kind_first_message();
            return 0;
        }
    }
    return run_steps(kAoWrites, i, nullptr, win_etcset[0]) == 0 ? 1 : 0;
}
