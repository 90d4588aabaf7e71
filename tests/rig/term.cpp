#include "rig/term.h"

#include "rig/emulator.h"

#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <signal.h>
#include <sys/ioctl.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vterm.h>

#include <cerrno>
#include <chrono>
#include <cstring>
#include <functional>

extern char** environ;

namespace rig {
namespace {

using Clock = std::chrono::steady_clock;

int ms_left(Clock::time_point deadline)
{
    auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
    return left.count() > 0 ? static_cast<int>(left.count()) : 0;
}

void append_utf8(std::string& out, uint32_t cp)
{
    if (cp < 0x80) {
        out += static_cast<char>(cp);
    } else if (cp < 0x800) {
        out += static_cast<char>(0xC0 | (cp >> 6));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
        out += static_cast<char>(0xE0 | (cp >> 12));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (cp >> 18));
        out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    }
}

// Environment of the child: the test's own, with the terminal type fixed,
// the size taken from the pseudo-terminal only, and the extra entries on top.
std::vector<std::string> child_env(const std::vector<std::string>& extra)
{
    auto name_of = [](const std::string& e) { return e.substr(0, e.find('=')); };
    std::vector<std::string> out;
    for (char** e = environ; e && *e; ++e) {
        std::string entry = *e;
        std::string name = name_of(entry);
        if (name == "TERM" || name == "LINES" || name == "COLUMNS") continue;
        bool overridden = false;
        for (const auto& x : extra) overridden = overridden || name_of(x) == name;
        if (!overridden) out.push_back(entry);
    }
    out.push_back("TERM=xterm-256color");
    for (const auto& x : extra) out.push_back(x);
    return out;
}

void output_cb(const char* s, size_t len, void* user)
{
    static_cast<Term*>(user)->on_output(s, len);
}

int settermprop_cb(VTermProp prop, VTermValue* val, void* user)
{
    if (prop == VTERM_PROP_CURSORVISIBLE) static_cast<Term*>(user)->on_cursor_visible(val->boolean);
    return 1;
}

const VTermScreenCallbacks kScreenCallbacks = {
    nullptr,         // damage
    nullptr,         // moverect
    nullptr,         // movecursor
    settermprop_cb,  // settermprop
    nullptr,         // bell
    nullptr,         // resize
    nullptr,         // sb_pushline
    nullptr,         // sb_popline
};

void write_all(int fd, const char* p, size_t len)
{
    while (len > 0) {
        ssize_t n = ::write(fd, p, len);
        if (n < 0) {
            if (errno == EINTR) continue;
            if (errno == EAGAIN) {
                pollfd pfd{fd, POLLOUT, 0};
                ::poll(&pfd, 1, 100);
                continue;
            }
            return;
        }
        p += n;
        len -= static_cast<size_t>(n);
    }
}

}  // namespace

Term::Term(std::vector<std::string> argv, int rows, int cols, std::vector<std::string> env,
           std::string cwd)
    : rows_(rows), cols_(cols)
{
    vt_ = vterm_new(rows, cols);
    vterm_set_utf8(vt_, 1);
    vterm_output_set_callback(vt_, output_cb, this);
    screen_ = vterm_obtain_screen(vt_);
    vterm_screen_set_callbacks(screen_, &kScreenCallbacks, this);
    vterm_screen_enable_altscreen(screen_, 1);
    vterm_screen_reset(screen_, 1);

    if (argv.empty()) return;
    argv = with_emulator(std::move(argv));
    // Everything the child needs is built before the fork.
    std::vector<std::string> envs = child_env(env);
    std::vector<char*> cargv, cenv;
    for (auto& a : argv) cargv.push_back(a.data());
    cargv.push_back(nullptr);
    for (auto& e : envs) cenv.push_back(e.data());
    cenv.push_back(nullptr);

    winsize ws{};
    ws.ws_row = static_cast<unsigned short>(rows);
    ws.ws_col = static_cast<unsigned short>(cols);
    pid_t pid = ::forkpty(&master_, nullptr, nullptr, &ws);
    if (pid == 0) {
        if (!cwd.empty() && ::chdir(cwd.c_str()) != 0) _exit(126);
        prefer_over_host_work();
        ::execvpe(cargv[0], cargv.data(), cenv.data());
        _exit(127);
    }
    if (pid < 0) {
        master_ = -1;
        return;
    }
    pid_ = pid;
    ::fcntl(master_, F_SETFL, ::fcntl(master_, F_GETFL) | O_NONBLOCK);
    ::fcntl(master_, F_SETFD, FD_CLOEXEC);
}

