#include "platform/ThreadPriority.h"

#include <windows.h>

#include <algorithm>

namespace platform {

bool SetCurrentThreadPriority(int step) {
    static constexpr int kPriority[7] = {THREAD_PRIORITY_IDLE,         THREAD_PRIORITY_LOWEST,
                                         THREAD_PRIORITY_BELOW_NORMAL, THREAD_PRIORITY_NORMAL,
                                         THREAD_PRIORITY_ABOVE_NORMAL, THREAD_PRIORITY_HIGHEST,
                                         THREAD_PRIORITY_TIME_CRITICAL};
    return SetThreadPriority(GetCurrentThread(), kPriority[std::clamp(step, 0, 6)]) != 0;
}

}  // namespace platform
