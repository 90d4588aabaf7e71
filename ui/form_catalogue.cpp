// The catalogue of input forms: every form the screens use, created once at
// start-up and addressed by its number.
#include "base/DebugLog.h"
#include "ui/form_catalogue.h"
#include "ui/NQ_Forms.h"

// kind, width, label, integer or decimal limits, digits, choices of kinds 5
// and 6, list table and count of kind 7, fixed position (-1 for none)
const FormSpec form_catalogue[CATALOGUE_FORMS] = {
    {1, 5, "ポート", 0, 65535, 0, {}, nullptr, 0, 3, 15},
    {2, 16, "追加IP", 0, 0, 0, {}, nullptr, 0, 3, 20},
    {2, 16, "IP設定", 0, 0, 0, {}, nullptr, 0, 15, 20},
    {2, 16, "サブネット", 0, 0, 0, {}, nullptr, 0, 16, 20},
    {2, 16, "ゲートウェイ", 0, 0, 0, {}, nullptr, 0, 17, 20},
    {2, 16, "SMTP設定", 0, 0, 0, {}, nullptr, 0, 3, 20},
    {3, 48, "SMTP設定", 0, 0, 0, {}, nullptr, 0, 3, 2},
    {1, 5, "ポート", 0, 65535, 0, {}, nullptr, 0, 4, 20},
    {3, 43, "ユーザー名", 0, 0, 0, {}, nullptr, 0, 6, 4},
    {3, 12, "パスワード", 0, 0, 0, {}, nullptr, 0, 8, 20},
    {3, 46, "送信元", 0, 0, 0, {}, nullptr, 0, 6, 2},
    {3, 47, "宛先1", 0, 0, 0, {}, nullptr, 0, 7, 2},
    {3, 47, "宛先2", 0, 0, 0, {}, nullptr, 0, 8, 2},
    {3, 22, "タイトル", 0, 0, 0, {}, nullptr, 0, 9, 2},
    {4, 10, "閾値[%]", -100, 100, 3, {}, nullptr, 0, 6, 5},
    {4, 10, "閾値[%]", -100, 100, 3, {}, nullptr, 0, 6, 15},
    {5, 8, "SMTP-AUTH", 0, 0, 0, {"ON", "OFF", nullptr}, nullptr, 0, 5, 20},
    {5, 8, "点灯条件", 0, 0, 0, {"範囲内", "範囲外", nullptr}, nullptr, 0, 5, 20},
    {6, 8, "メール送信", 0, 0, 0, {"無効", "点灯時", "消灯時"}, nullptr, 0, 5, 30},
    {1, 5, "自ポート", 1, 65535, 0, {}, nullptr, 0, 5, 10},
    {5, 8, "接続待ち", 0, 0, 0, {"有効", "無効", nullptr}, nullptr, 0, 5, 20},
    {5, 8, "接続要求", 0, 0, 0, {"有効", "無効", nullptr}, nullptr, 0, 5, 30},
    {2, 16, "接続先", 0, 0, 0, {}, nullptr, 0, 5, 40},
    {3, 48, "接続先", 0, 0, 0, {}, nullptr, 0, 5, 2},
    {1, 5, "接続先ポート", 0, 65535, 0, {}, nullptr, 0, 5, 50},
    {7, 12, "切断時間", 0, 0, 0, {}, DiscTime, 16, 2, 15},
    {7, 12, "定期通知", 0, 0, 0, {}, AutoPeriod, 5, 12, 15},
    {7, 12, "定期通知", 0, 0, 0, {}, AutoPeriodA, 14, 2, 15},
    {1, 5, "チャタリング", 4, 20, 0, {}, nullptr, 0, 14, 15},
    {1, 5, "チャタリング", 0, 20, 0, {}, nullptr, 0, 14, 15},
    {7, 12, "サンプリング", 0, 0, 0, {}, AdcSamp, 8, 3, 15},
    {7, 12, "ADCレンジ", 0, 0, 0, {}, AdcRange, 6, 5, 15},
    {5, 8, "AO 種別", 0, 0, 0, {"電圧[v]", "電流[mA]", nullptr}, nullptr, 0, 3, 15},
    {4, 10, "初期値", -20, 20, 5, {}, nullptr, 0, 3, 25},
    {7, 12, "ADCレンジ", 0, 0, 0, {}, AdcRangeV2, 7, -1, -1},
    {7, 12, "熱電対タイプ", 0, 0, 0, {}, TCType, 8, -1, -1},
    {5, 8, "冷接点補償", 0, 0, 0, {"有効", "無効", nullptr}, nullptr, 0, -1, -1},
    {5, 8, "断線検知", 0, 0, 0, {"有効", "無効", nullptr}, nullptr, 0, -1, -1},
    {5, 8, "断線時数値", 0, 0, 0, {"最大値", "最小値", nullptr}, nullptr, 0, -1, -1},
    {7, 12, "出力タイプ", 0, 0, 0, {}, TFMode, 4, -1, -1},
    {4, 10, "下限 °C", -3276.8, 3276.7, 1, {}, nullptr, 0, -1, -1},
    {4, 10, "上限 °C", -3276.8, 3276.7, 1, {}, nullptr, 0, -1, -1},
    {5, 8, "DOアラート", 0, 0, 0, {"開始", "停止", nullptr}, nullptr, 0, -1, -1},
    {6, 8, "監視対象AI", 0, 0, 0, {"AI1", "AI2", "AI3"}, nullptr, 0, -1, -1},
    {4, 10, "閾値[mV]", -100, 100, 3, {}, nullptr, 0, -1, -1},
    {4, 10, "閾値[V]", -1, 1, 5, {}, nullptr, 0, -1, -1},
    {4, 10, "閾値[V]", -10, 10, 4, {}, nullptr, 0, -1, -1},
    {4, 10, "閾値[V]", -30, 30, 4, {}, nullptr, 0, -1, -1},
    {4, 10, "閾値[mA]", 0, 20, 4, {}, nullptr, 0, -1, -1},
    {4, 10, "閾値[°C]", -3276.8, 3276.7, 1, {}, nullptr, 0, -1, -1},
    {4, 10, "閾値[mV]", 0, 200, 3, {}, nullptr, 0, -1, -1},
    {4, 10, "閾値[V]", 0, 2, 5, {}, nullptr, 0, -1, -1},
    {4, 10, "閾値[V]", 0, 20, 4, {}, nullptr, 0, -1, -1},
    {4, 10, "閾値[V]", 0, 60, 4, {}, nullptr, 0, -1, -1},
    {4, 10, "閾値[mA]", 0, 40, 4, {}, nullptr, 0, -1, -1},
    {4, 10, "閾値[°C]", 0, 6553.5, 1, {}, nullptr, 0, -1, -1},
    {5, 10, "方向", 0, 0, 0, {"ON優先", "OFF優先", nullptr}, nullptr, 0, -1, -1},
};

