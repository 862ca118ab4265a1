#include "platform/Heap.h"

namespace platform {

// Windows' heap already takes large blocks in large steps; large pages need a privilege a menu
// started from a disc does not have.
void PrepareHeap() {}

}  // namespace platform
