// Weak stand-ins for the main screen's fixed windows, so the top menu items
// link before the windows exist; the real definitions take precedence. Remove
// this file once shell/KIVRASet.cpp defines them.
#include "shell/KIVRASet.h"

__attribute__((weak)) WINDOW* menu_search[4];
