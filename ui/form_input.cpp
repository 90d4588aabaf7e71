// Editing an entry form: type, check with Enter, confirm on "決定".
#include "ui/NQ_Forms.h"
#include "ui/form_keys.h"
#include "ui/text_copy.h"

namespace {

void refresh_form(MyForm* f)
{
    pos_form_cursor(f->form);
    if (f->win != nullptr) wrefresh(f->win);
}

void clear_entry(MyForm* f)
{
    set_current_field(f->form, f->fields[1]);
    form_driver(f->form, REQ_CLR_FIELD);
}

// Enter in the entry field: a value that fails its check is cleared; one that
// passes goes on to the button, unless it starts with a blank (only free text
// may stay empty).
void check_entry(MyForm* f)
{
    if (form_driver(f->form, REQ_VALIDATION) != E_OK) {
        clear_entry(f);
        return;
    }
    const char* text = field_buffer(f->fields[1], 0);
    bool starts_blank = text == nullptr || text[0] == ' ' || text[0] == '\0';
    if (!starts_blank || f->kind == 3) set_current_field(f->form, f->fields[2]);
}

}  // namespace

int get_input1(MyForm* f, char* out, int outsize)
{
    if (f == nullptr || f->kind < 1 || f->kind > 4 || f->form == nullptr) return 0;
    if (out == nullptr || outsize <= 0) return 0;
    WINDOW* keys = f->win != nullptr ? f->win : stdscr;
    curs_set(1);
    refresh_form(f);
    for (;;) {
        KeyPress k = read_key(keys);
        bool on_button = current_field(f->form) == f->fields[2];
        switch (k.key) {
        case Key::Enter:
            if (on_button) {
                const char* text = field_buffer(f->fields[1], 0);
                // The check runs on the whole entry, so a multibyte character
                // cut off by a short buffer is still refused.
                if (f->zenkaku == 0 && is_zenkakustr(text) == 1) {
                    clear_entry(f);
                    break;
                }
                copy_text(out, static_cast<size_t>(outsize), text);
                cut_rightspace(out);
                return 1;
            }
            check_entry(f);
            break;
        case Key::Left:
            if (on_button) set_current_field(f->form, f->fields[1]);
            else form_driver(f->form, REQ_LEFT_CHAR);
            break;
        case Key::Right:
            if (on_button) set_current_field(f->form, f->fields[1]);
            else form_driver(f->form, REQ_RIGHT_CHAR);
            break;
        case Key::Backspace: form_driver(f->form, REQ_DEL_PREV); break;
        case Key::Delete: form_driver(f->form, REQ_DEL_CHAR); break;
        case Key::F9: return -999;
        case Key::Text: form_driver_w(f->form, OK, static_cast<wchar_t>(k.ch)); break;
        default: break;
        }
        refresh_form(f);
        if (k.key == Key::Esc) return 0;
    }
}
