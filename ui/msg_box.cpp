// The message box: two framed lines that wait for one key.
#include "ui/NQ_Menu.h"
#include "ui/colour_pairs.h"
#include "ui/curses_window.h"

namespace {

constexpr int kBoxRows = 4;
constexpr int kBoxCols = 50;
constexpr int kBoxCol = 15;
constexpr int kTextCols = kBoxCols - 3;  // between the left margin and the right border

// Writes one line inside the frame; a text wider than the line stops at the
// border instead of running over it.
void put_line(WINDOW* box, int row, const char* text)
{
    CursesWindow line(derwin(box, 1, kTextCols, row, 2));
    if (!line || text == nullptr) return;
    waddstr(line.get(), text);
}

}  // namespace

void MyMsgBox(const char* line1, const char* line2, int row, WINDOW* restore)
{
    {
        CursesWindow frame(newwin(kBoxRows, kBoxCols, row, kBoxCol));
        if (frame) {
            wbkgd(frame.get(), COLOR_PAIR(PAIR_BASE));
            box(frame.get(), 0, 0);
            put_line(frame.get(), 1, line1);
            put_line(frame.get(), 2, line2);
            wrefresh(frame.get());
        }
        // Any key closes the box; F9 and Esc only close it here.
        menu_read_key();
    }
    if (restore != nullptr) {
        touchwin(restore);
        wrefresh(restore);
    }
}