void init_forms()
{
    PrnDebug("Initializing Input Forms\n");
    for (const FormSpec& s : form_catalogue) {
        int k = nforms;
        if (new_myform(s.kind, s.width, s.label) == 0) return;
        MyForm* f = &myforms[k];
        if (s.kind == 1) set_int_limits(f, static_cast<int>(s.min), static_cast<int>(s.max));
        if (s.kind == 4) set_double_limits(f, s.digits, s.min, s.max);
        if (s.kind == 5 || s.kind == 6) {
            for (int i = 0; i < 3; i++) {
                if (s.sel[i] != nullptr) set_sel_label(f, s.sel[i], i);
            }
        }
        if (s.kind == 7) {
            set_nsel(f, s.nlist);
            for (int i = 0; i < s.nlist; i++) set_sel_label(f, s.list[i], i);
        }
        init_myform(f);
    }
}

void show_form(unsigned n)
{
    if (n >= CATALOGUE_PLACED || n >= static_cast<unsigned>(nforms)) return;
    const FormSpec& s = form_catalogue[n];
    show_myform(&myforms[n], s.row, s.col);
}

void show_form_at(unsigned n, int row, int col)
{
    if (row < 0) {
        show_form(n);
        return;
    }
    if (n >= CATALOGUE_FORMS || n >= static_cast<unsigned>(nforms)) return;
    show_myform(&myforms[n], row, col);
}

void hide_form(unsigned n)
{
    if (n >= CATALOGUE_FORMS || n >= static_cast<unsigned>(nforms)) return;
    hide_myform(&myforms[n]);
    curs_set(0);
    touchwin(stdscr);
    wrefresh(stdscr);
}
