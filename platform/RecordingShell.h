#pragma once
// The shell of headless runs and tests: works out exactly the argument vector the real shell would
// start, records it and starts nothing.
#include <memory>
#include <string>
#include <vector>

#include "platform/NativePath.h"
#include "platform/Shell.h"

namespace platform {

struct ShellCall {
    std::string operation;          // "open", "explore" or "execute"
    std::string target;             // as the caller passed it (cp1252)
    std::vector<std::string> argv;  // what would have run (UTF-8); empty when nothing would
    std::string folder;             // where it would have run (UTF-8); empty: the current folder
};

class RecordingShell : public Shell {
public:
    explicit RecordingShell(const NativePath* paths = nullptr);
    ~RecordingShell() override;

    bool Open(const std::string& target) override;
    bool Explore(const std::string& folder) override;
    bool Execute(const std::string& file) override;

    const std::vector<ShellCall>& Calls() const { return calls_; }
    void Clear() { calls_.clear(); }
    // From now on every call is recorded but answers "nothing could be started", as on a system
    // without an opener.
    void SetFailing(bool failing) { failing_ = failing; }

private:
    bool Record(const char* operation, const std::string& target, std::vector<std::string> argv,
                std::string folder = {});
    class Planner;  // the system's own shell, asked what it would run
    std::unique_ptr<Planner> planner_;
    std::vector<ShellCall> calls_;
    bool failing_ = false;
};

}  // namespace platform
