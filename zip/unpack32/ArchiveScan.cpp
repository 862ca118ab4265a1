#include "zip/unpack32/ArchiveScan.h"
#include "zip/unpack32/PosixAt.h"

#include <algorithm>

namespace unpack32 {

namespace {

uint16_t Get16(const unsigned char* p) {
    return uint16_t(p[0] | (p[1] << 8));
}
uint32_t Get32(const unsigned char* p) {
    return uint32_t(Get16(p)) | (uint32_t(Get16(p + 2)) << 16);
}
uint64_t Get64(const unsigned char* p) {
    return uint64_t(Get32(p)) | (uint64_t(Get32(p + 4)) << 32);
}

bool ReadAt(int fd, uint64_t at, void* buffer, size_t n) {
    unsigned char* out = static_cast<unsigned char*>(buffer);
    while (n > 0) {
        ssize_t got = pread(fd, out, n, off_t(at));
        if (got <= 0) return false;
        out += got;
        at += uint64_t(got);
        n -= size_t(got);
    }
    return true;
}

constexpr uint32_t kEnd = 0x06054B50, kEnd64 = 0x06064B50, kLocator64 = 0x07064B50;
constexpr uint32_t kCentral = 0x02014B50, kLocal = 0x04034B50;

}  // namespace

TArchiveScan ScanArchive(int fd, uint64_t fileSize) {
    TArchiveScan scan;
    auto fail = [&](const char* why) {
        scan.Error = why;
        scan.Entries.clear();
        return scan;
    };
    if (fileSize < 22) return fail("zu kurz");
    size_t tailSize = size_t(std::min<uint64_t>(fileSize, 65535 + 22));
    std::vector<unsigned char> tail(tailSize);
    uint64_t tailAt = fileSize - tailSize;
    if (!ReadAt(fd, tailAt, tail.data(), tailSize)) return fail("Lesefehler");
    size_t pos = tailSize - 22;
    for (;; --pos) {
        if (Get32(&tail[pos]) == kEnd) break;
        if (pos == 0) return fail("kein Verzeichnisende gefunden");
    }
    const unsigned char* end = &tail[pos];
    uint64_t endAt = tailAt + pos;
    if (Get16(end + 4) != 0 || Get16(end + 6) != 0) return fail("auf mehrere Datentr\xE4ger verteilt");
    uint64_t count = Get16(end + 10), dirSize = Get32(end + 12), dirOffset = Get32(end + 16);
    uint64_t dirEnd = endAt;  // where the directory must end (the 64-bit records sit in between)
    if (count == 0xFFFF || dirSize == 0xFFFFFFFF || dirOffset == 0xFFFFFFFF) {
        unsigned char loc[20], rec[56];
        if (endAt < 20 || !ReadAt(fd, endAt - 20, loc, 20) || Get32(loc) != kLocator64)
            return fail("64-Bit-Verzeichnisende fehlt");
        uint64_t recAt = Get64(loc + 8);
        if (endAt < 20 + 56) return fail("64-Bit-Verzeichnisende defekt");
        if (recAt + 56 > endAt - 20 || !ReadAt(fd, recAt, rec, 56) || Get32(rec) != kEnd64) {
            // Behind a prefix the stored position is short by the prefix: look just before the locator.
            recAt = endAt - 20 - 56;
            if (!ReadAt(fd, recAt, rec, 56) || Get32(rec) != kEnd64)
                return fail("64-Bit-Verzeichnisende defekt");
        }
        count = Get64(rec + 32);
        dirSize = Get64(rec + 40);
        dirOffset = Get64(rec + 48);
        dirEnd = recAt;
    }
    if (dirSize > dirEnd)
        return fail(
            "Verzeichnis gr\xF6\xDF"
            "er als die Datei");
    uint64_t dirAt = dirEnd - dirSize;
    if (dirOffset > dirAt) return fail("Verzeichnis-Position hinter dem Dateiende");
    scan.Start = dirAt - dirOffset;
    // Each central record needs at least 46 bytes: a count beyond that is a lie, not a reason to allocate.
    if (count > dirSize / 46) return fail("Verzeichnis enth\xE4lt weniger Eintr\xE4ge als angegeben");

    std::vector<unsigned char> dir(static_cast<size_t>(dirSize));
    if (dirSize && !ReadAt(fd, dirAt, dir.data(), dir.size())) return fail("Lesefehler im Verzeichnis");
    size_t at = 0;
    scan.Entries.reserve(size_t(count));
    for (uint64_t i = 0; i < count; ++i) {
        if (at + 46 > dir.size() || Get32(&dir[at]) != kCentral) return fail("zentraler Header defekt");
        const unsigned char* h = &dir[at];
        TScanEntry e;
        e.Flags = Get16(h + 8);
        e.Compressed = Get32(h + 20);
        e.Size = Get32(h + 24);
        e.NameLength = Get16(h + 28);
        size_t extraLength = Get16(h + 30), commentLength = Get16(h + 32);
        e.LocalOffset = Get32(h + 42);
        size_t next = at + 46 + e.NameLength + extraLength + commentLength;
        if (next > dir.size()) return fail("zentraler Header l\xE4nger als das Verzeichnis");
        // 64-bit sizes and offset live in extra block 1, in this order, only for fields set to all ones.
        const unsigned char* x = h + 46 + e.NameLength;
        const unsigned char* xEnd = x + extraLength;
        while (x + 4 <= xEnd) {
            uint16_t id = Get16(x), len = Get16(x + 2);
            const unsigned char* data = x + 4;
            if (data + len > xEnd) break;
            if (id == 1) {
                const unsigned char* f = data;
                auto take = [&](uint64_t& field) {
                    if (field != 0xFFFFFFFF) return;
                    if (f + 8 <= data + len) field = Get64(f), f += 8;
                };
                take(e.Size);
                take(e.Compressed);
                take(e.LocalOffset);
            }
            x = data + len;
        }
        scan.Entries.push_back(e);
        at = next;
    }

    // Sort by position and check that every entry ends before the next begins: O(n log n).
    std::vector<TScanEntry*> order;
    order.reserve(scan.Entries.size());
    for (TScanEntry& e : scan.Entries) order.push_back(&e);
    std::sort(order.begin(), order.end(),
              [](const TScanEntry* a, const TScanEntry* b) { return a->LocalOffset < b->LocalOffset; });
    for (size_t i = 0; i < order.size(); ++i) {
        TScanEntry& e = *order[i];
        uint64_t limit = i + 1 < order.size() ? order[i + 1]->LocalOffset : dirOffset;
        unsigned char local[30];
        if (e.LocalOffset + 30 > dirOffset || !ReadAt(fd, scan.Start + e.LocalOffset, local, 30) ||
            Get32(local) != kLocal)
            return fail("lokaler Header fehlt oder liegt hinter dem Verzeichnis");
        e.DataOffset = scan.Start + e.LocalOffset + 30 + Get16(local + 26) + Get16(local + 28);
        uint64_t extent = e.LocalOffset + 30 + Get16(local + 26) + Get16(local + 28) + e.Compressed;
        if (extent > limit) {
            if (i + 1 == order.size()) return fail("Daten reichen in das Verzeichnis");
            scan.Overlap = true;
            return fail(
                "Eintr\xE4ge \xFC"
                "berlappen");
        }
    }
    return scan;
}

}  // namespace unpack32
