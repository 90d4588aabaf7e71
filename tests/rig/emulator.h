// Test programs of a build for another architecture (a board build made by
// scripts/cross) run here under a user-mode emulator. KIVRA_EMULATOR names it;
// the rig then starts every program of this build through it. Unset, nothing
// changes.
#pragma once

#include <string>
#include <vector>

namespace rig {

// argv with the emulator put before the first argument that is a program of
// this build (e.g. after "ip netns exec NS"); argv itself when no emulator is set
// or argv already names it.
std::vector<std::string> with_emulator(std::vector<std::string> argv);

// In a child about to start the tool, a harness or the simulator: the program
// is scheduled before the machine's ordinary work (builds, other tests), so
// that the time limits of its exchanges, which tests check, measure the
// program and not a busy host. Needs root; elsewhere nothing changes.
void prefer_over_host_work();

// argv as one shell command line (the arguments must need no quoting).
std::string command_line(const std::vector<std::string>& argv);

}  // namespace rig
