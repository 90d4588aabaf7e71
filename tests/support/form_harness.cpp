// Test-only program: shows one catalogue form, hands the keyboard to
// get_input1 or get_formsel, and prints each round's result on rows 22 and 23:
//   "round N result R"
//   "text [..]" (entry: the text received; on F9 the field's own text),
//   "choice [..]" (selection: the chosen text).
// Then the form is shown again for the next round; after F9 the program ends
// on the next key.
//
//   form_harness FORM [sel START] [at ROW COL] [set TEXT] [zenkaku] [size N]
//     sel      start choice of a selection form (default 1)
//     at       show the form with show_myform at ROW, COL instead of its place
//     set      write TEXT into the entry before each showing, as screens do
//     zenkaku  allow multibyte text in the entry
//     size     hand get_input1 a buffer of N bytes (default FORM_TEXT_MAX)
#include "shell/KIVRASet.h"
#include "ui/NQ_Forms.h"

#include <clocale>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace {

struct Options {
    int form = -1;
    int start = 1;
    int row = -1;
    int col = -1;
    const char* set = nullptr;
    bool zenkaku = false;
    int size = FORM_TEXT_MAX;
};

bool parse(int argc, char** argv, Options& o)
{
    if (argc < 2) return false;
    o.form = std::atoi(argv[1]);
    for (int i = 2; i < argc; i++) {
        std::string a = argv[i];
        if (a == "sel" && i + 1 < argc) {
            o.start = std::atoi(argv[++i]);
        } else if (a == "at" && i + 2 < argc) {
            o.row = std::atoi(argv[++i]);
            o.col = std::atoi(argv[++i]);
        } else if (a == "set" && i + 1 < argc) {
            o.set = argv[++i];
        } else if (a == "zenkaku") {
            o.zenkaku = true;
        } else if (a == "size" && i + 1 < argc) {
            o.size = std::atoi(argv[++i]);
        } else {
            return false;
        }
    }
    return o.size >= 1 && o.size <= FORM_TEXT_MAX;
}

void start_screen()
{
    if (!std::setlocale(LC_CTYPE, "ja_JP.UTF-8") && !std::setlocale(LC_CTYPE, "ja_JP.utf8"))
        std::setlocale(LC_CTYPE, "C.UTF-8");
    set_escdelay(100);
    initscr();
    cbreak();
    noecho();
    keypad(stdscr, TRUE);
    start_color();
    init_pair(1, COLOR_BLACK, COLOR_CYAN);
    init_pair(2, COLOR_BLUE, COLOR_WHITE);
    init_pair(3, COLOR_BLACK, COLOR_WHITE);
    init_pair(4, COLOR_BLUE, COLOR_WHITE);
    init_pair(5, COLOR_WHITE, COLOR_BLUE);
    init_pair(6, COLOR_BLUE, COLOR_YELLOW);
    init_pair(7, COLOR_CYAN, COLOR_WHITE);
    curs_set(0);
    bkgd(COLOR_PAIR(1));
    refresh();
}

// The field's text without its trailing padding.
std::string entry_text(MyForm* f)
{
    std::string s = field_buffer(f->fields[1], 0);
    while (!s.empty() && s.back() == ' ') s.pop_back();
    return s;
}

// Row 23 reaches the terminal before row 22: a reader that sees a round's
// result line never sees the previous round's text under it.
void report(int round, int result, const char* what, const std::string& text)
{
    mvprintw(23, 0, "%s [%s]", what, text.c_str());
    clrtoeol();
    refresh();
    mvprintw(22, 0, "round %d result %d", round, result);
    clrtoeol();
    refresh();
}

}  // namespace

int main(int argc, char** argv)
{
    Options o;
    if (!parse(argc, argv, o)) return 2;
    start_screen();
    init_forms();
    if (o.form < 0 || o.form >= nforms) {
        endwin();
        return 2;
    }
    MyForm* f = &myforms[o.form];
    if (o.zenkaku) set_zenkaku_form(f, 1);
    bool entry = f->kind >= 1 && f->kind <= 4;
    std::vector<char> out(static_cast<size_t>(o.size));

    for (int round = 1;; round++) {
        if (entry && o.set != nullptr) set_field_buffer(f->fields[1], 0, o.set);
        if (o.row >= 0) show_myform(f, o.row, o.col);
        else show_form(static_cast<unsigned>(o.form));
        int r = entry ? get_input1(f, out.data(), o.size) : get_formsel(f, o.start);
        std::string field = entry ? entry_text(f) : std::string();
        hide_form(static_cast<unsigned>(o.form));
        if (!entry) {
            report(round, r, "choice", r >= 1 && r <= MYFORM_SEL ? f->sel_text[r - 1] : "");
        } else {
            report(round, r, r == -999 ? "field" : "text", r == 1 ? std::string(out.data()) : field);
        }
        if (r == -999) break;
    }
    getch();
    del_myforms();
    endwin();
    return 0;
}
