#pragma once
// A lock by name that tells the second holder at once. The lock dies with the process that holds
// it, also when that process crashes, so a stale lock can never keep the program from starting.
#include <string>

namespace platform {

class SingleInstance {
public:
    virtual ~SingleInstance() = default;
    // Takes the lock; false when another holder (another process, or an earlier Acquire of the same
    // name in this process) already has it. A taken lock is held until Release or the end of the
    // process.
    virtual bool Acquire(const std::string& name) = 0;
    virtual void Release(const std::string& name) = 0;
};

}  // namespace platform
