// Input forms on the curses form library: seven kinds, shown in a framed
// window, edited with get_input1 (entries) or get_formsel (choices).
#pragma once

#include <curses.h>
#include <form.h>

constexpr int MYFORM_MAX = 100;
constexpr int MYFORM_SEL = 20;

struct MyForm {
    int kind;                 // 1 integer, 2 IPv4, 3 free text, 4 decimal, 5 two, 6 three choices, 7 list
    WINDOW* win;              // framed window while shown
    FORM* form;               // the form object
    FIELD* fields[18];        // nfields slots and the terminating null; slot 0 is the label
    int nfields;              // 3 for kinds 1..5, 4 for kind 6, 17 for kind 7
    char label[20];           // label text, at most 19 bytes
    int width;                // entry fields and choices are width + 1 columns
    int cols;                 // form area columns
    int rows;                 // form area rows
    int int_min;              // kind 1 limits
    int int_max;
    double num_min;           // kind 4 limits
    double num_max;
    int zenkaku;              // 1 when multibyte text is allowed
    char sel_text[MYFORM_SEL][20];  // choice texts of kinds 5..7
    int nsel;                 // choices of kind 7, 1..16
    int pair_normal;          // frame, entry, choices not current
    int pair_select;          // current choice
    int num_digits;           // kind 4 digits after the point
};

extern MyForm myforms[MYFORM_MAX];
extern int nforms;

// Longest text get_input1 can hand back: the widest entry (49 columns) in
// characters of up to four bytes, plus the terminator.
constexpr int FORM_TEXT_MAX = 49 * 4 + 1;

int new_myform(int kind, int width, const char* label);
void set_int_limits(MyForm* f, int min, int max);
void set_double_limits(MyForm* f, int digits, double min, double max);
void set_colors(MyForm* f, int normal, int select);
void set_nsel(MyForm* f, int n);
void set_zenkaku_form(MyForm* f, int flag);
void set_sel_label(MyForm* f, const char* text, int i);
void init_myform(MyForm* f);
void init_myform_1int(MyForm* f);
void init_myform_1ip4(MyForm* f);
void init_myform_1any(MyForm* f);
void init_myform_1num(MyForm* f);
void init_myform_2sel(MyForm* f);
void init_myform_3sel(MyForm* f);
void init_myform_16sel(MyForm* f);
void show_myform(MyForm* f, int row, int col);
void hide_myform(MyForm* f);
void del_myforms();

// out must hold FORM_TEXT_MAX bytes (or outsize, when given).
int get_input1(MyForm* f, char* out, int outsize = FORM_TEXT_MAX);
int get_formsel(MyForm* f, int start);
int is_zenkakustr(const char* text);
int cut_rightspace(char* text);
