#include "platform/posix/FlockSingleInstance.h"

#include <fcntl.h>
#include <stdlib.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

namespace platform {

FlockSingleInstance::FlockSingleInstance(std::string folder) : folder_(std::move(folder)) {}

FlockSingleInstance::~FlockSingleInstance() {
    for (auto& [name, fd] : held_) close(fd);
}

std::string FlockSingleInstance::LockFile(const std::string& name) const {
    // Only a safe subset of the name reaches the file name.
    std::string safe;
    for (char c : name)
        safe += (std::isalnum(static_cast<unsigned char>(c)) || c == '-' || c == '_') ? c : '_';
    if (!folder_.empty()) return folder_ + "/cdmenu-" + safe + ".lock";
    if (const char* run = getenv("XDG_RUNTIME_DIR"); run && *run)
        return std::string(run) + "/cdmenu-" + safe + ".lock";
    // /tmp is shared by all users: the user id keeps them apart.
    return "/tmp/cdmenu-" + std::to_string(getuid()) + "-" + safe + ".lock";
}

bool FlockSingleInstance::Acquire(const std::string& name) {
    std::lock_guard lock(mutex_);
    if (held_.count(name)) return false;
    const std::string path = LockFile(name);
    int fd = open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
    if (fd < 0) {
        // Without a place for the lock the program must still start; it then runs unguarded.
        return true;
    }
    int rc;
    do rc = flock(fd, LOCK_EX | LOCK_NB);
    while (rc != 0 && errno == EINTR);
    if (rc != 0) {
        const bool busy = errno == EWOULDBLOCK;
        close(fd);
        return !busy;
    }
    held_[name] = fd;
    return true;
}

void FlockSingleInstance::Release(const std::string& name) {
    std::lock_guard lock(mutex_);
    auto it = held_.find(name);
    if (it == held_.end()) return;
    close(it->second);  // the file stays: removing it would race with a starting second holder
    held_.erase(it);
}

}  // namespace platform
