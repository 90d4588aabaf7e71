// The catalogue of input forms as data: one row per form, in the order of
// their numbers.
#pragma once

#include "base/choice_tables.h"

constexpr int CATALOGUE_FORMS = 57;
constexpr unsigned CATALOGUE_PLACED = 34;   // forms 0..33 have a fixed position

struct FormSpec {
    using Sel = const char* [3];
    int kind;                  // 1..7 as in MyForm
    int width;                 // entry and choice fields are width + 1 columns
    const char* label;
    double min;                // limits of kinds 1 (whole numbers) and 4
    double max;
    int digits;                // digits after the point of kind 4
    Sel sel;                   // choices of kinds 5 and 6
    const char* const* list;   // choice table of kind 7
    int nlist;                 // choices of kind 7, taken from the start of list
    int row;                   // fixed position of forms 0..33, -1 for the others
    int col;
};

extern const FormSpec form_catalogue[CATALOGUE_FORMS];

// The 57 forms of the catalogue, made once at start-up.
void init_forms();
void show_form(unsigned n);
// Shows any catalogue form 0..56: at row, col, or at its fixed place when
// row is negative (forms 0..33 only have one).
void show_form_at(unsigned n, int row, int col);
void hide_form(unsigned n);

