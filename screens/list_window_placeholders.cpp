// Weak stand-ins for the main screen's fixed windows that the device list
// draws into, so the list links before the windows exist; the real
// definitions take precedence. Remove this file once the shell defines them.
#include "shell/KIVRASet.h"

__attribute__((weak)) WINDOW* basewin;
__attribute__((weak)) WINDOW* list_dev[9];
__attribute__((weak)) WINDOW* info_device[4];
