#pragma once
// The desktop shell: open a link or document, show a folder, run a program.
// Targets are app paths (cp1252, Windows or native form; see NativePath) or URLs. Processes are
// always started with an argument vector — no path or URL from the data ever reaches a command
// interpreter. A file from the disc runs in its own folder, as it would when started from there;
// the file manager of Explore("") opens on the menu's current directory (the disc root).
// Each call returns true when a process was started. Callers ignore failures by design (a disc's
// links and programs may be missing); the result is for tests and logs.
#include <string>

namespace platform {

class Shell {
public:
    virtual ~Shell() = default;
    // A URL ("http://…", "mailto:…") opens with the desktop's handler; a path behaves as Execute.
    virtual bool Open(const std::string& target) = 0;
    // Shows a folder in the file manager; an empty folder means the current directory.
    virtual bool Explore(const std::string& folder) = 0;
    // An executable file runs directly; anything else opens with its default program (a Windows
    // program therefore goes to whatever handler the desktop has for it, e.g. wine).
    virtual bool Execute(const std::string& file) = 0;
};

}  // namespace platform
