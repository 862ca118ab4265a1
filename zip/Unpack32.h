#pragma once
// The call interface between the zip front-end and the unpack library ("UNPACK32.DLL",
// libunpack32.so here): the command record in its short and long form, the callback record, the two
// entry points and the callback. In a 32-bit build the byte layout is the library's published one
// (checked below); in a 64-bit build pointer fields are pointer-sized, in the same order.

#include <cstddef>
#include <cstdint>

#if defined(_WIN32) && !defined(_WIN64)
#define UNPACK_CALL __stdcall
#elif defined(__i386__)
#define UNPACK_CALL __attribute__((stdcall))
#else
#define UNPACK_CALL
#endif

extern "C" {

// Filled by the library for every callback.
struct TUnpackCallbackRec {
    uintptr_t Handle;     // not read
    void* Caller;         // the caller identity from the command record
    uint8_t Reserved[8];  // not read
    int32_t ActionCode;   // 1 file start, 2 advance, 3 end, 4 message, 5 file count, 6 byte total
    int32_t ErrorCode;    // action 4: non-zero when something failed
    int32_t Size;         // actions 1, 2, 5, 6
    char Text[512];       // file name (1) or message (4); NUL-terminated or filling the field
};

// 0 to go on, non-zero to cancel.
typedef int32_t(UNPACK_CALL* TUnpackCallback)(TUnpackCallbackRec* rec);

// One file pattern of the short record.
struct TUnpackPattern {
    const char* Pattern;
    uint8_t Zero[68];
};

// Fields shared by both forms, offsets 0 to 71 in a 32-bit build.
struct TUnpackCmdHead {
    uintptr_t Handle;  // parent window for the library's dialogs; 0 when unattended
    void* Caller;      // handed back in every callback record
    int32_t Version;   // layout version: 152 for the short form
    TUnpackCallback Callback;
    int32_t Trace;         // -1 on
    int32_t Reserved20;    // 0
    const char* Password;  // 81-byte buffer, at most 80 characters
    int32_t Test;          // -1: test only, write nothing
    int32_t Reserved32;    // 0
    int32_t Reserved36;    // 0
    int32_t Reserved40;    // -1
    int32_t Verbose;       // -1 on
    int32_t Update;        // -1 on
    int32_t Freshen;       // -1 on
    int32_t DirNames;      // -1: recreate stored folder names
    int32_t Overwrite;     // -1: replace existing files without asking
    int32_t PatternCount;  // 0: the whole archive
    const char* ZipFilename;
};

// Short form (library version 152 and above).
struct TUnpackCmdShort {
    TUnpackCmdHead Head;
    TUnpackPattern* Patterns;  // PatternCount entries
    uint8_t Zero[68];
    int32_t Seven;  // 7
};

constexpr int kUnpackMaxLongPatterns = 4097;

// Long form (library versions below 152).
struct TUnpackCmdLong {
    TUnpackCmdHead Head;
    int32_t Seven;  // 7
    const char* Patterns[kUnpackMaxLongPatterns];
};

typedef int32_t(UNPACK_CALL* TGetUnpackVersion)();
typedef int32_t(UNPACK_CALL* TUnpackExec)(void* cmd);  // returns the number of files extracted

}  // extern "C"

constexpr int32_t kUnpackShortRecordVersion = 152;

// Library action codes.
enum : int32_t {
    kUnpackFileStart = 1,
    kUnpackAdvance = 2,
    kUnpackEnd = 3,
    kUnpackMessage = 4,
    kUnpackFileCount = 5,
    kUnpackByteTotal = 6,
};

#if UINTPTR_MAX == 0xFFFFFFFF
static_assert(sizeof(TUnpackCallbackRec) == 540);
static_assert(offsetof(TUnpackCallbackRec, Caller) == 4);
static_assert(offsetof(TUnpackCallbackRec, ActionCode) == 16);
static_assert(offsetof(TUnpackCallbackRec, ErrorCode) == 20);
static_assert(offsetof(TUnpackCallbackRec, Size) == 24);
static_assert(offsetof(TUnpackCallbackRec, Text) == 28);
static_assert(sizeof(TUnpackPattern) == 72);
static_assert(offsetof(TUnpackCmdHead, Version) == 8);
static_assert(offsetof(TUnpackCmdHead, Callback) == 12);
static_assert(offsetof(TUnpackCmdHead, Trace) == 16);
static_assert(offsetof(TUnpackCmdHead, Password) == 24);
static_assert(offsetof(TUnpackCmdHead, Test) == 28);
static_assert(offsetof(TUnpackCmdHead, Reserved40) == 40);
static_assert(offsetof(TUnpackCmdHead, Verbose) == 44);
static_assert(offsetof(TUnpackCmdHead, DirNames) == 56);
static_assert(offsetof(TUnpackCmdHead, Overwrite) == 60);
static_assert(offsetof(TUnpackCmdHead, PatternCount) == 64);
static_assert(offsetof(TUnpackCmdHead, ZipFilename) == 68);
static_assert(sizeof(TUnpackCmdHead) == 72);
static_assert(offsetof(TUnpackCmdShort, Patterns) == 72);
static_assert(offsetof(TUnpackCmdShort, Zero) == 76);
static_assert(offsetof(TUnpackCmdShort, Seven) == 144);
static_assert(sizeof(TUnpackCmdShort) == 148);
static_assert(offsetof(TUnpackCmdLong, Seven) == 72);
static_assert(offsetof(TUnpackCmdLong, Patterns) == 76);
static_assert(sizeof(TUnpackCmdLong) == 16464);
#endif
