// The 57 forms every screen relies on: kind, label, width, window size,
// place, limits and choices, as the program builds them at start-up.
#include <gtest/gtest.h>

#include "forms/null_screen.h"
#include "shell/KIVRASet.h"
#include "ui/NQ_Forms.h"

#include <cstdio>
#include <string>
#include <vector>

namespace {

struct Expected {
    int form;
    const char* label;
    int kind;
    int width;
    int win_rows;
    int win_cols;
    double lo;   // limits of kinds 1 and 4
    double hi;
    int digits;  // kind 4
    std::vector<std::string> choices;
};

const std::vector<std::string> none;

const Expected catalogue[] = {
    {0, "ポート", 1, 5, 3, 32, 0, 65535, 0, none},
    {1, "追加IP", 2, 16, 3, 43, 0, 0, 0, none},
    {2, "IP設定", 2, 16, 3, 43, 0, 0, 0, none},
    {3, "サブネット", 2, 16, 3, 43, 0, 0, 0, none},
    {4, "ゲートウェイ", 2, 16, 3, 43, 0, 0, 0, none},
    {5, "SMTP設定", 2, 16, 3, 43, 0, 0, 0, none},
    {6, "SMTP設定", 3, 48, 3, 75, 0, 0, 0, none},
    {7, "ポート", 1, 5, 3, 32, 0, 65535, 0, none},
    {8, "ユーザー名", 3, 43, 3, 70, 0, 0, 0, none},
    {9, "パスワード", 3, 12, 3, 39, 0, 0, 0, none},
    {10, "送信元", 3, 46, 3, 73, 0, 0, 0, none},
    {11, "宛先1", 3, 47, 3, 74, 0, 0, 0, none},
    {12, "宛先2", 3, 47, 3, 74, 0, 0, 0, none},
    {13, "タイトル", 3, 22, 3, 49, 0, 0, 0, none},
    {14, "閾値[%]", 4, 10, 3, 37, -100, 100, 3, none},
    {15, "閾値[%]", 4, 10, 3, 37, -100, 100, 3, none},
    {16, "SMTP-AUTH", 5, 8, 4, 30, 0, 0, 0, {"ON", "OFF"}},
    {17, "点灯条件", 5, 8, 4, 30, 0, 0, 0, {"範囲内", "範囲外"}},
    {18, "メール送信", 6, 8, 4, 41, 0, 0, 0, {"無効", "点灯時", "消灯時"}},
    {19, "自ポート", 1, 5, 3, 32, 1, 65535, 0, none},
    {20, "接続待ち", 5, 8, 4, 30, 0, 0, 0, {"有効", "無効"}},
    {21, "接続要求", 5, 8, 4, 30, 0, 0, 0, {"有効", "無効"}},
    {22, "接続先", 2, 16, 3, 43, 0, 0, 0, none},
    {23, "接続先", 3, 48, 3, 75, 0, 0, 0, none},
    {24, "接続先ポート", 1, 5, 3, 32, 0, 65535, 0, none},
    {25, "切断時間", 7, 12, 20, 25, 0, 0, 0,
     {"0ms", "300ms", "500ms", "1sec", "3sec", "5sec", "10sec", "30sec", "50sec", "1min", "3min",
      "5min", "10min", "30min", "50min", "None"}},
    {26, "定期通知", 7, 12, 9, 25, 0, 0, 0, {"None", "10sec", "30sec", "60sec", "180sec"}},
    {27, "定期通知", 7, 12, 18, 25, 0, 0, 0,
     {"0.05sec", "0.1sec", "0.2sec", "0.5sec", "1sec", "2sec", "5sec", "10sec", "20sec", "30sec",
      "1min", "2min", "5min", "10min"}},
    {28, "チャタリング", 1, 5, 3, 32, 4, 20, 0, none},
    {29, "チャタリング", 1, 5, 3, 32, 0, 20, 0, none},
    {30, "サンプリング", 7, 12, 12, 25, 0, 0, 0,
     {"10Hz", "16.6Hz", "50Hz", "60Hz", "400Hz", "1200Hz", "3600Hz", "14400Hz"}},
    {31, "ADCレンジ", 7, 12, 10, 25, 0, 0, 0,
     {"+/-100mV", "+/-1V", "+/-10V", "+/-30V", "0-20mA (50Ω)", "0-20mA (250Ω)"}},
    {32, "AO 種別", 5, 8, 4, 30, 0, 0, 0, {"電圧[v]", "電流[mA]"}},
    {33, "初期値", 4, 10, 3, 37, -20, 20, 5, none},
    {34, "ADCレンジ", 7, 12, 11, 25, 0, 0, 0,
     {"+/-100mV", "+/-1V", "+/-10V", "+/-30V", "0-20mA (50Ω)", "0-20mA (250Ω)", "熱電対"}},
    {35, "熱電対タイプ", 7, 12, 12, 25, 0, 0, 0,
     {"K 熱電対", "J 熱電対", "T 熱電対", "E 熱電対", "N 熱電対", "R 熱電対", "S 熱電対",
      "B 熱電対"}},
    {36, "冷接点補償", 5, 8, 4, 30, 0, 0, 0, {"有効", "無効"}},
    {37, "断線検知", 5, 8, 4, 30, 0, 0, 0, {"有効", "無効"}},
    {38, "断線時数値", 5, 8, 4, 30, 0, 0, 0, {"最大値", "最小値"}},
    {39, "出力タイプ", 7, 12, 8, 25, 0, 0, 0, {"0-10 V", "0-5 V", "1-5 V", "4-20 mA"}},
    {40, "下限 °C", 4, 10, 3, 37, -3276.8, 3276.7, 1, none},
    {41, "上限 °C", 4, 10, 3, 37, -3276.8, 3276.7, 1, none},
    {42, "DOアラート", 5, 8, 4, 30, 0, 0, 0, {"開始", "停止"}},
    {43, "監視対象AI", 6, 8, 4, 41, 0, 0, 0, {"AI1", "AI2", "AI3"}},
    {44, "閾値[mV]", 4, 10, 3, 37, -100, 100, 3, none},
    {45, "閾値[V]", 4, 10, 3, 37, -1, 1, 5, none},
    {46, "閾値[V]", 4, 10, 3, 37, -10, 10, 4, none},
    {47, "閾値[V]", 4, 10, 3, 37, -30, 30, 4, none},
    {48, "閾値[mA]", 4, 10, 3, 37, 0, 20, 4, none},
    {49, "閾値[°C]", 4, 10, 3, 37, -3276.8, 3276.7, 1, none},
    {50, "閾値[mV]", 4, 10, 3, 37, 0, 200, 3, none},
    {51, "閾値[V]", 4, 10, 3, 37, 0, 2, 5, none},
    {52, "閾値[V]", 4, 10, 3, 37, 0, 20, 4, none},
    {53, "閾値[V]", 4, 10, 3, 37, 0, 60, 4, none},
    {54, "閾値[mA]", 4, 10, 3, 37, 0, 40, 4, none},
    {55, "閾値[°C]", 4, 10, 3, 37, 0, 6553.5, 1, none},
    {56, "方向", 5, 10, 4, 34, 0, 0, 0, {"ON優先", "OFF優先"}},
};

class Catalogue : public forms_test::NullScreen {
  protected:
    void SetUp() override
    {
        NullScreen::SetUp();
        init_forms();
    }

