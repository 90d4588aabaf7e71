// Writing settings files to disk: created 0600, never half-written, an
// existing file replaced only when asked.
#pragma once

#include <cstddef>
#include <cstdint>

#include "cli/settings_file.h"

bool is_directory(const char* path);
bool path_taken(const char* path);  // anything exists at path (a dangling link too)
// "DIR/00-80-a3-10-00-01.json".
void settings_file_name(const uint8_t mac[6], const char* dir, char* out, size_t size);
// Writes s to path. 0, or -1 with why ("writing PATH: the file exists
// (--force replaces it)"); without replace an existing file is kept.
int save_settings_file(const char* path, const UnitSettings& s, const SettingsWriteOptions& opt,
                       bool replace, char* why, size_t size);
