// Starting KIVRASetL under the terminal rig for the shell's tests. Outside a
// lab these tests never choose the search or adding a unit: nothing is sent.
#pragma once

#include <string>

#include "rig/lab.h"
#include "rig/term.h"

namespace shell_test {

inline std::string program()
{
    return rig::kivrasetl_path();
}

// The main screen is up once the help bar's version text is drawn.
constexpr const char* kVersionText = "KIVRASetL V1.10";

}  // namespace shell_test
