// The unpack library's extraction of an arbitrary archive into a scratch folder: whatever the
// input, nothing may appear outside the folder.
#include <stdlib.h>
#include <unistd.h>

#include <cstdint>
#include <cstring>
#include <filesystem>
#include <string>

#include "tests/fuzz/FuzzScratch.h"
#include "tools/common/ZipWriter.h"
#include "zip/Unpack32.h"

extern "C" int32_t UNPACK_CALL UnpackExec(void* cmd);

namespace {

namespace fs = std::filesystem;

const std::string& Scratch() {
    return FuzzScratch("unpack");
}

int32_t UNPACK_CALL Callback(TUnpackCallbackRec* rec) {
    // The text must be terminated within the field.
    if (memchr(rec->Text, 0, sizeof rec->Text) == nullptr) abort();
    return 0;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::error_code ec;
    fs::path root = Scratch();
    fs::remove_all(root / "out", ec);
    fs::create_directories(root / "out" / "target");
    std::string archive = (root / "in.zip").string();
    TZipWriter::SaveFile(archive, std::string(reinterpret_cast<const char*>(data), size));

    fs::path previous = fs::current_path();
    fs::current_path(root / "out" / "target");
    TUnpackCmdShort cmd;
    std::memset(&cmd, 0, sizeof cmd);
    cmd.Head.Version = kUnpackShortRecordVersion;
    cmd.Head.Callback = &Callback;
    cmd.Head.DirNames = -1;
    cmd.Head.Overwrite = -1;
    cmd.Head.Reserved40 = -1;
    cmd.Head.ZipFilename = archive.c_str();
    cmd.Seven = 7;
    UnpackExec(&cmd);
    fs::current_path(previous);

    // Only the target folder may exist beside the archive's scratch folder.
    for (const auto& entry : fs::directory_iterator(root / "out"))
        if (entry.path().filename() != "target") abort();
    return 0;
}
