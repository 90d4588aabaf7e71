// The optional trace file "debug.log" in the working directory.
#pragma once

void InitDebug();
// Writes one message as bytes (never used as a format). A message beginning
// with the log header starts the file anew.
void PrnDebug(const char* text);
// Formats a message, then writes it with PrnDebug.
void PrnDebugf(const char* fmt, ...) __attribute__((format(printf, 1, 2)));
