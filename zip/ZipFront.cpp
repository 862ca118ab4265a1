// TZipFront: properties, reporting, the library, List, Extract and the callback.
#include "zip/ZipFront.h"

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <new>
#include <stdexcept>

#include "base/Cp1252.h"
#include "base/NativeFile.h"
#include "base/Paths.h"
#include "base/StrUtils.h"
#include "platform/FileOps.h"
#include "zip/EZipFront.h"
#include "zip/OemCodePage.h"
#include "zip/ZipBytes.h"
#include "zip/ZipCallback.h"
#include "zip/ZipMessageIds.h"
#include "zip/ZipMessages.h"

using namespace zipbytes;

namespace {

bool IsUtf8(const std::string& s) {
    for (size_t i = 0; i < s.size();) {
        auto c = static_cast<unsigned char>(s[i]);
        size_t len = c < 0x80             ? 1
                     : (c & 0xE0) == 0xC0 ? 2
                     : (c & 0xF0) == 0xE0 ? 3
                     : (c & 0xF8) == 0xF0 ? 4
                                          : 0;
        if (len == 0 || (len == 2 && c < 0xC2) || i + len > s.size()) return false;
        for (size_t k = 1; k < len; ++k)
            if ((static_cast<unsigned char>(s[i + k]) & 0xC0) != 0x80) return false;
        i += len;
    }
    return true;
}

}  // namespace

TZipFront::TZipFront() : span_(SpanHooks()) {}

TZipFront::~TZipFront() = default;

// The span code reports through the same paths as the rest, and asks the application's callbacks
// as they are wired at the time (the program sets them after construction).
TZipSpanHooks TZipFront::SpanHooks() {
    TZipSpanHooks hooks;
    hooks.report = [this](int id, const std::string& appendix) { ReportMessage(id, appendix); };
    hooks.warn = [this](int id) { ReportWarning(id); };
    hooks.reportException = [this](const EZipFront& e) { ReportException(e); };
    hooks.notify = [this](const std::string& text) { Notify(0, text); };
    hooks.progress = [this](TProgressType type, const std::string& name, int64_t size) {
        Progress(type, name, size);
    };
    hooks.processMessages = [this] {
        if (ProcessMessages) ProcessMessages();
    };
    hooks.askForDisk = [this](const std::string& text, bool stopIcon) {
        return AskForDisk && AskForDisk(text, stopIcon);
    };
    return hooks;
}

TZipSpanSettings TZipFront::SpanSettings() const {
    return {unattended_, howToDelete_ == TDeleteOpts::htdAllowUndo, volume_, zipFilename_};
}

int TZipFront::ReadSpan(const std::string& inFileName, std::string& outFilePath) {
    busy_ = true;
    span_.SetSettings(SpanSettings());
    int result = span_.ReadSpan(inFileName, outFilePath);
    busy_ = false;
    return result;
}

// --- properties ---

void TZipFront::SetFSpecArgs(const base::TStringList& v) {
    fSpecArgs_.Clear();
    for (int i = 0; i < v.Count(); ++i) fSpecArgs_.Add(v[i]);
}

void TZipFront::SetZipFilename(const std::string& v) {
    zipFilename_ = v;
    if (!loading_) List();
}

void TZipFront::SetDLLDirectory(const std::string& v) {
    if (v == dllDirectory_) return;
    dllDirectory_ = v;
    if (!dllDirectory_.empty() && (dllDirectory_.back() == '\\' || dllDirectory_.back() == '/'))
        dllDirectory_.pop_back();
}

// --- reporting ---

void TZipFront::Notify(int errCode, const std::string& text, void* sender) {
    if (OnMessage) OnMessage(sender ? sender : this, errCode, text);
}

void TZipFront::ReportMessage(int id, const std::string& appendix) {
    std::string text = ZipMessage(id) + appendix;
    message_ = text;
    errCode_ = id;
    warningPending_ = false;
    if (!unattended_ && ShowMessage) ShowMessage(text);
    Notify(0, text);
}

void TZipFront::ReportException(const EZipFront& e) {
    if (e.ShowToUser() && !unattended_ && ShowMessage) ShowMessage(e.Message());
    errCode_ = e.MessageId();
    message_ = e.Message();
    warningPending_ = false;
    Notify(0, message_);
}

void TZipFront::ReportWarning(int id) {
    bool pending = warningPending_;
    if (!pending) {
        errBeforeWarning_ = errCode_;
        fullErrBeforeWarning_ = fullErrCode_;
        messageBeforeWarning_ = message_;
    }
    ReportMessage(id);
    warningPending_ = true;
}

