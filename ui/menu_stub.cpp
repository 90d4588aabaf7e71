// Placeholder definitions until the menus are written; removed by then.
#include "ui/NQ_Menu.h"

ScrollBox myscr[SCROLL_BOXES];
int select_menu(WINDOW**, int, int, int, int, int, int (*)(int)) { return -999; }
void set_scrollmenu(int, int, int) {}
void set_scrollbuf(int, int, const char*) {}
void clear_scroll(WINDOW**, int) {}
void print_scroll(WINDOW**, int, int) {}
void MyMsgBox(const char*, const char*, int, WINDOW*) {}
