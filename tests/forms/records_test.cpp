// Form records: what new_myform takes and refuses, and what the setters and
// builders make of the values they are given.
#include <gtest/gtest.h>

#include "forms/null_screen.h"

#include <string>

namespace {

using FormRecords = forms_test::NullScreen;

TEST_F(FormRecords, NewFormsGetTheirDefaultsAndSlotCounts)
{
    struct { int kind; int slots; int nsel; } kinds[] = {
        {1, 3, 0}, {2, 3, 0}, {3, 3, 0}, {4, 3, 0}, {5, 3, 0}, {6, 4, 0}, {7, 17, 16},
    };
    for (const auto& k : kinds) {
        int n = nforms;
        EXPECT_EQ(new_myform(k.kind, 8, "x"), k.slots) << "kind " << k.kind;
        EXPECT_EQ(nforms, n + 1);
        const MyForm& f = myforms[n];
        EXPECT_EQ(f.nsel, k.nsel);
        EXPECT_EQ(f.pair_normal, 5);
        EXPECT_EQ(f.pair_select, 4);
        EXPECT_EQ(f.zenkaku, 0);
        EXPECT_EQ(f.int_min, 0);
        EXPECT_EQ(f.int_max, 0);
        EXPECT_STREQ(f.sel_text[0], "");
    }
}

TEST_F(FormRecords, UnknownKindsAndAHundredAndFirstFormAreRefused)
{
    for (int kind : {0, 8, -1}) {
        EXPECT_EQ(new_myform(kind, 5, "x"), 0) << kind;
        EXPECT_EQ(nforms, 0);
    }
    for (int i = 0; i < MYFORM_MAX; i++) ASSERT_EQ(new_myform(1, 5, "x"), 3);
    EXPECT_EQ(new_myform(1, 5, "x"), 0);
    EXPECT_EQ(nforms, MYFORM_MAX);
}

TEST_F(FormRecords, TextsAreCutToTheirSlotsBetweenCharacters)
{
    // 8 three-byte characters: 19 bytes hold 6 of them.
    new_myform(5, 8, "あいうえおかきく");
    MyForm* f = &myforms[0];
    EXPECT_STREQ(f->label, "あいうえおか");
    set_sel_label(f, "0123456789abcdefghijkl", 0);
    EXPECT_STREQ(f->sel_text[0], "0123456789abcdefghi");
    set_sel_label(f, "last", 19);
    EXPECT_STREQ(f->sel_text[19], "last");
    set_sel_label(f, "none", 20);   // no such choice: nothing changes
    set_sel_label(f, "none", -1);
    EXPECT_STREQ(f->sel_text[19], "last");
    EXPECT_STREQ(f->label, "あいうえおか");
}

TEST_F(FormRecords, AListHasRowsForItsChoicesOnly)
{
    struct { int nsel; int rows; int built; } lists[] = {
        {5, 7, 5}, {16, 18, 16}, {1, 3, 1},
        {40, 18, 16},   // a list never has more than 16 choices
        {0, 3, 1},
    };
    for (const auto& l : lists) {
        SCOPED_TRACE("nsel " + std::to_string(l.nsel));
        int k = nforms;
        new_myform(7, 12, "list");
        MyForm* f = &myforms[k];
        set_nsel(f, l.nsel);
        for (int i = 0; i < MYFORM_SEL; i++) set_sel_label(f, "c", i);
        init_myform(f);
        ASSERT_NE(f->form, nullptr);
        EXPECT_EQ(f->rows, l.rows);
        EXPECT_EQ(f->cols, 21);
        EXPECT_EQ(field_count(f->form), l.built + 1);
        EXPECT_EQ(f->fields[l.built + 1], nullptr);
    }
}

TEST_F(FormRecords, FormsThatCannotBeBuiltAreLeftAloneByEveryCall)
{
    new_myform(1, -5, "bad");
    MyForm* f = &myforms[0];
    init_myform(f);
    EXPECT_EQ(f->form, nullptr);
    show_myform(f, 0, 0);
    EXPECT_EQ(f->win, nullptr);
    char out[8] = "keep";
    EXPECT_EQ(get_input1(f, out, sizeof out), 0);
    EXPECT_STREQ(out, "keep");
    EXPECT_EQ(get_formsel(f, 1), 0);
    hide_myform(f);
    EXPECT_EQ(get_input1(nullptr, out, sizeof out), 0);
    EXPECT_EQ(get_formsel(nullptr, 1), 0);
}

TEST_F(FormRecords, LoopsRefuseFormsOfTheOtherFamily)
{
    new_myform(1, 5, "entry");
    init_myform(&myforms[0]);
    new_myform(5, 8, "choice");
    init_myform(&myforms[1]);
    char out[FORM_TEXT_MAX];
    // Neither loop reads a key for a form it does not handle.
    EXPECT_EQ(get_formsel(&myforms[0], 1), 0);
    EXPECT_EQ(get_input1(&myforms[1], out), 0);
}

TEST_F(FormRecords, AFormWiderThanTheScreenStartsAtItsLeftEdge)
{
    new_myform(3, 90, "wide");
    MyForm* f = &myforms[0];
    init_myform(f);
    ASSERT_NE(f->form, nullptr);
    show_myform(f, 5, 30);   // 116 columns on an 80-column screen
    ASSERT_NE(f->win, nullptr);
    EXPECT_EQ(getbegy(f->win), 5);
    EXPECT_EQ(getbegx(f->win), 0);
    hide_myform(f);
    EXPECT_EQ(f->win, nullptr);
}

}  // namespace
