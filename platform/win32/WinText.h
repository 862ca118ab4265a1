#pragma once
// The boundary between the program's native paths (UTF-8, '/' separated: "C:/x/", "//srv/share/")
// and the Win32 API (UTF-16, '\' separated).
#include <string>
#include <string_view>

namespace platform::win32 {

// UTF-8 native path -> UTF-16 with backslashes, for the API.
std::wstring Wide(std::string_view utf8Path);
// UTF-16 from the API -> UTF-8 with forward slashes.
std::string Narrow(std::wstring_view wide);
// Plain UTF-8 <-> UTF-16 text (no separator change).
std::wstring WideText(std::string_view utf8);
std::string NarrowText(std::wstring_view wide);
// The system's text for a Win32 error code (UTF-8, without the trailing line break).
std::string ErrorMessage(unsigned long code);
// The errno value that the program's error texts know for a Win32 error code.
int ErrnoFrom(unsigned long code);

}  // namespace platform::win32
