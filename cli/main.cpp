// kivraset's entry point.
#include <cstdio>

#include "cli/kivraset.h"

int main(int argc, char** argv) { return kivraset_main(argc, argv, stdout, stderr); }
