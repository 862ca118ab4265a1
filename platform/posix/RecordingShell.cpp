#include "platform/posix/RecordingShell.h"

namespace platform {

bool RecordingShell::Record(const char* operation, const std::string& target, std::vector<std::string> argv,
                            std::string folder) {
    calls_.push_back({operation, target, argv, folder});
    return Spawn(argv, folder);
}

bool RecordingShell::Open(const std::string& target) {
    return Record("open", target, OpenCommand(target), WorkingFolder(target));
}
bool RecordingShell::Explore(const std::string& folder) {
    return Record("explore", folder, ExploreCommand(folder));
}
bool RecordingShell::Execute(const std::string& file) {
    return Record("execute", file, ExecuteCommand(file), WorkingFolder(file));
}

}  // namespace platform
