// TZipFront: properties, reporting, the library, List and the end record, Extract and the callback.
// Volumes and ReadSpan are in ZipFrontSpan.cpp.
#include "zip/ZipFront.h"

#include <unistd.h>

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <new>
#include <stdexcept>

#include "base/Paths.h"
#include "base/StrUtils.h"
#include "platform/FileOps.h"
#include "zip/EZipFront.h"
#include "zip/OemCodePage.h"
#include "zip/ZipCallback.h"
#include "zip/ZipMessages.h"

namespace {

constexpr uint32_t kEndSig = 0x06054B50, kCentralSig = 0x02014B50, kLocalSig = 0x04034B50,
                   kSplitMarker = 0x08074B50;
constexpr int64_t kMaxEndSearch = 65535 + 22;

uint16_t Get16(const unsigned char* p) {
    return uint16_t(p[0] | (p[1] << 8));
}
uint32_t Get32(const unsigned char* p) {
    return uint32_t(Get16(p)) | (uint32_t(Get16(p + 2)) << 16);
}

}  // namespace

TZipFront::TZipFront() = default;

TZipFront::~TZipFront() {
    CloseFile();
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
    if (!unattended_ && ShowMessage) ShowMessage(text);
    Notify(0, text);
}

void TZipFront::ReportException(const EZipFront& e) {
    if (e.ShowToUser() && !unattended_ && ShowMessage) ShowMessage(e.Message());
    errCode_ = e.MessageId();
    message_ = e.Message();
    Notify(0, message_);
}

// --- the library ---

