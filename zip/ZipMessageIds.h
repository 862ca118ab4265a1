#pragma once
// The ids of the zip front-end's messages. The numbers are those of the original message resource
// (the table in ZipMessages.cpp and the fallback texts key on them), so they are kept as they are.
// One list, so that every id is also in kAll (a new one without a text fails the message test).
#define CDMENU_ZIP_MESSAGE_IDS(X)      \
    X(kNoArchiveName, 10102)           \
    X(kOutOfMemory, 10103)             \
    X(kCopyingFrom, 10105)             \
    X(kArchiveSeekError, 10201)        \
    X(kListFailed, 10202)              \
    X(kStructureWarning, 10203)        \
    X(kTrailingDataWarning, 10204)     \
    X(kUnpackFatal, 10501)             \
    X(kUnpackIncomplete, 10502)        \
    X(kUnpackLoaded, 10701)            \
    X(kUnpackExecMissing, 10702)       \
    X(kUnpackVersionMissing, 10703)    \
    X(kUnpackNotFound, 10704)          \
    X(kFileNotFound, 11001)            \
    X(kArchiveOpenError, 11002)        \
    X(kUnknownDrive, 11003)            \
    X(kDriveNotAvailable, 11004)       \
    X(kCancelledByUser, 11007)         \
    X(kInputSeekError, 11008)          \
    X(kCannotCreateOutput, 11009)      \
    X(kEndRecordReadError, 11011)      \
    X(kLocalHeaderReadError, 11012)    \
    X(kCentralHeaderReadError, 11013)  \
    X(kLocalSignatureError, 11014)     \
    X(kCentralSignatureError, 11015)   \
    X(kLocalNameReadError, 11016)      \
    X(kCentralNameReadError, 11017)    \
    X(kLocalExtraReadError, 11018)     \
    X(kCentralExtraReadError, 11019)   \
    X(kDataDescriptorError, 11020)     \
    X(kPackedDataReadError, 11021)     \
    X(kFileCommentReadError, 11022)    \
    X(kArchiveCommentReadError, 11023) \
    X(kSpanFailed, 11024)              \
    X(kUnattendedSpanning, 11025)      \
    X(kLocalHeaderNotFound, 11026)     \
    X(kCannotCreateTemp, 11027)        \
    X(kLocalHeaderWriteError, 11028)   \
    X(kCentralHeaderWriteError, 11029) \
    X(kEndRecordWriteError, 11030)     \
    X(kSplitSignatureError, 11031)     \
    X(kInsertLastDisk, 11033)          \
    X(kInsertDiskOf, 11034)            \
    X(kInDrive, 11035)                 \
    X(kNotAZipArchive, 11036)          \
    X(kFirstDiskOfSet, 11037)          \
    X(kDiskNOfSet, 11038)              \
    X(kFirstFileOfSet, 11045)          \
    X(kInsertDiskNumber, 11046)

namespace zipmsg {

// NOLINTNEXTLINE(bugprone-macro-parentheses): name is the constant declared, not an expression
#define CDMENU_ZIP_MESSAGE_ID(name, number) constexpr int name = (number);
CDMENU_ZIP_MESSAGE_IDS(CDMENU_ZIP_MESSAGE_ID)
#undef CDMENU_ZIP_MESSAGE_ID

#define CDMENU_ZIP_MESSAGE_ID(name, number) name,
constexpr int kAll[] = {CDMENU_ZIP_MESSAGE_IDS(CDMENU_ZIP_MESSAGE_ID)};
#undef CDMENU_ZIP_MESSAGE_ID

}  // namespace zipmsg
