// Running kivraset as a script would: inside a lab's host namespace, its
// standard output and standard error kept apart, its exit status.
#pragma once

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <string>
#include <vector>

#include "rig/emulator.h"
#include "rig/lab.h"
#include "rig/scratch_dir.h"

namespace clitest {

struct Run {
    int status = -1;
    std::string out, err;
};

inline Run kivraset(const rig::Lab& lab, std::vector<std::string> args)
{
    rig::ScratchDir dir;
    std::vector<std::string> argv{rig::kivraset_path()};
    argv.insert(argv.end(), args.begin(), args.end());
    argv = rig::with_emulator(lab.in_host(argv));
    std::vector<char*> cargv;
    for (std::string& a : argv) cargv.push_back(a.data());
    cargv.push_back(nullptr);
    posix_spawn_file_actions_t files;
    posix_spawn_file_actions_init(&files);
    posix_spawn_file_actions_addopen(&files, 0, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&files, 1, dir.file("out").c_str(), O_WRONLY | O_CREAT, 0600);
    posix_spawn_file_actions_addopen(&files, 2, dir.file("err").c_str(), O_WRONLY | O_CREAT, 0600);
    Run r;
    pid_t pid = -1;
    if (posix_spawnp(&pid, cargv[0], &files, nullptr, cargv.data(), environ) == 0) {
        int status = 0;
        while (waitpid(pid, &status, 0) < 0 && errno == EINTR) {
        }
        r.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }
    posix_spawn_file_actions_destroy(&files);
    r.out = dir.read("out");
    r.err = dir.read("err");
    return r;
}

}  // namespace clitest
