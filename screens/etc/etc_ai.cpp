// The analog input screens: the first generation (sampling and three input
// ranges) and the second (sampling, and per input a screen of its own),
// views of etcset.ai and etcset.ai_v2, read when they open and written by
// OnSendEtcAI on "設定反映".
#include "screens/etc/KIVRAEtc.h"
#include "screens/etc/etc_screen.h"

#include "base/DebugLog.h"
#include "device/KIVRAXPort.h"
#include "ui/NQ_Menu.h"
#include "ui/form_ids.h"

namespace {

constexpr int kSamplingChoices = 8;
constexpr int kRangeChoices = 6;
constexpr int kItems = 5;  // the sampling, the three inputs, "設定反映"

// The open input screen: its unit and generation.
struct AiScreen {
    int unit;
    bool v2;  // second generation: each input opens a screen of its own
};

const WindowSpec<AiScreen> kAiLayout[] = {
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

const WindowSpec<AiScreen> kAiV2Layout[] = {
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

int& sampling_of(const AiScreen& s) { return s.v2 ? etcset.ai_v2.sampling : etcset.ai.sampling; }

void show_sampling(const AiScreen& s)
{
    show_text(win_etcai[1], etc_choice_text(EtcChoice::Sampling, sampling_of(s)));
}

// Form 30 at its place.
Outcome choose_sampling(const AiScreen& s)
{
    int& code = sampling_of(s);
    const int k =
        choose_form(FORM_SAMPLING, -1, -1, choice_start(code, kSamplingChoices), win_etcset[0]);
    if (k == MENU_QUIT) return Outcome::Quit;
    if (k >= 1 && k <= kSamplingChoices) {
        code = k - 1;
        show_sampling(s);
        doupdate();
    }
    return Outcome::Stay;
}

// Form 31 next to input item 2..4 (first generation).
Outcome choose_range(int item)
{
    int& code = etcset.ai.range[item - 2];
    const int k = choose_form(FORM_ADC_RANGE, 2 * (item + 2), 15, choice_start(code, kRangeChoices),
                              win_etcset[0]);
    if (k == MENU_QUIT) return Outcome::Quit;
    if (k >= 1 && k <= kRangeChoices) {
        code = k - 1;
        show_text(win_etcai[item], etc_choice_text(EtcChoice::Range, code));
        doupdate();
    }
    return Outcome::Stay;
}

Outcome item_chosen(AiScreen& s, int item)
{
    if (item == 1) return choose_sampling(s);
    if (item <= 4 && !s.v2) return choose_range(item);
    if (item <= 4) {
        if (SetV2EtcMenu(s.unit, item - 1) == -1) return Outcome::Quit;
        redraw(win_etcset[0]);
        return Outcome::Stay;
    }
    return OnSendEtcAI(s.unit) != 0 ? Outcome::Done : Outcome::Stay;
}

StepResult read_values(const AiScreen& s)
{
    return s.v2 ? read_analog_input_v2(s.unit, etcset.ai_v2) : read_analog_input(s.unit, etcset.ai);
}

// The values are read once the frame shows; the list then starts on the
// sampling and afterwards on the item chosen last.
Outcome run_ai_screen(AiScreen& s)
{
    etcset = EtcSet{};
    ScreenWindows windows(s.v2 ? kAiV2Layout : kAiLayout, s);
    doupdate();
    if (!windows.ok()) return Outcome::Back;
    const StepResult read = read_values(s);
    if (!read.ok()) {
        etc_failure(read);
        return Outcome::Back;
    }
    show_sampling(s);
    if (!s.v2)
        for (int c = 0; c < ANALOG_CHANNELS; c++)
            show_text(win_etcai[c + 2], etc_choice_text(EtcChoice::Range, etcset.ai.range[c]));
    doupdate();
    return run_items(win_etcai, kItems, item_chosen, s);
}

}  // namespace

int SetEtcMenuAI(int i)
{
    PrnDebug("AI model setting\n");
    AiScreen s{i, false};
    return screen_result(run_ai_screen(s));
}

int SetEtcMenuAIV2(int i)
{
    PrnDebug("AI model setting(V2)\n");
    AiScreen s{i, true};
    return screen_result(run_ai_screen(s));
}

int OnSendEtcAI(int i)
{
    const bool v2 = etc_parts(unit_model(i), unit_modtype(i)).input_v2;
    const StepResult r =
        v2 ? apply_analog_input_v2(i, etcset.ai_v2) : apply_analog_input(i, etcset.ai);
    etc_failure(r);
    return r.ok() ? 1 : 0;
}