Term::~Term()
{
    if (pid_ > 0 && status_ < 0) {
        ::kill(pid_, SIGTERM);
        if (wait_exit(3000) < 0) {
            ::kill(pid_, SIGKILL);
            int st = 0;
            ::waitpid(pid_, &st, 0);
        }
    }
    if (master_ >= 0) ::close(master_);
    if (vt_) vterm_free(vt_);
}

void Term::on_output(const char* bytes, size_t len)
{
    if (master_ >= 0) write_all(master_, bytes, len);
}

int Term::pump(int wait_ms)
{
    if (master_ < 0 || eof_) return 0;
    int total = 0;
    pollfd pfd{master_, POLLIN, 0};
    if (::poll(&pfd, 1, wait_ms) <= 0) return 0;
    char buf[8192];
    for (;;) {
        ssize_t n = ::read(master_, buf, sizeof buf);
        if (n > 0) {
            vterm_input_write(vt_, buf, static_cast<size_t>(n));
            bytes_ += static_cast<size_t>(n);
            total += static_cast<int>(n);
            continue;
        }
        if (n < 0 && errno == EINTR) continue;
        if (n < 0 && errno == EAGAIN) break;
        eof_ = true;  // EIO or 0: the program and everything it started closed the terminal
        break;
    }
    return total;
}

void Term::reap(int options)
{
    if (pid_ <= 0 || status_ >= 0) return;
    int st = 0;
    pid_t r = ::waitpid(pid_, &st, options);
    if (r != pid_) return;
    if (WIFEXITED(st))
        status_ = WEXITSTATUS(st);
    else if (WIFSIGNALED(st))
        status_ = 128 + WTERMSIG(st);
}

void Term::send(std::string_view bytes)
{
    pump(0);
    if (master_ >= 0) write_all(master_, bytes.data(), bytes.size());
}

// The keys as xterm sends them in keypad-transmit mode, which curses enables.
void Term::up() { send("\033OA"); }
void Term::down() { send("\033OB"); }
void Term::right() { send("\033OC"); }
void Term::left() { send("\033OD"); }
void Term::enter() { send("\n"); }
void Term::esc() { send("\033"); }
void Term::f9() { send("\033[20~"); }
void Term::backspace() { send("\177"); }
void Term::del() { send("\033[3~"); }
void Term::keypad_enter() { send("\033OM"); }
void Term::type(std::string_view text) { send(text); }

void Term::resize(int rows, int cols)
{
    pump(0);
    rows_ = rows;
    cols_ = cols;
    vterm_set_size(vt_, rows, cols);
    winsize ws{};
    ws.ws_row = static_cast<unsigned short>(rows);
    ws.ws_col = static_cast<unsigned short>(cols);
    // The kernel tells the program's process group with SIGWINCH.
    if (master_ >= 0) ::ioctl(master_, TIOCSWINSZ, &ws);
}

std::string Term::text(int r, int c, int ncols)
{
    std::string out;
    if (r < 0 || r >= rows_) return out;
    pump(0);
    for (int col = c < 0 ? 0 : c; col < c + ncols && col < cols_; ++col) {
        VTermScreenCell cell;
        vterm_screen_get_cell(screen_, VTermPos{r, col}, &cell);
        if (cell.chars[0] == static_cast<uint32_t>(-1)) continue;  // right half of a wide char
        if (cell.chars[0] == 0) {
            out += ' ';
            continue;
        }
        for (int i = 0; i < VTERM_MAX_CHARS_PER_CELL && cell.chars[i] != 0; ++i)
            append_utf8(out, cell.chars[i]);
    }
    return out;
}

std::string Term::row(int r) { return text(r, 0, cols_); }

