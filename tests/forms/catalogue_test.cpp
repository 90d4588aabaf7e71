// The catalogue of input forms as the program builds it at start-up, held to
// what must be true of every row whatever it says: each form is built as
// its row gives it, its fields lie inside it, it fits the 80 x 24 screen at
// its place, a list shows its choice table and nothing else, and an entry
// takes exactly the values its limits allow and has the room to show them.
#include <gtest/gtest.h>

#include "forms/null_screen.h"
#include "ui/NQ_Forms.h"
#include "ui/form_catalogue.h"
#include "ui/form_ids.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <cwchar>
#include <set>
#include <string>
#include <vector>

namespace {

constexpr int SCREEN_ROWS = 24, SCREEN_COLS = 80;

bool entry_kind(int kind) { return kind >= 1 && kind <= 4; }

// Columns a text takes on the terminal.
int columns(const char* text)
{
    wchar_t wide[64];
    const size_t n = std::mbstowcs(wide, text, 64);
    return n == static_cast<size_t>(-1) ? 1000 : wcswidth(wide, n);
}

std::string field_text(FIELD* field)
{
    std::string s = field_buffer(field, 0);
    while (!s.empty() && s.back() == ' ') s.pop_back();
    return s;
}

// The choices a row gives its form: kinds 5 and 6 their own, kind 7 the
// first nlist texts of its table.
std::vector<const char*> choices_of(const FormSpec& s)
{
    std::vector<const char*> out;
    if (s.kind == 5 || s.kind == 6)
        for (const char* c : s.sel)
            if (c != nullptr) out.push_back(c);
    if (s.kind == 7 && s.list != nullptr)
        for (int i = 0; i < s.nlist && i < 16; i++) out.push_back(s.list[i]);
    return out;
}

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

TEST_F(Catalogue, EveryRowIsBuiltAsItsRowGivesIt)
{
    ASSERT_EQ(nforms, CATALOGUE_FORMS);
    ASSERT_EQ(static_cast<int>(FORM_COUNT), CATALOGUE_FORMS) << "every form has its name";
    for (int k = 0; k < CATALOGUE_FORMS; k++) {
        SCOPED_TRACE("form " + std::to_string(k));
        const FormSpec& s = form_catalogue[k];
        const MyForm& f = myforms[k];
        EXPECT_EQ(f.kind, s.kind);
        EXPECT_EQ(f.width, s.width);
        EXPECT_STREQ(f.label, s.label) << "the label is cut";
        EXPECT_EQ(f.zenkaku, 0);
        EXPECT_EQ(f.pair_normal, 5);
        EXPECT_EQ(f.pair_select, 4);
        ASSERT_NE(f.form, nullptr);
        EXPECT_EQ(field_text(f.fields[0]), s.label) << "the label is shown whole";
        EXPECT_EQ(f.nfields, s.kind == 6 ? 4 : s.kind == 7 ? 17 : 3);
    }
}

// Slot 0 is the label and never reached; an entry kind has its entry and
// the button "決定"; a choice kind its choices, chosen but not typed into.
TEST_F(Catalogue, EveryFieldLiesInsideItsFormBesideTheOthersAndHoldsItsText)
{
    for (int k = 0; k < CATALOGUE_FORMS; k++) {
        SCOPED_TRACE("form " + std::to_string(k));
        const MyForm& f = myforms[k];
        const int slots =
            entry_kind(f.kind) ? 3 : static_cast<int>(choices_of(form_catalogue[k]).size()) + 1;
        std::set<std::pair<int, int>> taken;  // row, column of every cell of a field
        for (int i = 0; i < slots; i++) {
            SCOPED_TRACE("slot " + std::to_string(i));
            int rows, cols, row, col, offscreen, buffers;
            ASSERT_NE(f.fields[i], nullptr);
            ASSERT_EQ(field_info(f.fields[i], &rows, &cols, &row, &col, &offscreen, &buffers),
                      E_OK);
            EXPECT_EQ(rows, 1);
            EXPECT_TRUE(row >= 0 && row < f.rows && col >= 0 && col + cols <= f.cols)
                << "at " << row << "," << col << " over " << cols << " of " << f.rows << " x "
                << f.cols;
            for (int c = col; c < col + cols; c++)
                EXPECT_TRUE(taken.insert({row, c}).second) << "two fields share column " << c;
            const Field_Options o = field_opts(f.fields[i]);
            const bool typed = entry_kind(f.kind) && i == 1;
            EXPECT_EQ((o & O_ACTIVE) != 0, i > 0);
            if (i > 0) {
                EXPECT_EQ((o & O_EDIT) != 0, typed);
            }
            const char* text = i == 0               ? f.label
                               : typed              ? ""
                               : entry_kind(f.kind) ? "決定"
                                                    : f.sel_text[i - 1];
            EXPECT_LE(columns(text), cols) << text;
            if (typed) {
                EXPECT_EQ(cols, f.width + 1);
            } else if (i > 0) {
                EXPECT_EQ(field_text(f.fields[i]), text);
            }
        }
        EXPECT_EQ(f.fields[slots], nullptr) << "the fields end after the last";
        if (!entry_kind(f.kind)) continue;
        // Entries of the checked kinds must be filled in; free text may stay empty.
        const Field_Options o = field_opts(f.fields[1]);
        EXPECT_EQ((o & O_NULLOK) != 0, f.kind == 3);
        EXPECT_EQ(o & O_AUTOSKIP, 0);
        EXPECT_NE(o & O_PASSOK, 0);
    }
}

// Forms up to FORM_AO_VALUE are shown at the place their row gives; the
// others where their screen puts them, so they must at least fit the screen.
TEST_F(Catalogue, EveryFormFitsTheScreenAtItsPlace)
{
    ASSERT_EQ(CATALOGUE_PLACED, FORM_AO_VALUE + 1u);
    for (int k = 0; k < CATALOGUE_FORMS; k++) {
        SCOPED_TRACE("form " + std::to_string(k));
        const FormSpec& s = form_catalogue[k];
        MyForm& f = myforms[k];
        const int rows = f.rows + 2, cols = f.cols + 4;  // with the frame
        EXPECT_TRUE(rows <= SCREEN_ROWS && cols <= SCREEN_COLS) << rows << " x " << cols;
        show_form(k);
        if (static_cast<unsigned>(k) >= CATALOGUE_PLACED) {
            EXPECT_TRUE(s.row == -1 && s.col == -1);
            EXPECT_EQ(f.win, nullptr) << "a form placed by its screen has no place of its own";
            continue;
        }
        ASSERT_NE(f.win, nullptr);
        const int row = getbegy(f.win), col = getbegx(f.win);
        EXPECT_TRUE(getmaxy(f.win) == rows && getmaxx(f.win) == cols);
        EXPECT_TRUE(row >= 0 && col >= 0 && row + rows <= SCREEN_ROWS && col + cols <= SCREEN_COLS)
            << "at " << row << "," << col;
        // At its place, or moved onto the screen when that lies past an edge.
        EXPECT_TRUE(row == s.row || (s.row + rows > SCREEN_ROWS && row + rows == SCREEN_ROWS));
        EXPECT_TRUE(col == s.col || (s.col + cols > SCREEN_COLS && col + cols == SCREEN_COLS));
        hide_form(k);
        EXPECT_EQ(f.win, nullptr);
    }
    show_form(CATALOGUE_FORMS);  // past the catalogue: nothing shown, nothing to hide
    hide_form(CATALOGUE_FORMS);
    show_form_at(FORM_DO_DIRECTION, 10, 10);
    EXPECT_NE(myforms[FORM_DO_DIRECTION].win, nullptr);
    hide_form(FORM_DO_DIRECTION);
    EXPECT_EQ(myforms[FORM_DO_DIRECTION].win, nullptr);
}

TEST_F(Catalogue, EveryChoiceFormShowsItsChoicesAndAListExactlyItsTable)
{
    for (int k = 0; k < CATALOGUE_FORMS; k++) {
        SCOPED_TRACE("form " + std::to_string(k));
        const FormSpec& s = form_catalogue[k];
        const MyForm& f = myforms[k];
        const std::vector<const char*> choices = choices_of(s);
        if (entry_kind(s.kind)) {
            EXPECT_TRUE(choices.empty() && s.sel[0] == nullptr && s.list == nullptr &&
                        s.nlist == 0);
            continue;
        }
        EXPECT_EQ(choices.size(), s.kind == 5   ? 2u
                                  : s.kind == 6 ? 3u
                                                : static_cast<size_t>(s.nlist));
        EXPECT_EQ(s.list != nullptr, s.kind == 7);
        if (s.kind == 7) {
            EXPECT_TRUE(s.nlist >= 1 && s.nlist <= 16) << s.nlist;
            EXPECT_EQ(f.nsel, s.nlist);
            // The table holds texts up to the count the form takes, then empty slots.
            for (int i = s.nlist; i < 16; i++)
                EXPECT_TRUE(s.list[i] == nullptr || s.list[i][0] == '\0') << "slot " << i;
        }
        std::set<std::string> seen;
        for (size_t i = 0; i < choices.size(); i++) {
            ASSERT_NE(choices[i], nullptr) << "choice " << i;
            EXPECT_NE(choices[i][0], '\0') << "choice " << i << " has no text";
            EXPECT_TRUE(seen.insert(choices[i]).second) << "choice " << i << " twice";
            EXPECT_STREQ(f.sel_text[i], choices[i]);
        }
    }
}

// A whole number or a decimal: its limits are the last values taken, and
// the entry has room for both; an address entry for the longest address.
TEST_F(Catalogue, EveryEntryTakesExactlyItsLimitsAndHasRoomForThem)
{
    for (int k = 0; k < CATALOGUE_FORMS; k++) {
        SCOPED_TRACE("form " + std::to_string(k));
        const FormSpec& s = form_catalogue[k];
        MyForm* f = &myforms[k];
        if (s.kind != 1 && s.kind != 4) {
            EXPECT_TRUE(s.min == 0 && s.max == 0 && s.digits == 0) << "limits of another kind";
            if (s.kind == 2) {
                EXPECT_TRUE(accepts(f, "255.255.255.255"));
            }
            continue;
        }
        char lo[32], hi[32], below[32], above[32];
        if (s.kind == 1) {
            EXPECT_EQ(f->int_min, static_cast<int>(s.min));
            EXPECT_EQ(f->int_max, static_cast<int>(s.max));
            EXPECT_EQ(s.digits, 0);
            std::snprintf(lo, sizeof lo, "%d", f->int_min);
            std::snprintf(hi, sizeof hi, "%d", f->int_max);
            std::snprintf(below, sizeof below, "%d", f->int_min - 1);
            std::snprintf(above, sizeof above, "%d", f->int_max + 1);
        } else {
            EXPECT_DOUBLE_EQ(f->num_min, s.min);
            EXPECT_DOUBLE_EQ(f->num_max, s.max);
            EXPECT_EQ(f->num_digits, s.digits);
            EXPECT_TRUE(s.digits >= 1 && s.digits <= 5) << s.digits;
            double step = 1;
            for (int i = 0; i < s.digits; i++) step /= 10;
            std::snprintf(lo, sizeof lo, "%.*f", s.digits, s.min);
            std::snprintf(hi, sizeof hi, "%.*f", s.digits, s.max);
            std::snprintf(below, sizeof below, "%.*f", s.digits, s.min - step);
            std::snprintf(above, sizeof above, "%.*f", s.digits, s.max + step);
        }
        EXPECT_LT(s.min, s.max);
        EXPECT_LE(std::strlen(lo), static_cast<size_t>(s.width)) << lo;
        EXPECT_LE(std::strlen(hi), static_cast<size_t>(s.width)) << hi;
        EXPECT_TRUE(accepts(f, lo)) << lo;
        EXPECT_TRUE(accepts(f, hi)) << hi;
        EXPECT_FALSE(accepts(f, below)) << below;
        EXPECT_FALSE(accepts(f, above)) << above;
        EXPECT_FALSE(accepts(f, "x")) << "a letter";
    }
}

}  // namespace
