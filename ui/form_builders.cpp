// Building the fields and the form object of each of the seven kinds.
#include "ui/NQ_Forms.h"
#include "ui/ipv4_field_type.h"

namespace {

// Widths beyond this would not fit any screen; such a record is left unbuilt.
constexpr int WIDTH_LIMIT = 200;

struct FieldLayout {
    int cols;
    int row;
    int col;
    const char* text;   // nullptr leaves the field blank
    Field_Options off;  // options switched off
};

// Makes the fields of record f from their layouts (slot 0 first) and the form over
// them. When any of them cannot be made, nothing is kept and f->form stays
// null, which the show and input functions treat as no form.
void build(MyForm* f, const FieldLayout* slots, int count)
{
    // A record built before is built anew from its current settings.
    if (f->form != nullptr) free_form(f->form);
    f->form = nullptr;
    for (FIELD*& field : f->fields) {
        if (field != nullptr) free_field(field);
        field = nullptr;
    }
    for (int i = 0; i < count; i++) {
        const FieldLayout& s = slots[i];
        FIELD* field = new_field(1, s.cols, s.row, s.col, 0, 0);
        if (field == nullptr) {
            for (int k = 0; k < i; k++) {
                free_field(f->fields[k]);
                f->fields[k] = nullptr;
            }
            return;
        }
        if (s.text != nullptr) set_field_buffer(field, 0, s.text);
        if (s.off != 0) field_opts_off(field, s.off);
        f->fields[i] = field;
    }
    f->form = new_form(f->fields);
}

bool width_ok(const MyForm* f)
{
    return f->width >= 0 && f->width <= WIDTH_LIMIT;
}

// Label, entry and the button "決定": the layout shared by the entry kinds.
void build_entry(MyForm* f, Field_Options entry_off)
{
    if (!width_ok(f)) return;
    int w = f->width + 1;
    const FieldLayout slots[3] = {
        {12, 0, 0, f->label, O_ACTIVE},
        {w, 0, 13, nullptr, entry_off},
        {8, 0, w + 14, "決定", O_EDIT},
    };
    f->cols = w + 22;
    f->rows = 1;
    build(f, slots, 3);
}

}  // namespace

void init_myform_1int(MyForm* f)
{
    if (f == nullptr) return;
    build_entry(f, O_AUTOSKIP | O_NULLOK);
    if (f->form == nullptr) return;
    // precision 1: the value is shown without leading zeros
    set_field_type(f->fields[1], TYPE_INTEGER, 1, static_cast<long>(f->int_min),
                   static_cast<long>(f->int_max));
}

void init_myform_1ip4(MyForm* f)
{
    if (f == nullptr) return;
    build_entry(f, O_AUTOSKIP | O_NULLOK);
    if (f->form == nullptr) return;
    // A strict dotted quad: the library's own address type lets through texts
    // that the system's address parsers read as another address.
    set_field_type(f->fields[1], dotted_quad_type());
}

void init_myform_1any(MyForm* f)
{
    if (f == nullptr) return;
    build_entry(f, O_AUTOSKIP);
}

void init_myform_1num(MyForm* f)
{
    if (f == nullptr) return;
    build_entry(f, O_AUTOSKIP | O_NULLOK);
    if (f->form == nullptr) return;
    set_field_type(f->fields[1], TYPE_NUMERIC, f->num_digits, f->num_min, f->num_max);
}

void init_myform_2sel(MyForm* f)
{
    if (f == nullptr || !width_ok(f)) return;
    int w = f->width + 1;
    const FieldLayout slots[3] = {
        {12, 0, w, f->label, O_ACTIVE},
        {w, 1, 3, f->sel_text[0], O_EDIT | O_AUTOSKIP},
        {w, 1, w + 5, f->sel_text[1], O_EDIT | O_AUTOSKIP},
    };
    f->cols = 2 * w + 8;
    f->rows = 2;
    build(f, slots, 3);
}

void init_myform_3sel(MyForm* f)
{
    if (f == nullptr || !width_ok(f)) return;
    int w = f->width + 1;
    const FieldLayout slots[4] = {
        {12, 0, w, f->label, O_ACTIVE},
        {w, 1, 3, f->sel_text[0], O_EDIT},
        {w, 1, w + 5, f->sel_text[1], O_EDIT},
        {w, 1, 2 * w + 7, f->sel_text[2], O_EDIT},
    };
    f->cols = 3 * w + 10;
    f->rows = 2;
    build(f, slots, 4);
}

void init_myform_16sel(MyForm* f)
{
    if (f == nullptr || !width_ok(f)) return;
    // The list has room for 16 choices whatever was asked for.
    if (f->nsel < 1) f->nsel = 1;
    if (f->nsel > 16) f->nsel = 16;
    int w = f->width + 1;
    FieldLayout slots[17];
    slots[0] = {w + 4, 0, 0, f->label, O_ACTIVE};
    for (int i = 1; i <= f->nsel; i++) slots[i] = {w, i + 1, 2, f->sel_text[i - 1], O_EDIT};
    f->cols = w + 8;
    f->rows = f->nsel + 2;
    build(f, slots, f->nsel + 1);
}

void init_myform(MyForm* f)
{
    // A form on screen keeps its fields until it is hidden.
    if (f == nullptr || f->win != nullptr) return;
    switch (f->kind) {
    case 1: init_myform_1int(f); break;
    case 2: init_myform_1ip4(f); break;
    case 3: init_myform_1any(f); break;
    case 4: init_myform_1num(f); break;
    case 5: init_myform_2sel(f); break;
    case 6: init_myform_3sel(f); break;
    case 7: init_myform_16sel(f); break;
    default: break;
    }
}
