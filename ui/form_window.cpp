// Showing a form in its framed window and taking it off the screen again.
#include "ui/NQ_Forms.h"

#include <memory>

namespace {

struct WindowCloser {
    void operator()(WINDOW* w) const { delwin(w); }
};
using UniqueWindow = std::unique_ptr<WINDOW, WindowCloser>;

// The program draws in the top-left 80 x 24 cells of any terminal.
constexpr int SCREEN_ROWS = 24;
constexpr int SCREEN_COLS = 80;

// Moves a window of `size` cells starting at `start` so it lies on the screen
// where it can.
int clamp_start(int start, int size, int screen)
{
    if (start + size > screen) start = screen - size;
    return start < 0 ? 0 : start;
}

}  // namespace

void show_myform(MyForm* f, int row, int col)
{
    if (f == nullptr || f->form == nullptr) return;
    if (f->win != nullptr) hide_myform(f);

    int height = f->rows + 2;
    int width = f->cols + 4;
    // A form placed partly past the screen's edge is moved onto it.
    row = clamp_start(row, height, LINES < SCREEN_ROWS ? LINES : SCREEN_ROWS);
    col = clamp_start(col, width, COLS < SCREEN_COLS ? COLS : SCREEN_COLS);

    UniqueWindow win(newwin(height, width, row, col));
    if (!win) return;
    UniqueWindow area(derwin(win.get(), f->rows, f->cols, 1, 2));
    if (!area) return;
    keypad(win.get(), TRUE);
    // Labels and choices without colours of their own take the frame's.
    wbkgd(win.get(), COLOR_PAIR(f->pair_normal));
    wbkgd(area.get(), COLOR_PAIR(f->pair_normal));
    set_form_win(f->form, win.get());
    set_form_sub(f->form, area.get());
    if (post_form(f->form) != E_OK) {
        set_form_sub(f->form, nullptr);
        set_form_win(f->form, nullptr);
        return;
    }
    area.release();   // freed by hide_myform through form_sub
    f->win = win.release();

    if (f->kind >= 1 && f->kind <= 4) {
        set_field_fore(f->fields[1], COLOR_PAIR(f->pair_normal));
        set_field_back(f->fields[1], COLOR_PAIR(f->pair_normal));
        set_current_field(f->form, f->fields[1]);
    }
    wbkgd(f->win, COLOR_PAIR(f->pair_normal));
    box(f->win, 0, 0);
    wrefresh(f->win);
}

void hide_myform(MyForm* f)
{
    if (f == nullptr || f->win == nullptr) return;
    WINDOW* area = form_sub(f->form);
    unpost_form(f->form);
    set_form_sub(f->form, nullptr);
    set_form_win(f->form, nullptr);
    if (area != nullptr && area != f->win && area != stdscr) delwin(area);
    delwin(f->win);
    f->win = nullptr;
    curs_set(0);
    // What the form covered is drawn again from the screen's own windows.
    touchwin(stdscr);
    wrefresh(stdscr);
}
