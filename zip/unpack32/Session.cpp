#include "zip/unpack32/Session.h"

#include <zlib.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstring>
#include <new>
#include <thread>

#include "zip/unpack32/ArchiveScan.h"
#include "zip/unpack32/PosixAt.h"
#include "zip/unpack32/SafePath.h"

namespace unpack32 {

namespace {

constexpr size_t kChunk = 1 << 20;
constexpr uint64_t kProgressStep = 1 << 20;
// Entries up to this size go to the worker threads; the jobs in flight hold at most kInflightLimit.
constexpr uint64_t kJobLimit = uint64_t(32) << 20;
constexpr uint64_t kInflightLimit = uint64_t(256) << 20;
// Each job holds a descriptor of its folder: the count stays far below the process's limit.
constexpr size_t kInflightJobs = 64;
#ifdef UNPACK32_HAVE_LIBDEFLATE
// Entries up to this size are inflated in one piece by libdeflate; larger ones stream through zlib.
constexpr uint64_t kWholeLimit = uint64_t(256) << 20;
#endif

// Callback texts are 8-bit ANSI; libzip hands out names as UTF-8.
std::string Utf8ToAnsi(const std::string& s) {
    std::string out;
    for (size_t i = 0; i < s.size();) {
        unsigned char c = static_cast<unsigned char>(s[i]);
        if (c < 0x80) {
            out += char(c);
            ++i;
            continue;
        }
        int len = c >= 0xF0 ? 4 : c >= 0xE0 ? 3 : c >= 0xC0 ? 2 : 1;
        uint32_t cp = len == 2 ? c & 0x1F : len == 3 ? c & 0x0F : c & 0x07;
        bool ok = len > 1 && i + size_t(len) <= s.size();
        for (int k = 1; ok && k < len; ++k) {
            unsigned char d = static_cast<unsigned char>(s[i + size_t(k)]);
            ok = (d & 0xC0) == 0x80;
            cp = (cp << 6) | (d & 0x3F);
        }
        if (!ok) len = 1;
        out += ok && cp >= 0xA0 && cp <= 0xFF ? char(cp) : '?';
        i += size_t(len);
    }
    return out;
}

int32_t Clamp(uint64_t v) {
    return v > uint64_t(INT32_MAX) ? INT32_MAX : int32_t(v);
}

int32_t WriteError(int e) {
    return (e == ENOSPC || e == EDQUOT ? kErrDiskFull : kErrWrite) | (e << 8);
}

// Deflate produces at most 258 bytes per two bits of input (a 1032:1 ratio): a declared size beyond
// that is a lie, refused before any memory is set aside for it.
bool DeflateCannotReach(uint64_t compressed, uint64_t declared) {
    return compressed < (UINT64_MAX - 1024) / 1032 && declared > compressed * 1032 + 1024;
}

}  // namespace

// Receives decoded bytes: writes them (unless testing), checks nothing itself, reports progress.
struct TSession::TSink {
    TSession& session;
    int fd = -1;  // -1: test only
    uint64_t pending = 0;
    int error = 0;

