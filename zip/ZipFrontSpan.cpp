// TZipFrontSpan: the drive, the volumes of a split set, the end record, and ReadSpan.
#include "zip/ZipFrontSpan.h"

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <new>
#include <unordered_map>
#include <vector>

#include "base/Cp1252.h"
#include "base/NativeFile.h"
#include "base/Paths.h"
#include "base/StrUtils.h"
#include "platform/FileOps.h"
#include "platform/Services.h"
#include "zip/EZipFront.h"
#include "zip/ZipBytes.h"
#include "zip/ZipMessageIds.h"
#include "zip/ZipMessages.h"

using namespace zipbytes;

namespace {

constexpr int64_t kMaxEndSearch = 65535 + 22;

bool HasDriveLetter(const std::string& path) {
    return path.size() >= 2 && path[1] == ':';
}

// "X:\" for a drive path, the share for a network path, else the folder of the native path.
std::string RootOf(const std::string& path, const std::string& native) {
    std::string drive = base::ExtractFileDrive(path);
    if (!drive.empty()) return base::IncludeTrailingBackslash(drive);
    std::error_code ec;
    std::string folder =
        base::FsPathToNative(std::filesystem::absolute(base::NativeFsPath(native), ec).parent_path());
    return base::IncludeTrailingPathDelimiter(base::Utf8ToCp1252(folder));
}

// Info-ZIP's "zip -s" names the volumes of a set "name.z01", "name.z02", … and the last "name.zip".
bool IsInfoZipVolumeExtension(const std::string& ext) {
    if (ext.size() < 4 || (ext[1] != 'z' && ext[1] != 'Z')) return false;
    for (size_t i = 2; i < ext.size(); ++i)
        if (!std::isdigit(static_cast<unsigned char>(ext[i]))) return false;
    return true;
}

std::string BaseNameTail(const std::string& path) {
    size_t slash = path.find_last_of("/\\");
    size_t baseStart = slash == std::string::npos ? 0 : slash + 1;
    size_t dot = path.find_last_of('.');
    size_t baseEnd = dot == std::string::npos || dot < baseStart ? path.size() : dot;
    size_t from = baseEnd - baseStart >= 3 ? baseEnd - 3 : baseStart;
    return path.substr(from, baseEnd - from);
}

std::string FormatNumbers(int id, int a, int b = 0) {
    char text[512];
    std::snprintf(text, sizeof text, ZipMessage(id).c_str(), a, b);
    return text;
}

std::string FormatText(int id, const std::string& s) {
    std::string text = ZipMessage(id);
    size_t at = text.find("%s");
    if (at != std::string::npos) text.replace(at, 2, s);
    return text;
}

struct TSpanRow {
    std::string name;
    uint32_t compressed = 0;
    uint32_t newOffset = 0;
    bool placed = false;
};

}  // namespace

std::string VolumeFileName(const std::string& path, int number) {
    size_t slash = path.find_last_of("/\\");
    size_t baseStart = slash == std::string::npos ? 0 : slash + 1;
    size_t dot = path.find_last_of('.');
    size_t baseEnd = dot == std::string::npos || dot < baseStart ? path.size() : dot;
    size_t from = baseEnd - baseStart >= 3 ? baseEnd - 3 : baseStart;
    char digits[8];
    std::snprintf(digits, sizeof digits, "%03d", number % 1000);
    return path.substr(0, from) + digits + path.substr(baseEnd);
}

// --- hooks ---

void TZipFrontSpan::Report(int id, const std::string& appendix) {
    if (hooks_.report) hooks_.report(id, appendix);
}

void TZipFrontSpan::Progress(TProgressType type, const std::string& name, int64_t size) {
    if (hooks_.progress) hooks_.progress(type, name, size);
}

// --- the archive and its end record ---

void TZipFrontSpan::Reset() {
    fileSize_ = 0;
    archiveComment_.clear();
    spanned_ = false;
    totalDisks_ = 0;
    end_ = TZipEndRecord();
}

void TZipFrontSpan::Open(const std::string& name) {
    currentName_ = name;
    volumeBase_ = name;
}

void TZipFrontSpan::TakeDisksFromEnd() {
    totalDisks_ = int(end_.thisDisk);
    diskNr_ = totalDisks_;
    if (totalDisks_ != 0) spanned_ = true;
}

