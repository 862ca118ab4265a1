#include "tools/common/ZipWriter.h"

#include <zlib.h>

#include <algorithm>
#include <cstdio>
#include <stdexcept>
#include <string_view>

#include "zip/ZipFrontSpan.h"

namespace {

constexpr uint32_t kLocalSig = 0x04034B50, kCentralSig = 0x02014B50, kEndSig = 0x06054B50;
constexpr uint32_t kSplitMarker = 0x08074B50, kDescriptorSig = 0x08074B50;

void Put16(std::string& s, uint32_t v) {
    s.push_back(char(v & 0xFF));
    s.push_back(char((v >> 8) & 0xFF));
}
void Put32(std::string& s, uint32_t v) {
    Put16(s, v & 0xFFFF);
    Put16(s, v >> 16);
}
uint32_t Or(int64_t forced, uint32_t real) {
    return forced >= 0 ? uint32_t(forced) : real;
}

// The output as a list of volumes; a single archive is one volume without a limit.
struct TVolumes {
    size_t limit;
    bool split;
    std::vector<std::string> parts{std::string()};

    uint32_t Disk() const { return uint32_t(parts.size() - 1); }
    uint32_t Offset() const { return uint32_t(parts.back().size()); }
    // Headers stay in one volume so that a reader never has to join a header from two files.
    void Header(const std::string& bytes) {
        if (split && !parts.back().empty() && parts.back().size() + bytes.size() > limit)
            parts.emplace_back();
        parts.back() += bytes;
    }
    void Data(std::string_view bytes) {
        while (!bytes.empty()) {
            if (split && parts.back().size() >= limit) parts.emplace_back();
            size_t room = split ? limit - parts.back().size() : bytes.size();
            size_t n = std::min(room, bytes.size());
            parts.back().append(bytes.substr(0, n));
            bytes.remove_prefix(n);
        }
    }
};

struct TPlaced {
    uint32_t disk = 0, offset = 0, crc = 0, compressed = 0, size = 0;
    uint16_t method = 0, flags = 0;
};

// The fields the local and the central header share, from the version needed to the extra field's
// length. A local header followed by a data descriptor leaves the CRC and the sizes at 0.
void PutSharedFields(std::string& h, const TZipWriter::TEntry& e, const TPlaced& p, bool sizesFollow) {
    Put16(h, e.VersionNeeded);
    Put16(h, p.flags);
    Put16(h, p.method);
    Put16(h, e.DosTime);
    Put16(h, e.DosDate);
    Put32(h, sizesFollow ? 0 : p.crc);
    Put32(h, sizesFollow ? 0 : p.compressed);
    Put32(h, sizesFollow ? 0 : p.size);
    Put16(h, uint32_t(e.Name.size()));
    Put16(h, uint32_t(e.Extra.size()));
}

}  // namespace

TZipWriter::TEntry& TZipWriter::AddFile(std::string name, std::string data, TMethod method) {
    TEntry e;
    e.Name = std::move(name);
    e.Data = std::move(data);
    e.Method = method;
    return Add(std::move(e));
}

TZipWriter::TEntry& TZipWriter::AddFolder(std::string name) {
    TEntry e;
    if (name.empty() || name.back() != '/') name += '/';
    e.Name = std::move(name);
    e.Method = TMethod::Stored;
    e.ExternalAttributes = 0x10;  // FAT directory attribute
    return Add(std::move(e));
}

TZipWriter::TEntry& TZipWriter::AddSymlink(std::string name, std::string target) {
    TEntry e;
    e.Name = std::move(name);
    e.Data = std::move(target);
    e.Method = TMethod::Stored;
    e.VersionMadeBy = (kHostUnix << 8) | 20;
    e.ExternalAttributes = uint32_t(0120777) << 16;
    return Add(std::move(e));
}

TZipWriter::TEntry& TZipWriter::Add(TEntry entry) {
    entries_.push_back(std::move(entry));
    return entries_.back();
}

std::string TZipWriter::Deflate(const std::string& data, int level) {
    z_stream z{};
    if (deflateInit2(&z, level, Z_DEFLATED, -15, 8, Z_DEFAULT_STRATEGY) != Z_OK)
        throw std::runtime_error("deflateInit2 failed");
    std::string out(deflateBound(&z, uLong(data.size())) + 16, '\0');
    z.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(data.data()));
    z.avail_in = uInt(data.size());
    z.next_out = reinterpret_cast<Bytef*>(out.data());
    z.avail_out = uInt(out.size());
    int rc = deflate(&z, Z_FINISH);
    deflateEnd(&z);
    if (rc != Z_STREAM_END) throw std::runtime_error("deflate failed");
    out.resize(z.total_out);
    return out;
}

uint32_t TZipWriter::Crc32(const std::string& data) {
    return uint32_t(
        crc32(crc32(0, nullptr, 0), reinterpret_cast<const Bytef*>(data.data()), uInt(data.size())));
}

