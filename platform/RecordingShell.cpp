#include "platform/RecordingShell.h"

#ifdef _WIN32
#include "platform/win32/Win32Shell.h"
#else
#include "platform/posix/PosixShell.h"
#endif

namespace platform {

#ifdef _WIN32
class RecordingShell::Planner : public Win32Shell {
public:
    explicit Planner(const NativePath* paths) : Win32Shell(paths) {}
};
#else
class RecordingShell::Planner : public PosixShell {
public:
    explicit Planner(const NativePath* paths) : PosixShell(paths, false) {}
};
#endif

RecordingShell::RecordingShell(const NativePath* paths) : planner_(std::make_unique<Planner>(paths)) {}

RecordingShell::~RecordingShell() = default;

bool RecordingShell::Record(const char* operation, const std::string& target, std::vector<std::string> argv,
                            std::string folder) {
    const bool started = !argv.empty() && !failing_;
    calls_.push_back({operation, target, std::move(argv), std::move(folder)});
    return started;
}

bool RecordingShell::Open(const std::string& target) {
    return Record("open", target, planner_->OpenCommand(target), planner_->WorkingFolder(target));
}
bool RecordingShell::Explore(const std::string& folder) {
    return Record("explore", folder, planner_->ExploreCommand(folder));
}
bool RecordingShell::Execute(const std::string& file) {
    return Record("execute", file, planner_->ExecuteCommand(file), planner_->WorkingFolder(file));
}

}  // namespace platform