    bool Put(const void* data, size_t n) {
        const char* p = static_cast<const char*>(data);
        size_t left = n;
        while (fd >= 0 && left > 0) {
            ssize_t w = write(fd, p, left);
            if (w < 0 && errno == EINTR) continue;
            if (w <= 0) {
                error = w < 0 ? errno : ENOSPC;
                return false;
            }
            p += w;
            left -= size_t(w);
        }
        pending += n;
        if (pending >= kProgressStep) return Flush();
        return true;
    }
    bool Flush() {
        if (pending == 0) return true;
        uint64_t n = pending;
        pending = 0;
        return session.Report(kUnpackAdvance, 0, n, std::string());
    }
};

TSession::TSession(const void* cmd) {
    const auto* head = static_cast<const TUnpackCmdHead*>(cmd);
    callback_ = head->Callback;
    caller_ = head->Caller;
    if (head->ZipFilename) archive_ = head->ZipFilename;
    if (head->Password) password_.assign(head->Password, strnlen(head->Password, 80));
    test_ = head->Test != 0;
    verbose_ = head->Verbose != 0 || head->Trace != 0;
    update_ = head->Update != 0;
    freshen_ = head->Freshen != 0 && !update_;
    dirNames_ = head->DirNames != 0;
    overwrite_ = head->Overwrite != 0;
    int32_t count = std::max<int32_t>(head->PatternCount, 0);
    if (head->Version >= kUnpackShortRecordVersion) {
        const auto* rec = static_cast<const TUnpackCmdShort*>(cmd);
        for (int32_t i = 0; rec->Patterns && i < count; ++i)
            if (rec->Patterns[i].Pattern) patterns_.emplace_back(rec->Patterns[i].Pattern);
    } else {
        const auto* rec = static_cast<const TUnpackCmdLong*>(cmd);
        for (int32_t i = 0; i < std::min(count, kUnpackMaxLongPatterns); ++i)
            if (rec->Patterns[i]) patterns_.emplace_back(rec->Patterns[i]);
    }
    for (std::string& s : patterns_) std::replace(s.begin(), s.end(), '\\', '/');
}

TSession::~TSession() {
    workers_.reset();  // finishes what was submitted
    if (zip_) zip_discard(zip_);
    if (archiveFd_ >= 0) close(archiveFd_);
}

bool TSession::Report(int32_t action, int32_t error, uint64_t size, const std::string& text) {
    if (!callback_) return !cancelled_;
    TUnpackCallbackRec rec;
    std::memset(&rec, 0, sizeof rec);
    rec.Caller = caller_;
    rec.ActionCode = action;
    rec.ErrorCode = error;
    rec.Size = Clamp(size);
    std::memcpy(rec.Text, text.data(), std::min(text.size(), sizeof rec.Text - 1));
    if (callback_(&rec) != 0) cancelled_ = true;
    return !cancelled_;
}

void TSession::Fail(int32_t error, const std::string& text) {
    Report(kUnpackMessage, error, 0, text);
}

bool TSession::Wanted(const std::string& name) const {
    if (patterns_.empty()) return true;
    for (const std::string& pattern : patterns_) {
        if (fnmatch(pattern.c_str(), name.c_str(), FNM_CASEFOLD | FNM_NOESCAPE) == 0) return true;
        // "folder/" selects everything below it.
        if (!pattern.empty() && pattern.back() == '/' && name.size() >= pattern.size() &&
            strncasecmp(pattern.c_str(), name.c_str(), pattern.size()) == 0)
            return true;
    }
    return false;
}

int32_t TSession::Run() {
    try {
        return RunChecked();
    } catch (const std::bad_alloc&) {
        Fail(kErrMemory, "Nicht genug Speicher");
    } catch (const std::exception& e) {
        Fail(kErrArchive, std::string("Interner Fehler: ") + e.what());
    }
    Report(kUnpackEnd, 0, 0, std::string());
    return extracted_;
}

int32_t TSession::RunChecked() {
    if (!out_.Ok()) {
        Fail(WriteError(errno), "Zielordner nicht zug\xE4nglich");
        Report(kUnpackEnd, 0, 0, std::string());
        return 0;
    }
    int fd = open(archive_.c_str(), O_RDONLY | O_CLOEXEC);
    uint64_t archiveSize = 0;
    if (fd < 0 || !RegularFileSize(fd, archiveSize)) {
        if (fd >= 0) close(fd);
        Fail(kErrArchive, "Archiv kann nicht gelesen werden: " + archive_);
        Report(kUnpackEnd, 0, 0, std::string());
        return 0;
    }
    TArchiveScan scan = ScanArchive(fd, archiveSize);
    archiveFd_ = fd;
    if (!scan.Error.empty()) {
        Fail(scan.Overlap ? kErrOverlap : kErrArchive, "Archiv abgelehnt (" + scan.Error + "): " + archive_);
        Report(kUnpackEnd, 0, 0, std::string());
        return 0;
    }
    // An archive behind a prefix that its offsets do not count is opened from where it starts.
    zip_error_t error;
    zip_error_init(&error);
    zip_source_t* source = zip_source_file_create(archive_.c_str(), scan.Start, -1, &error);
    if (source) {
        zip_ = zip_open_from_source(source, ZIP_RDONLY, &error);
        if (!zip_) zip_source_free(source);
    }
    if (!zip_ || zip_get_num_entries(zip_, 0) != zip_int64_t(scan.Entries.size())) {
        Fail(kErrArchive, std::string("Archiv defekt (") + zip_error_strerror(&error) + "): " + archive_);
        zip_error_fini(&error);
        Report(kUnpackEnd, 0, 0, std::string());
        return 0;
    }
    zip_error_fini(&error);
    flags_.reserve(scan.Entries.size());
    uint64_t total = 0, files = 0;
    for (const TScanEntry& e : scan.Entries) {
        flags_.push_back(e.Flags);
        total += e.Size;
        ++files;
    }
    buffer_.resize(kChunk);
    entries_ = scan.Entries;
    if (entries_.size() > 1) {
        // One thread per core: more only contend for the folder locks in the kernel.
        unsigned threads = std::clamp(std::thread::hardware_concurrency(), 2u, 8u);
        workers_ = std::make_unique<TWorkers>(threads);
    }
    if (Report(kUnpackFileCount, 0, files, std::string()) &&
        Report(kUnpackByteTotal, 0, total, std::string())) {
        for (zip_uint64_t i = 0; i < scan.Entries.size() && !cancelled_; ++i) ExtractEntry(i);
    }
    Collect(true);
    if (cancelled_) Report(kUnpackMessage, kErrCancel, 0, "Abbruch durch den Benutzer");
    Report(kUnpackEnd, 0, 0, std::string());
    return extracted_;
}

void TSession::ExtractEntry(zip_uint64_t index) {
    zip_stat_t st;
    if (zip_stat_index(zip_, index, 0, &st) != 0 || !(st.valid & ZIP_STAT_NAME)) {
        Fail(kErrArchive, "Eintrag " + std::to_string(index) + " nicht lesbar");
        return;
    }
    std::string name = st.name;
    std::string shown = Utf8ToAnsi(name);
    std::replace(name.begin(), name.end(), '\\', '/');
    if (!Wanted(name)) return;
    bool folder = !name.empty() && name.back() == '/';
    std::vector<std::string> parts;
    if (!SplitEntryName(name, parts)) {
        Fail(kErrUnsafeName, "Unsicherer Name abgelehnt: " + shown);
        return;
    }
    zip_uint8_t opsys = 0;
    zip_uint32_t attributes = 0;
    zip_file_get_external_attributes(zip_, index, 0, &opsys, &attributes);
    mode_t unixMode = opsys == ZIP_OPSYS_UNIX ? mode_t(attributes >> 16) : 0;
    bool link = S_ISLNK(unixMode);
    if (!folder && S_ISDIR(unixMode) && st.size == 0) folder = true;
    if (!dirNames_) {
        if (folder) return;
        parts.erase(parts.begin(), parts.end() - 1);
    }
    if (!Report(kUnpackFileStart, 0, st.size, shown)) return;
    if (verbose_)
        Report(kUnpackMessage, 0, 0,
               (test_ ? "Pr\xFC"
                        "fe: "
                      : "Entpacke: ") +
                   shown);

    if (test_ && (folder || link)) return;
    size_t folderCount = folder ? parts.size() : parts.size() - 1;
    int dir = test_ ? -1 : out_.OpenFolder(parts, folderCount, true);
    if (!test_ && dir < 0) {
        Fail(kErrFolder | (errno << 8), "Ordner kann nicht angelegt werden: " + shown);
        return;
    }
    if (folder) return;
    const std::string& leaf = parts.back();
    std::string key;
    for (const std::string& p : parts) key += p + '/';
    // A second entry of the same name waits for the first, so the later one wins as it would in order.
    if (inflightKeys_.count(key)) Collect(true);

    time_t existingTime = 0;
    TOutputFolder::TExisting existing =
        test_ ? TOutputFolder::TExisting::None : out_.Existing(dir, leaf, &existingTime);
    if (existing == TOutputFolder::TExisting::Folder || existing == TOutputFolder::TExisting::Other) {
        Fail(kErrFolder, "Name ist bereits vergeben: " + shown);
        return;
    }
    bool exists = existing == TOutputFolder::TExisting::File;
    time_t entryTime = (st.valid & ZIP_STAT_MTIME) ? st.mtime : 0;
    if (freshen_ && !exists) return;
    if ((update_ || freshen_) && exists && entryTime <= existingTime) return;
    if (exists && !overwrite_ && !update_ && !freshen_) {
        Report(kUnpackMessage, 0, 0, "Datei existiert, nicht ersetzt: " + shown);
        return;
    }

    if (!link && st.comp_method == ZIP_CM_DEFLATE && DeflateCannotReach(st.comp_size, st.size)) {
        FailEntry(kErrSize, shown);
        return;
    }

    if (link) {
        Collect(true);
        // The target is the entry's data; it is small, and a hostile one must not leave the folder.
        uint16_t flags = flags_[index];
        if (st.size > 4095 || (flags & 1)) {
            Fail(kErrUnsafeLink, "Symbolischer Link abgelehnt: " + shown);
            return;
        }
        zip_file_t* f = zip_fopen_index(zip_, index, 0);
        std::string target(size_t(st.size), '\0');
        zip_int64_t got = f ? zip_fread(f, target.data(), target.size()) : -1;
        if (f) zip_fclose(f);
        if (got != zip_int64_t(target.size())) {
            Fail(kErrData, "Link-Ziel nicht lesbar: " + shown);
            return;
        }
        if (!SafeLinkTarget(target, parts.size() - 1)) {
            Fail(kErrUnsafeLink, "Symbolischer Link zeigt aus dem Zielordner: " + shown);
            return;
        }
        if (!out_.MakeLink(dir, leaf, target, exists)) {
            Fail(WriteError(errno), "Link kann nicht angelegt werden: " + shown);
            return;
        }
        ++extracted_;
        return;
    }

    bool encrypted = (flags_[index] & 1) ||
                     ((st.valid & ZIP_STAT_ENCRYPTION_METHOD) && st.encryption_method != ZIP_EM_NONE);
    if (workers_ && !encrypted && (st.comp_method == ZIP_CM_STORE || st.comp_method == ZIP_CM_DEFLATE) &&
        st.size <= kJobLimit && st.comp_size <= kJobLimit && entries_[index].Compressed == st.comp_size &&
        entries_[index].Size == st.size) {
        auto job = std::make_shared<TFileJob>();
        job->archiveFd = archiveFd_;
        job->dir = test_ ? -1 : dup(dir);
        if (!test_ && job->dir < 0) {
            FailEntry(WriteError(errno), shown);
            return;
        }
        job->leaf = leaf;
        if (!test_) {
            // A free name is created as it is (O_EXCL keeps a file or link that appeared meanwhile);
            // an existing one is replaced by a temporary file at the end.
            job->direct = !exists;
            if (job->direct) {
                job->fd =
                    openat(dir, leaf.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0644);
                job->direct = job->fd >= 0;
            }
            if (!job->direct) job->fd = out_.CreateTemp(dir, job->temp);
            if (job->fd < 0) {
                int e = errno;
                close(job->dir);
                Fail(WriteError(e), "Datei kann nicht angelegt werden: " + shown);
                return;
            }
        }
        job->shown = shown;
        job->key = key;
        job->dataOffset = entries_[index].DataOffset;
        job->compressed = st.comp_size;
        job->size = st.size;
        job->crc = st.crc;
        job->method = st.comp_method;
        job->mode = unixMode & 0777;
        job->mtime = entryTime;
        // Bounded memory and descriptors: the jobs in flight hold their data and a folder descriptor.
        while (!inflight_.empty() && (inflightBytes_ + job->size + job->compressed > kInflightLimit ||
                                      inflight_.size() >= kInflightJobs)) {
            workers_->Wait(*inflight_.front());
            Collect(false);
        }
        inflightKeys_.insert(key);
        inflightBytes_ += job->size + job->compressed;
        inflight_.push_back(job);
        workers_->Submit(job);
        Collect(false);
        return;
    }
    Collect(true);

    std::string temp;
    TSink sink{*this};
    if (!test_) {
        sink.fd = out_.CreateTemp(dir, temp);
        if (sink.fd < 0) {
            Fail(WriteError(errno), "Datei kann nicht angelegt werden: " + shown);
            return;
        }
    }
    int32_t error = Decode(index, st, flags_[index], sink);
    if (error == 0 && !sink.Flush()) error = kErrCancel;
    if (!test_) {
        if (error == 0) {
            if (unixMode & 0777) fchmod(sink.fd, unixMode & 0777);
            if (entryTime) {
                struct timespec times[2] = {{0, UTIME_OMIT}, {entryTime, 0}};
                futimens(sink.fd, times);
            }
        }
        if (close(sink.fd) != 0 && error == 0) error = WriteError(errno);
        if (error == 0 && !out_.Commit(dir, temp, leaf)) error = WriteError(errno);
        if (error != 0) out_.Discard(dir, temp);
    }
    if (error == 0)
        ++extracted_;
    else
        FailEntry(error, shown);
}

void TSession::FailEntry(int32_t error, const std::string& shown) {
    switch (error & 0xFF) {
        case 0:
            break;
        case kErrCancel:
            break;
        case kErrCrc:
            Fail(error, "CRC-Fehler: " + shown);
            break;
        case kErrMethod:
            Fail(error, "Packmethode nicht unterst\xFCtzt: " + shown);
            break;
        case kErrPassword:
            Fail(error, "Kennwort fehlt oder ist falsch: " + shown);
            break;
        case kErrSize:
            Fail(error,
                 "Daten passen nicht zur angegebenen Gr\xF6\xDF"
                 "e: " +
                     shown);
            break;
        case kErrDiskFull:
            Fail(error, "Datentr\xE4ger voll: " + shown);
            break;
        case kErrWrite:
            Fail(error, "Schreibfehler: " + shown);
            break;
        case kErrMemory:
            Fail(error, "Nicht genug Speicher: " + shown);
            break;
        default:
            Fail(error, "Gepackte Daten defekt: " + shown);
            break;
    }
}

void TSession::Collect(bool all) {
    while (!inflight_.empty()) {
        std::shared_ptr<TFileJob> job = inflight_.front();
        if (!job->done) {
            if (!all) break;
            workers_->Wait(*job);
        }
        inflight_.pop_front();
        inflightKeys_.erase(job->key);
        inflightBytes_ -= job->size + job->compressed;
        if (job->result == 0) {
            ++extracted_;
            if (!cancelled_) Report(kUnpackAdvance, 0, job->size, std::string());
        } else {
            FailEntry(job->result, job->shown);
        }
    }
}

int32_t TSession::Decode(zip_uint64_t index, const zip_stat_t& st, uint16_t flags, TSink& sink) {
    uint64_t declared = st.size;
    bool encrypted =
        (flags & 1) || ((st.valid & ZIP_STAT_ENCRYPTION_METHOD) && st.encryption_method != ZIP_EM_NONE);
    if (encrypted) {
        if (password_.empty()) return kErrPassword;
        zip_file_t* f = zip_fopen_index_encrypted(zip_, index, 0, password_.c_str());
        if (!f) {
            int ze = zip_error_code_zip(zip_get_error(zip_));
            return ze == ZIP_ER_WRONGPASSWD ? kErrPassword : ze == ZIP_ER_COMPNOTSUPP ? kErrMethod : kErrData;
        }
        int32_t r = Stream(f, declared, false, sink, false, 0);
        zip_fclose(f);
        return r;
    }
    if (st.comp_method == ZIP_CM_STORE) {
        if (st.comp_size != declared) return kErrSize;
        zip_file_t* f = zip_fopen_index(zip_, index, ZIP_FL_COMPRESSED);
        if (!f) return kErrData;
        int32_t r = Stream(f, declared, false, sink, true, st.crc);
        zip_fclose(f);
        return r;
    }
    if (st.comp_method == ZIP_CM_DEFLATE) {
        zip_file_t* f = zip_fopen_index(zip_, index, ZIP_FL_COMPRESSED);
        if (!f) return kErrData;
        int32_t r;
#ifdef UNPACK32_HAVE_LIBDEFLATE
        if (declared <= kWholeLimit && st.comp_size <= kWholeLimit) {
            // Known size: inflate in one piece, stopping at the declared size.
            std::vector<char> in(static_cast<size_t>(st.comp_size));
            zip_int64_t got = in.empty() ? 0 : zip_fread(f, in.data(), in.size());
            zip_fclose(f);
            if (got != zip_int64_t(in.size())) return kErrData;
            // Not value-initialised: only the pages that inflating really writes become resident.
            std::unique_ptr<char[]> out(new char[static_cast<size_t>(declared)]);
            if (!inflater_.Ready()) throw std::bad_alloc();
            const size_t outLength = size_t(declared);
            if (int32_t e = inflater_.Inflate(in.data(), in.size(), out.get(), outLength)) return e;
            if (Crc32(out.get(), outLength) != st.crc) return kErrCrc;
            size_t at = 0;
            while (at < outLength) {
                size_t n = std::min(kChunk, outLength - at);
                if (!sink.Put(out.get() + at, n)) return sink.error ? WriteError(sink.error) : kErrCancel;
                at += n;
            }
            return 0;
        }
#endif
        r = Stream(f, declared, true, sink, true, st.crc);
        zip_fclose(f);
        return r;
    }
    if (!zip_compression_method_supported(st.comp_method, 0)) return kErrMethod;
    zip_file_t* f = zip_fopen_index(zip_, index, 0);
    if (!f) return kErrData;
    // libzip checks the CRC itself when it decompresses.
    int32_t r = Stream(f, declared, false, sink, false, 0);
    zip_fclose(f);
    return r;
}

// Copies an entry in chunks: raw deflate data is inflated with zlib, anything else is taken as it
// comes. Output beyond the declared size stops the entry.
int32_t TSession::Stream(zip_file_t* f, uint64_t declared, bool raw, TSink& sink, bool checkCrc,
                         uint32_t crc) {
    uint64_t total = 0;
    uLong sum = crc32(0, nullptr, 0);
    auto emit = [&](const char* data, size_t n) -> int32_t {
        if (n > declared - total) return kErrSize;
        total += n;
        if (checkCrc) sum = crc32(sum, reinterpret_cast<const Bytef*>(data), uInt(n));
        if (!sink.Put(data, n)) return sink.error ? WriteError(sink.error) : kErrCancel;
        return 0;
    };
    auto readError = [&]() -> int32_t {
        int ze = zip_error_code_zip(zip_file_get_error(f));
        return ze == ZIP_ER_CRC ? kErrCrc : ze == ZIP_ER_WRONGPASSWD ? kErrPassword : kErrData;
    };
    if (!raw) {
        for (;;) {
            zip_int64_t got = zip_fread(f, buffer_.data(), buffer_.size());
            if (got < 0) return readError();
            if (got == 0) break;
            if (int32_t r = emit(buffer_.data(), size_t(got))) return r;
        }
    } else {
        z_stream z{};
        if (inflateInit2(&z, -15) != Z_OK) throw std::bad_alloc();
        std::vector<char> out(kChunk);
        int zr = Z_OK;
        int32_t r = 0;
        while (zr != Z_STREAM_END && r == 0) {
            zip_int64_t got = zip_fread(f, buffer_.data(), buffer_.size());
            if (got < 0) {
                r = readError();
                break;
            }
            if (got == 0) {
                r = kErrData;  // the data ended before the deflate stream did
                break;
            }
            z.next_in = reinterpret_cast<Bytef*>(buffer_.data());
            z.avail_in = uInt(got);
            do {
                z.next_out = reinterpret_cast<Bytef*>(out.data());
                z.avail_out = uInt(out.size());
                zr = inflate(&z, Z_NO_FLUSH);
                if (zr != Z_OK && zr != Z_STREAM_END && zr != Z_BUF_ERROR) {
                    r = kErrData;
                    break;
                }
                r = emit(out.data(), out.size() - z.avail_out);
            } while (r == 0 && zr != Z_STREAM_END && (z.avail_in > 0 || z.avail_out == 0));
        }
        inflateEnd(&z);
        if (r != 0) return r;
    }
    if (total != declared) return kErrSize;
    if (checkCrc && uint32_t(sum) != crc) return kErrCrc;
    return 0;
}

}  // namespace unpack32
