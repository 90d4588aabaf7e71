// The terminal rig: runs a program under a pseudo-terminal, keeps its screen
// through a terminal emulator and lets a test type keys and read cells.
#pragma once

#include <sys/types.h>

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

struct VTerm;
struct VTermScreen;

namespace rig {

struct Term {
    // Runs argv under a new pseudo-terminal of rows x cols with TERM=xterm-256color
    // (plus extra "NAME=value" env entries) in directory cwd ("" = current).
    Term(std::vector<std::string> argv, int rows = 24, int cols = 80,
         std::vector<std::string> env = {}, std::string cwd = "");
    ~Term();  // ends the child (by its pid) if still running
    Term(const Term&) = delete;
    Term& operator=(const Term&) = delete;

    void send(std::string_view bytes);  // raw bytes to the program
    void up();
    void down();
    void left();
    void right();
    void enter();  // sends "\n"
    void esc();
    void f9();
    void backspace();
    void del();
    void keypad_enter();
    void type(std::string_view text);  // text as typed
    void resize(int rows, int cols);   // the operator resizes the terminal window

    bool wait_text(std::string_view utf8, int timeout_ms = 10000);          // anywhere on screen
    bool wait_row(int row, std::string_view utf8, int timeout_ms = 10000);  // row contains text
    bool wait_gone(std::string_view utf8, int timeout_ms = 10000);

    std::string row(int r);                     // UTF-8 text of row r, trailing blanks kept
    std::string text(int r, int c, int ncols);  // cells r,c..c+ncols-1 as UTF-8
    int fg(int r, int c);                       // indexed colour of a cell, -1 for the default
    int bg(int r, int c);
    bool cursor_visible();
    std::string dump();  // whole screen, for failure messages

    int wait_exit(
        int timeout_ms = 10000);  // exit status 0..255, -1 if still running after the wait
    size_t bytes_read() const;    // bytes the program wrote to the terminal so far
    pid_t pid() const { return pid_; }  // the program's process id (-1 once reaped)
    void settle(int quiet_ms = 150, int timeout_ms = 5000);  // until output is quiet for quiet_ms
    // Polls the screen until cond() holds; false if it still does not after timeout_ms.
    bool wait_for(const std::function<bool()>& cond, int timeout_ms = 10000);

    // Rig internals, public only so the emulator's C callbacks can reach them.
    void on_output(const char* bytes, size_t len);  // emulator replies to the program
    void on_cursor_visible(bool visible) { cursor_visible_ = visible; }

  private:
    int pump(int wait_ms);
    bool wait_until(int timeout_ms,
                    const std::function<bool()>&
                        done);  // reads what the program wrote, waiting up to wait_ms; bytes read
    bool screen_has(std::string_view utf8);
    bool row_has(int r, std::string_view utf8);
    void reap(int options);

    int rows_ = 24;
    int cols_ = 80;
    int master_ = -1;
    pid_t pid_ = -1;
    int status_ = -1;  // exit status once reaped
    bool eof_ = false;
    bool cursor_visible_ = true;
    size_t bytes_ = 0;
    VTerm* vt_ = nullptr;
    VTermScreen* screen_ = nullptr;
};

}  // namespace rig
