#pragma once
// A named mutex in the session's namespace. The system closes the handle when the process ends,
// also when it crashes, so a stale lock cannot outlive its holder.
#include <map>
#include <mutex>
#include <string>

#include "platform/SingleInstance.h"

namespace platform {

class MutexSingleInstance : public SingleInstance {
public:
    ~MutexSingleInstance() override;

    bool Acquire(const std::string& name) override;
    void Release(const std::string& name) override;

    // The kernel object's name for a lock name (characters the namespace forbids replaced).
    static std::string ObjectName(const std::string& name);

private:
    std::mutex mutex_;
    std::map<std::string, void*> held_;
};

}  // namespace platform