void TZipFront::ForgetWarnings() {
    if (warningPending_) {
        errCode_ = errBeforeWarning_;
        fullErrCode_ = fullErrBeforeWarning_;
        message_ = messageBeforeWarning_;
    }
    warningPending_ = false;
}

// --- the library ---

void TZipFront::LoadUnzipLibrary() {
    try {
        std::string name = "UNPACK32.DLL";
        if (!dllDirectory_.empty()) {
            // Our build names the library the POSIX way; the Windows name is accepted as well.
            for (const char* file : {"UNPACK32.DLL", "libunpack32.so"}) {
                std::string candidate = base::JoinNativePath(TZipFrontSpan::Native(dllDirectory_), file);
                if (std::filesystem::is_regular_file(candidate)) {
                    name = candidate;
                    break;
                }
            }
        }
        if (!lib_.Load(name)) {
            execFunc_ = nullptr;
            versionFunc_ = nullptr;
            ReportMessage(zipmsg::kUnpackNotFound);
            return;
        }
        if (trace_) ReportMessage(zipmsg::kUnpackLoaded);
        execFunc_ = lib_.Function<TUnpackExec>("UnpackExec");
        if (!execFunc_) ReportMessage(zipmsg::kUnpackExecMissing);
        versionFunc_ = lib_.Function<TGetUnpackVersion>("GetUnpackVersion");
        if (!versionFunc_) ReportMessage(zipmsg::kUnpackVersionMissing);
    } catch (...) {
        // Loading never fails louder than its messages.
    }
}

void TZipFront::UnloadUnzipLibrary() {
    lib_.Unload();
    execFunc_ = nullptr;
    versionFunc_ = nullptr;
}

int TZipFront::UnzipLibraryVersion() {
    bool loadedHere = false;
    if (!lib_.Loaded()) {
        LoadUnzipLibrary();
        loadedHere = true;
    }
    if (!lib_.Loaded()) return 0;
    int version = versionFunc_ ? versionFunc_() : 0;
    if (loadedHere) UnloadUnzipLibrary();
    return version;
}

// --- List and the end record ---

// Extra block 1 holds, in this order, the values of those fields that are set to 0xFFFFFFFF.
void TZipFront::ApplyZip64Extra(ZipDirEntry& e, const std::string& extra) {
    const auto* x = reinterpret_cast<const unsigned char*>(extra.data());
    const unsigned char* end = x + extra.size();
    while (end - x >= 4) {
        uint16_t id = Get16(x), length = Get16(x + 2);
        const unsigned char* data = x + 4;
        if (end - data < length) return;
        if (id == 1) {
            const unsigned char* f = data;
            auto take = [&](uint32_t field, uint64_t& value) {
                if (field != 0xFFFFFFFF || data + length - f < 8) return;
                value = Get64(f);
                f += 8;
            };
            take(e.UncomprSize, e.UncomprSize64);
            take(e.ComprSize, e.ComprSize64);
            take(e.RelOffLocalHdr, e.RelOffLocalHdr64);
            return;
        }
        x = data + length;
    }
}

std::string TZipFront::ConvertName(const std::string& raw, uint16_t madeBy, uint16_t flag) const {
    int host = madeBy >> 8, format = madeBy & 0xFF;
    // UTF-8 when flagged so (bit 11), and on Unix hosts when it is valid UTF-8: the unpack library
    // reads such names as UTF-8, so the listing names the files that the extraction writes.
    if ((flag & 0x0800) || (codePage_ == TCodePageDirection::cpAuto && host == 3 && IsUtf8(raw)))
        return base::Utf8ToCp1252(raw);
    bool oem = codePage_ == TCodePageDirection::cpOEM ||
               (codePage_ == TCodePageDirection::cpAuto && host == 0) || host == 6 ||
               (host == 11 && format == 50);
    return oem ? OemToAnsi(raw, OemCodePage) : raw;
}

