#pragma once
// TZipFront: reads an archive's central directory, joins split archives into one temporary archive,
// and drives the unpack library — with the numbered German messages, an error code and progress.
// Nothing escapes to the caller: every failure becomes a message in ErrCode/Message/OnMessage.
//
// Sections: properties · reporting · library (load, version) · List · Extract and the callback
// relay. The archive file itself — its drive, the volumes of a split set, the end record and the
// join of a set (ReadSpan) — is TZipFrontSpan's, below this class.
//
// Paths are app paths (cp1252, Windows or native form); the platform's path mapping turns them into
// file-system paths. Windows and dialogs are the application's: message boxes, disk prompts and the
// "process pending messages" step are callbacks that the program wires up.

#include <cstdint>
#include <cstdio>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "base/StringList.h"
#include "platform/DynLib.h"
#include "platform/Volume.h"
#include "zip/Unpack32.h"
#include "zip/ZipFrontSpan.h"

// A small set of enumeration values, as the published set properties need.
template <typename E>
class TZipSet {
public:
    TZipSet() = default;
    TZipSet(std::initializer_list<E> values) {
        for (E v : values) bits_ |= Bit(v);
    }
    static TZipSet FromBits(uint32_t bits) {
        TZipSet s;
        s.bits_ = bits;
        return s;
    }
    bool Has(E v) const { return bits_ & Bit(v); }
    TZipSet& Include(E v) { return bits_ |= Bit(v), *this; }
    TZipSet& Exclude(E v) { return bits_ &= ~Bit(v), *this; }
    bool Empty() const { return bits_ == 0; }
    uint32_t Bits() const { return bits_; }
    bool operator==(const TZipSet&) const = default;

private:
    static uint32_t Bit(E v) { return uint32_t(1) << static_cast<int>(v); }
    uint32_t bits_ = 0;
};

enum class TAddOptsEnum {
    AddDirNames,
    AddRecurseDirs,
    AddMove,
    AddFreshen,
    AddUpdate,
    AddZipTime,
    AddForceDOS,
    AddHiddenFiles,
    AddEncrypt,
    AddSeparateDirs,
    AddDiskSpan,
    AddDiskSpanErase
};
using TAddOpts = TZipSet<TAddOptsEnum>;
enum class TExtrOptsEnum { ExtrDirNames, ExtrOverWrite, ExtrFreshen, ExtrUpdate, ExtrTest };
using TExtrOpts = TZipSet<TExtrOptsEnum>;
enum class TSFXOptsEnum { SFXAskCmdLine, SFXAskFiles, SFXAutoRun, SFXHideOverWriteBox, SFXCheckSize };
using TSFXOpts = TZipSet<TSFXOptsEnum>;
enum class TOvrOpts { OvrConfirm, OvrAlways, OvrNever };
enum class TCodePageDirection { cpAuto, cpNone, cpOEM };
enum class TDeleteOpts { htdFinal, htdAllowUndo };

class TZipFront;
using TNotifyEvent = std::function<void(TZipFront* sender)>;
using TProgressEvent = std::function<void(TZipFront* sender, TProgressType progrType,
                                          const std::string& filename, int64_t fileSize)>;
using TMessageEvent = std::function<void(void* sender, int errCode, const std::string& message)>;

// One central-directory record: the header fields from its offset 4 on, then name and comment.
struct ZipDirEntry {
    uint16_t MadeByVersion = 0;
    uint16_t NeededVersion = 0;
    uint16_t Flag = 0;
    uint16_t ComprMethod = 0;
    uint16_t ModifTime = 0;
    uint16_t ModifDate = 0;
    uint32_t CRC32 = 0;
    uint32_t ComprSize = 0;
    uint32_t UncomprSize = 0;
    uint16_t FileNameLength = 0;
    uint16_t ExtraFieldLength = 0;
    uint16_t FileCommentLen = 0;
    uint16_t StartOnDisk = 0;
    uint16_t IntFileAttrib = 0;
    uint32_t ExtFileAttrib = 0;
    uint32_t RelOffLocalHdr = 0;
    // The true sizes and offset: the fields above, or the Zip64 extra field's values where those
    // hold 0xFFFFFFFF (entries of 4 GB and more, or lying beyond 4 GB).
    uint64_t ComprSize64 = 0;
    uint64_t UncomprSize64 = 0;
    uint64_t RelOffLocalHdr64 = 0;
    std::string FileName;     // code-page converted, "/" turned into "\"
    std::string FileComment;  // code-page converted; empty when there is none
};

class TZipFront {
public:
    TZipFront();
    ~TZipFront();
    TZipFront(const TZipFront&) = delete;
    TZipFront& operator=(const TZipFront&) = delete;

