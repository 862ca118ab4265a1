#include "platform/Shell.h"

#include <cctype>

#include "base/Cp1252.h"
#include "base/StrUtils.h"
#include "platform/Services.h"

namespace platform {

NativePath CommandShell::Paths() const {
    return paths_ ? *paths_ : Services().paths;
}

bool CommandShell::IsUrl(const std::string& target) {
    size_t i = 0;
    while (i < target.size() && (std::isalnum(static_cast<unsigned char>(target[i])) || target[i] == '+' ||
                                 target[i] == '-' || target[i] == '.'))
        ++i;
    return i >= 2 && i < target.size() && target[i] == ':' &&
           std::isalpha(static_cast<unsigned char>(target[0]));
}

std::vector<std::string> CommandShell::OpenCommand(const std::string& target) const {
    const std::string t = base::Trim(target);
    if (t.empty()) return {};
    if (IsUrl(t)) return UrlCommand(base::Cp1252ToUtf8(t));
    return ExecuteCommand(t);
}

std::vector<std::string> CommandShell::ExploreCommand(const std::string& folder) const {
    return FolderCommand(base::Trim(folder).empty() ? CurrentFolder() : Paths().Resolve(folder));
}

std::vector<std::string> CommandShell::ExecuteCommand(const std::string& file) const {
    const std::string t = base::Trim(file);
    if (t.empty()) return {};
    return FileCommand(Paths().Resolve(t));
}

std::string CommandShell::WorkingFolder(const std::string& target) const {
    const std::string t = base::Trim(target);
    if (t.empty() || IsUrl(t)) return {};
    return FolderOf(Paths().Resolve(t));
}

bool CommandShell::Open(const std::string& target) {
    const auto command = OpenCommand(target);
    return !command.empty() && Spawn(command, WorkingFolder(target));
}

bool CommandShell::Explore(const std::string& folder) {
    const auto command = ExploreCommand(folder);
    return !command.empty() && Spawn(command, {});
}

bool CommandShell::Execute(const std::string& file) {
    const auto command = ExecuteCommand(file);
    return !command.empty() && Spawn(command, WorkingFolder(file));
}

}  // namespace platform