std::vector<std::string> TZipWriter::Write(size_t volumeSize, bool split) const {
    TVolumes out{std::max<size_t>(volumeSize, 64), split};
    uint32_t shift = 0;
    if (split) {
        std::string marker;
        Put32(marker, kSplitMarker);
        out.Data(marker);
    } else {
        out.parts.back() = Prefix;
        // A plainly prepended stub leaves every offset counting from the archive's own start.
        if (!PrefixShiftsOffsets) shift = uint32_t(Prefix.size());
    }

    std::vector<TPlaced> placed(entries_.size());
    for (size_t i = 0; i < entries_.size(); ++i) {
        const TEntry& e = entries_[i];
        TPlaced& p = placed[i];
        bool deflated = e.Method == TMethod::Deflated;
        std::string data = e.UseRawData ? e.RawData : deflated ? Deflate(e.Data, CompressionLevel) : e.Data;
        p.crc = Or(e.DeclaredCrc, Crc32(e.Data));
        p.size = Or(e.DeclaredSize, uint32_t(e.Data.size()));
        p.compressed = uint32_t(data.size());
        p.method = uint16_t(Or(e.DeclaredMethod, deflated ? 8 : 0));
        p.flags = uint16_t(e.Flags | (e.DataDescriptor ? 8 : 0));
        if (e.ShareLocalWith >= 0) continue;

        std::string h;
        Put32(h, e.BadLocalSignature ? kLocalSig ^ 0x01000000 : kLocalSig);
        PutSharedFields(h, e, p, e.DataDescriptor);
        h += e.Name;
        h += e.Extra;
        out.Header(h);
        p.disk = out.Disk();
        p.offset = out.Offset() - uint32_t(h.size()) - shift;
        out.Data(data);
        if (e.DataDescriptor) {
            std::string d;
            Put32(d, kDescriptorSig);
            Put32(d, p.crc);
            Put32(d, p.compressed);
            Put32(d, p.size);
            out.Header(d);
        }
    }

    uint32_t dirDisk = 0, dirOffset = 0, dirSize = 0, onLastDisk = 0;
    std::vector<uint32_t> centralDisk;
    bool first = true;
    for (size_t i = 0; i < entries_.size(); ++i) {
        const TEntry& e = entries_[i];
        TPlaced p = placed[i];
        if (e.ShareLocalWith >= 0) {
            const TPlaced& other = placed.at(size_t(e.ShareLocalWith));
            p.disk = other.disk;
            p.offset = other.offset;
            p.compressed = other.compressed;
            p.crc = other.crc;
            p.size = other.size;
            p.method = other.method;
        }
        std::string h;
        Put32(h, e.BadCentralSignature ? kCentralSig ^ 0x01000000 : kCentralSig);
        Put16(h, e.VersionMadeBy);
        PutSharedFields(h, e, p, false);
        Put16(h, uint32_t(e.Comment.size()));
        Put16(h, p.disk);
        Put16(h, e.InternalAttributes);
        Put32(h, e.ExternalAttributes);
        Put32(h, Or(e.LocalOffset, p.offset));
        h += e.Name;
        h += e.Extra;
        h += e.Comment;
        out.Header(h);
        uint32_t at = out.Offset() - uint32_t(h.size());
        centralDisk.push_back(out.Disk());
        if (first) {
            dirDisk = out.Disk();
            dirOffset = at - shift;
            first = false;
        }
        dirSize += uint32_t(h.size());
    }

    std::string end;
    Put32(end, BadEndSignature ? kEndSig ^ 0x01000000 : kEndSig);
    out.Header(std::string(22 + Comment.size(), '\0'));
    uint32_t lastDisk = out.Disk();
    if (first) {
        dirDisk = lastDisk;
        dirOffset = out.Offset() - uint32_t(22 + Comment.size()) - shift;
    }
    onLastDisk = uint32_t(std::count(centralDisk.begin(), centralDisk.end(), lastDisk));
    Put16(end, lastDisk);
    Put16(end, dirDisk);
    Put16(end, Or(EndDiskEntries, onLastDisk));
    Put16(end, Or(EndTotalEntries, uint32_t(entries_.size())));
    Put32(end, Or(EndDirectorySize, dirSize));
    Put32(end, Or(EndDirectoryOffset, dirOffset));
    Put16(end, Or(EndCommentLength, uint32_t(Comment.size())));
    end += Comment;
    std::string& last = out.parts.back();
    last.replace(last.size() - end.size(), end.size(), end);
    if (!split) last += Trailing;
    return out.parts;
}

std::string TZipWriter::Build() const {
    return Write(0, false).front();
}

std::vector<std::string> TZipWriter::BuildSplit(size_t volumeSize) const {
    return Write(volumeSize, true);
}

void TZipWriter::SaveFile(const std::string& path, const std::string& bytes) {
    FILE* f = std::fopen(path.c_str(), "wb");
    if (!f) throw std::runtime_error("cannot create " + path);
    bool ok = std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
    ok = std::fclose(f) == 0 && ok;
    if (!ok) throw std::runtime_error("cannot write " + path);
}

void TZipWriter::Save(const std::string& path) const {
    SaveFile(path, Build());
}

std::vector<std::string> TZipWriter::SaveSplit(const std::string& path, size_t volumeSize) const {
    std::vector<std::string> names;
    std::vector<std::string> parts = BuildSplit(volumeSize);
    for (size_t i = 0; i < parts.size(); ++i) {
        names.push_back(VolumeName(path, int(i + 1)));
        SaveFile(names.back(), parts[i]);
    }
    return names;
}

std::string TZipWriter::VolumeName(const std::string& path, int number) {
    return VolumeFileName(path, number);
}