    // --- published properties, in declaration order ---
    bool Verbose() const { return verbose_; }
    void SetVerbose(bool v) { verbose_ = v; }
    bool Trace() const { return trace_; }
    void SetTrace(bool v) { trace_ = v; }
    int AddCompLevel() const { return addCompLevel_; }
    void SetAddCompLevel(int v) { addCompLevel_ = v; }
    TAddOpts AddOptions() const { return addOptions_; }
    void SetAddOptions(TAddOpts v) { addOptions_ = v; }
    const std::string& ExtrBaseDir() const { return extrBaseDir_; }
    void SetExtrBaseDir(const std::string& v) { extrBaseDir_ = v; }
    TExtrOpts ExtrOptions() const { return extrOptions_; }
    void SetExtrOptions(TExtrOpts v) { extrOptions_ = v; }
    TSFXOpts SFXOptions() const { return sfxOptions_; }
    void SetSFXOptions(TSFXOpts v) { sfxOptions_ = v; }
    base::TStringList& FSpecArgs() { return fSpecArgs_; }
    void SetFSpecArgs(const base::TStringList& v);  // copies the lines
    bool Unattended() const { return unattended_; }
    void SetUnattended(bool v) { unattended_ = v; }
    const std::string& ZipFilename() const { return zipFilename_; }
    void SetZipFilename(const std::string& v);  // runs List unless loading
    const std::string& Password() const { return password_; }
    void SetPassword(const std::string& v) { password_ = v.substr(0, 255); }
    const std::string& SFXPath() const { return sfxPath_; }
    void SetSFXPath(const std::string& v) { sfxPath_ = v; }
    const std::string& DLLDirectory() const { return dllDirectory_; }
    void SetDLLDirectory(const std::string& v);
    TOvrOpts SFXOverWriteMode() const { return sfxOverWriteMode_; }
    void SetSFXOverWriteMode(TOvrOpts v) { sfxOverWriteMode_ = v; }
    const std::string& SFXCaption() const { return sfxCaption_; }
    void SetSFXCaption(const std::string& v) { sfxCaption_ = v; }
    const std::string& SFXDefaultDir() const { return sfxDefaultDir_; }
    void SetSFXDefaultDir(const std::string& v) { sfxDefaultDir_ = v; }
    const std::string& SFXCommandLine() const { return sfxCommandLine_; }
    void SetSFXCommandLine(const std::string& v) { sfxCommandLine_ = v; }
    const std::string& TempDir() const { return tempDir_; }
    void SetTempDir(const std::string& v) { tempDir_ = v; }
    int KeepFreeOnDisk1() const { return keepFreeOnDisk1_; }
    void SetKeepFreeOnDisk1(int v) { keepFreeOnDisk1_ = v; }
    int MaxVolumeSize() const { return maxVolumeSize_; }
    void SetMaxVolumeSize(int v) { maxVolumeSize_ = v; }
    int MinFreeVolumeSize() const { return minFreeVolumeSize_; }
    void SetMinFreeVolumeSize(int v) { minFreeVolumeSize_ = v; }
    bool ConfirmErase() const { return confirmErase_; }
    void SetConfirmErase(bool v) { confirmErase_ = v; }
    TCodePageDirection CodePage() const { return codePage_; }
    void SetCodePage(TCodePageDirection v) { codePage_ = v; }
    TDeleteOpts HowToDelete() const { return howToDelete_; }
    void SetHowToDelete(TDeleteOpts v) { howToDelete_ = v; }
    const std::string& VersionInfo() const { return versionInfo_; }
    void SetVersionInfo(const std::string&) {}  // read-only

    TNotifyEvent OnDirUpdate;
    TProgressEvent OnProgress;
    TMessageEvent OnMessage;

    // --- run-time state ---
    int32_t ErrCode() const { return errCode_; }
    // Forgets the last failure, so that the next operation's ErrCode speaks for that operation alone.
    void ClearErrCode() {
        errCode_ = 0;
        fullErrCode_ = 0;
        message_.clear();
        warningPending_ = false;
    }
    int32_t FullErrCode() const { return fullErrCode_; }
    const std::string& Message() const { return message_; }
    int32_t SuccessCount() const { return successCount_; }
    bool Cancel() const { return cancel_; }
    void SetCancel(bool v) { cancel_ = v; }
    bool Busy() const { return busy_; }
    int32_t TotalSize() const { return totalSize_; }
    const std::vector<ZipDirEntry>& Contents() const { return contents_; }
    int Count() const { return int(contents_.size()); }
    const std::string& ArchiveComment() const { return span_.ArchiveComment(); }
    bool Spanned() const { return span_.Spanned(); }
    int32_t DataStart() const { return dataStart_; }

