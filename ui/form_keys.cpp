#include "ui/form_keys.h"

#include "ui/NQ_Menu.h"

namespace {

// In blocking mode curses fails a read only when the terminal cannot be
// read; after this many failures in a row it is gone, and the form ends as
// on F9 rather than spinning.
constexpr int LOST_TERMINAL_READS = 64;

}  // namespace

KeyPress read_key(WINDOW* win)
{
    wint_t ch = 0;
    int type = ERR;
    for (int errors = 0; errors < LOST_TERMINAL_READS && type == ERR; errors++) {
        type = wget_wch(win, &ch);
        repaint_after_resize();   // a form open while the window was resized comes back whole
    }
    if (type == ERR) return {Key::F9, 0};
    if (type == KEY_CODE_YES) {
        switch (ch) {
        case KEY_LEFT: return {Key::Left, 0};
        case KEY_RIGHT: return {Key::Right, 0};
        case KEY_UP: return {Key::Up, 0};
        case KEY_DOWN: return {Key::Down, 0};
        case KEY_BACKSPACE: return {Key::Backspace, 0};
        case KEY_DC: return {Key::Delete, 0};
        default: return {ch == static_cast<wint_t>(KEY_F(9)) ? Key::F9 : Key::Other, 0};
        }
    }
    switch (ch) {
    case 10: return {Key::Enter, 0};
    case 27: return {Key::Esc, 0};
    case 8:
    case 127: return {Key::Backspace, 0};
    default: break;
    }
    // Control characters have no effect in a field.
    if (ch < 32 || (ch >= 0x7F && ch < 0xA0)) return {Key::Other, 0};
    return {Key::Text, ch};
}
