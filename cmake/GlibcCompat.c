// Linked only into the portable build (cmake/PortableToolchain.cmake). gcc-12's static libstdc++ and
// libgcc were compiled against glibc 2.36 and call a few functions that glibc 2.31 does not have;
// these definitions stand in for them. They are hidden, so each program or library uses its own
// and never replaces the system's for anyone else.
#define _GNU_SOURCE
#include <errno.h>
#include <fcntl.h>
#include <link.h>
#include <stdint.h>
#include <stdlib.h>
#include <sys/random.h>
#include <unistd.h>

#define COMPAT __attribute__((visibility("hidden")))

// Since glibc 2.32: nonzero while the process has one thread, letting libstdc++ skip atomic
// operations. Zero claims "maybe threaded", which is always correct, only a little slower.
COMPAT char __libc_single_threaded = 0;

// Since glibc 2.36; std::random_device may use it. Never fails, as the original.
COMPAT uint32_t arc4random(void) {
    uint32_t value;
    size_t got = 0;
    while (got < sizeof value) {
        ssize_t n = getrandom((char *)&value + got, sizeof value - got, 0);
        if (n > 0) {
            got += (size_t)n;
        } else if (n < 0 && errno != EINTR) {
            break;
        }
    }
    if (got == sizeof value) return value;
    // Kernels before 3.17 lack getrandom.
    int fd = open("/dev/urandom", O_RDONLY | O_CLOEXEC);
    if (fd < 0 || read(fd, &value, sizeof value) != (ssize_t)sizeof value) abort();
    close(fd);
    return value;
}

// Since glibc 2.35: libgcc's unwinder asks it for the object holding a code address and, when it
// fails, gives up (an exception would then end the program). This finds the same through
// dl_iterate_phdr, which the unwinder used before. The layout is glibc's struct dl_find_object on
// x86_64.
struct compat_dl_find_object {
    unsigned long long dlfo_flags;
    void *dlfo_map_start;
    void *dlfo_map_end;
    struct link_map *dlfo_link_map;
    void *dlfo_eh_frame;
    unsigned long long reserved[7];
};

struct compat_search {
    uintptr_t pc;
    struct compat_dl_find_object *result;
};

static int compat_find_object(struct dl_phdr_info *info, size_t size, void *data) {
    (void)size;
    struct compat_search *search = data;
    int contains = 0;
    uintptr_t start = UINTPTR_MAX, end = 0;
    void *eh_frame = NULL;
    for (ElfW(Half) i = 0; i < info->dlpi_phnum; ++i) {
        const ElfW(Phdr) *ph = &info->dlpi_phdr[i];
        uintptr_t from = info->dlpi_addr + ph->p_vaddr;
        if (ph->p_type == PT_LOAD) {
            if (search->pc >= from && search->pc < from + ph->p_memsz) contains = 1;
            if (from < start) start = from;
            if (from + ph->p_memsz > end) end = from + ph->p_memsz;
        } else if (ph->p_type == PT_GNU_EH_FRAME) {
            eh_frame = (void *)from;
        }
    }
    if (!contains) return 0;
    search->result->dlfo_flags = 0;
    search->result->dlfo_map_start = (void *)start;
    search->result->dlfo_map_end = (void *)end;
    search->result->dlfo_link_map = NULL;
    search->result->dlfo_eh_frame = eh_frame;
    return 1;
}

COMPAT int _dl_find_object(void *pc, struct compat_dl_find_object *result) {
    struct compat_search search = {(uintptr_t)pc, result};
    return dl_iterate_phdr(compat_find_object, &search) ? 0 : -1;
}
