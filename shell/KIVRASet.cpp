#include "shell/KIVRASet.h"

int kivraset_run(int, char**)
{
    return 0;
}
