#include "settings/model_check.h"

#include <cerrno>
#include <unistd.h>

#include "device/KIVRAXPort.h"

namespace {

constexpr int MODEL_ATTEMPTS = 5;
constexpr useconds_t ATTEMPT_PAUSE_US = 50 * 1000;

}  // namespace

int modelcheck2(int i)
{
    if (i < 0 || i >= xportcount || i >= XPORT_MAX) return EINVAL;
    DeviceEntry& e = xportset[i];
    static const ModelQueryLog texts{"connect with timeout failed\n",
                                     "warning: recv timeout may be occured\n", false};
    int error = 0;
    const int r = ModelQuery(e.ipstr, GetCmdPort(i), texts, &e.model, &e.unit_id, &error);
    if (r == 0) return 0;
    if (r == 1) return -1;
    // A failure is never reported as success, even when the system gave no number.
    return error > 0 ? error : EIO;
}

ModelCheck check_model(int i, void (*on_answer)())
{
    if (i < 0 || i >= xportcount || i >= XPORT_MAX) return ModelCheck::NoAnswer;
    for (int attempt = 0; attempt < MODEL_ATTEMPTS; attempt++) {
        const int r = modelcheck2(i);
        if (r == -1) return ModelCheck::Refused;
        if (r == 0 && on_answer != nullptr) on_answer();
        if (xportset[i].model != -1) return ModelCheck::Known;
        if (attempt + 1 < MODEL_ATTEMPTS) usleep(ATTEMPT_PAUSE_US);
    }
    return ModelCheck::NoAnswer;
}
