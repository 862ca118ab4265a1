// The two entry points of the unpack library.
#include "zip/Unpack32.h"
#include "zip/unpack32/Session.h"

#ifdef _WIN32
#define UNPACK_EXPORT __declspec(dllexport)
#else
#define UNPACK_EXPORT __attribute__((visibility("default")))
#endif

extern "C" UNPACK_EXPORT int32_t UNPACK_CALL GetUnpackVersion() {
    return kUnpackShortRecordVersion;
}

extern "C" UNPACK_EXPORT int32_t UNPACK_CALL UnpackExec(void* cmd) {
    if (!cmd) return 0;
    // Nothing may unwind into the caller, which need not be C++.
    try {
        unpack32::TSession session(cmd);
        return session.Run();
    } catch (...) {
        return 0;
    }
}
