#pragma once
// Names held inside this process only: for headless runs and tests that must not collide with a
// menu running on the same machine.
#include <mutex>
#include <set>
#include <string>

#include "platform/SingleInstance.h"

namespace platform {

class InProcessSingleInstance : public SingleInstance {
public:
    bool Acquire(const std::string& name) override;
    void Release(const std::string& name) override;

private:
    std::mutex mutex_;
    std::set<std::string> held_;
};

}  // namespace platform
