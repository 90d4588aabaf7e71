// The form records: creation with their defaults, the setters, and freeing
// the form objects at the end of the run.
#include "ui/NQ_Forms.h"
#include "ui/colour_pairs.h"
#include "base/bounded_text.h"

#include <cstring>

MyForm myforms[MYFORM_MAX];
int nforms = 0;

namespace {

int fields_of_kind(int kind)
{
    switch (kind) {
    case 6: return 4;
    case 7: return 17;
    default: return 3;
    }
}

}  // namespace

int new_myform(int kind, int width, const char* label)
{
    if (nforms >= MYFORM_MAX || nforms < 0) return 0;
    if (kind < 1 || kind > 7) return 0;
    MyForm* f = &myforms[nforms];
    *f = MyForm{};
    f->kind = kind;
    f->width = width;
    copy_text(f->label, sizeof f->label, label);
    f->pair_normal = PAIR_CURRENT;
    f->pair_select = PAIR_ITEM;
    f->nsel = kind == 7 ? 16 : 0;
    f->nfields = fields_of_kind(kind);
    nforms++;
    return f->nfields;
}

void set_int_limits(MyForm* f, int min, int max)
{
    if (f == nullptr) return;
    f->int_min = min;
    f->int_max = max;
}

void set_double_limits(MyForm* f, int digits, double min, double max)
{
    if (f == nullptr) return;
    f->num_digits = digits;
    f->num_min = min;
    f->num_max = max;
}

void set_colors(MyForm* f, int normal, int select)
{
    if (f == nullptr) return;
    f->pair_normal = normal;
    f->pair_select = select;
}

void set_nsel(MyForm* f, int n)
{
    if (f == nullptr) return;
    f->nsel = n;
}

void set_zenkaku_form(MyForm* f, int flag)
{
    if (f == nullptr) return;
    f->zenkaku = flag;
}

void set_sel_label(MyForm* f, const char* text, int i)
{
    if (f == nullptr || i < 0 || i >= MYFORM_SEL) return;
    copy_text(f->sel_text[i], sizeof f->sel_text[i], text);
}

void del_myforms()
{
    for (int k = 0; k < nforms && k < MYFORM_MAX; k++) {
        MyForm* f = &myforms[k];
        if (f->win != nullptr) hide_myform(f);
        if (f->form != nullptr) {
            free_form(f->form);
            f->form = nullptr;
        }
        for (FIELD*& field : f->fields) {
            if (field == nullptr) continue;   // the unused slots of a short list
            free_field(field);
            field = nullptr;
        }
    }
}
