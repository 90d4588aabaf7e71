// The model-query workers of a search: one thread per unit, all started
// before any is joined, so a search lasts about as long as its slowest unit.
#include <limits.h>
#include <pthread.h>
#include <unistd.h>

#include "device/KIVRAXPort.h"
#include "settings/unit_search.h"
#include "base/DebugLog.h"

namespace {

// Small stacks let 256 workers fit the address space of a 32-bit board.
// The sanitizers' instrumented frames need more room.
#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
constexpr size_t WORKER_STACK = 512 * 1024;
#else
constexpr size_t WORKER_STACK = 64 * 1024;
#endif

size_t worker_stack_size()
{
    const long least = sysconf(_SC_THREAD_STACK_MIN);
    if (least > 0 && static_cast<size_t>(least) > WORKER_STACK) return static_cast<size_t>(least);
    return WORKER_STACK;
}

}  // namespace

void* tfunc_RecvModel(void* arg)
{
    if (arg == nullptr) return nullptr;
    const int index = *static_cast<const int*>(arg);
    if (index < 0 || index >= XPORT_MAX) return nullptr;
    DeviceEntry& e = xportset[index];
    const int r = GetUnitModelID(e.ipstr, GetCmdPort(index), &e.model, &e.unit_id);
    // A refused answer or a failed exchange leaves model -1: the unit stays
    // listed under its device type.
    if (r == 0 && !is_wifi(e)) {
        if (GetXPortData(index) == 0) e.model = -999;
    }
    return nullptr;
}

void ModelWorkers::start(int index)
{
    if (count_ >= XPORT_MAX) return;
    const int slot = count_;
    index_[slot] = index;
    count_++;

    pthread_attr_t attr;
    bool created = false;
    if (pthread_attr_init(&attr) == 0) {
        pthread_attr_setstacksize(&attr, worker_stack_size());
        created = pthread_create(&threads_[slot], &attr, tfunc_RecvModel, &index_[slot]) == 0;
        pthread_attr_destroy(&attr);
    }
    running_[slot] = created;
    // Without a thread of its own the query runs here; the others go on meanwhile.
    if (!created) {
        run_here_++;
        tfunc_RecvModel(&index_[slot]);
    }
}

int ModelWorkers::join_all()
{
    for (int k = 0; k < count_; k++) {
        if (running_[k]) {
            pthread_join(threads_[k], nullptr);
            running_[k] = false;
        }
    }
    return count_;
}
