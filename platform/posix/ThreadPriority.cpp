#include "platform/ThreadPriority.h"

#include <sys/resource.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <algorithm>

namespace platform {

bool SetCurrentThreadPriority(int step) {
    // Linux gives each thread its own nice value.
    static constexpr int kNice[7] = {19, 10, 5, 0, -5, -10, -20};
    const int nice = kNice[std::clamp(step, 0, 6)];
    const auto tid = static_cast<id_t>(syscall(SYS_gettid));
    return setpriority(PRIO_PROCESS, tid, nice) == 0;
}

}  // namespace platform
