#include "platform/Heap.h"

#include <cstdlib>  // defines __GLIBC__

#if defined(__GLIBC__)
#include <malloc.h>
#include <sys/mman.h>
#include <unistd.h>

#include <cstdint>
#endif

namespace platform {

void PrepareHeap() {
#if defined(__GLIBC__)
    // Start-up touches about 8 MB of pictures. Page by page that is two thousand page faults, half
    // the start-up time; from one heap on transparent huge pages it is a few dozen. Pictures of the
    // 640x480 window stay in the heap (no mmap each); a full-screen picture on a large screen is
    // still mapped on its own and handed back when the view closes.
    constexpr size_t kHuge = size_t{2} << 20;
    constexpr size_t kReserve = size_t{16} << 20;
    mallopt(M_MMAP_THRESHOLD, 8 << 20);
    mallopt(M_TRIM_THRESHOLD, 32 << 20);
    mallopt(M_TOP_PAD, static_cast<int>(kReserve));
    // The heap's end is rarely on a huge-page boundary. A block that is never touched and never
    // freed fills the gap, so that the pictures that follow start on the boundary.
    char* const top = static_cast<char*>(sbrk(0));
    const auto end = reinterpret_cast<uintptr_t>(top);
    const uintptr_t from = (end + kHuge) & ~(kHuge - 1);
    static void* volatile gap = std::malloc(from - end + 1);  // grows the heap by the reserve
    const uintptr_t to = reinterpret_cast<uintptr_t>(sbrk(0)) & ~(kHuge - 1);
    // Where the system has no huge pages this fails and nothing changes. The address is derived
    // from the heap's end as a pointer rather than made from an integer.
    if (gap && to > from) madvise(top + (from - end), to - from, MADV_HUGEPAGE);
#endif
}

}  // namespace platform
