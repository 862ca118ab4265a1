#pragma once
// Shell on a freedesktop system: xdg-open for URLs, documents and folders; executables directly.
#include <sys/types.h>

#include <string>
#include <vector>

#include "platform/Shell.h"

namespace platform {

class PosixShell : public CommandShell {
public:
    // paths: the mapping for app paths; nullptr means the active one of Services at each call.
    // reapChildren: a detached waiter collects each started process so none stays a zombie; tests
    // that wait for the process themselves turn it off.
    explicit PosixShell(const NativePath* paths = nullptr, bool reapChildren = true);

    pid_t LastProcessId() const { return lastPid_; }

protected:
    std::vector<std::string> UrlCommand(const std::string& url) const override;
    std::vector<std::string> FolderCommand(const std::string& native) const override;
    std::vector<std::string> FileCommand(const std::string& native) const override;
    std::string CurrentFolder() const override;
    std::string FolderOf(const std::string& native) const override;
    // Starts argv[0] (searched on PATH when it has no '/').
    bool Spawn(const std::vector<std::string>& argv, const std::string& folder) override;

private:
    bool reap_;
    pid_t lastPid_ = -1;
};

}  // namespace platform
