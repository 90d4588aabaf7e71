// Editing an entry form: type, check with Enter, confirm on "決定".
#include "ui/NQ_Forms.h"
#include "ui/form_keys.h"
#include "base/bounded_text.h"

#include <cstdlib>
#include <cstring>

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

// Text that the operator typed into a catalogue form and left with Esc or F9,
// stored without a check. While the form still holds it, the next Enter in
// the entry checks it, as it would have been checked had the operator not
// left; a value that a screen writes in its place passes unchecked as usual.
char unchecked[MYFORM_MAX][FORM_TEXT_MAX];

char* unchecked_slot(const MyForm* f)
{
    if (f < myforms || f >= myforms + MYFORM_MAX) return nullptr;
    return unchecked[f - myforms];
}

// Stores what the entry shows as the field's text without checking it: the
// library takes typed text into the field only when it checks it, and a
// cancelled edit must neither be checked (a number would be reformatted) nor
// lost (the form shows it again next time).
void keep_typed_text(MyForm* f)
{
    FIELD* field = f->fields[1];
    char* slot = unchecked_slot(f);
    if (slot == nullptr || current_field(f->form) != field || f->win == nullptr) return;
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
    size_t len = wcstombs(text, wide, sizeof text - 1);
    if (len == static_cast<size_t>(-1)) return;
    text[len] = '\0';
    set_field_buffer(field, 0, text);
    // Compared with what the library gives back, padding included.
    copy_text(slot, FORM_TEXT_MAX, field_buffer(field, 0));
}

// Takes the text typed into f before and never checked, when the entry still
// holds it (a screen may have written a value of its own since): true and
// the text in `text`.
bool take_unchecked_text(MyForm* f, char* text, size_t size)
{
    char* slot = unchecked_slot(f);
    if (slot == nullptr || slot[0] == '\0') return false;
    bool same = std::strcmp(slot, field_buffer(f->fields[1], 0)) == 0;
    copy_text(text, size, slot);
    slot[0] = '\0';
    return same;
}

// Types text into the entry again, so the library checks it on Enter as if
// the operator had just typed it.
void retype(MyForm* f, const char* typed)
{
    char text[FORM_TEXT_MAX];
    copy_text(text, sizeof text, typed);
    cut_rightspace(text);
    wchar_t wide[FORM_TEXT_MAX];
    size_t n = mbstowcs(wide, text, FORM_TEXT_MAX - 1);
    if (n == static_cast<size_t>(-1)) return;
    form_driver(f->form, REQ_CLR_FIELD);
    for (size_t i = 0; i < n; i++) form_driver_w(f->form, OK, wide[i]);
}

// Leaving with Esc or F9: what the operator typed now, or text still
// unchecked from before, stays marked for a check.
void leave_entry(MyForm* f, bool edited, const char* unchecked_before)
{
    char* slot = unchecked_slot(f);
    if (edited) keep_typed_text(f);
    else if (slot != nullptr && unchecked_before != nullptr) copy_text(slot, FORM_TEXT_MAX, unchecked_before);
}

// Enter in the entry field: a value that fails its check is cleared; one that
// passes goes on to the button, unless it starts with a blank (only free text
// may stay empty). The library checks only a field changed since it was shown.
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
    char unchecked_text[FORM_TEXT_MAX];
    bool recheck = take_unchecked_text(f, unchecked_text, sizeof unchecked_text);
    bool edited = false;   // typed into since the last check
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
            if (recheck && !edited) retype(f, unchecked_text);
            recheck = false;
            check_entry(f);
            edited = false;
            break;
        case Key::Left:
            if (on_button) set_current_field(f->form, f->fields[1]);
            else form_driver(f->form, REQ_LEFT_CHAR);
            break;
        case Key::Right:
            if (on_button) set_current_field(f->form, f->fields[1]);
            else form_driver(f->form, REQ_RIGHT_CHAR);
            break;
        case Key::Backspace:
            if (form_driver(f->form, REQ_DEL_PREV) == E_OK) edited = true;
            break;
        case Key::Delete:
            if (form_driver(f->form, REQ_DEL_CHAR) == E_OK) edited = true;
            break;
        case Key::F9:
            leave_entry(f, edited, recheck ? unchecked_text : nullptr);
            return -999;
        case Key::Text:
            if (form_driver_w(f->form, OK, static_cast<wchar_t>(k.ch)) == E_OK) edited = true;
            break;
        default: break;
        }
        if (k.key == Key::Esc) leave_entry(f, edited, recheck ? unchecked_text : nullptr);
        refresh_form(f);
        if (k.key == Key::Esc) return 0;
    }
}