void TZipFront::List() {
    if (loading_) return;
    contents_.clear();
    dataStart_ = 0;
    span_.Reset();
    if (zipFilename_.empty() || !platform::FileOps::FileExists(zipFilename_)) {
        if (OnDirUpdate) OnDirUpdate(this);
        return;
    }
    try {
        span_.SetSettings(SpanSettings());
        span_.Open(zipFilename_);
        if (!span_.CheckDrive()) throw EZipFront(zipmsg::kDriveNotAvailable, span_.ShownFolder());
        span_.ReadEndRecord(true);
        span_.TakeDisksFromEnd();
        const TZipEndRecord& end = span_.End();
        int64_t fileSize = span_.FileSize();
        int64_t computed;
        if (end.cdDisk == uint32_t(span_.TotalDisks())) {
            // The directory ends where the Zip64 end record or the end record begins.
            int64_t directoryEnd = end.zip64Offset >= 0 ? end.zip64Offset : end.offset;
            computed = end.cdSize <= uint64_t(directoryEnd) ? directoryEnd - int64_t(end.cdSize) : -1;
        } else {
            span_.SwitchVolume(int(end.cdDisk));
            Seek(span_.File(), 0, SEEK_END);
            fileSize = Tell(span_.File());
            computed = end.cdOffset <= uint64_t(INT64_MAX) ? int64_t(end.cdOffset) : -1;
        }
        int64_t dataStart = fileSize == 22 ? 0 : fileSize;
        dataStart_ = int32_t(std::min<int64_t>(dataStart, INT32_MAX));
        if (computed < 0 || end.cdOffset != uint64_t(computed)) ReportWarning(zipmsg::kStructureWarning);
        if (computed < 0 || Seek(span_.File(), computed, SEEK_SET) != 0)
            throw EZipFront(zipmsg::kArchiveSeekError, true);
        // Every record takes at least 46 bytes: a larger count is a damaged end record, not a reason
        // to reserve memory.
        if (end.totalEntries <= end.cdSize / 46) contents_.reserve(size_t(end.totalEntries));
        std::string extra;
        for (uint64_t i = 0; i < end.totalEntries; ++i) {
            unsigned char h[46];
            if (std::fread(h, 1, 46, span_.File()) != 46) {
                if (span_.DiskNr() >= span_.TotalDisks())
                    throw EZipFront(zipmsg::kCentralHeaderReadError, true);
                span_.SwitchVolume(span_.DiskNr() + 1);
                if (std::fread(h, 1, 46, span_.File()) != 46)
                    throw EZipFront(zipmsg::kCentralHeaderReadError, true);
            }
            if (Get32(h) != kCentralSig) throw EZipFront(zipmsg::kCentralSignatureError, true);
            ZipDirEntry e;
            e.MadeByVersion = Get16(h + 4);
            e.NeededVersion = Get16(h + 6);
            e.Flag = Get16(h + 8);
            e.ComprMethod = Get16(h + 10);
            e.ModifTime = Get16(h + 12);
            e.ModifDate = Get16(h + 14);
            e.CRC32 = Get32(h + 16);
            e.ComprSize = Get32(h + 20);
            e.UncomprSize = Get32(h + 24);
            e.FileNameLength = Get16(h + 28);
            e.ExtraFieldLength = Get16(h + 30);
            e.FileCommentLen = Get16(h + 32);
            e.StartOnDisk = Get16(h + 34);
            e.IntFileAttrib = Get16(h + 36);
            e.ExtFileAttrib = Get32(h + 38);
            e.RelOffLocalHdr = Get32(h + 42);
            std::string name(e.FileNameLength, '\0');
            if (!name.empty() && std::fread(name.data(), 1, name.size(), span_.File()) != name.size())
                throw EZipFront(zipmsg::kCentralNameReadError, true);
            e.FileName = ConvertName(name, e.MadeByVersion, e.Flag);
            std::replace(e.FileName.begin(), e.FileName.end(), '/', '\\');
            e.ComprSize64 = e.ComprSize;
            e.UncomprSize64 = e.UncomprSize;
            e.RelOffLocalHdr64 = e.RelOffLocalHdr;
            if (e.ComprSize == 0xFFFFFFFF || e.UncomprSize == 0xFFFFFFFF || e.RelOffLocalHdr == 0xFFFFFFFF) {
                // The Zip64 values are only needed then: otherwise the extra field is skipped unread.
                extra.resize(e.ExtraFieldLength);
                if (!extra.empty() && std::fread(extra.data(), 1, extra.size(), span_.File()) != extra.size())
                    throw EZipFront(zipmsg::kArchiveSeekError, true);
                ApplyZip64Extra(e, extra);
            } else if (e.ExtraFieldLength && Seek(span_.File(), e.ExtraFieldLength, SEEK_CUR) != 0) {
                throw EZipFront(zipmsg::kArchiveSeekError, true);
            }
            if (e.FileCommentLen) {
                std::string comment(e.FileCommentLen, '\0');
                if (std::fread(comment.data(), 1, comment.size(), span_.File()) != comment.size())
                    throw EZipFront(zipmsg::kFileCommentReadError, true);
                e.FileComment = ConvertName(comment, e.MadeByVersion, e.Flag);
            }
            if (e.RelOffLocalHdr64 < uint64_t(dataStart)) {
                dataStart = int64_t(e.RelOffLocalHdr64);
                dataStart_ = int32_t(std::min<int64_t>(dataStart, INT32_MAX));
            }
            contents_.push_back(std::move(e));
        }
    } catch (const EZipFront& e) {
        ReportException(e);
    } catch (const std::bad_alloc&) {
        ReportMessage(zipmsg::kOutOfMemory);
    } catch (...) {
        ReportMessage(zipmsg::kListFailed);
    }
    span_.CloseFile();
    if (OnDirUpdate) OnDirUpdate(this);
}

