// The catalogue of input forms as data: one row per form, in the order of
// their numbers.
#pragma once

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