    // Types text into entry form f as the operator would and asks the form
    // library to check it.
    static bool accepts(MyForm* f, const std::string& text)
    {
        show_myform(f, 0, 0);
        set_field_buffer(f->fields[1], 0, "");
        for (unsigned char c : text) form_driver_w(f->form, OK, c);
        bool ok = form_driver(f->form, REQ_VALIDATION) == E_OK;
        hide_myform(f);
        return ok;
    }

};

std::string field_text(FIELD* field)
{
    std::string s = field_buffer(field, 0);
    while (!s.empty() && s.back() == ' ') s.pop_back();
    return s;
}

TEST_F(Catalogue, AllFiftySevenFormsExistWithTheirKindLabelAndWindow)
{
    ASSERT_EQ(nforms, 57);
    for (const Expected& e : catalogue) {
        SCOPED_TRACE("form " + std::to_string(e.form));
        MyForm* f = &myforms[e.form];
        EXPECT_EQ(f->kind, e.kind);
        EXPECT_STREQ(f->label, e.label);
        EXPECT_EQ(f->width, e.width);
        EXPECT_EQ(f->rows + 2, e.win_rows);
        EXPECT_EQ(f->cols + 4, e.win_cols);
        EXPECT_EQ(f->zenkaku, 0);
        EXPECT_EQ(f->pair_normal, 5);
        EXPECT_EQ(f->pair_select, 4);
        ASSERT_NE(f->form, nullptr);
        EXPECT_EQ(field_text(f->fields[0]), e.label);
        int slots = e.kind == 6 ? 4 : e.kind == 7 ? 17 : 3;
        EXPECT_EQ(f->nfields, slots);
        if (e.kind == 1) {
            EXPECT_EQ(f->int_min, static_cast<int>(e.lo));
            EXPECT_EQ(f->int_max, static_cast<int>(e.hi));
        }
        if (e.kind == 4) {
            EXPECT_DOUBLE_EQ(f->num_min, e.lo);
            EXPECT_DOUBLE_EQ(f->num_max, e.hi);
            EXPECT_EQ(f->num_digits, e.digits);
        }
        if (e.kind >= 5) {
            int n = static_cast<int>(e.choices.size());
            if (e.kind == 7) {
                EXPECT_EQ(f->nsel, n);
            }
            for (int i = 0; i < n; i++) {
                EXPECT_STREQ(f->sel_text[i], e.choices[i].c_str());
                ASSERT_NE(f->fields[i + 1], nullptr);
                EXPECT_EQ(field_text(f->fields[i + 1]), e.choices[i]);
            }
            EXPECT_EQ(f->fields[n + 1], nullptr) << "the list ends after the last choice";
        }
    }
}

TEST_F(Catalogue, ChoiceTablesHoldTheirTextsAndEmptySlots)
{
    struct { const char* const* table; int used; const char* last; } tables[] = {
        {DiscTime, 16, "None"}, {AutoPeriod, 5, "180sec"}, {AutoPeriodA, 14, "10min"},
        {AdcSamp, 8, "14400Hz"}, {AdcRange, 6, "0-20mA (250Ω)"}, {AdcRangeV2, 7, "熱電対"},
        {TCType, 8, "B 熱電対"}, {TFMode, 4, "4-20 mA"},
    };
    for (const auto& t : tables) {
        EXPECT_STREQ(t.table[t.used - 1], t.last);
        for (int i = t.used; i < 15; i++) EXPECT_STREQ(t.table[i], "") << t.last << " slot " << i;
    }
    EXPECT_EQ(AutoPeriod[15], nullptr);
}

TEST_F(Catalogue, FieldsSitWhereTheKindPutsThem)
{
    struct Slot { int slot, cols, row, col; bool active, editable; };
    struct { int form; std::vector<Slot> slots; } layouts[] = {
        // "ポート": 6-column entry at 13, "決定" at 20
        {0, {{0, 12, 0, 0, false, true}, {1, 6, 0, 13, true, true}, {2, 8, 0, 20, true, false}}},
        // IPv4: a 17-column entry holds any dotted address
        {1, {{1, 17, 0, 13, true, true}, {2, 8, 0, 31, true, false}}},
        {16, {{0, 12, 0, 9, false, true}, {1, 9, 1, 3, true, false}, {2, 9, 1, 14, true, false}}},
        {18, {{1, 9, 1, 3, true, false}, {2, 9, 1, 14, true, false}, {3, 9, 1, 25, true, false}}},
        // a list leaves row 1 blank between its label and the first choice
        {26, {{0, 17, 0, 0, false, true}, {1, 13, 2, 2, true, false}, {5, 13, 6, 2, true, false}}},
    };
    for (const auto& l : layouts) {
        for (const Slot& s : l.slots) {
            SCOPED_TRACE("form " + std::to_string(l.form) + " slot " + std::to_string(s.slot));
            int rows, cols, frow, fcol, nrow, nbuf;
            ASSERT_EQ(field_info(myforms[l.form].fields[s.slot], &rows, &cols, &frow, &fcol, &nrow, &nbuf), E_OK);
            EXPECT_EQ(cols, s.cols);
            EXPECT_EQ(frow, s.row);
            EXPECT_EQ(fcol, s.col);
            Field_Options o = field_opts(myforms[l.form].fields[s.slot]);
            EXPECT_EQ((o & O_ACTIVE) != 0, s.active);
            EXPECT_EQ((o & O_EDIT) != 0, s.editable);
        }
    }
    // Entries of the checked kinds must be filled in; free text may stay empty.
    for (int form : {0, 1, 6, 33}) {
        Field_Options o = field_opts(myforms[form].fields[1]);
        EXPECT_EQ((o & O_NULLOK) != 0, form == 6) << form;
        EXPECT_EQ(o & O_AUTOSKIP, 0) << form;
        EXPECT_NE(o & O_PASSOK, 0) << form;
    }
}

TEST_F(Catalogue, EntryFormsCheckTheirOwnLimits)
{
    for (const Expected& e : catalogue) {
        if (e.kind != 1 && e.kind != 4) continue;
        SCOPED_TRACE("form " + std::to_string(e.form));
        MyForm* f = &myforms[e.form];
        char lo[32], hi[32], below[32], above[32];
        if (e.kind == 1) {
            std::snprintf(lo, sizeof lo, "%d", static_cast<int>(e.lo));
            std::snprintf(hi, sizeof hi, "%d", static_cast<int>(e.hi));
            std::snprintf(below, sizeof below, "%d", static_cast<int>(e.lo) - 1);
            std::snprintf(above, sizeof above, "%d", static_cast<int>(e.hi) + 1);
        } else {
            double step = 1;
            for (int i = 0; i < e.digits; i++) step /= 10;
            std::snprintf(lo, sizeof lo, "%.*f", e.digits, e.lo);
            std::snprintf(hi, sizeof hi, "%.*f", e.digits, e.hi);
            std::snprintf(below, sizeof below, "%.*f", e.digits, e.lo - step);
            std::snprintf(above, sizeof above, "%.*f", e.digits, e.hi + step);
        }
        EXPECT_TRUE(accepts(f, lo)) << lo;
        EXPECT_TRUE(accepts(f, hi)) << hi;
        EXPECT_FALSE(accepts(f, below)) << below;
        EXPECT_FALSE(accepts(f, above)) << above;
        EXPECT_FALSE(accepts(f, "x")) << "a letter";
    }
}

TEST_F(Catalogue, OnlyTheFirstThirtyFourFormsHaveAPlaceOfTheirOwn)
{
    // form 33 at 3, 25; form 34 is placed by its screen only
    show_form(33);
    ASSERT_NE(myforms[33].win, nullptr);
    EXPECT_EQ(getbegy(myforms[33].win), 3);
    EXPECT_EQ(getbegx(myforms[33].win), 25);
    hide_form(33);
    EXPECT_EQ(myforms[33].win, nullptr);
    show_form(34);
    EXPECT_EQ(myforms[34].win, nullptr);
    show_form(57);
    show_myform(&myforms[56], 10, 10);
    EXPECT_NE(myforms[56].win, nullptr);
    hide_form(56);
    EXPECT_EQ(myforms[56].win, nullptr);
    hide_form(57);   // nothing to hide, nothing happens
}

}  // namespace
