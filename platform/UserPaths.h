#pragma once
// Native paths as the user reads and picks them.
#include <string>
#include <string_view>

namespace platform {

// A native path as messages show it: cp1252, with the system's own separators.
std::string ShownPath(std::string_view nativePath);
// The user's home folder (native, no trailing separator), under which targets belong on POSIX (an
// absolute $HOME); empty on Windows, where targets go to drives whatever $HOME a shell left.
std::string HomeFolder();

}  // namespace platform
