#include "shell/KIVRASet.h"

int main(int argc, char** argv)
{
    return kivraset_run(argc, argv);
}
