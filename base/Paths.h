#pragma once
// Path helpers. The Extract* family works on Windows-form paths ("X:\dir\file.ext",
// "\\server\share\dir\file"), as the data files store them; the Native* family on POSIX paths.
#include <string>
#include <string_view>

namespace base {

// "C:" or "\\server\share"; empty when the path has no drive.
std::string ExtractFileDrive(std::string_view path);
// Folder including its trailing backslash (or the drive's colon): "C:\a\b.txt" -> "C:\a\".
std::string ExtractFilePath(std::string_view path);
// Folder without trailing backslash: "C:\a\b.txt" -> "C:\a".
std::string ExtractFileDir(std::string_view path);
std::string ExtractFileName(std::string_view path);
// Extension with its dot (".ZIP"); empty when the name has none.
std::string ExtractFileExt(std::string_view path);
std::string ChangeFileExt(std::string_view path, std::string_view ext);
std::string IncludeTrailingBackslash(std::string_view path);
std::string ExcludeTrailingBackslash(std::string_view path);

// Separator conversion between the two forms ('\' <-> '/').
std::string WindowsToNativeSeparators(std::string_view path);
std::string NativeToWindowsSeparators(std::string_view path);

// POSIX forms.
std::string IncludeTrailingPathDelimiter(std::string_view path);
std::string ExcludeTrailingPathDelimiter(std::string_view path);
std::string ExtractNativeFilePath(std::string_view path);  // with trailing '/'
std::string ExtractNativeFileName(std::string_view path);
// a + '/' + b with exactly one separator; b absolute wins.
std::string JoinNativePath(std::string_view a, std::string_view b);

}  // namespace base
