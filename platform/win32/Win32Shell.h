#pragma once
// Shell on Windows: every target goes to ShellExecuteW, which runs programs and opens documents,
// folders and URLs with their handlers. No command interpreter is involved.
#include <string>
#include <vector>

#include "platform/NativePath.h"
#include "platform/Shell.h"

namespace platform {

class Win32Shell : public Shell {
public:
    // paths: the mapping for app paths; nullptr means the active one of Services at each call.
    explicit Win32Shell(const NativePath* paths = nullptr) : paths_(paths) {}

    bool Open(const std::string& target) override;
    bool Explore(const std::string& folder) override;
    bool Execute(const std::string& file) override;

    // What each operation hands ShellExecuteW (UTF-8): {verb, target}, empty when nothing.
    std::vector<std::string> OpenCommand(const std::string& target) const;
    std::vector<std::string> ExploreCommand(const std::string& folder) const;
    std::vector<std::string> ExecuteCommand(const std::string& file) const;
    // The folder a started file runs in: its own (UTF-8, native); empty for a URL or nothing.
    std::string WorkingFolder(const std::string& target) const;

    static bool IsUrl(const std::string& target);

protected:
    virtual bool Spawn(const std::vector<std::string>& command, const std::string& folder);

private:
    NativePath Paths() const;
    const NativePath* paths_;
};

}  // namespace platform
