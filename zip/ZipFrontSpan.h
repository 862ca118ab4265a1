#pragma once
// TZipFrontSpan: the archive file below the zip front-end — its drive, the volumes of a split set,
// the end record of the volume read, and ReadSpan, which joins a set into one archive.
//
// It knows nothing of TZipFront: what it reports and asks for goes through TZipSpanHooks, and the
// settings it reads are handed in with TZipSpanSettings before each operation.
//
// Volumes on fixed and network storage are separate files whose base names end in 001, 002, …;
// on removable and optical drives every volume is a disk of its own, labelled "PKBACK# 001", …,
// and the user is asked to insert the one needed.

#include <cstdint>
#include <cstdio>
#include <functional>
#include <string>
#include <utility>

#include "platform/Volume.h"

class EZipFront;

// The name of a volume of a split set on fixed storage: path with its base name's last three
// characters replaced by number as three digits, extension kept ("prog001.zip" -> "prog002.zip").
std::string VolumeFileName(const std::string& path, int number);

enum TProgressType { pkFileStart = 0, pkAdvance = 1, pkBatchEnd = 2, pkFileCount = 3, pkByteTotal = 4 };

// The end record, with the Zip64 end record's values when the archive has one.
struct TZipEndRecord {
    uint32_t thisDisk = 0, cdDisk = 0;
    uint64_t diskEntries = 0, totalEntries = 0;
    uint64_t cdSize = 0, cdOffset = 0;
    uint16_t commentLength = 0;
    int64_t offset = 0;
    int64_t zip64Offset = -1;  // where the Zip64 end record lies, -1 without one
};

// What the span code reports and asks of its owner; an empty hook is skipped (askForDisk: Cancel).
struct TZipSpanHooks {
    // A numbered message with an appendix, shown and recorded as the last failure.
    std::function<void(int id, const std::string& appendix)> report;
    // A warning of the listing: reported like a message, but forgotten by a later extraction.
    std::function<void(int id)> warn;
    std::function<void(const EZipFront& e)> reportException;
    // Text for the message event only (progress, not an error).
    std::function<void(const std::string& text)> notify;
    std::function<void(TProgressType type, const std::string& name, int64_t size)> progress;
    std::function<void()> processMessages;
    // Asks for a disk: true for OK, false for Cancel; stopIcon for the last-disk prompt.
    std::function<bool(const std::string& text, bool stopIcon)> askForDisk;
};

// The owner's settings as they stand when an operation starts.
struct TZipSpanSettings {
    bool unattended = false;             // nobody to ask for a disk
    bool allowUndo = true;               // an output file that is replaced goes to the trash where it can
    platform::Volume* volume = nullptr;  // nullptr: the platform's active service
    // The archive that messages name when no volume has been opened yet.
    std::string archiveName;
};

class TZipFrontSpan {
public:
    explicit TZipFrontSpan(TZipSpanHooks hooks) : hooks_(std::move(hooks)) {}
    ~TZipFrontSpan() { CloseFile(); }
    TZipFrontSpan(const TZipFrontSpan&) = delete;
    TZipFrontSpan& operator=(const TZipFrontSpan&) = delete;

    void SetSettings(TZipSpanSettings settings) { settings_ = std::move(settings); }

    // The native path of an app path.
    static std::string Native(const std::string& appPath);

    // --- reading one archive (List) ---
    // Forgets the last archive's end record, comment, size and set.
    void Reset();
    // Starts at the app path name: the volume read first and the base of the set's volume names.
    void Open(const std::string& name);
    // Queries the drive of the volume; false when it is not ready.
    bool CheckDrive();
    // Opens the volume and reads its end record (and the Zip64 one). False when there is none;
    // with raise, an EZipFront instead that says why.
    bool ReadEndRecord(bool raise);
    // Takes the set's size from the end record just read: the volume read is the last one.
    void TakeDisksFromEnd();
    void SwitchVolume(int n);
    void CloseFile();
    // The native folder of the file being read, as messages name it.
    std::string ShownFolder() const;

    std::FILE* File() const { return file_; }
    const TZipEndRecord& End() const { return end_; }
    // The size of the volume read, without trailing data behind the end record.
    int64_t FileSize() const { return fileSize_; }
    const std::string& ArchiveComment() const { return archiveComment_; }
    bool Spanned() const { return spanned_; }
    int DiskNr() const { return diskNr_; }
    int TotalDisks() const { return totalDisks_; }

    // Joins the split set whose last volume is inFileName into one archive. outFilePath names the
    // output file or only a folder, in which case a private folder is made there and the file in it
    // (the caller removes both); on return it holds the file made, or is empty after a failure.
    // 0 on success, -7 after a reported failure, -8 out of memory, -9 other.
    int ReadSpan(const std::string& inFileName, std::string& outFilePath);

private:
    void Report(int id, const std::string& appendix = {});
    void Progress(TProgressType type, const std::string& name, int64_t size);
    void ReadZip64EndRecord();
    platform::Volume* Vol() const;
    platform::DriveType AskForVolume();
    bool IsRightVolume(platform::DriveType type);
    // The app path of volume n (from 0) when it lies beside the given one as a file of its own
    // (name001.zip, … or Info-ZIP's name.z01, …, name.zip); empty when it is not there.
    std::string VolumeBeside(int n) const;
    bool IsFixed(platform::DriveType type) const;
    bool ReadFully(void* buffer, size_t n, bool* atEnd = nullptr);
    void CopyChunk(std::FILE* out, int64_t n, int id);
    void DeleteZipFile(const std::string& path);

    TZipSpanHooks hooks_;
    TZipSpanSettings settings_;

    // The archive being read: the volume's file, its drive and the set's volume numbers.
    std::FILE* file_ = nullptr;
    std::string currentName_;  // app path of the open volume
    std::string volumeBase_;   // app path whose base name numbers the volume files
    std::string driveRoot_;
    std::string volumeLabel_;
    uint32_t volumeSerial_ = 0;
    int64_t freeOnDisk_ = -1, sizeOfDisk_ = -1;
    bool driveReady_ = false;
    bool newDisk_ = false;
    int diskNr_ = 0, totalDisks_ = 0;
    int64_t fileSize_ = 0;
    TZipEndRecord end_;
    std::string archiveComment_;
    bool spanned_ = false;
    bool writeProgress_ = false;
};
