// How every settings group reads a unit and writes it back: a table of
// steps over the group's own struct, run in order by one runner that stops
// at the first failure and hands it back as a value. Nothing here draws:
// a screen shows the failure's message, the command line prints it, a test
// compares it.
//
// A read or an apply touches only xportset[unit] and the struct it is
// given, so reads and applies of different units may run in parallel
// threads.
#pragma once

#include <cstddef>

// What a read or an apply came to: every step went through, or the step
// that failed with the message box its screen shows (its log line has been
// written already).
struct StepResult {
    int failed = -1;                // index of the failed step in its table; -1: none failed
    const char* message = nullptr;  // first line of the message box; null: no box
    const char* detail = nullptr;   // its second line; null: empty
    int row = 0;                    // screen row of the box (MSG_ROW_*)
    const char* log = nullptr;      // the debug log line written for it; null: none
    bool ok() const { return failed < 0; }
};

// One step of a read or an apply of group G.
template <class G>
struct SettingsStep {
    int (*exchange)(int unit, G& values) = nullptr;        // 0 success; null: only the pause
    int pause_ms = 0;                                      // waited before the exchange
    const char* message = nullptr;                         // shown when it fails (null: no box)
    const char* detail = nullptr;                          // second line of that box (null: empty)
    int row = 0;                                           // screen row of that box
    const char* log = nullptr;                             // logged when it fails (null: nothing)
    bool (*applies)(int unit, const G& values) = nullptr;  // null: always
    int shows =
        0;  // what a screen draws once the step went through (the group's own codes; 0 none)
};

// Called after every step with a `shows` code that went through, for a
// screen that shows values as they arrive.
template <class G>
using StepShown = void (*)(int unit, const G& values, int shows);

// The pieces of the runner that are the same for every group.
void settings_pause(int ms);
StepResult settings_failure(int index, const char* message, const char* detail, int row,
                            const char* log);  // writes the log line

// Runs the steps that apply in order and stops at the first failure: the
// later steps are not made, so nothing after a failed step is sent.
template <class G>
StepResult run_settings_steps(const SettingsStep<G>* steps, int count, int unit, G& values,
                              StepShown<G> shown = nullptr)
{
    for (int k = 0; k < count; k++) {
        const SettingsStep<G>& s = steps[k];
        if (s.applies != nullptr && !s.applies(unit, values)) continue;
        if (s.pause_ms > 0) settings_pause(s.pause_ms);
        if (s.exchange != nullptr && s.exchange(unit, values) != 0)
            return settings_failure(k, s.message, s.detail, s.row, s.log);
        if (shown != nullptr && s.shows != 0) shown(unit, values, s.shows);
    }
    return StepResult{};
}

template <class G, size_t N>
StepResult run_settings_steps(const SettingsStep<G> (&steps)[N], int unit, G& values,
                              StepShown<G> shown = nullptr)
{
    return run_settings_steps(steps, static_cast<int>(N), unit, values, shown);
}
