// Work on several units at once: one thread per unit, each touching only
// its own unit's entry, all joined before the results are printed.
#include "cli/units.h"

#include <limits.h>
#include <pthread.h>
#include <unistd.h>

#include <vector>

namespace {

// Room for a read or an apply with its group structs and a ping's spawn;
// the sanitizers' instrumented frames need more.
#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
constexpr size_t kStack = 2 * 1024 * 1024;
#else
constexpr size_t kStack = 256 * 1024;
#endif

struct Job {
    void (*work)(int k, void* ctx);
    void* ctx;
    int k;
};

void* run_job(void* arg)
{
    const Job& j = *static_cast<const Job*>(arg);
    j.work(j.k, j.ctx);
    return nullptr;
}

}  // namespace

void run_parallel(int n, void (*work)(int k, void* ctx), void* ctx)
{
    if (n <= 0) return;
    if (n == 1) {
        work(0, ctx);
        return;
    }
    std::vector<Job> jobs(static_cast<size_t>(n));
    std::vector<pthread_t> threads(static_cast<size_t>(n));
    std::vector<bool> started(static_cast<size_t>(n), false);
    pthread_attr_t attr;
    const bool attr_ok = pthread_attr_init(&attr) == 0;
    if (attr_ok) {
        const long least = sysconf(_SC_THREAD_STACK_MIN);
        pthread_attr_setstacksize(&attr, least > 0 && static_cast<size_t>(least) > kStack
                                             ? static_cast<size_t>(least)
                                             : kStack);
    }
    for (int k = 0; k < n; k++) {
        jobs[k] = Job{work, ctx, k};
        started[k] = attr_ok && pthread_create(&threads[k], &attr, run_job, &jobs[k]) == 0;
        // Without a thread of its own the work runs here; the others go on meanwhile.
        if (!started[k]) work(k, ctx);
    }
    if (attr_ok) pthread_attr_destroy(&attr);
    for (int k = 0; k < n; k++)
        if (started[k]) pthread_join(threads[k], nullptr);
}
