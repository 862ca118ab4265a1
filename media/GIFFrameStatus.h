#pragma once
// TGIFFrameStatus — how the reading of one frame ended, so that callers and tests can tell a clean
// frame from one that was cut short, damaged, refused for its size or cancelled.
#include <ostream>

namespace media {

enum class TGIFFrameStatus {
    gsOk,         // every pixel came from the data
    gsTruncated,  // the data ends before the last pixel: end of file, an early terminator or end code
    gsDamaged,    // the data is not valid LZW or the descriptor is unusable; pixels are what was readable
    gsTooLarge,   // the frame exceeds the size or memory limits and is not kept
    gsCancelled,  // the progress handler cancelled inside the frame; it is not kept
};

inline const char* GIFFrameStatusName(TGIFFrameStatus s) {
    switch (s) {
        case TGIFFrameStatus::gsOk:
            return "ok";
        case TGIFFrameStatus::gsTruncated:
            return "truncated";
        case TGIFFrameStatus::gsDamaged:
            return "damaged";
        case TGIFFrameStatus::gsTooLarge:
            return "too large";
        case TGIFFrameStatus::gsCancelled:
            return "cancelled";
    }
    return "?";
}

inline std::ostream& operator<<(std::ostream& os, TGIFFrameStatus s) {
    return os << GIFFrameStatusName(s);
}

}  // namespace media
