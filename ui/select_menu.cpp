// select_menu: moves a highlight over a row of one-line windows with the
// arrow keys and returns what the operator chose.
#include "ui/NQ_Menu.h"

namespace {

// One menu run: the item windows, the current item and the first line of
// the scroll box shown in row 1.
struct Menu {
    WINDOW** wins;
    int nitems;
    int nvis;      // visible rows
    int scrollid;  // 0 without a scroll box
    int cur;       // current item, 1..nitems
    int first;     // first shown line of the scroll box, 0 without one

    // The window showing the current item; always one of rows 1..nvis.
    WINDOW* cur_row() const
    {
        int r = cur - first;
        if (r < 1) r = 1;
        if (r > nvis) r = nvis;
        return wins[r];
    }
    void paint_cur(int pair) const
    {
        WINDOW* w = cur_row();
        if (w == nullptr) return;
        wbkgd(w, COLOR_PAIR(pair));
        wnoutrefresh(w);
    }
    void redraw() const { print_scroll(wins, scrollid, first); }

    // Moves one item back, scrolling back one line when it leaves the top row.
    void step_back()
    {
        --cur;
        if (cur - first <= 0) {
            --first;
            redraw();
        }
    }
    // Moves one item on, scrolling by one line when it leaves the last row.
    void step_on()
    {
        ++cur;
        if (cur - first > nvis) {
            ++first;
            redraw();
        }
    }
};

constexpr int kLostTerminalReads = 64;

}  // namespace

int menu_read_key()
{
    // In blocking mode curses returns ERR only when the terminal cannot be
    // read; after many in a row it is gone, and the program ends as on F9.
    for (int errors = 0; errors < kLostTerminalReads; ++errors) {
        int ch = getch();
        repaint_after_resize();
        if (ch != ERR) return ch;
    }
    return KEY_F(9);
}

int select_menu(WINDOW** wins, int nitems, int vertical, int exitflags, int scrollid, int start,
                int (*onchange)(int))
{
    if (wins == nullptr || nitems < 1) return 0;
    bool boxed = scrollid >= 1 && scrollid < SCROLL_BOXES;
    Menu m{wins, nitems, boxed ? myscr[scrollid].nrows : nitems, boxed ? scrollid : 0, start, 0};
    if (m.nvis < 1) return 0;
    // The first item must be on the first visible page.
    int last_on_page = m.nvis < nitems ? m.nvis : nitems;
    if (m.cur < 1) m.cur = 1;
    if (m.cur > last_on_page) m.cur = last_on_page;

    // A screen may have drawn the box from a later line; the menu always
    // starts from its first line, so rows and item numbers agree.
    if (boxed) m.redraw();
    for (int r = 1; r <= m.nvis; ++r) {
        if (wins[r] == nullptr) continue;
        wbkgd(wins[r], COLOR_PAIR(4));
        wnoutrefresh(wins[r]);
    }
    m.paint_cur(5);
    doupdate();
    if (onchange) onchange(m.cur);

    for (;;) {
        int ch = menu_read_key();
        bool moved = false;
        switch (ch) {
        case KEY_ENTER_LF:
            return m.cur;
        case KEY_ESCAPE:
            if (WINDOW* w = m.cur_row()) {
                wbkgd(w, COLOR_PAIR(4));
                wrefresh(w);
            }
            return 0;
        case KEY_UP:
            if (!vertical || m.cur == 1) {
                if (exitflags & 1) {
                    m.paint_cur(4);
                    return -1;
                }
                break;
            }
            m.paint_cur(4);
            m.step_back();
            moved = true;
            break;
        case KEY_DOWN:
            if (!vertical || m.cur == nitems) {
                if (exitflags & 2) {
                    m.paint_cur(4);
                    return -2;
                }
                break;
            }
            m.paint_cur(4);
            m.step_on();
            moved = true;
            break;
        case KEY_LEFT:
            if (vertical) break;
            m.paint_cur(4);
            if (m.cur == 1) {
                m.cur = nitems;
                m.first = nitems - m.nvis > 0 ? nitems - m.nvis : 0;
                m.redraw();
            } else {
                m.step_back();
            }
            moved = true;
            break;
        case KEY_RIGHT:
            if (vertical) break;
            m.paint_cur(4);
            if (m.cur == nitems) {
                m.cur = 1;
                m.first = 0;
                m.redraw();
            } else {
                m.step_on();
            }
            moved = true;
            break;
        default:
            if (ch == KEY_F(9)) return -999;
            break;  // keypad Enter and every other key do nothing
        }
        if (moved) {
            m.paint_cur(5);
            doupdate();
            if (onchange) onchange(m.cur);
        }
    }
}
