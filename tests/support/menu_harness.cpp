// A small program that runs the selection menu, the scroll box and the
// message box on their own, for the toolkit's end-to-end tests.
//
//   menu_harness h|v|s [exitflags]   a horizontal menu of 3 items, a vertical
//                                    list of 5, or a list over scroll box 1
//                                    (10 lines, 8 rows); repeats until F9
//   menu_harness m [count]           count message boxes, then the menu h
//
// After each menu run row 19 shows every result so far ("results=2,-1"),
// row 20 "pass=P result=R top=T marked=M" (M: the rows left in the current
// item's colours), and row 21 every onchange call, runs separated by "|".
#include <clocale>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "shell/KIVRASet.h"
#include "ui/NQ_Menu.h"

namespace {

std::string changes;

std::string results;

int note_change(int item)
{
    if (!changes.empty() && changes.back() != '|') changes += ',';
    changes += std::to_string(item);
    mvprintw(21, 0, "onchange=%s", changes.c_str());
    clrtoeol();
    refresh();
    return 0;
}

struct Layout {
    int nitems;
    int nrows;
    int scrollid;
    int vertical;
};

WINDOW* make_rows(WINDOW** wins, const Layout& l)
{
    wins[0] = newwin(l.vertical ? l.nrows : 1, 78, 2, 1);
    for (int i = 1; i <= l.nrows; ++i) {
        if (l.vertical)
            wins[i] = derwin(wins[0], 1, 20, i - 1, 0);
        else
            wins[i] = derwin(wins[0], 1, 12, 0, (i - 1) * 20);
        if (l.scrollid == 0) mvwprintw(wins[i], 0, 0, "%s%d", l.vertical ? "row" : "item", i);
    }
    return wins[0];
}

void show_message_boxes(int count)
{
    WINDOW* back = subwin(stdscr, 24, 80, 0, 0);
    for (int r = 9; r <= 15; ++r)
        mvwaddstr(back, r, 10, "background background background background background");
    wrefresh(back);
    const std::string wide(60, 'W');
    for (int n = 1; n <= count; ++n) {
        MyMsgBox("一行目のメッセージ", n == 1 ? wide.c_str() : "", 10, back);
        mvprintw(20, 0, "closed=%d", n);
        refresh();
    }
    delwin(back);
}

}  // namespace

int main(int argc, char** argv)
{
    std::setlocale(LC_CTYPE, "C.UTF-8");
    if (argc < 2) return 2;
    char mode = argv[1][0];
    int arg = argc > 2 ? std::atoi(argv[2]) : 0;
    if (init_curses() != 0) return 1;

    int exitflags = arg;
    if (mode == 'm') {
        show_message_boxes(arg);
        mode = 'h';
        exitflags = 0;
    }
    Layout l{3, 3, 0, 0};
    if (mode == 'v') l = Layout{5, 5, 0, 1};
    if (mode == 's') l = Layout{10, 8, 1, 1};

    WINDOW* wins[9] = {};
    make_rows(wins, l);
    if (l.scrollid != 0) {
        set_scrollmenu(l.scrollid, l.nitems, l.nrows);
        for (int i = 0; i < l.nitems; ++i) {
            char line[16];
            std::snprintf(line, sizeof line, "line%02d\n", i + 1);
            set_scrollbuf(l.scrollid, i, line);
        }
        print_scroll(wins, l.scrollid, 0);
    }
    mvprintw(0, 0, "mode=%c flags=%d", mode, exitflags);
    refresh();

    int result = 0;
    std::string marked;
    for (int pass = 1; result != -999; ++pass) {
        if (pass > 1) changes += '|';
        result = select_menu(wins, l.nitems, l.vertical, exitflags, l.scrollid, 1, note_change);
        marked.clear();
        for (int i = 1; i <= l.nrows; ++i)
            if (PAIR_NUMBER(getbkgd(wins[i])) == 5) {
                if (!marked.empty()) marked += ',';
                marked += std::to_string(i);
            }
        if (!results.empty()) results += ',';
        results += std::to_string(result);
        mvprintw(19, 0, "results=%s", results.c_str());
        clrtoeol();
        mvprintw(20, 0, "pass=%d result=%d top=%d marked=%s", pass, result, myscr[1].top,
                 marked.empty() ? "none" : marked.c_str());
        clrtoeol();
        refresh();
        // As a settings screen may: the list is left drawn from a later line.
        if (l.scrollid != 0) print_scroll(wins, l.scrollid, 2);
    }
    for (int i = l.nrows; i >= 0; --i) delwin(wins[i]);
    endwin();
    std::printf("last=%d marked=%s\n", result, marked.empty() ? "none" : marked.c_str());
    return 0;
}
