#pragma once
// Shell on Windows: every target goes to ShellExecuteW, which runs programs and opens documents,
// folders and URLs with their handlers. No command interpreter is involved.
#include <string>
#include <vector>

#include "platform/Shell.h"

namespace platform {

class Win32Shell : public CommandShell {
public:
    // paths: the mapping for app paths; nullptr means the active one of Services at each call.
    // Commands are what ShellExecuteW is handed: {verb, target}.
    explicit Win32Shell(const NativePath* paths = nullptr) : CommandShell(paths) {}

protected:
    std::vector<std::string> UrlCommand(const std::string& url) const override { return {"open", url}; }
    std::vector<std::string> FolderCommand(const std::string& native) const override {
        return {"explore", native};
    }
    std::vector<std::string> FileCommand(const std::string& native) const override {
        return {"open", native};
    }
    std::string CurrentFolder() const override;
    std::string FolderOf(const std::string& native) const override;
    bool Spawn(const std::vector<std::string>& command, const std::string& folder) override;
};

}  // namespace platform
