// Running the form harness under the terminal rig.
#pragma once

#include "rig/term.h"

#include <string>
#include <vector>

namespace forms_test {

inline std::vector<std::string> harness(std::vector<std::string> args)
{
    std::vector<std::string> argv{std::string(KIVRA_BINARY_DIR) + "/tests/form_harness"};
    argv.insert(argv.end(), args.begin(), args.end());
    return argv;
}

// The result lines the harness prints after round n.
inline std::string round_line(int n, int result)
{
    return "round " + std::to_string(n) + " result " + std::to_string(result);
}

// Waits for round n to end with result and returns the line under it
// ("text [..]", "field [..]" or "choice [..]"), trailing blanks cut.
inline std::string round_result(rig::Term& t, int n, int result)
{
    if (!t.wait_row(22, round_line(n, result))) return "no round " + std::to_string(n) + ":\n" + t.dump();
    // The second line may still be on its way, written over the last round's.
    t.settle();
    t.wait_for([&t] { return t.row(23).find_first_not_of(' ') != std::string::npos; }, 5000);
    std::string line = t.row(23);
    while (!line.empty() && line.back() == ' ') line.pop_back();
    return line;
}

// Once the harness has drawn what the last key made of the form, polls
// the screen until pred(t) holds: a key that wrongly changes something is
// seen before the first look.
template <typename Pred>
bool wait_for(rig::Term& t, Pred pred, int timeout_ms = 10000)
{
    t.settle(50, 1000);
    return t.wait_for([&] { return pred(t); }, timeout_ms);
}

}  // namespace forms_test
