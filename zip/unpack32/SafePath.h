#pragma once
// Name checks of the unpack library: an archive must never make it write outside the target folder.

#include <string>
#include <vector>

namespace unpack32 {

// The components of an entry name ("/" and "\" both separate; empty and "." components dropped).
// Returns false for a name that could leave the folder: absolute, a drive letter, or a ".." component.
bool SplitEntryName(const std::string& name, std::vector<std::string>& parts);

// Whether a symbolic link at the folder depth `depth` (components below the target folder) with this
// target stays inside the folder. Only leading ".." are accepted: a ".." after a named component
// could climb out through a link that the same archive made (x -> ".", then "x/../..").
bool SafeLinkTarget(const std::string& target, size_t depth);

}  // namespace unpack32
