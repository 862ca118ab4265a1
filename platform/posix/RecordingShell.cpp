#include "platform/posix/RecordingShell.h"

namespace platform {

bool RecordingShell::Record(const char* operation, const std::string& target, std::vector<std::string> argv) {
    calls_.push_back({operation, target, argv});
    return Spawn(argv);
}

bool RecordingShell::Open(const std::string& target) {
    return Record("open", target, OpenCommand(target));
}
bool RecordingShell::Explore(const std::string& folder) {
    return Record("explore", folder, ExploreCommand(folder));
}
bool RecordingShell::Execute(const std::string& file) {
    return Record("execute", file, ExecuteCommand(file));
}

}  // namespace platform
