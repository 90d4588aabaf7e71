// Starting KIVRASetL under the terminal rig for the shell's tests. None of
// these tests chooses the search or adding a unit: nothing is sent.
#pragma once

#include <string>
#include <vector>

#include "rig/term.h"

namespace shell_test {

inline std::string program() { return KIVRA_BINARY_DIR "/KIVRASetL"; }

// The main screen is up once the help bar's version text is drawn.
constexpr const char* kVersionText = "KIVRASetL V1.10";

}  // namespace shell_test
