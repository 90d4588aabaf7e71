// Journal lines and the atomically rewritten state file.
#include "lab/sim/journal.h"

#include <fcntl.h>
#include <time.h>
#include <unistd.h>

#include <cstdio>
#include <nlohmann/json.hpp>

#include "lab/sim/plant.h"

namespace sim {

long long now_us()
{
    timespec ts{};
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return static_cast<long long>(ts.tv_sec) * 1000000 + ts.tv_nsec / 1000;
}

long long monotonic_from_realtime(const timespec& ts)
{
    timespec real{};
    clock_gettime(CLOCK_REALTIME, &real);
    const long long age_us = (static_cast<long long>(real.tv_sec) - ts.tv_sec) * 1000000 +
                             (real.tv_nsec - ts.tv_nsec) / 1000;
    return now_us() - (age_us > 0 ? age_us : 0);
}

Journal::Journal(const std::string& path)
{
    fd_ = open(path.c_str(), O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0644);
}

Journal::~Journal()
{
    if (fd_ >= 0) close(fd_);
}

void Journal::write(const Entry& e)
{
    if (fd_ < 0) return;
    nlohmann::ordered_json j;
    j["t_us"] = e.t_us > 0 ? e.t_us : now_us();
    j["unit"] = e.unit;
    j["proto"] = e.proto;
    j["dir"] = e.dir;
    j["local"] = e.local;
    j["peer"] = e.peer;
    j["conn"] = e.conn;
    j["bytes"] = to_hex(e.bytes);
    j["event"] = e.event;
    std::string line = j.dump(-1, ' ', false, nlohmann::json::error_handler_t::replace) + "\n";
    ssize_t n = ::write(fd_, line.data(), line.size());
    (void)n;
}

bool write_file_atomically(const std::string& path, const std::string& text)
{
    std::string tmp = path + ".tmp";
    int fd = open(tmp.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (fd < 0) return false;
    size_t done = 0;
    while (done < text.size()) {
        ssize_t n = ::write(fd, text.data() + done, text.size() - done);
        if (n <= 0) {
            close(fd);
            return false;
        }
        done += static_cast<size_t>(n);
    }
    close(fd);
    return rename(tmp.c_str(), path.c_str()) == 0;
}

}  // namespace sim
