// The analog input screens: the first generation (sampling and three input
// ranges) and the second (sampling, and per input a screen of its own), read
// when they open and written by OnSendEtcAI on "設定反映".
#include "screens/etc/KIVRAEtc.h"
#include "screens/etc/etc_parts.h"

#include "device/analog_commands.h"
#include "base/DebugLog.h"
#include "ui/form_catalogue.h"
#include "ui/NQ_Menu.h"
#include "ui/form_ids.h"

namespace {

constexpr int kSamplingChoices = 8;
constexpr int kRangeChoices = 6;

const LegacyWindowSpec kAiLayout[] = {
    ETC_FRAME,
    LAYOUT_LABEL(2, 3, "ADC サンプリング:", nullptr),
    LAYOUT_LABEL(4, 3, "AI1 入力レンジ  :", nullptr),
    LAYOUT_LABEL(6, 3, "AI2 入力レンジ  :", nullptr),
    LAYOUT_LABEL(8, 3, "AI3 入力レンジ  :", nullptr),
    LAYOUT_ITEM(&win_etcai[1], 2, 22, 14, nullptr, nullptr),
    LAYOUT_ITEM(&win_etcai[2], 4, 22, 14, nullptr, nullptr),
    LAYOUT_ITEM(&win_etcai[3], 6, 22, 14, nullptr, nullptr),
    LAYOUT_ITEM(&win_etcai[4], 8, 22, 14, nullptr, nullptr),
    LAYOUT_ITEM(&win_etcai[5], 10, 40, 16, "設定反映", nullptr),
};

const LegacyWindowSpec kAiV2Layout[] = {
    ETC_FRAME,
    LAYOUT_LABEL(2, 3, "ADC サンプリング:", nullptr),
    LAYOUT_LABEL(4, 3, "AI1 入力設定  :", nullptr),
    LAYOUT_LABEL(6, 3, "AI2 入力設定  :", nullptr),
    LAYOUT_LABEL(8, 3, "AI3 入力設定  :", nullptr),
    LAYOUT_ITEM(&win_etcai[1], 2, 22, 14, nullptr, nullptr),
    LAYOUT_ITEM(&win_etcai[2], 4, 22, 14, "設定画面へ", nullptr),
    LAYOUT_ITEM(&win_etcai[3], 6, 22, 14, "設定画面へ", nullptr),
    LAYOUT_ITEM(&win_etcai[4], 8, 22, 14, "設定画面へ", nullptr),
    LAYOUT_ITEM(&win_etcai[5], 10, 40, 16, "設定反映", nullptr),
};

bool second_generation(int i, const void*) { return unit_model(i) == 10; }

// ---- reads at opening ----

int read_sampling(int i, void*)
{
    uint8_t req[SAMPLING_READ_LEN];
    uint8_t rep[SAMPLING_REPLY_LEN] = {};
    build_sampling_read(req);
    if (etc_exchange(i, req, SAMPLING_READ_LEN, rep, SAMPLING_REPLY_LEN) != 0) return -1;
    return parse_sampling_reply(rep, &etcset.adc_samp);
}

template <int C>
int read_range(int i, void*)
{
    uint8_t req[RANGE_READ_LEN];
    uint8_t rep[RANGE_REPLY_LEN] = {};
    build_range_read(C, req);
    if (etc_exchange(i, req, RANGE_READ_LEN, rep, RANGE_REPLY_LEN) != 0) return -1;
    etcset.ai_range[C] = parse_range_reply(rep);
    return 0;
}

template <int C>
int read_tc(int i, void*)
{
    uint8_t req[TC_READ_LEN];
    uint8_t rep[TC_REPLY_LEN] = {};
    build_tc_read(C, req);
    TcSettings tc{};
    if (etc_exchange(i, req, TC_READ_LEN, rep, TC_REPLY_LEN) != 0 || parse_tc_reply(rep, &tc) != 0)
        return -1;
    etcset.tc_type[C] = tc.type;
    etcset.tc_flags[C] = tc.flags;
    etcset.tf_mode[C] = tc.mode;
    etcset.tf_low[C] = tc.low;
    etcset.tf_high[C] = tc.high;
    return 0;
}

// clang-format off
const Step kAiReads[] = {
    ETC_STEP(read_sampling, 20, nullptr),
    ETC_STEP(read_range<0>, 20, nullptr),
    ETC_STEP(read_range<1>, 20, nullptr),
    ETC_STEP(read_range<2>, 20, nullptr),
    ETC_STEP(read_tc<0>, 20, second_generation),
    ETC_STEP(read_tc<1>, 20, second_generation),
    ETC_STEP(read_tc<2>, 20, second_generation),
    ETC_STEP(nullptr, 10, nullptr),
};
// clang-format on

// ---- writes on "設定反映" ----

int write_sampling(int i, void*)
{
    uint8_t req[SAMPLING_WRITE_LEN];
    uint8_t rep[SAMPLING_WRITE_LEN];
    if (build_sampling_write(etcset.adc_samp, req) != 0) return -1;
    return etc_exchange(i, req, SAMPLING_WRITE_LEN, rep, SAMPLING_WRITE_LEN);
}

template <int C>
int write_range(int i, void*)
{
    uint8_t req[RANGE_WRITE_LEN];
    uint8_t rep[RANGE_WRITE_LEN];
    build_range_write(C, etcset.ai_range[C], req);
    return etc_exchange(i, req, RANGE_WRITE_LEN, rep, RANGE_WRITE_LEN);
}

TcSettings tc_of(int c)
{
    return TcSettings{etcset.tc_type[c], etcset.tc_flags[c], etcset.tf_mode[c], etcset.tf_low[c],
                      etcset.tf_high[c]};
}

template <int C>
int write_tc(int i, void*)
{
    uint8_t req[TC_WRITE_LEN];
    uint8_t rep[TC_WRITE_LEN];
    build_tc_write(C, tc_of(C), req);
    return etc_exchange(i, req, TC_WRITE_LEN, rep, TC_WRITE_LEN);
}

template <int C>
int write_tf(int i, void*)
{
    uint8_t req[TF_WRITE_LEN];
    uint8_t rep[TF_WRITE_LEN];
    build_tf_write(C, tc_of(C), req);
    return etc_exchange(i, req, TF_WRITE_LEN, rep, TF_WRITE_LEN);
}

// 20 ms before each write and after the last one.
const Step kAiWrites[] = {
    ETC_STEP(write_sampling, 20, nullptr),
    ETC_STEP(write_range<0>, 20, nullptr),
    ETC_STEP(write_range<1>, 20, nullptr),
    ETC_STEP(write_range<2>, 20, nullptr),
    ETC_STEP(write_tc<0>, 20, second_generation),
    ETC_STEP(write_tc<1>, 20, second_generation),
    ETC_STEP(write_tc<2>, 20, second_generation),
    ETC_STEP(write_tf<0>, 20, second_generation),
    ETC_STEP(write_tf<1>, 20, second_generation),
    ETC_STEP(write_tf<2>, 20, second_generation),
    ETC_STEP(nullptr, 20, nullptr),
};

// ---- the main screen ----

void show_sampling() { show_text(win_etcai[1], choice_text(AdcSamp, 16, etcset.adc_samp)); }

// Form 30 at its place: -1 after F9, else 0.
int choose_sampling()
{
    const int k = choose_form(FORM_SAMPLING, -1, -1,
                              choice_start(etcset.adc_samp, kSamplingChoices), win_etcset[0]);
    if (k == MENU_QUIT) return -1;
    if (k >= 1 && k <= kSamplingChoices) {
        etcset.adc_samp = k - 1;
        show_sampling();
        doupdate();
    }
    return 0;
}

// Form 31 next to input item 2..4: -1 after F9, else 0.
int choose_range(int item)
{
    const int c = item - 2;
    const int k = choose_form(FORM_ADC_RANGE, 2 * (item + 2), 15,
                              choice_start(etcset.ai_range[c], kRangeChoices), win_etcset[0]);
    if (k == MENU_QUIT) return -1;
    if (k >= 1 && k <= kRangeChoices) {
        etcset.ai_range[c] = k - 1;
        show_text(win_etcai[item], AdcRange[k - 1]);
        doupdate();
    }
    return 0;
}

// The five items, from the one chosen last: 1 written, -1 F9, 0 Esc.
int run_ai_items(int i, bool v2)
{
    int item = 1;
    for (;;) {
        const MenuResult m = menu_result(select_menu(win_etcai, 5, 1, 0, 0, item, nullptr));
        if (m.act == Act::Quit) return -1;
        if (m.act != Act::Chosen) return 0;
        item = m.item;
        if (item == 1) {
            if (choose_sampling() < 0) return -1;
        } else if (item <= 4 && v2) {
            if (SetV2EtcMenu(i, item - 1) == -1) return -1;
            redraw(win_etcset[0]);
        } else if (item <= 4) {
            if (choose_range(item) < 0) return -1;
        } else if (OnSendEtcAI(i) != 0) {
            return 1;
        }
    }
}

int open_ai_screen(int i, bool v2)
{
    etcset = EtcSet{};
    EtcScreenGuard guard{i};
    const bool made = v2 ? open_etc_windows(kAiV2Layout, i) : open_etc_windows(kAiLayout, i);
    if (!made) return 0;
    if (run_steps(kAiReads, i, nullptr, win_etcset[0]) != 0) return 0;
    show_sampling();
    if (!v2)
        for (int c = 0; c < ANALOG_CHANNELS; c++)
            show_text(win_etcai[c + 2], choice_text(AdcRange, 16, etcset.ai_range[c]));
    doupdate();
    return run_ai_items(i, v2);
}

}  // namespace

int SetEtcMenuAI(int i)
{
    PrnDebug("AI model setting\n");
    return open_ai_screen(i, false);
}

int SetEtcMenuAIV2(int i)
{
    PrnDebug("AI model setting(V2)\n");
    return open_ai_screen(i, true);
}

int OnSendEtcAI(int i)
{
    // A sampling code read from the unit that its request byte cannot carry
    // is never sent; the operator chooses one first.
    if (etcset.adc_samp < 0 || etcset.adc_samp > SAMPLING_CODE_MAX) {
        etc_message("サンプリングを", "選択してください。");
        return 0;
    }
    return run_steps(kAiWrites, i, nullptr, win_etcset[0]) == 0 ? 1 : 0;
}
