#include "settings/settings_steps.h"

#include "base/DebugLog.h"

#include <unistd.h>

void settings_pause(int ms)
{
    if (ms > 0) usleep(static_cast<useconds_t>(ms) * 1000);
}

StepResult settings_failure(int index, const char* message, const char* detail, int row,
                            const char* log)
{
    if (log != nullptr) PrnDebug(log);
    return StepResult{index, message, detail, row, log};
}
