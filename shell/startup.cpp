// Start-up and end of the program: locale, curses, colours, the debug log,
// the fixed windows, then the top-level loop between the two modes.
#include <clocale>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "device/KIVRAXPort.h"
#include "screens/KIVRAMainSet.h"
#include "base/DebugLog.h"
#include "shell/hangup.h"
#include "shell/KIVRASet.h"
#include "ui/NQ_Forms.h"
#include "ui/NQ_Menu.h"

namespace {

constexpr int kMinCols = 80;
constexpr int kMinRows = 24;
constexpr int kEscDelayMs = 100;

// Japanese character classification; without it, a UTF-8 one, so that the
// texts are still drawn as characters on a board without the Japanese locale.
void set_ctype_locale()
{
    const char* const candidates[] = {"ja_JP.UTF-8", "ja_JP.utf8", "C.UTF-8", ""};
    for (const char* name : candidates)
        if (std::setlocale(LC_CTYPE, name) != nullptr) return;
}

// How long curses waits after Esc for the rest of a key sequence. The
// terminal default (a whole second) makes Esc feel stuck; arrow and function
// keys arrive as one burst well within the short delay.
int esc_delay_ms()
{
    const char* env = std::getenv("ESCDELAY");
    if (env == nullptr || *env == '\0') return kEscDelayMs;
    char* end = nullptr;
    long v = std::strtol(env, &end, 10);
    if (*end != '\0' || v < 0 || v > 10000) return kEscDelayMs;
    return static_cast<int>(v);
}

struct ColourPair {
    short fg, bg;
};
constexpr short kGrey = 6;  // cyan, redefined as a light grey where the terminal allows
const ColourPair kPairs[] = {
    {COLOR_BLACK, kGrey},        // 1 base window, message boxes
    {COLOR_BLUE, COLOR_WHITE},   // 2 device list rows, information box
    {COLOR_BLACK, COLOR_WHITE},  // 3 help bar, list header
    {COLOR_BLUE, COLOR_WHITE},   // 4 items not current
    {COLOR_WHITE, COLOR_BLUE},   // 5 current item, form frames and fields
    {COLOR_BLUE, COLOR_YELLOW},  // 6 the unit whose settings are open
    {kGrey, COLOR_WHITE},        // 7 settings screens
};

bool has_args_log_flag(int argc, char** argv)
{
    return argc > 1 && argv[1] != nullptr && std::strncmp(argv[1], "-l", 2) == 0;
}

// The two modes alternate until one of them ends the program.
void top_level_loop()
{
    bool top_menu = true;
    for (;;) {
        if (top_menu) {
            OnDeviceItemChange(0);
            int r = loop_mode1();
            if (r == -1) return;
            if (r == 1) top_menu = false;
        } else {
            int r = loop_mode2();
            if (r == -1) return;
            if (r == -2) top_menu = true;
        }
    }
}

}  // namespace

int init_curses()
{
    keep_fixed_screen();
    keep_terminal_modes();
    // initscr would end the process itself on an unknown terminal type; the
    // type is checked first, and newterm returns to the program on failure.
    if (terminal_type_known() == 0 || newterm(nullptr, stdout, stdin) == nullptr) {
        const char* term = std::getenv("TERM");
        std::fprintf(stderr, "Error : unknown terminal type \"%s\"\n", term != nullptr ? term : "");
        return 1;
    }
    cbreak();
    if (COLS < kMinCols || LINES < kMinRows) {
        endwin();
        std::printf("Error : Terminal Size is too Small!!\n");
        std::printf("        minimum = 80 x 24 chars\n");
        std::fflush(stdout);
        return 1;
    }
    start_color();
    init_color(kGrey, 700, 700, 700);  // stays cyan where colours cannot change
    short n = 1;
    for (const ColourPair& p : kPairs) init_pair(n++, p.fg, p.bg);
    curs_set(0);
    noecho();
    keypad(stdscr, TRUE);
    set_escdelay(esc_delay_ms());
    refresh();
    end_on_hangup();
    return 0;
}

int kivraset_run(int argc, char** argv)
{
    set_ctype_locale();
    if (init_curses() != 0) return -1;
    if (make_basewin() != 0) {
        endwin();
        return -1;
    }
    if (has_args_log_flag(argc, argv)) InitDebug();
    init_subwins();
    GetMyNetwork();
    InitXPortSet();

    top_level_loop();

    PrnDebug("Exit\n");
    del_myforms();
    release_fixed_windows();
    endwin();
    return 0;
}
