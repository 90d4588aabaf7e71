// The ping check: asks the system's ping command whether some host already
// answers at an address. The command runs from an argument vector, never
// through a shell, so no address text can be read as shell syntax.
#include "device/ping.h"

#include "base/DebugLog.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <mutex>

extern char** environ;

namespace {

// Completion status of a command that cannot run, as a shell reports it.
constexpr int PING_NOT_RUN = 127 << 8;

const char* const kPingOptions[] = {"ping", "-q", "-c", "1", "-w", "2"};

// The file actions of the child: no input, all output discarded.
class QuietChild {
  public:
    QuietChild()
    {
        ok_ = posix_spawn_file_actions_init(&actions_) == 0;
        if (!ok_) return;
        ok_ = posix_spawn_file_actions_addopen(&actions_, 0, "/dev/null", O_RDONLY, 0) == 0 &&
              posix_spawn_file_actions_addopen(&actions_, 1, "/dev/null", O_WRONLY, 0) == 0 &&
              posix_spawn_file_actions_adddup2(&actions_, 1, 2) == 0;
    }
    ~QuietChild() { posix_spawn_file_actions_destroy(&actions_); }
    bool ok() const { return ok_; }
    const posix_spawn_file_actions_t* actions() const { return &actions_; }
    QuietChild(const QuietChild&) = delete;
    QuietChild& operator=(const QuietChild&) = delete;

  private:
    posix_spawn_file_actions_t actions_;
    bool ok_ = false;
};

// While a command runs, Ctrl-C and Ctrl-\ end only the command, as they
// would under the system shell; the child gets the default actions back.
// Pings of several threads share one setting: the first saves the actions
// the program had, the last puts them back.
class IgnoreInterrupts {
  public:
    IgnoreInterrupts()
    {
        std::lock_guard<std::mutex> hold(lock_);
        if (users_++ > 0) return;
        struct sigaction ign = {};
        ign.sa_handler = SIG_IGN;
        sigemptyset(&ign.sa_mask);
        sigaction(SIGINT, &ign, &old_int_);
        sigaction(SIGQUIT, &ign, &old_quit_);
    }
    ~IgnoreInterrupts()
    {
        std::lock_guard<std::mutex> hold(lock_);
        if (--users_ > 0) return;
        sigaction(SIGINT, &old_int_, nullptr);
        sigaction(SIGQUIT, &old_quit_, nullptr);
    }
    IgnoreInterrupts(const IgnoreInterrupts&) = delete;
    IgnoreInterrupts& operator=(const IgnoreInterrupts&) = delete;

  private:
    static inline std::mutex lock_;
    static inline int users_ = 0;
    static inline struct sigaction old_int_ = {};
    static inline struct sigaction old_quit_ = {};
};

class SpawnAttr {
  public:
    SpawnAttr()
    {
        ok_ = posix_spawnattr_init(&attr_) == 0;
        if (!ok_) return;
        sigset_t def;
        sigemptyset(&def);
        sigaddset(&def, SIGINT);
        sigaddset(&def, SIGQUIT);
        ok_ = posix_spawnattr_setsigdefault(&attr_, &def) == 0 &&
              posix_spawnattr_setflags(&attr_, POSIX_SPAWN_SETSIGDEF) == 0;
    }
    ~SpawnAttr() { posix_spawnattr_destroy(&attr_); }
    bool ok() const { return ok_; }
    const posix_spawnattr_t* attr() const { return &attr_; }
    SpawnAttr(const SpawnAttr&) = delete;
    SpawnAttr& operator=(const SpawnAttr&) = delete;

  private:
    posix_spawnattr_t attr_;
    bool ok_ = false;
};

}  // namespace

void ping_argv(const char* addr, const char* argv[PING_ARGC + 1])
{
    int n = 0;
    for (const char* opt : kPingOptions) argv[n++] = opt;
    argv[n++] = addr;
    argv[n] = nullptr;
}

int SendPingCmd(const char* addr)
{
    if (addr == nullptr) addr = "";
    PrnDebugf("sending PING to %s\n", addr);
    // An empty text or one that ping would take for an option is no address.
    if (addr[0] == '\0' || addr[0] == '-') return PING_NOT_RUN;

    const char* argv[PING_ARGC + 1];
    ping_argv(addr, argv);
    QuietChild child;
    SpawnAttr attr;
    if (!child.ok() || !attr.ok()) return PING_NOT_RUN;
    IgnoreInterrupts quiet;
    pid_t pid = -1;
    if (posix_spawnp(&pid, argv[0], child.actions(), attr.attr(), const_cast<char* const*>(argv),
                     environ) != 0)
        return PING_NOT_RUN;
    int status = 0;
    while (waitpid(pid, &status, 0) < 0) {
        if (errno != EINTR) return -1;
    }
    return status;
}
