#pragma once
// Shell on a freedesktop system: xdg-open for URLs, documents and folders; executables directly.
#include <sys/types.h>

#include <string>
#include <vector>

#include "platform/NativePath.h"
#include "platform/Shell.h"

namespace platform {

class PosixShell : public Shell {
public:
    // paths: the mapping for app paths; nullptr means the active one of Services at each call.
    // reapChildren: a detached waiter collects each started process so none stays a zombie; tests
    // that wait for the process themselves turn it off.
    explicit PosixShell(const NativePath* paths = nullptr, bool reapChildren = true);

    bool Open(const std::string& target) override;
    bool Explore(const std::string& folder) override;
    bool Execute(const std::string& file) override;

    // The argument vector each operation runs (UTF-8), empty when there is nothing to run.
    std::vector<std::string> OpenCommand(const std::string& target) const;
    std::vector<std::string> ExploreCommand(const std::string& folder) const;
    std::vector<std::string> ExecuteCommand(const std::string& file) const;
    // The folder a started file runs in: its own (UTF-8, native); empty for a URL or nothing.
    std::string WorkingFolder(const std::string& target) const;

    // "scheme:" with a scheme of two or more letters (one letter is a drive).
    static bool IsUrl(const std::string& target);

    pid_t LastProcessId() const { return lastPid_; }

protected:
    // Starts argv[0] (searched on PATH when it has no '/') in folder (empty: the menu's current
    // one); true when the program was started.
    virtual bool Spawn(const std::vector<std::string>& argv, const std::string& folder = {});

private:
    NativePath Paths() const;
    const NativePath* paths_;
    bool reap_;
    pid_t lastPid_ = -1;
};

}  // namespace platform
