#include "platform/posix/PosixShell.h"

#include <signal.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <climits>
#include <thread>

#include "base/StrUtils.h"

extern char** environ;

namespace platform {

namespace {

const char* const kOpener = "xdg-open";
constexpr int kOpenerVerdictMs = 500;

// A name that begins with '-' would be taken for an option by the program that receives it.
std::string NotAnOption(std::string path) {
    if (!path.empty() && path[0] == '-') return "./" + path;
    return path;
}

bool EndsWithAny(const std::string& s, std::initializer_list<const char*> exts) {
    for (const char* e : exts)
        if (base::EndsText(e, s)) return true;
    return false;
}

}  // namespace

PosixShell::PosixShell(const NativePath* paths, bool reapChildren)
    : CommandShell(paths), reap_(reapChildren) {}

std::vector<std::string> PosixShell::UrlCommand(const std::string& url) const {
    return {kOpener, url};
}

std::vector<std::string> PosixShell::FolderCommand(const std::string& native) const {
    return {kOpener, NotAnOption(native)};
}

std::string PosixShell::CurrentFolder() const {
    char cwd[PATH_MAX];
    return getcwd(cwd, sizeof cwd) ? cwd : ".";
}

std::vector<std::string> PosixShell::FileCommand(const std::string& resolved) const {
    std::string native = resolved;
    struct stat st;
    const bool isFile = stat(native.c_str(), &st) == 0 && S_ISREG(st.st_mode);
    // Windows programs carry no execute bit that means anything here (a disc mounted with exec
    // bits on every file would otherwise try to run them natively).
    const bool windowsProgram = EndsWithAny(native, {".exe", ".com", ".bat", ".cmd", ".msi", ".pif", ".scr"});
    if (isFile && !windowsProgram && access(native.c_str(), X_OK) == 0) {
        if (native.find('/') == std::string::npos) native = "./" + native;  // never searched on PATH
        return {native};
    }
    return {kOpener, NotAnOption(native)};
}

std::string PosixShell::FolderOf(const std::string& native) const {
    const size_t slash = native.rfind('/');
    if (slash == std::string::npos) return {};
    return slash == 0 ? "/" : native.substr(0, slash);
}

bool PosixShell::Spawn(const std::vector<std::string>& argv, const std::string& folder) {
    if (argv.empty()) return false;
    std::vector<char*> args;
    args.reserve(argv.size() + 1);
    for (const std::string& a : argv) args.push_back(const_cast<char*>(a.c_str()));
    args.push_back(nullptr);
    // The child gets its own process group, so a Ctrl+C meant for the menu does not end it, and
    // starts with default signal handling and no blocked signals, whatever the menu's threads set.
    posix_spawnattr_t attr;
    posix_spawnattr_init(&attr);
    sigset_t none, all;
    sigemptyset(&none);
    sigfillset(&all);
    posix_spawnattr_setsigmask(&attr, &none);
    posix_spawnattr_setsigdefault(&attr, &all);
    posix_spawnattr_setflags(&attr, POSIX_SPAWN_SETPGROUP | POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF);
    posix_spawnattr_setpgroup(&attr, 0);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    // A folder that cannot be entered leaves the child where the menu is rather than failing.
    struct stat st;
    if (!folder.empty() && stat(folder.c_str(), &st) == 0 && S_ISDIR(st.st_mode))
        posix_spawn_file_actions_addchdir_np(&actions, folder.c_str());
    pid_t pid = -1;
    const bool searchPath = argv[0].find('/') == std::string::npos;
    const int rc = searchPath ? posix_spawnp(&pid, args[0], &actions, &attr, args.data(), environ)
                              : posix_spawn(&pid, args[0], &actions, &attr, args.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    posix_spawnattr_destroy(&attr);
    if (rc != 0) return false;
    lastPid_ = pid;
    if (reap_ && argv[0] == kOpener) {
        // The opener answers at once when it has nothing to open the target with; a browser it
        // starts may keep it running, so after a short while its silence counts as success.
        for (int waited = 0; waited < kOpenerVerdictMs; waited += 10) {
            int status = 0;
            const pid_t done = waitpid(pid, &status, WNOHANG);
            if (done == pid) return WIFEXITED(status) && WEXITSTATUS(status) == 0;
            if (done < 0 && errno != EINTR) break;
            usleep(10 * 1000);
        }
    }
    if (reap_) {
        std::thread([pid] {
            int status;
            while (waitpid(pid, &status, 0) < 0 && errno == EINTR) {
            }
        }).detach();
    }
    return true;
}

}  // namespace platform
