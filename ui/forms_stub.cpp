// Placeholder definitions until the forms are written; removed by then.
#include "ui/NQ_Forms.h"

MyForm myforms[MYFORM_MAX];
int nforms = 0;
int new_myform(int, int, const char*) { return 0; }
void set_int_limits(MyForm*, int, int) {}
void set_double_limits(MyForm*, int, double, double) {}
void set_colors(MyForm*, int, int) {}
void set_nsel(MyForm*, int) {}
void set_zenkaku_form(MyForm*, int) {}
void set_sel_label(MyForm*, const char*, int) {}
void init_myform(MyForm*) {}
void init_myform_1int(MyForm*) {}
void init_myform_1ip4(MyForm*) {}
void init_myform_1any(MyForm*) {}
void init_myform_1num(MyForm*) {}
void init_myform_2sel(MyForm*) {}
void init_myform_3sel(MyForm*) {}
void init_myform_16sel(MyForm*) {}
void show_myform(MyForm*, int, int) {}
void hide_myform(MyForm*) {}
void del_myforms() {}
int get_input1(MyForm*, char*, int) { return -999; }
int get_formsel(MyForm*, int) { return -999; }
int is_zenkakustr(const char*) { return 0; }
int cut_rightspace(char*) { return 0; }
