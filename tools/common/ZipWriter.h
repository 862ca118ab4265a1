#pragma once
// TZipWriter: builds ZIP archives in memory for the tests and the sample disc — stored and deflated
// entries, folders, symbolic links, comments, data in front of and behind the archive, split sets,
// and deliberately damaged variants (each damage is one field, so a test names exactly what is wrong).

#include <cstdint>
#include <string>
#include <vector>

class TZipWriter {
public:
    enum class TMethod { Stored, Deflated };

    // Host systems in the high byte of "version made by".
    static constexpr uint16_t kHostFat = 0, kHostUnix = 3, kHostHpfs = 6, kHostNtfs = 11;

    struct TEntry {
        std::string Name;  // stored name, "/" as separator, raw bytes
        std::string Data;  // uncompressed content; the target for a symbolic link
        TMethod Method = TMethod::Deflated;
        std::string Comment;
        std::string Extra;            // extra field, written into both headers
        uint16_t VersionMadeBy = 20;  // low byte: format version, high byte: host system
        uint16_t VersionNeeded = 20;
        uint16_t Flags = 0;         // bit 3 is set by DataDescriptor
        uint16_t DosTime = 0x6000;  // 12:00:00
        uint16_t DosDate = 0x5021;  // 2020-01-01
        uint16_t InternalAttributes = 0;
        uint32_t ExternalAttributes = 0;
        bool DataDescriptor = false;  // sizes and CRC follow the data; local header holds zeros

        // Deliberate damage; -1 means "write the true value".
        int64_t DeclaredSize = -1;    // uncompressed size in both headers
        int64_t DeclaredCrc = -1;     // CRC-32 in both headers
        int64_t DeclaredMethod = -1;  // compression method in both headers (data stays as built)
        int64_t LocalOffset = -1;     // central directory's pointer to the local header
        int ShareLocalWith = -1;      // no local header of its own: points at entry N's (overlap)
        bool BadLocalSignature = false;
        bool BadCentralSignature = false;
        bool UseRawData = false;  // write RawData as the compressed data, unchanged
        std::string RawData;
    };

    TEntry& AddFile(std::string name, std::string data, TMethod method = TMethod::Deflated);
    TEntry& AddFolder(std::string name);  // a "/" is appended when missing
    TEntry& AddSymlink(std::string name, std::string target);
    TEntry& Add(TEntry entry);
    std::vector<TEntry>& Entries() { return entries_; }
    const std::vector<TEntry>& Entries() const { return entries_; }

    std::string Comment;               // archive comment
    std::string Prefix;                // bytes in front of the archive (e.g. a self-extractor stub)
    bool PrefixShiftsOffsets = false;  // false: offsets ignore the prefix, as when a stub is just prepended
    std::string Trailing;              // bytes behind the end record (zero padding, garbage)
    int CompressionLevel = 6;

    // Damage to the end record; -1 means "write the true value".
    int64_t EndTotalEntries = -1;
    int64_t EndDiskEntries = -1;
    int64_t EndDirectorySize = -1;
    int64_t EndDirectoryOffset = -1;
    int64_t EndCommentLength = -1;
    bool BadEndSignature = false;

    // The whole archive in one piece.
    std::string Build() const;
    void Save(const std::string& path) const;

    // A split set: volumes of at most volumeSize bytes (at least 64), the first starting with the
    // split marker. Headers never straddle a volume boundary; compressed data does.
    std::vector<std::string> BuildSplit(size_t volumeSize) const;
    // Saves the volumes as VolumeName(path, 1), VolumeName(path, 2), …; returns their paths (the
    // last one holds the directory's end and is the name to hand to the front-end).
    std::vector<std::string> SaveSplit(const std::string& path, size_t volumeSize) const;

    // path with the last three characters of its base name replaced by number as three digits:
    // "disk/prog001.zip" → VolumeName(…, 2) = "disk/prog002.zip".
    static std::string VolumeName(const std::string& path, int number);

    // Raw deflate of data (no zlib header), as the archive holds it.
    static std::string Deflate(const std::string& data, int level = 6);
    static uint32_t Crc32(const std::string& data);
    static void SaveFile(const std::string& path, const std::string& bytes);

private:
    std::vector<std::string> Write(size_t volumeSize, bool split) const;
    std::vector<TEntry> entries_;
};
