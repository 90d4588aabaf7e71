// Choosing one of the choices of a selection form.
#include "ui/NQ_Forms.h"
#include "ui/form_keys.h"
#include "base/bounded_text.h"

namespace {

int choices_of(const MyForm* f)
{
    if (f->kind == 5) return 2;
    if (f->kind == 6) return 3;
    if (f->nsel < 1) return 1;
    return f->nsel > 16 ? 16 : f->nsel;
}

void paint(FIELD* field, int pair)
{
    set_field_fore(field, COLOR_PAIR(pair));
    set_field_back(field, COLOR_PAIR(pair));
}

// Writes the choice's own text back into it, so it is drawn again at once.
void redraw_choice(MyForm* f, int n)
{
    char text[FORM_TEXT_MAX];
    copy_text(text, sizeof text, field_buffer(f->fields[n], 0));
    set_field_buffer(f->fields[n], 0, text);
}

}  // namespace

int get_formsel(MyForm* f, int start)
{
    if (f == nullptr || f->kind < 5 || f->kind > 7 || f->form == nullptr) return 0;
    int n = choices_of(f);
    for (int i = 1; i <= n; i++) {
        if (f->fields[i] == nullptr) return 0;
    }
    // The start comes from a unit's value; one the form does not have
    // starts on the first choice.
    int cur = start >= 1 && start <= n ? start : 1;
    Key back = f->kind == 7 ? Key::Up : Key::Left;
    Key next = f->kind == 7 ? Key::Down : Key::Right;
    WINDOW* keys = f->win != nullptr ? f->win : stdscr;

    curs_set(0);
    // A choice left highlighted by an earlier call would look chosen too.
    for (int i = 1; i <= n; i++) paint(f->fields[i], f->pair_normal);
    set_current_field(f->form, f->fields[cur]);
    paint(f->fields[cur], f->pair_select);
    redraw_choice(f, cur);
    if (f->win != nullptr) wrefresh(f->win);

    for (;;) {
        KeyPress k = read_key(keys);
        if (k.key == Key::Enter) return cur;
        if (k.key == Key::F9) return -999;
        if (k.key == back || k.key == next) {
            paint(f->fields[cur], f->pair_normal);
            if (k.key == back) cur = cur == 1 ? n : cur - 1;
            else cur = cur == n ? 1 : cur + 1;
            set_current_field(f->form, f->fields[cur]);
            paint(f->fields[cur], f->pair_select);
        }
        redraw_choice(f, cur);
        if (f->win != nullptr) wrefresh(f->win);
        if (k.key == Key::Esc) return 0;
    }
}
