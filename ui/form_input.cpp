// Editing an entry form: type, check with Enter, confirm on "決定".
#include "ui/NQ_Forms.h"
#include "ui/form_keys.h"
#include "ui/text_copy.h"

#include <cstdlib>

namespace {

void refresh_form(MyForm* f)
{
    pos_form_cursor(f->form);
    if (f->win != nullptr) wrefresh(f->win);
}

// Empties the entry and puts the cursor at its start. The field's stored
// text is emptied too, so the refused value does not come back when the form
// is shown again.
void clear_entry(MyForm* f)
{
    set_current_field(f->form, f->fields[1]);
    set_field_buffer(f->fields[1], 0, "");
    form_driver(f->form, REQ_BEG_FIELD);
}

// Stores what the entry shows as the field's text without checking it: the
// library takes typed text into the field only when it checks it, and a
// cancelled edit must neither be checked (a number would be reformatted) nor
// lost (the form shows it again next time).
void keep_typed_text(MyForm* f)
{
    FIELD* field = f->fields[1];
    if (current_field(f->form) != field || f->win == nullptr) return;
    int rows = 0, cols = 0, frow = 0, fcol = 0, nrow = 0, nbuf = 0;
    if (field_info(field, &rows, &cols, &frow, &fcol, &nrow, &nbuf) != E_OK) return;
    constexpr int MAX_COLS = FORM_TEXT_MAX / 4;
    if (cols < 1 || cols > MAX_COLS) return;
    cchar_t cells[MAX_COLS + 1];
    if (mvwin_wchnstr(form_sub(f->form), frow, fcol, cells, cols) == ERR) return;
    wchar_t wide[MAX_COLS + 1];
    int n = 0;
    for (int i = 0; i < cols; i++) {
        wchar_t ch[CCHARW_MAX + 1] = {};
        attr_t attrs = 0;
        short pair = 0;
        if (getcchar(&cells[i], ch, &attrs, &pair, nullptr) == ERR || ch[0] == L'\0') break;
        wide[n++] = ch[0];
    }
    wide[n] = L'\0';
    char text[FORM_TEXT_MAX];
    if (wcstombs(text, wide, sizeof text) == static_cast<size_t>(-1)) return;
    set_field_buffer(field, 0, text);
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
        case Key::F9:
            keep_typed_text(f);
            return -999;
        case Key::Text: form_driver_w(f->form, OK, static_cast<wchar_t>(k.ch)); break;
        default: break;
        }
        if (k.key == Key::Esc) keep_typed_text(f);
        refresh_form(f);
        if (k.key == Key::Esc) return 0;
    }
}
