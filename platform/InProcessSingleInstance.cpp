#include "platform/InProcessSingleInstance.h"

namespace platform {

bool InProcessSingleInstance::Acquire(const std::string& name) {
    std::lock_guard lock(mutex_);
    return held_.insert(name).second;
}

void InProcessSingleInstance::Release(const std::string& name) {
    std::lock_guard lock(mutex_);
    held_.erase(name);
}

}  // namespace platform
