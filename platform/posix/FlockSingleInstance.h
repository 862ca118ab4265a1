#pragma once
// flock() on a file in $XDG_RUNTIME_DIR (or /tmp with the user id in its name). The kernel drops
// the lock when the last descriptor closes, which a crash does too. The descriptor is close-on-exec
// so programs started from the menu do not inherit the lock.
#include <map>
#include <mutex>
#include <string>

#include "platform/SingleInstance.h"

namespace platform {

class FlockSingleInstance : public SingleInstance {
public:
    // Folder for the lock files; empty: $XDG_RUNTIME_DIR, else /tmp.
    explicit FlockSingleInstance(std::string folder = {});
    ~FlockSingleInstance() override;

    bool Acquire(const std::string& name) override;
    void Release(const std::string& name) override;

    std::string LockFile(const std::string& name) const;

private:
    std::string folder_;
    std::mutex mutex_;
    std::map<std::string, int> held_;
};

}  // namespace platform
