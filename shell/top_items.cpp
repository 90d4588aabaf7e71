// Placeholder definitions until the form items of the top menu are written.
#include "shell/KIVRASet.h"

int top_menu_port() { return 0; }
int top_menu_add() { return 0; }