// --- Extract and the callback ---

void TZipFront::Extract() {
    successCount_ = 0;
    if (zipFilename_.empty() || !platform::FileOps::FileExists(zipFilename_)) {
        ReportMessage(zipmsg::kNoArchiveName);
        return;
    }
    if (busy_) return;
    ForgetWarnings();
    if (unattended_ && addOptions_.Has(TAddOptsEnum::AddEncrypt) && password_.empty()) {
        // A run without anyone to ask gets a password that fits no archive rather than a prompt.
        password_ = std::string(79, char('A' + (reinterpret_cast<uintptr_t>(this) >> 4) % 26));
        ReportMessage(zipmsg::kUnpackIncomplete);
    }
    busy_ = true;
    cancel_ = false;
    bool loadedHere = false;
    if (!lib_.Loaded()) {
        LoadUnzipLibrary();
        loadedHere = true;
        if (!lib_.Loaded()) {
            busy_ = false;
            return;
        }
    }
    std::string archive = TZipFrontSpan::Native(zipFilename_);
    std::string joined;
    if (span_.TotalDisks() != 0) {
        joined = tempDir_.empty() ? base::FsPathToNative(std::filesystem::temp_directory_path()) + "/"
                                  : base::IncludeTrailingPathDelimiter(TZipFrontSpan::Native(tempDir_));
        if (ReadSpan(zipFilename_, joined) != 0) {
            if (loadedHere) UnloadUnzipLibrary();
            busy_ = false;
            return;
        }
        busy_ = true;  // ReadSpan ends its own busy time; the extraction's goes on
        ForgetWarnings();
        archive = joined;
    }
    // The library works in the current directory; it is put back afterwards so that relative
    // paths elsewhere in the program keep their meaning.
    std::error_code ec;
    std::filesystem::path previous = std::filesystem::current_path(ec);
    archive = base::FsPathToNative(std::filesystem::absolute(base::NativeFsPath(archive), ec));
    libArchive_ = archive;
    shownArchive_ = base::Utf8ToCp1252(base::FsPathToNative(
        std::filesystem::absolute(base::NativeFsPath(TZipFrontSpan::Native(zipFilename_)), ec)));
    bool changed = false;
    if (!extrBaseDir_.empty() && platform::FileOps::FolderExists(extrBaseDir_))
        changed = base::EnterNativeFolder(TZipFrontSpan::Native(extrBaseDir_));

    // Everything handed to the library lives here until it returns.
    std::vector<std::string> patterns;
    patterns.reserve(size_t(fSpecArgs_.Count()));
    for (int i = 0; i < fSpecArgs_.Count(); ++i) patterns.push_back(fSpecArgs_[i]);
    char password[81] = {};
    std::memcpy(password, password_.data(), std::min<size_t>(password_.size(), 80));
    try {
        if (!execFunc_) throw std::runtime_error("UnpackExec missing");
        int version = versionFunc_ ? versionFunc_() : 0;
        TUnpackCmdHead head{};
        head.Handle = unattended_ ? 0 : ApplicationHandle;
        head.Caller = this;
        head.Version = kUnpackShortRecordVersion;
        head.Callback = &ZipCallback;
        head.Trace = trace_ ? -1 : 0;
        head.Password = password;
        head.Test = extrOptions_.Has(TExtrOptsEnum::ExtrTest) ? -1 : 0;
        head.Reserved40 = -1;
        head.Verbose = verbose_ || trace_ ? -1 : 0;
        bool update = extrOptions_.Has(TExtrOptsEnum::ExtrUpdate);
        head.Update = update ? -1 : 0;
        head.Freshen = extrOptions_.Has(TExtrOptsEnum::ExtrFreshen) && !update ? -1 : 0;
        head.DirNames = extrOptions_.Has(TExtrOptsEnum::ExtrDirNames) ? -1 : 0;
        head.Overwrite = extrOptions_.Has(TExtrOptsEnum::ExtrOverWrite) ? -1 : 0;
        head.PatternCount = int32_t(patterns.size());
        head.ZipFilename = archive.c_str();
        if (version >= kUnpackShortRecordVersion) {
            auto rec = std::make_unique<TUnpackCmdShort>();
            std::memset(rec.get(), 0, sizeof(TUnpackCmdShort));
            std::vector<TUnpackPattern> entries(patterns.size());
            for (size_t i = 0; i < patterns.size(); ++i) {
                std::memset(&entries[i], 0, sizeof(TUnpackPattern));
                entries[i].Pattern = patterns[i].c_str();
            }
            rec->Head = head;
            rec->Patterns = entries.empty() ? nullptr : entries.data();
            rec->Seven = 7;
            successCount_ = execFunc_(rec.get());
        } else {
            auto rec = std::make_unique<TUnpackCmdLong>();
            std::memset(rec.get(), 0, sizeof(TUnpackCmdLong));
            rec->Head = head;
            rec->Head.Version = version;
            rec->Head.PatternCount = int32_t(std::min<size_t>(patterns.size(), kUnpackMaxLongPatterns));
            rec->Seven = 7;
            for (int i = 0; i < rec->Head.PatternCount; ++i) rec->Patterns[i] = patterns[size_t(i)].c_str();
            successCount_ = execFunc_(rec.get());
        }
    } catch (...) {
        ReportMessage(zipmsg::kUnpackFatal);
    }
    libArchive_.clear();
    if (!joined.empty()) {
        std::filesystem::remove(joined, ec);
        // ReadSpan made the joined file in a private folder of its own.
        std::filesystem::remove(std::filesystem::path(joined).parent_path(), ec);
    }
    if (changed) std::filesystem::current_path(previous, ec);
    fSpecArgs_.Clear();
    if (loadedHere) UnloadUnzipLibrary();
    cancel_ = false;
    busy_ = false;
}

