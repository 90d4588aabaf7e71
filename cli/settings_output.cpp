// Settings files written whole or not at all: into a new file beside the
// target (mode 0600), then linked to its name (refused when the name is
// taken) or, when replacing is allowed, renamed over it.
#include "cli/settings_output.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "cli/kivraset.h"

namespace {

void say(char* why, size_t size, const char* path, const char* what)
{
    std::snprintf(why, size, "writing %s: %s", path, what);
}

}  // namespace

bool is_directory(const char* path)
{
    struct stat st {};
    return path != nullptr && stat(path, &st) == 0 && S_ISDIR(st.st_mode);
}

bool path_taken(const char* path)
{
    struct stat st {};
    return lstat(path, &st) == 0;
}

void settings_file_name(const uint8_t mac[6], const char* dir, char* out, size_t size)
{
    char text[18];
    format_mac(mac, text);
    for (char& c : text)
        if (c == ':') c = '-';
    std::snprintf(out, size, "%s/%s.json", dir, text);
}

int save_settings_file(const char* path, const UnitSettings& s, const SettingsWriteOptions& opt,
                       bool replace, char* why, size_t size)
{
    char temp[4200];
    if (std::snprintf(temp, sizeof temp, "%s.XXXXXX", path) >= static_cast<int>(sizeof temp)) {
        say(why, size, path, "the name is too long");
        return -1;
    }
    const int fd = mkstemp(temp);  // mode 0600
    if (fd < 0) {
        say(why, size, path, std::strerror(errno));
        return -1;
    }
    FILE* f = fdopen(fd, "w");
    if (f == nullptr) {
        close(fd);
        unlink(temp);
        say(why, size, path, std::strerror(errno));
        return -1;
    }
    JsonWriter w(f);
    write_settings_file(s, opt, w);
    const bool written = std::fflush(f) == 0 && fsync(fd) == 0;
    const int saved = errno;
    std::fclose(f);
    int r = written ? 0 : -1;
    if (r == 0) r = replace ? rename(temp, path) : link(temp, path);
    const int failed = r != 0 ? (written ? errno : saved) : 0;
    unlink(temp);  // the name (after link) or nothing (after rename)
    if (failed == 0) return 0;
    say(why, size, path,
        failed == EEXIST ? "the file exists (--force replaces it)" : std::strerror(failed));
    return -1;
}
