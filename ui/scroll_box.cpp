// Scroll boxes: up to 256 text lines shown through a fixed number of one-line
// windows. The device list is box 1.
#include <cstring>

#include "ui/NQ_Menu.h"
#include "ui/colour_pairs.h"
#include "base/bounded_text.h"

ScrollBox myscr[SCROLL_BOXES];

namespace {

// Box 0 stands for "no box" when drawing; only 1..9 draw.
ScrollBox* drawable_box(int id)
{
    if (id < 1 || id >= SCROLL_BOXES) return nullptr;
    return &myscr[id];
}

int clamp(int v, int lo, int hi) { return v < lo ? lo : (v > hi ? hi : v); }

// A text too long for its line is cut at a character boundary, and a final
// line feed (which clears the rest of the row when the line is drawn) is kept.
void copy_scroll_line(char* dst, size_t dst_size, const char* src)
{
    size_t len = std::strlen(src);
    if (len < dst_size || src[len - 1] != '\n') {
        copy_text(dst, dst_size, src);
        return;
    }
    size_t n = copy_text(dst, dst_size - 1, src);
    dst[n] = '\n';
    dst[n + 1] = '\0';
}

}  // namespace

void set_scrollmenu(int id, int nlines, int nrows)
{
    if (id < 0 || id >= SCROLL_BOXES) return;
    myscr[id].nlines = clamp(nlines, 0, SCROLL_LINES);
    myscr[id].nrows = nrows < 0 ? 0 : nrows;
}

void set_scrollbuf(int id, int line, const char* text)
{
    if (id < 0 || id >= SCROLL_BOXES || line < 0 || line >= SCROLL_LINES || text == nullptr) return;
    copy_scroll_line(myscr[id].lines[line], SCROLL_LINE_BYTES, text);
}

void clear_scroll(WINDOW** wins, int id)
{
    ScrollBox* box = drawable_box(id);
    if (box == nullptr || wins == nullptr) return;
    for (int r = 1; r <= box->nrows; ++r) {
        if (wins[r] == nullptr) continue;
        werase(wins[r]);
        wbkgd(wins[r], COLOR_PAIR(PAIR_ITEM));
        wnoutrefresh(wins[r]);
    }
}

void print_scroll(WINDOW** wins, int id, int top)
{
    ScrollBox* box = drawable_box(id);
    if (box == nullptr || wins == nullptr) return;
    if (top < 0) top = 0;
    box->top = top;
    // Rows are not erased first: each line's final line feed clears the rest
    // of its row, and rows below the last line keep what they show.
    for (int i = top; i < box->nlines && i < SCROLL_LINES && i - top < box->nrows; ++i) {
        WINDOW* w = wins[i - top + 1];
        if (w == nullptr) continue;
        wmove(w, 0, 0);
        waddstr(w, box->lines[i]);
        wnoutrefresh(w);
    }
    doupdate();
}