bool TZipFrontSpan::ReadEndRecord(bool raise) {
    archiveComment_.clear();
    CloseFile();
    file_ = base::OpenNativeFile(Native(currentName_), "rb");
    if (!file_) {
        if (raise) throw EZipFront(zipmsg::kFileNotFound, true);
        Report(zipmsg::kArchiveOpenError);
        return false;
    }
    int labelNumber = 0;
    if (base::StartsText("PKBACK# ", volumeLabel_))
        labelNumber = base::StrToIntDef(volumeLabel_.substr(8, 3), 0);

    unsigned char head[8];
    if (std::fread(head, 1, 8, file_) == 8 && Get32(head) == kSplitMarker && Get32(head + 4) == kLocalSig)
        spanned_ = true;

    if (Seek(file_, 0, SEEK_END) != 0) throw EZipFront(zipmsg::kInputSeekError, true);
    int64_t physical = Tell(file_);
    fileSize_ = physical;
    bool found = false;
    unsigned char rec[22];
    if (physical >= 22 && Seek(file_, physical - 22, SEEK_SET) == 0 && std::fread(rec, 1, 22, file_) == 22 &&
        Get32(rec) == kEndSig && Get16(rec + 20) == 0) {
        found = true;
        end_.offset = physical - 22;
    } else {
        int64_t size = std::min(physical, kMaxEndSearch);
        std::vector<unsigned char> buffer(static_cast<size_t>(size));
        try {
            if (Seek(file_, physical - size, SEEK_SET) != 0) throw EZipFront(zipmsg::kInputSeekError, true);
            if (std::fread(buffer.data(), 1, buffer.size(), file_) != buffer.size())
                throw EZipFront(zipmsg::kEndRecordReadError, true);
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
                if (!(physical % 512 == 0 && surplus < 512 && zeros))
                    if (hooks_.warn) hooks_.warn(zipmsg::kTrailingDataWarning);
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
        end_.zip64Offset = -1;
        ReadZip64EndRecord();
        return true;
    }
    if (!raise) return false;
    if (!spanned_ && labelNumber > 0) throw EZipFront(zipmsg::kDiskNOfSet, labelNumber);
    if (!spanned_) throw EZipFront(zipmsg::kNotAZipArchive, true);
    if (labelNumber == 1) throw EZipFront(zipmsg::kFirstDiskOfSet, true);
    throw EZipFront(zipmsg::kFirstFileOfSet, true);
}

// A Zip64 locator right in front of the end record points to the Zip64 end record, whose values
// replace the 16- and 32-bit ones (which then hold 0xFFFF… or, as "zip -fz" writes them, copies).
void TZipFrontSpan::ReadZip64EndRecord() {
    unsigned char loc[20], rec[56];
    if (end_.offset < 20 + 56 || Seek(file_, end_.offset - 20, SEEK_SET) != 0 ||
        std::fread(loc, 1, 20, file_) != 20 || Get32(loc) != kLocator64Sig)
        return;
    // Behind a stub the stored position is short by the stub's length; the record then lies right
    // in front of the locator (its usual size, without extensible data).
    auto readAt = [&](int64_t at) {
        return at >= 0 && at + 56 <= end_.offset - 20 && Seek(file_, at, SEEK_SET) == 0 &&
               std::fread(rec, 1, 56, file_) == 56 && Get32(rec) == kEnd64Sig;
    };
    uint64_t stored = Get64(loc + 8);
    int64_t at = stored <= uint64_t(INT64_MAX) ? int64_t(stored) : -1;
    if (!readAt(at)) {
        at = end_.offset - 20 - 56;
        if (!readAt(at)) return;
    }
    end_.zip64Offset = at;
    end_.thisDisk = Get32(rec + 16);
    end_.cdDisk = Get32(rec + 20);
    end_.diskEntries = Get64(rec + 24);
    end_.totalEntries = Get64(rec + 32);
    end_.cdSize = Get64(rec + 40);
    end_.cdOffset = Get64(rec + 48);
}

// --- drive and volumes ---

std::string TZipFrontSpan::Native(const std::string& appPath) {
    return platform::Services().paths.Resolve(appPath);
}

platform::Volume* TZipFrontSpan::Vol() const {
    return settings_.volume ? settings_.volume : platform::Services().volume;
}

std::string TZipFrontSpan::ShownFolder() const {
    const std::string& name = currentName_.empty() ? settings_.archiveName : currentName_;
    std::error_code ec;
    std::filesystem::path native = std::filesystem::absolute(base::NativeFsPath(Native(name)), ec);
    return base::IncludeTrailingPathDelimiter(base::Utf8ToCp1252(base::FsPathToNative(native.parent_path())));
}

bool TZipFrontSpan::IsFixed(platform::DriveType type) const {
    return type != platform::DriveType::kRemovable && type != platform::DriveType::kOptical;
}

bool TZipFrontSpan::CheckDrive() {
    freeOnDisk_ = sizeOfDisk_ = -1;
    volumeLabel_.clear();
    volumeSerial_ = 0;
    const std::string& name = currentName_.empty() ? settings_.archiveName : currentName_;
    driveRoot_ = RootOf(name, Native(name));
    platform::Volume* volume = Vol();
    bool network = base::StartsText("\\\\", driveRoot_);
    if (HasDriveLetter(driveRoot_)) {
        char letter = char(std::toupper(static_cast<unsigned char>(driveRoot_[0])));
        if (letter < 'A' || letter > 'Z') throw EZipFront(zipmsg::kUnknownDrive, ShownFolder());
        if (volume && volume->GetDriveType(driveRoot_) == platform::DriveType::kNoRootDir)
            throw EZipFront(zipmsg::kDriveNotAvailable, ShownFolder());
    }
    if (!volume) return driveReady_ = true;
    platform::VolumeInfo info;
    if (!volume->GetInfo(driveRoot_, info)) return driveReady_ = false;
    volumeLabel_ = info.label;
    volumeSerial_ = info.serial;
    platform::VolumeSpace space;
    if (volume->GetSpace(driveRoot_, space)) {
        freeOnDisk_ = int64_t(space.freeBytes);
        sizeOfDisk_ = int64_t(space.totalBytes);
    }
    return driveReady_ = network || sizeOfDisk_ >= 0;
}

platform::DriveType TZipFrontSpan::AskForVolume() {
    if (hooks_.processMessages) hooks_.processMessages();
    platform::Volume* volume = Vol();
    platform::DriveType type = volume ? volume->GetDriveType(driveRoot_) : platform::DriveType::kFixed;
    if (!IsFixed(type)) CheckDrive();
    while (!driveReady_ || newDisk_) {
        if (IsFixed(type)) {
            newDisk_ = false;
            break;
        }
        if (settings_.unattended) throw EZipFront(zipmsg::kUnattendedSpanning, true);
        bool last = diskNr_ < 0 || diskNr_ == totalDisks_;
        std::string prompt = last ? ZipMessage(zipmsg::kInsertLastDisk)
                                  : FormatNumbers(zipmsg::kInsertDiskOf, diskNr_ + 1, totalDisks_ + 1);
        prompt += FormatText(zipmsg::kInDrive, ShownFolder());
        bool ok = hooks_.askForDisk ? hooks_.askForDisk(prompt, last) : false;
        newDisk_ = false;
        if (!ok) throw EZipFront(zipmsg::kCancelledByUser, false);
        CheckDrive();
    }
    return type;
}

bool TZipFrontSpan::IsRightVolume(platform::DriveType type) {
    char digits[8];
    std::snprintf(digits, sizeof digits, "%03d", (diskNr_ + 1) % 1000);
    if (IsFixed(type)) {
        currentName_ = VolumeFileName(volumeBase_, diskNr_ + 1);
        return true;
    }
    // The medium now inserted may hold the volume as a file of its own name.
    std::string beside = VolumeBeside(diskNr_);
    if (!beside.empty()) {
        currentName_ = beside;
        return true;
    }
    CheckDrive();
    if (volumeLabel_ != std::string("PKBACK# ") + digits) return false;
    currentName_ = volumeBase_;  // every disk of a set holds the file under the same name
    return true;
}

std::string TZipFrontSpan::VolumeBeside(int n) const {
    std::string ext = base::ExtractFileExt(volumeBase_);
    std::string stem = volumeBase_.substr(0, volumeBase_.size() - ext.size());
    bool lastIsZip = base::UpperCase(ext) == ".ZIP";
    std::string name;
    if (IsInfoZipVolumeExtension(ext) || (lastIsZip && platform::FileOps::FileExists(stem + ".z01"))) {
        char number[16];
        std::snprintf(number, sizeof number, ".z%02d", n + 1);
        name = n != totalDisks_ ? stem + number : lastIsZip ? volumeBase_ : stem + ".zip";
    } else {
        name = VolumeFileName(volumeBase_, n + 1);
    }
    return platform::FileOps::FileExists(name) ? name : std::string();
}

void TZipFrontSpan::SwitchVolume(int n) {
    CloseFile();
    diskNr_ = n;
    // A volume that lies beside the others as a file of its own is taken without asking, whatever
    // the drive: a complete set copied onto a DVD or a stick needs nobody to change disks.
    std::string beside = VolumeBeside(n);
    if (!beside.empty()) {
        currentName_ = beside;
        file_ = base::OpenNativeFile(Native(currentName_), "rb");
        if (file_) return;
    }
    bool failed = false;
    for (;;) {
        platform::DriveType type;
        if (failed) {
            platform::Volume* volume = Vol();
            type = volume ? volume->GetDriveType(driveRoot_) : platform::DriveType::kFixed;
            if (IsFixed(type)) throw EZipFront(zipmsg::kFileNotFound, true);
            Report(zipmsg::kFileNotFound);
        }
        do {
            newDisk_ = true;
            type = AskForVolume();
        } while (!IsRightVolume(type));
        file_ = base::OpenNativeFile(Native(currentName_), "rb");
        if (file_) return;
        failed = true;
    }
}

void TZipFrontSpan::CloseFile() {
    if (file_) std::fclose(file_);
    file_ = nullptr;
}

// Reads n bytes; on a short read tells whether the volume simply ended.
bool TZipFrontSpan::ReadFully(void* buffer, size_t n, bool* atEnd) {
    size_t got = std::fread(buffer, 1, n, file_);
    if (atEnd) *atEnd = got == 0 && std::feof(file_);
    return got == n;
}

void TZipFrontSpan::CopyChunk(std::FILE* out, int64_t n, int id) {
    char buffer[8192];
    while (n > 0) {
        size_t want = size_t(std::min<int64_t>(n, sizeof buffer));
        size_t got = std::fread(buffer, 1, want, file_);
        if (got < want) {
            bool volumeEnded = std::feof(file_) != 0;
            if (!volumeEnded || diskNr_ >= totalDisks_) throw EZipFront(id, true);
        }
        if (got > 0) {
            if (std::fwrite(buffer, 1, got, out) != got) throw EZipFront(id, true);
            if (writeProgress_) Progress(pkAdvance, std::string(), int64_t(got));
            n -= int64_t(got);
        }
        if (got < want) SwitchVolume(diskNr_ + 1);
    }
}

void TZipFrontSpan::DeleteZipFile(const std::string& path) {
    if (!platform::FileOps::FileExists(path)) return;
    if (settings_.allowUndo && platform::FileOps::MoveToTrash(path)) return;
    platform::FileOps::DeleteFile(path);
}

// --- ReadSpan ---

int TZipFrontSpan::ReadSpan(const std::string& inFileName, std::string& outFilePath) {
    int result = 0;
    std::FILE* out = nullptr;
    std::string outName, privateFolder;
    bool ok = false;
    std::filesystem::file_time_type lastTime{};
    bool haveTime = false;
    try {
        currentName_ = inFileName;
        volumeBase_ = inFileName;
        diskNr_ = -1;
        CheckDrive();

        std::string target = Native(outFilePath);
        bool folderOnly = target.empty() || target.back() == '/' || std::filesystem::is_directory(target);
        if (folderOnly) {
            // A folder of our own (mode 0700) that nobody else can have prepared, and in it a file
            // created exclusively: no name to race for, no link to be led along.
            std::string folder = base::MakePrivateFolder(
                base::IncludeTrailingPathDelimiter(target.empty() ? "." : target) + "zip");
            if (folder.empty()) throw EZipFront(zipmsg::kCannotCreateTemp, true);
            privateFolder = folder;
            std::string stem = base::ExtractNativeFileName(Native(inFileName));
            size_t dot = stem.find_last_of('.');
            if (dot != std::string::npos && dot > 0) stem.erase(dot);
            outName = folder + "/" + (stem.empty() ? std::string("span") : stem) + ".zip";
            out = base::CreateNativeFile(outName, true);
        } else {
            outName = target;
            size_t slash = outName.find_last_of('/');
            size_t dot = outName.find_last_of('.');
            if (dot != std::string::npos && (slash == std::string::npos || dot > slash)) outName.erase(dot);
            outName += ".zip";
            DeleteZipFile(outName);
            out = base::CreateNativeFile(outName, false);
        }
        if (!out) throw EZipFront(zipmsg::kCannotCreateOutput, true);

        platform::DriveType type = platform::DriveType::kFixed;
        for (int attempt = 0;; ++attempt) {
            if (attempt > 0) {
                if (IsFixed(type)) {
                    int n = base::StrToIntDef(BaseNameTail(currentName_), 0);
                    if (n == 1) throw EZipFront(zipmsg::kFirstDiskOfSet, true);
                    throw EZipFront(zipmsg::kDiskNOfSet, n);
                }
                // Without a new request the same disk would be read again and again.
                newDisk_ = true;
            }
            type = AskForVolume();
            if (ReadEndRecord(false)) break;
        }
        std::error_code ec;
        lastTime = std::filesystem::last_write_time(Native(currentName_), ec);
        haveTime = !ec;
        std::string lastName = currentName_;
        volumeBase_ = lastName;
        TZipEndRecord end = end_;
        totalDisks_ = end.thisDisk;
        diskNr_ = totalDisks_;
        if (int(end.cdDisk) != diskNr_) SwitchVolume(int(end.cdDisk));
        if (Seek(file_, int64_t(end.cdOffset), SEEK_SET) != 0) throw EZipFront(zipmsg::kInputSeekError, true);

        auto readCentral = [&](unsigned char* h) {
            bool atEnd = false;
            if (ReadFully(h, 46, &atEnd)) return;
            if (!atEnd || diskNr_ >= totalDisks_) throw EZipFront(zipmsg::kCentralHeaderReadError, true);
            SwitchVolume(diskNr_ + 1);
            if (!ReadFully(h, 46)) throw EZipFront(zipmsg::kCentralHeaderReadError, true);
        };

        std::vector<TSpanRow> rows;
        std::unordered_multimap<std::string, size_t> byName;
        int64_t total = 0;
        for (uint64_t i = 0; i < end.totalEntries; ++i) {
            unsigned char h[46];
            readCentral(h);
            if (Get32(h) != kCentralSig) throw EZipFront(zipmsg::kCentralSignatureError, true);
            TSpanRow row;
            row.name.resize(Get16(h + 28));
            if (!row.name.empty() && !ReadFully(row.name.data(), row.name.size()))
                throw EZipFront(zipmsg::kCentralNameReadError, true);
            row.compressed = Get32(h + 20);
            int skip = Get16(h + 30) + Get16(h + 32);
            if (skip && std::fseek(file_, skip, SEEK_CUR) != 0)
                throw EZipFront(zipmsg::kInputSeekError, true);
            total += int64_t(row.name.size()) + row.compressed + skip;
            byName.emplace(base::UpperCase(row.name), rows.size());
            rows.push_back(std::move(row));
        }

        SwitchVolume(0);
        writeProgress_ = true;
        Progress(pkFileCount, std::string(), int64_t(rows.size()));
        Progress(pkByteTotal, std::string(), total);
        unsigned char marker[4];
        if (!ReadFully(marker, 4) || Get32(marker) != kSplitMarker)
            throw EZipFront(zipmsg::kSplitSignatureError, true);

        for (size_t k = 0; k < rows.size(); ++k) {
            unsigned char h[30];
            bool atEnd = false;
            if (!ReadFully(h, 30, &atEnd)) {
                if (!atEnd || diskNr_ >= totalDisks_) throw EZipFront(zipmsg::kLocalHeaderReadError, true);
                SwitchVolume(diskNr_ + 1);
                if (!ReadFully(h, 30)) throw EZipFront(zipmsg::kLocalHeaderReadError, true);
            }
            if (Get32(h) != kLocalSig) throw EZipFront(zipmsg::kLocalSignatureError, true);
            std::string name(Get16(h + 26), '\0');
            uint16_t extra = Get16(h + 28), flags = Get16(h + 6);
            if (!name.empty() && !ReadFully(name.data(), name.size()))
                throw EZipFront(zipmsg::kLocalNameReadError, true);
            TSpanRow* row = nullptr;
            auto [first, last] = byName.equal_range(base::UpperCase(name));
            for (auto it = first; it != last && !row; ++it)
                if (!rows[it->second].placed) row = &rows[it->second];
            if (!row) throw EZipFront(zipmsg::kLocalHeaderNotFound, true);
            int64_t at = Tell(out);
            if (at < 0 || at > int64_t(UINT32_MAX)) throw EZipFront(zipmsg::kLocalHeaderWriteError, true);
            row->newOffset = uint32_t(at);
            row->placed = true;
            // The copy notice goes to the event only: it is progress, not an error.
            if (hooks_.notify) hooks_.notify(ZipMessage(zipmsg::kCopyingFrom) + name);
            uint32_t compressed = Get32(h + 18) ? Get32(h + 18) : row->compressed;
            Progress(pkFileStart, name,
                     30 + int64_t(name.size()) + extra + compressed + ((flags & 8) ? 16 : 0));
            if (std::fwrite(h, 1, 30, out) != 30 ||
                std::fwrite(name.data(), 1, name.size(), out) != name.size())
                throw EZipFront(zipmsg::kLocalHeaderWriteError, true);
            CopyChunk(out, extra, zipmsg::kLocalExtraReadError);
            CopyChunk(out, compressed, zipmsg::kPackedDataReadError);
            if (flags & 8) CopyChunk(out, 16, zipmsg::kDataDescriptorError);
        }
        writeProgress_ = false;

        if (diskNr_ != int(end.cdDisk)) SwitchVolume(int(end.cdDisk));
        if (Seek(file_, int64_t(end.cdOffset), SEEK_SET) != 0) throw EZipFront(zipmsg::kInputSeekError, true);
        int64_t newDirectory = Tell(out);
        for (const auto& row : rows) {
            unsigned char h[46];
            readCentral(h);
            if (Get32(h) != kCentralSig) throw EZipFront(zipmsg::kCentralSignatureError, true);
            std::string name(Get16(h + 28), '\0');
            if (!name.empty() && !ReadFully(name.data(), name.size()))
                throw EZipFront(zipmsg::kCentralNameReadError, true);
            Put16(h + 34, 0);
            Put32(h + 42, row.newOffset);
            if (std::fwrite(h, 1, 46, out) != 46 ||
                std::fwrite(name.data(), 1, name.size(), out) != name.size())
                throw EZipFront(zipmsg::kCentralHeaderWriteError, true);
            CopyChunk(out, Get16(h + 30), zipmsg::kCentralExtraReadError);
            CopyChunk(out, Get16(h + 32), zipmsg::kFileCommentReadError);
        }
        int64_t directorySize = Tell(out) - newDirectory;
        // The joined archive has plain 16- and 32-bit fields only.
        if (rows.size() > 0xFFFF || newDirectory + directorySize > int64_t(UINT32_MAX))
            throw EZipFront(zipmsg::kEndRecordWriteError, true);

        if (diskNr_ != totalDisks_) SwitchVolume(totalDisks_);
        if (Seek(file_, end.offset + 22, SEEK_SET) != 0) throw EZipFront(zipmsg::kInputSeekError, true);
        // One volume now: every count is the whole directory's.
        unsigned char e[22] = {};
        Put32(e, kEndSig);
        Put16(e + 8, uint32_t(rows.size()));
        Put16(e + 10, uint32_t(rows.size()));
        Put32(e + 12, uint32_t(directorySize));
        Put32(e + 16, uint32_t(newDirectory));
        Put16(e + 20, end.commentLength);
        if (std::fwrite(e, 1, 22, out) != 22) throw EZipFront(zipmsg::kEndRecordWriteError, true);
        CopyChunk(out, end.commentLength, zipmsg::kArchiveCommentReadError);
        if (std::fflush(out) != 0) throw EZipFront(zipmsg::kEndRecordWriteError, true);
        ok = true;
    } catch (const EZipFront& e) {
        if (hooks_.reportException) hooks_.reportException(e);
        result = -7;
    } catch (const std::bad_alloc&) {
        Report(zipmsg::kOutOfMemory);
        result = -8;
    } catch (...) {
        Report(zipmsg::kSpanFailed);
        result = -9;
    }
    writeProgress_ = false;
    Progress(pkBatchEnd, std::string(), 0);
    CloseFile();
    if (out && std::fclose(out) != 0 && ok) {
        Report(zipmsg::kEndRecordWriteError);
        ok = false;
        result = -7;
    }
    std::error_code ec;
    if (ok && haveTime) std::filesystem::last_write_time(outName, lastTime, ec);
    if (!ok) {
        if (!outName.empty()) std::filesystem::remove(outName, ec);
        if (!privateFolder.empty()) std::filesystem::remove(base::NativeFsPath(privateFolder), ec);
        outFilePath.clear();
    } else {
        outFilePath = outName;
    }
    return result;
}
