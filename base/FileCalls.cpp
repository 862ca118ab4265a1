// POSIX only: Windows builds read and write through the C runtime directly.
#ifndef _WIN32
#include "base/FileCalls.h"

#include <fcntl.h>
#include <stdio.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>

namespace base {

namespace {

int SysOpen(const char* path, int flags, mode_t mode) {
    return ::open(path, flags, mode);
}

const TFileCalls kSystem = {&SysOpen, &::read, &::write, &::close, &::mkdir, &::mkostemp, &::rename};

// Atomic: the unpack workers and the sound's threads may read files while a test swaps tables.
std::atomic<const TFileCalls*> active{&kSystem};

}  // namespace

const TFileCalls& FileCalls() {
    return *active.load(std::memory_order_acquire);
}

const TFileCalls& SystemFileCalls() {
    return kSystem;
}

void SetFileCalls(const TFileCalls* calls) {
    active.store(calls ? calls : &kSystem, std::memory_order_release);
}

}  // namespace base

#endif
