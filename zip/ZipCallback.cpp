#include "zip/ZipCallback.h"

#include "zip/ZipFront.h"

extern "C" int32_t UNPACK_CALL ZipCallback(TUnpackCallbackRec* rec) {
    if (!rec || !rec->Caller) return 0;
    // An exception must not unwind through the library's frames.
    try {
        return static_cast<TZipFront*>(rec->Caller)->HandleCallback(*rec);
    } catch (...) {
        return -1;
    }
}