namespace {
int colour_index(VTermState* state, const VTermColor& col, bool is_default)
{
    if (is_default) return -1;
    if (VTERM_COLOR_IS_INDEXED(&col)) return col.indexed.idx;
    for (int i = 0; i < 256; ++i) {
        VTermColor p;
        vterm_state_get_palette_color(state, i, &p);
        if (p.rgb.red == col.rgb.red && p.rgb.green == col.rgb.green && p.rgb.blue == col.rgb.blue)
            return i;
    }
    return -2;
}
}  // namespace

int Term::fg(int r, int c)
{
    if (r < 0 || r >= rows_ || c < 0 || c >= cols_) return -1;
    pump(0);
    VTermScreenCell cell;
    vterm_screen_get_cell(screen_, VTermPos{r, c}, &cell);
    return colour_index(vterm_obtain_state(vt_), cell.fg, VTERM_COLOR_IS_DEFAULT_FG(&cell.fg));
}

int Term::bg(int r, int c)
{
    if (r < 0 || r >= rows_ || c < 0 || c >= cols_) return -1;
    pump(0);
    VTermScreenCell cell;
    vterm_screen_get_cell(screen_, VTermPos{r, c}, &cell);
    return colour_index(vterm_obtain_state(vt_), cell.bg, VTERM_COLOR_IS_DEFAULT_BG(&cell.bg));
}

bool Term::cursor_visible()
{
    pump(0);
    return cursor_visible_;
}

std::string Term::dump()
{
    pump(0);
    std::string out;
    for (int r = 0; r < rows_; ++r) {
        char num[16];
        std::snprintf(num, sizeof num, "%2d|", r);
        out += num;
        out += row(r);
        out += "|\n";
    }
    return out;
}

bool Term::row_has(int r, std::string_view utf8) { return row(r).find(utf8) != std::string::npos; }

bool Term::screen_has(std::string_view utf8)
{
    for (int r = 0; r < rows_; ++r)
        if (row_has(r, utf8)) return true;
    return false;
}

bool Term::wait_until(int timeout_ms, const std::function<bool()>& done)
{
    auto deadline = Clock::now() + std::chrono::milliseconds(timeout_ms);
    for (;;) {
        if (done()) return true;
        if (Clock::now() >= deadline) return false;
        // Once the program has closed the terminal nothing more can change.
        if (pump(std::min(ms_left(deadline), 50)) == 0 && eof_) return done();
    }
}

bool Term::wait_for(const std::function<bool()>& cond, int timeout_ms)
{
    return wait_until(timeout_ms, cond);
}

bool Term::wait_text(std::string_view utf8, int timeout_ms)
{
    return wait_until(timeout_ms, [&] { return screen_has(utf8); });
}

bool Term::wait_row(int r, std::string_view utf8, int timeout_ms)
{
    return wait_until(timeout_ms, [&] { return row_has(r, utf8); });
}

bool Term::wait_gone(std::string_view utf8, int timeout_ms)
{
    return wait_until(timeout_ms, [&] { return !screen_has(utf8); });
}

int Term::wait_exit(int timeout_ms)
{
    auto deadline = Clock::now() + std::chrono::milliseconds(timeout_ms);
    for (;;) {
        pump(eof_ ? 0 : std::min(ms_left(deadline), 20));
        reap(WNOHANG);
        if (status_ >= 0) {
            pump(0);  // whatever is still buffered in the terminal
            return status_;
        }
        if (Clock::now() >= deadline) return -1;
        if (eof_) ::usleep(10000);
    }
}

size_t Term::bytes_read() const { return bytes_; }

void Term::settle(int quiet_ms, int timeout_ms)
{
    auto deadline = Clock::now() + std::chrono::milliseconds(timeout_ms);
    auto quiet_since = Clock::now();
    for (;;) {
        auto now = Clock::now();
        if (now >= deadline) return;
        if (now - quiet_since >= std::chrono::milliseconds(quiet_ms)) return;
        if (pump(std::min(ms_left(deadline), 20)) > 0)
            quiet_since = Clock::now();
        else if (eof_)
            return;
    }
}

}  // namespace rig
