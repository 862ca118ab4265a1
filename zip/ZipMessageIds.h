#pragma once
// The ids of the zip front-end's messages. The numbers are those of the original message resource
// (the table in ZipMessages.cpp and the fallback texts key on them), so they are kept as they are.
namespace zipmsg {

constexpr int kNoArchiveName = 10102;
constexpr int kOutOfMemory = 10103;
constexpr int kCopyingFrom = 10105;
constexpr int kArchiveSeekError = 10201;
constexpr int kListFailed = 10202;
constexpr int kStructureWarning = 10203;
constexpr int kTrailingDataWarning = 10204;
constexpr int kUnpackFatal = 10501;
constexpr int kUnpackIncomplete = 10502;
constexpr int kUnpackLoaded = 10701;
constexpr int kUnpackExecMissing = 10702;
constexpr int kUnpackVersionMissing = 10703;
constexpr int kUnpackNotFound = 10704;
constexpr int kFileNotFound = 11001;
constexpr int kArchiveOpenError = 11002;
constexpr int kUnknownDrive = 11003;
constexpr int kDriveNotAvailable = 11004;
constexpr int kCancelledByUser = 11007;
constexpr int kInputSeekError = 11008;
constexpr int kCannotCreateOutput = 11009;
constexpr int kEndRecordReadError = 11011;
constexpr int kLocalHeaderReadError = 11012;
constexpr int kCentralHeaderReadError = 11013;
constexpr int kLocalSignatureError = 11014;
constexpr int kCentralSignatureError = 11015;
constexpr int kLocalNameReadError = 11016;
constexpr int kCentralNameReadError = 11017;
constexpr int kLocalExtraReadError = 11018;
constexpr int kCentralExtraReadError = 11019;
constexpr int kDataDescriptorError = 11020;
constexpr int kPackedDataReadError = 11021;
constexpr int kFileCommentReadError = 11022;
constexpr int kArchiveCommentReadError = 11023;
constexpr int kSpanFailed = 11024;
constexpr int kUnattendedSpanning = 11025;
constexpr int kLocalHeaderNotFound = 11026;
constexpr int kCannotCreateTemp = 11027;
constexpr int kLocalHeaderWriteError = 11028;
constexpr int kCentralHeaderWriteError = 11029;
constexpr int kEndRecordWriteError = 11030;
constexpr int kSplitSignatureError = 11031;
constexpr int kInsertLastDisk = 11033;
constexpr int kInsertDiskOf = 11034;
constexpr int kInDrive = 11035;
constexpr int kNotAZipArchive = 11036;
constexpr int kFirstDiskOfSet = 11037;
constexpr int kDiskNOfSet = 11038;
constexpr int kFirstFileOfSet = 11045;
constexpr int kInsertDiskNumber = 11046;

}  // namespace zipmsg