// Names inside the archive get "\" as separator; the archive handed to the library is named by its
// native path as it was found (not the joined copy, not with its separators turned).
std::string TZipFront::RelayedText(const std::string& text) const {
    std::string result;
    size_t from = 0;
    while (from <= text.size()) {
        size_t at = libArchive_.empty() ? std::string::npos : text.find(libArchive_, from);
        std::string piece = text.substr(from, at == std::string::npos ? std::string::npos : at - from);
        std::replace(piece.begin(), piece.end(), '/', '\\');
        result += piece;
        if (at == std::string::npos) break;
        result += shownArchive_;
        from = at + libArchive_.size();
    }
    return result;
}

int32_t TZipFront::HandleCallback(const TUnpackCallbackRec& rec) {
    std::string text(rec.Text, strnlen(rec.Text, sizeof rec.Text));
    switch (rec.ActionCode) {
        case kUnpackFileStart:
            std::replace(text.begin(), text.end(), '/', '\\');
            Progress(pkFileStart, text, rec.Size);
            break;
        case kUnpackAdvance:
            Progress(pkAdvance, std::string(), rec.Size);
            break;
        case kUnpackEnd:
            Progress(pkBatchEnd, std::string(), 0);
            break;
        case kUnpackMessage:
            text = RelayedText(base::TrimRight(text));
            message_ = text;
            if (rec.ErrorCode != 0) {
                errCode_ = rec.ErrorCode & 0xFF;
                fullErrCode_ = rec.ErrorCode;
                warningPending_ = false;
            }
            if (OnMessage) OnMessage(rec.Caller, rec.ErrorCode, text);
            break;
        case kUnpackFileCount:
            Progress(pkFileCount, std::string(), rec.Size);
            break;
        case kUnpackByteTotal:
            totalSize_ = rec.Size;
            Progress(pkByteTotal, std::string(), rec.Size);
            break;
        default:
            break;
    }
    if (ProcessMessages) ProcessMessages();
    return cancel_ ? -1 : 0;
}

void TZipFront::Progress(TProgressType type, const std::string& name, int64_t size) {
    if (OnProgress) OnProgress(this, type, name, size);
}
