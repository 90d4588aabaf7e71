// A hang-up ends the run at once with the terminal put back as it was found.
#pragma once

// Keeps the terminal's modes as they are before curses starts.
void keep_terminal_modes();
// Once curses runs: a hang-up (SIGHUP) from then on writes the terminal's
// own sequences that leave the full-screen mode and show the cursor,
// restores the kept modes and ends the program with status 129.
void end_on_hangup();
