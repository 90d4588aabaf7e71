// Selection menus over rows of one-line windows, scroll boxes and the message box.
#pragma once

#include <curses.h>

#include "base/message_rows.h"

constexpr int SCROLL_BOXES = 10;
constexpr int SCROLL_LINES = 256;
constexpr int SCROLL_LINE_BYTES = 80;   // a device-list line with its line feed fits

struct ScrollBox {
    int nlines;                               // lines the box holds (0..256)
    int nrows;                                // visible rows (item windows 1..nrows)
    int top;                                  // line shown in row 1, as last drawn
    char lines[SCROLL_LINES][SCROLL_LINE_BYTES];  // NUL-terminated line texts
};

extern ScrollBox myscr[SCROLL_BOXES];

constexpr int KEY_ENTER_LF = 10;
constexpr int KEY_ESCAPE = 27;

// Results: chosen item 1..nitems, 0 Esc, -1 left upwards, -2 left downwards, -999 F9.
// The form loops share 1.., 0 and -999.
constexpr int MENU_ESC = 0;
constexpr int MENU_UP = -1;
constexpr int MENU_DOWN = -2;
constexpr int MENU_QUIT = -999;

// What a menu or form result means, with the chosen item or choice.
enum class Act { Chosen, Esc, Up, Down, Quit };
struct MenuResult {
    Act act;
    int item;   // 1.. when act is Chosen, else 0
};
inline MenuResult menu_result(int r)
{
    if (r >= 1) return {Act::Chosen, r};
    if (r == MENU_UP) return {Act::Up, 0};
    if (r == MENU_DOWN) return {Act::Down, 0};
    if (r == MENU_QUIT) return {Act::Quit, 0};
    return {Act::Esc, 0};
}

// Flags of select_menu's exitflags.
constexpr int MENU_LEAVE_UP = 1;
constexpr int MENU_LEAVE_DOWN = 2;
constexpr int MENU_LEAVE_BOTH = 3;


int select_menu(WINDOW** wins, int nitems, int vertical, int exitflags, int scrollid, int start,
                int (*onchange)(int));
void set_scrollmenu(int id, int nlines, int nrows);
void set_scrollbuf(int id, int line, const char* text);
void clear_scroll(WINDOW** wins, int id);
void print_scroll(WINDOW** wins, int id, int top);
void MyMsgBox(const char* line1, const char* line2, int row, WINDOW* restore);

// Reads one key from the whole screen's input. A terminal that can no longer
// be read gives KEY_F(9), so every loop ends as if F9 had been pressed.
int menu_read_key();

// Installed before curses starts: a resized terminal window changes nothing
// in the program's 80 x 24 screen.
void keep_fixed_screen();
// Paints the whole screen again if the window was resized since the last
// call; true when it did. Key loops call it after each key read.
bool repaint_after_resize();
