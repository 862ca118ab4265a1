#pragma once
// One call of UnpackExec: decodes the command record into copies (no pointer outlives the call),
// extracts the archive into the current directory and reports through the caller's callback.

#include <zip.h>

#include <cstdint>
#include <deque>
#include <memory>
#include <string>
#include <unordered_set>
#include <vector>

#include "zip/Unpack32.h"
#include "zip/unpack32/ArchiveScan.h"
#include "zip/unpack32/Inflater.h"
#include "zip/unpack32/OutputFolder.h"
#include "zip/unpack32/Workers.h"

namespace unpack32 {

// Error codes in callback action 4. The low byte names the failure; for write failures the bits
// above carry the system's error number.
enum : int32_t {
    kErrArchive = 2,  // archive cannot be opened or its directory is damaged
    kErrCrc = 3,
    kErrMethod = 4,    // compression method not supported
    kErrPassword = 5,  // password needed or wrong
    kErrDiskFull = 6,
    kErrWrite = 7,
    kErrUnsafeName = 8,
    kErrUnsafeLink = 9,
    kErrSize = 10,     // data inflates to more or less than the declared size
    kErrOverlap = 11,  // entries share data (zip bomb)
    kErrCancel = 12,
    kErrData = 13,    // compressed data damaged
    kErrFolder = 14,  // a folder cannot be created or a name is taken by a folder
    kErrMemory = 15,
};

class TSession {
public:
    explicit TSession(const void* cmd);
    ~TSession();
    int32_t Run();

private:
    struct TSink;
    int32_t RunChecked();
    bool Report(int32_t action, int32_t error, uint64_t size, const std::string& text);
    void Fail(int32_t error, const std::string& text);
    bool Wanted(const std::string& name) const;
    void ExtractEntry(zip_uint64_t index);
    void FailEntry(int32_t error, const std::string& shown);
    // Reports finished jobs in submission order; with all, waits for every one.
    void Collect(bool all);
    int32_t Decode(zip_uint64_t index, const zip_stat_t& st, uint16_t flags, TSink& sink);
    int32_t Stream(zip_file_t* f, uint64_t declared, bool raw, TSink& sink, bool checkCrc, uint32_t crc);

    // Copies of the record's contents.
    TUnpackCallback callback_ = nullptr;
    void* caller_ = nullptr;
    std::string archive_, password_;
    std::vector<std::string> patterns_;
    bool test_ = false, verbose_ = false, update_ = false, freshen_ = false, dirNames_ = false,
         overwrite_ = false;

    zip_t* zip_ = nullptr;
    std::vector<uint16_t> flags_;  // general purpose flags per entry, from the scan
    TOutputFolder out_;
    bool cancelled_ = false;
    int32_t extracted_ = 0;
    std::vector<char> buffer_;
    TInflater inflater_;  // for entries inflated whole on this thread

    int archiveFd_ = -1;
    std::vector<TScanEntry> entries_;
    std::unique_ptr<TWorkers> workers_;
    std::deque<std::shared_ptr<TFileJob>> inflight_;
    std::unordered_set<std::string> inflightKeys_;  // target paths being written
    uint64_t inflightBytes_ = 0;
};

}  // namespace unpack32
