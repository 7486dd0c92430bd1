#include "midi/output/ThreadTuning.h"

#if defined(__linux__)
#include <pthread.h>
#include <sched.h>
#include <sys/prctl.h>
#endif

namespace vornel {

bool tuneSchedulingThread() {
#if defined(__linux__)
    prctl(PR_SET_TIMERSLACK, 1UL, 0UL, 0UL, 0UL);
    // A middle priority: above ordinary threads, below the audio server's and
    // the kernel's interrupt threads.
    sched_param param{};
    param.sched_priority = 40;
    return pthread_setschedparam(pthread_self(), SCHED_FIFO, &param) == 0;
#else
    return false;
#endif
}

}  // namespace vornel
