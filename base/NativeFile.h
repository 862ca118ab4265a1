#pragma once
// Files by their native name (UTF-8) through the C runtime, the same on every system: Windows gets
// the names as UTF-16 and binary modes; POSIX never follows a link when creating.
#include <cstdio>
#include <filesystem>
#include <string>
#include <string_view>

namespace base {

// A std::filesystem path from a UTF-8 name (the narrow constructor reads Windows' ANSI code page).
std::filesystem::path NativeFsPath(std::string_view utf8);
// UTF-8 with '/' separators.
std::string FsPathToNative(const std::filesystem::path& path);

// std::fopen for a UTF-8 name; mode as for fopen ("rb", "wb").
std::FILE* OpenNativeFile(const std::string& utf8, const char* mode);
// A file for writing: exclusive creates a new one only (failing when the name exists), otherwise
// an existing file is truncated. A symbolic link at the name is never followed. nullptr on failure.
std::FILE* CreateNativeFile(const std::string& utf8, bool exclusive);
// A new folder that only this user may use, named prefix + six random characters; empty on failure.
std::string MakePrivateFolder(const std::string& prefixUtf8);
// The current directory becomes the folder; false when it cannot.
bool EnterNativeFolder(const std::string& utf8);

}  // namespace base
