#include "bench/Timing.h"

#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <stdexcept>
#include <string_view>

extern char** environ;

namespace bench {

long RunCount(const std::vector<std::string>& args, bool cLocale, double& cpuMs) {
    int out[2];
    if (pipe(out) != 0) throw std::runtime_error("pipe");
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, out[1], 1);
    posix_spawn_file_actions_addclose(&actions, out[0]);
    posix_spawn_file_actions_addclose(&actions, out[1]);
    std::vector<char*> argv;
    argv.reserve(args.size() + 1);
    for (const std::string& a : args) argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    std::vector<char*> env;
    for (char** e = environ; *e; ++e) {
        const std::string_view v(*e);
        if (!cLocale || (v.substr(0, 3) != "LC_" && v.substr(0, 4) != "LANG")) env.push_back(*e);
    }
    std::string c = "LC_ALL=C";
    if (cLocale) env.push_back(c.data());
    env.push_back(nullptr);
    pid_t pid = 0;
    const int rc = posix_spawnp(&pid, argv[0], &actions, nullptr, argv.data(), env.data());
    posix_spawn_file_actions_destroy(&actions);
    close(out[1]);
    if (rc != 0) {
        close(out[0]);
        throw std::runtime_error(args[0] + " cannot be started");
    }
    std::string text;
    char buf[256];
    for (ssize_t n; (n = read(out[0], buf, sizeof buf)) > 0;) text.append(buf, size_t(n));
    close(out[0]);
    int status = 0;
    rusage usage{};
    wait4(pid, &status, 0, &usage);
    cpuMs += double(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) * 1e3 +
             double(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e3;
    return std::strtol(text.c_str(), nullptr, 10);
}

}  // namespace bench
