// Scroll boxes: up to 256 text lines shown through a fixed number of one-line
// windows. The device list is box 1.
#include <cstring>

#include "ui/NQ_Menu.h"

ScrollBox myscr[SCROLL_BOXES];

namespace {

// Box 0 stands for "no box" when drawing; only 1..9 draw.
ScrollBox* drawable_box(int id)
{
    if (id < 1 || id >= SCROLL_BOXES) return nullptr;
    return &myscr[id];
}

int clamp(int v, int lo, int hi) { return v < lo ? lo : (v > hi ? hi : v); }

}  // namespace

// Copies src into a line of dst_size bytes. A text too long is cut at a
// character boundary, and a final line feed (which clears the rest of the row
// when the line is drawn) is kept.
void copy_scroll_line(char* dst, size_t dst_size, const char* src)
{
    if (dst_size == 0) return;
    size_t len = src ? std::strlen(src) : 0;
    if (len < dst_size) {
        std::memcpy(dst, src, len + 1);
        return;
    }
    bool keep_lf = src[len - 1] == '\n';
    size_t room = dst_size - 1 - (keep_lf ? 1 : 0);
    // Step back over continuation bytes so no character is split.
    while (room > 0 && (static_cast<unsigned char>(src[room]) & 0xC0) == 0x80) --room;
    std::memcpy(dst, src, room);
    if (keep_lf) dst[room++] = '\n';
    dst[room] = '\0';
}

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
        wbkgd(wins[r], COLOR_PAIR(4));
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
