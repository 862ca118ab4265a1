#pragma once
// The desktop shell: open a link or document, show a folder, run a program.
// Targets are app paths (cp1252, Windows or native form; see NativePath) or URLs. Processes are
// always started with an argument vector — no path or URL from the data ever reaches a command
// interpreter. A file from the disc runs in its own folder, as it would when started from there;
// the file manager of Explore("") opens on the menu's current directory (the disc root).
// Each call returns true when a process was started (and, for the desktop's opener, it did not
// fail at once); the menu tells the user when it returns false.
#include <string>
#include <vector>

#include "platform/NativePath.h"

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

// What the systems' shells share: each operation becomes a command first (which tests read), app
// paths are resolved through NativePath, and a started file runs in its own folder. A system
// says how a URL, a folder and a file are started and starts the command.
class CommandShell : public Shell {
public:
    bool Open(const std::string& target) override;
    bool Explore(const std::string& folder) override;
    bool Execute(const std::string& file) override;

    // The command each operation runs (UTF-8), empty when there is nothing to run.
    std::vector<std::string> OpenCommand(const std::string& target) const;
    std::vector<std::string> ExploreCommand(const std::string& folder) const;
    std::vector<std::string> ExecuteCommand(const std::string& file) const;
    // The folder a started file runs in: its own (UTF-8, native); empty for a URL or nothing.
    std::string WorkingFolder(const std::string& target) const;

    // "scheme:" with a scheme of two or more letters (one letter is a drive).
    static bool IsUrl(const std::string& target);

protected:
    // paths: the mapping for app paths; nullptr means the active one of Services at each call.
    explicit CommandShell(const NativePath* paths) : paths_(paths) {}

    virtual std::vector<std::string> UrlCommand(const std::string& url) const = 0;
    // native: a resolved folder, or the current one.
    virtual std::vector<std::string> FolderCommand(const std::string& native) const = 0;
    virtual std::vector<std::string> FileCommand(const std::string& native) const = 0;
    virtual std::string CurrentFolder() const = 0;
    // The folder of a resolved file in the form the system starts programs in; empty when none.
    virtual std::string FolderOf(const std::string& native) const = 0;
    // Starts a command in folder (empty: the menu's current one); true when it was started.
    virtual bool Spawn(const std::vector<std::string>& command, const std::string& folder) = 0;

private:
    NativePath Paths() const;
    const NativePath* paths_;
};

}  // namespace platform
