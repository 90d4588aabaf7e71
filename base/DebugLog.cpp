#include "base/DebugLog.h"

#include <cstdarg>
#include <cstdio>
#include <cstring>

namespace {

const char kHeader[] = "KIVRASet Debug Log File\n";
constexpr size_t kHeaderMark = 23;   // the header without its line feed
int log_enabled = 0;

struct LogFile {
    FILE* f;
    explicit LogFile(const char* mode) : f(std::fopen("debug.log", mode)) {}
    ~LogFile() { if (f) std::fclose(f); }
    LogFile(const LogFile&) = delete;
    LogFile& operator=(const LogFile&) = delete;
};

}  // namespace

void PrnDebug(const char* text)
{
    if (text == nullptr) return;
    const char* mode = nullptr;
    // strncmp stops at the end of a shorter text, so nothing past it is read.
    if (std::strncmp(text, kHeader, kHeaderMark) == 0) {
        mode = "w+";
        log_enabled = 1;
    } else if (log_enabled == 1) {
        mode = "a+";
    } else {
        return;
    }
    LogFile log(mode);
    if (log.f == nullptr) return;
    std::fwrite(text, 1, std::strlen(text), log.f);
}

void PrnDebugf(const char* fmt, ...)
{
    if (log_enabled != 1) return;
    char buf[1024];
    va_list ap;
    va_start(ap, fmt);
    std::vsnprintf(buf, sizeof buf, fmt, ap);
    va_end(ap);
    PrnDebug(buf);
}

void InitDebug()
{
    PrnDebug(kHeader);
}