    // --- operations ---
    void LoadUnzipLibrary();
    void UnloadUnzipLibrary();
    bool UnzipLibraryLoaded() const { return lib_.Loaded(); }
    int UnzipLibraryVersion();
    void Extract();
    // Joins the split set whose last volume is inFileName into one archive. outFilePath names the
    // output file or only a folder, in which case a private folder is made there and the file in it
    // (the caller removes both); on return it holds the file made, or is empty after a failure.
    // 0 on success, -7 after a reported failure, -8 out of memory, -9 other.
    int ReadSpan(const std::string& inFileName, std::string& outFilePath);

    // The form-loading phase: setting ZipFilename then only stores the name.
    void BeginLoading() { loading_ = true; }
    void Loaded() { loading_ = false; }

    // --- wiring to the application ---
    // Runs pending window events (called from every library callback and before disk prompts).
    std::function<void()> ProcessMessages;
    // Shows a modal box with an OK button (only when not Unattended).
    std::function<void(const std::string& text)> ShowMessage;
    // Asks for a disk: true for OK, false for Cancel; stopIcon for the last-disk prompt.
    std::function<bool(const std::string& text, bool stopIcon)> AskForDisk;
    // The application's window handle: the parent handed to the library.
    uintptr_t ApplicationHandle = 0;
    // Volume queries; nullptr means the platform's active service.
    void SetVolume(platform::Volume* volume) { volume_ = volume; }
    // OEM code page of names from FAT/HPFS hosts (437 or 850).
    int OemCodePage = 850;

    // The library callback's work, also reachable for tests of the relay.
    int32_t HandleCallback(const TUnpackCallbackRec& rec);

private:
    // Reporting.
    void ReportMessage(int id, const std::string& appendix = {});
    // A warning of the listing (zipmsg::kStructureWarning, kTrailingDataWarning): reported like any
    // message, but Extract forgets it again, since the archive was still read and only the
    // extraction says whether it worked.
    void ReportWarning(int id);
    void ForgetWarnings();
    void ReportException(const class EZipFront& e);
    void Notify(int errCode, const std::string& text, void* sender = nullptr);
    std::string RelayedText(const std::string& text) const;

    // What the span code reports and asks through, and the settings it reads as they stand now.
    TZipSpanHooks SpanHooks();
    TZipSpanSettings SpanSettings() const;
    void List();
    static void ApplyZip64Extra(ZipDirEntry& e, const std::string& extra);
    std::string ConvertName(const std::string& raw, uint16_t madeBy, uint16_t flag) const;

    void Progress(TProgressType type, const std::string& name, int64_t size);

    // published
    bool verbose_ = false, trace_ = false;
    int addCompLevel_ = 9;
    TAddOpts addOptions_;
    std::string extrBaseDir_;
    TExtrOpts extrOptions_;
    TSFXOpts sfxOptions_{TSFXOptsEnum::SFXCheckSize};
    base::TStringList fSpecArgs_;
    bool unattended_ = false;
    std::string zipFilename_, password_, sfxPath_ = "SelfExtract.bin", dllDirectory_;
    TOvrOpts sfxOverWriteMode_ = TOvrOpts::OvrConfirm;
    std::string sfxCaption_ = "Self-extracting Archive", sfxDefaultDir_, sfxCommandLine_, tempDir_;
    int keepFreeOnDisk1_ = 0, maxVolumeSize_ = 0, minFreeVolumeSize_ = 65536;
    bool confirmErase_ = true;
    TCodePageDirection codePage_ = TCodePageDirection::cpAuto;
    TDeleteOpts howToDelete_ = TDeleteOpts::htdAllowUndo;
    std::string versionInfo_ = "1.52 M";

    // run time
    int32_t errCode_ = 0, fullErrCode_ = 0, successCount_ = 0, totalSize_ = 0, dataStart_ = 0;
    std::string message_;
    bool cancel_ = false, busy_ = false, loading_ = false;
    // ErrCode, FullErrCode and Message as they were before the pending warnings.
    bool warningPending_ = false;
    int32_t errBeforeWarning_ = 0, fullErrBeforeWarning_ = 0;
    std::string messageBeforeWarning_;
    // During Extract: the archive path handed to the library and the native path shown for it.
    std::string libArchive_, shownArchive_;
    std::vector<ZipDirEntry> contents_;

    platform::DynLib lib_;
    TUnpackExec execFunc_ = nullptr;
    TGetUnpackVersion versionFunc_ = nullptr;
    platform::Volume* volume_ = nullptr;

    // The archive file: its volumes and end record.
    TZipFrontSpan span_;
};