void TZipFront::LoadUnzipLibrary() {
    try {
        std::string name = "UNPACK32.DLL";
        if (!dllDirectory_.empty()) {
            // Our build names the library the POSIX way; the Windows name is accepted as well.
            for (const char* file : {"UNPACK32.DLL", "libunpack32.so"}) {
                std::string candidate = base::JoinNativePath(Native(dllDirectory_), file);
                if (std::filesystem::is_regular_file(candidate)) {
                    name = candidate;
                    break;
                }
            }
        }
        if (!lib_.Load(name)) {
            execFunc_ = nullptr;
            versionFunc_ = nullptr;
            ReportMessage(10704);
            return;
        }
        if (trace_) ReportMessage(10701);
        execFunc_ = lib_.Function<TUnpackExec>("UnpackExec");
        if (!execFunc_) ReportMessage(10702);
        versionFunc_ = lib_.Function<TGetUnpackVersion>("GetUnpackVersion");
        if (!versionFunc_) ReportMessage(10703);
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

std::string TZipFront::ConvertName(const std::string& raw, uint16_t madeBy) const {
    int host = madeBy >> 8, format = madeBy & 0xFF;
    bool oem = codePage_ == TCodePageDirection::cpOEM ||
               (codePage_ == TCodePageDirection::cpAuto && host == 0) || host == 6 ||
               (host == 11 && format == 50);
    return oem ? OemToAnsi(raw, OemCodePage) : raw;
}

bool TZipFront::ReadEndRecord(bool raise) {
    archiveComment_.clear();
    CloseFile();
    file_ = std::fopen(Native(currentName_).c_str(), "rb");
    if (!file_) {
        if (raise) throw EZipFront(11001, true);
        ReportMessage(11002);
        return false;
    }
    int labelNumber = 0;
    if (base::StartsText("PKBACK# ", volumeLabel_))
        labelNumber = base::StrToIntDef(volumeLabel_.substr(8, 3), 0);

    unsigned char head[8];
    if (std::fread(head, 1, 8, file_) == 8 && Get32(head) == kSplitMarker && Get32(head + 4) == kLocalSig)
        spanned_ = true;

    if (std::fseek(file_, 0, SEEK_END) != 0) throw EZipFront(11008, true);
    int64_t physical = std::ftell(file_);
    fileSize_ = physical;
    bool found = false;
    unsigned char rec[22];
    if (physical >= 22 && std::fseek(file_, long(physical - 22), SEEK_SET) == 0 &&
        std::fread(rec, 1, 22, file_) == 22 && Get32(rec) == kEndSig && Get16(rec + 20) == 0) {
        found = true;
        end_.offset = physical - 22;
    } else {
        int64_t size = std::min(physical, kMaxEndSearch);
        std::vector<unsigned char> buffer(static_cast<size_t>(size));
        try {
            if (std::fseek(file_, long(physical - size), SEEK_SET) != 0) throw EZipFront(11008, true);
            if (std::fread(buffer.data(), 1, buffer.size(), file_) != buffer.size())
                throw EZipFront(11011, true);
        } catch (const EZipFront&) {
            if (raise) throw;
            return false;
        }
        for (int64_t i = size - 23; i >= 0; --i) {
            const unsigned char* p = &buffer[size_t(i)];
            if (p[0] != 'P' || p[1] != 'K' || p[2] != 5 || p[3] != 6) continue;
            int64_t commentLength = Get16(p + 20);
            int64_t recordEnd = i + 22 + commentLength;
            // A comment that would run past the end of the file is not an end record's.
            if (recordEnd > size) continue;
            std::memcpy(rec, p, 22);
            end_.offset = physical - size + i;
            int64_t surplus = size - recordEnd;
            if (surplus != 0) {
                fileSize_ -= surplus;
                bool zeros = std::all_of(buffer.begin() + recordEnd, buffer.end(),
                                         [](unsigned char c) { return c == 0; });
                if (!(physical % 512 == 0 && surplus < 512 && zeros)) ReportMessage(10204);
            }
            if (commentLength)
                archiveComment_.assign(reinterpret_cast<const char*>(p + 22), size_t(commentLength));
            found = true;
            break;
        }
    }
    if (found) {
        end_.thisDisk = Get16(rec + 4);
        end_.cdDisk = Get16(rec + 6);
        end_.diskEntries = Get16(rec + 8);
        end_.totalEntries = Get16(rec + 10);
        end_.cdSize = Get32(rec + 12);
        end_.cdOffset = Get32(rec + 16);
        end_.commentLength = Get16(rec + 20);
        return true;
    }
    if (!raise) return false;
    if (!spanned_ && labelNumber > 0) throw EZipFront(11038, labelNumber);
    if (!spanned_) throw EZipFront(11036, true);
    if (labelNumber == 1) throw EZipFront(11037, true);
    throw EZipFront(11045, true);
}

void TZipFront::List() {
    if (loading_) return;
    contents_.clear();
    fileSize_ = 0;
    dataStart_ = 0;
    archiveComment_.clear();
    spanned_ = false;
    totalDisks_ = 0;
    end_ = TEndRecord();
    if (zipFilename_.empty() || !platform::FileOps::FileExists(zipFilename_)) {
        if (OnDirUpdate) OnDirUpdate(this);
        return;
    }
    try {
        currentName_ = zipFilename_;
        volumeBase_ = zipFilename_;
        if (!CheckDrive()) throw EZipFront(11004, driveRoot_);
        ReadEndRecord(true);
        totalDisks_ = end_.thisDisk;
        diskNr_ = totalDisks_;
        if (totalDisks_ != 0) spanned_ = true;
        int64_t computed;
        if (end_.cdDisk == totalDisks_) {
            computed = fileSize_ - int64_t(end_.cdSize) - end_.commentLength - 22;
        } else {
            SwitchVolume(end_.cdDisk);
            std::fseek(file_, 0, SEEK_END);
            fileSize_ = std::ftell(file_);
            computed = end_.cdOffset;
        }
        dataStart_ = fileSize_ == 22 ? 0 : int32_t(std::min<int64_t>(fileSize_, INT32_MAX));
        if (int64_t(end_.cdOffset) != computed) ReportMessage(10203);
        if (computed < 0 || std::fseek(file_, long(computed), SEEK_SET) != 0) throw EZipFront(10201, true);
        for (int i = 0; i < end_.totalEntries; ++i) {
            unsigned char h[46];
            if (std::fread(h, 1, 46, file_) != 46) {
                if (diskNr_ >= totalDisks_) throw EZipFront(11013, true);
                SwitchVolume(diskNr_ + 1);
                if (std::fread(h, 1, 46, file_) != 46) throw EZipFront(11013, true);
            }
            if (Get32(h) != kCentralSig) throw EZipFront(11015, true);
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
            if (!name.empty() && std::fread(name.data(), 1, name.size(), file_) != name.size())
                throw EZipFront(11017, true);
            e.FileName = ConvertName(name, e.MadeByVersion);
            std::replace(e.FileName.begin(), e.FileName.end(), '/', '\\');
            if (e.FileCommentLen) {
                if (std::fseek(file_, e.ExtraFieldLength, SEEK_CUR) != 0) throw EZipFront(10201, true);
                std::string comment(e.FileCommentLen, '\0');
                if (std::fread(comment.data(), 1, comment.size(), file_) != comment.size())
                    throw EZipFront(11022, true);
                e.FileComment = ConvertName(comment, e.MadeByVersion);
            } else if (e.ExtraFieldLength && std::fseek(file_, e.ExtraFieldLength, SEEK_CUR) != 0) {
                throw EZipFront(10201, true);
            }
            if (int64_t(e.RelOffLocalHdr) < dataStart_) dataStart_ = int32_t(e.RelOffLocalHdr);
            contents_.push_back(std::move(e));
        }
    } catch (const EZipFront& e) {
        ReportException(e);
    } catch (const std::bad_alloc&) {
        ReportMessage(10103);
    } catch (...) {
        ReportMessage(10202);
    }
    CloseFile();
    if (OnDirUpdate) OnDirUpdate(this);
}

// --- Extract and the callback ---

void TZipFront::Extract() {
    successCount_ = 0;
    if (zipFilename_.empty() || !platform::FileOps::FileExists(zipFilename_)) {
        ReportMessage(10102);
        return;
    }
    if (busy_) return;
    if (unattended_ && addOptions_.Has(TAddOptsEnum::AddEncrypt) && password_.empty()) {
        // A run without anyone to ask gets a password that fits no archive rather than a prompt.
        password_ = std::string(79, char('A' + (reinterpret_cast<uintptr_t>(this) >> 4) % 26));
        ReportMessage(10502);
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
    std::string archive = Native(zipFilename_);
    std::string joined;
    if (totalDisks_ != 0) {
        joined = tempDir_.empty() ? std::filesystem::temp_directory_path().string() + "/"
                                  : base::IncludeTrailingPathDelimiter(Native(tempDir_));
        if (ReadSpan(zipFilename_, joined) != 0) {
            if (loadedHere) UnloadUnzipLibrary();
            busy_ = false;
            return;
        }
        busy_ = true;  // ReadSpan ends its own busy time; the extraction's goes on
        archive = joined;
    }
    // The library works in the current directory; it is put back afterwards so that relative
    // paths elsewhere in the program keep their meaning.
    std::error_code ec;
    std::filesystem::path previous = std::filesystem::current_path(ec);
    archive = std::filesystem::absolute(archive, ec).string();
    bool changed = false;
    if (!extrBaseDir_.empty() && platform::FileOps::FolderExists(extrBaseDir_))
        changed = chdir(Native(extrBaseDir_).c_str()) == 0;

    // Everything handed to the library lives here until it returns.
    std::vector<std::string> patterns;
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
        ReportMessage(10501);
    }
    if (!joined.empty()) std::filesystem::remove(joined, ec);
    if (changed) std::filesystem::current_path(previous, ec);
    fSpecArgs_.Clear();
    if (loadedHere) UnloadUnzipLibrary();
    cancel_ = false;
    busy_ = false;
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
            text = base::TrimRight(text);
            std::replace(text.begin(), text.end(), '/', '\\');
            message_ = text;
            if (rec.ErrorCode != 0) {
                errCode_ = rec.ErrorCode & 0xFF;
                fullErrCode_ = rec.ErrorCode;
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
