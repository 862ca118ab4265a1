#pragma once
// File operations the menu asks for: folders, files, the trash and the copy of a program folder.
// Paths are app paths (cp1252, Windows or native form; see NativePath). Texts for the user are
// German cp1252; the progress window and the overwrite question are the GUI's, fed by callbacks.
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace platform {

enum class OverwriteAnswer { kYes, kNo, kYesToAll, kCancel };

struct CopyProgress {
    std::string file;  // the file being copied, relative to the source folder (cp1252, '\')
    uint64_t fileBytesDone = 0;
    uint64_t fileBytes = 0;
    uint64_t bytesDone = 0;  // over the whole copy; skipped files count as done
    uint64_t bytesTotal = 0;
    int filesDone = 0;
    int filesTotal = 0;
};

struct CopyCallbacks {
    // Called before each file, after each chunk and once at the end; returning false cancels.
    std::function<bool(const CopyProgress&)> progress;
    // Asked for each file that already exists in the target (cp1252 target path). Unset: replace.
    std::function<OverwriteAnswer(const std::string& target)> confirmOverwrite;
};

enum class CopyStatus { kOk, kCancelled, kFailed };

struct CopyResult {
    CopyStatus status = CopyStatus::kOk;
    int filesCopied = 0;
    int filesSkipped = 0;  // declined overwrites and special files (pipes, devices)
    int foldersCreated = 0;
    uint64_t bytesCopied = 0;
    int errorCode = 0;       // errno of the failure
    std::string failedPath;  // native path, cp1252
    std::string message;     // German, for an error box
    bool Ok() const { return status == CopyStatus::kOk; }
};

class FileOps {
public:
    // One level: the parent must exist. false with errno in *errorCode (EEXIST when it exists).
    static bool CreateFolder(const std::string& path, int* errorCode = nullptr);
    static bool FileExists(const std::string& path);  // a file, not a folder
    static bool FolderExists(const std::string& path);
    static bool DeleteFile(const std::string& path, int* errorCode = nullptr);
    // The names of the folders directly inside a folder (cp1252), sorted as the menu sorts text;
    // hidden ones (starting with '.') are left out. Empty when the folder cannot be read.
    static std::vector<std::string> SubFolders(const std::string& path);
    // freedesktop.org trash: the home trash on the home's file system, else <mount>/.Trash-<uid>.
    static bool MoveToTrash(const std::string& path, std::string* error = nullptr);

    // Copies everything inside source (files, subfolders, links) into target, creating target
    // (one level) when missing. An existing file is replaced only when confirmOverwrite allows it,
    // and then atomically: a failed or cancelled copy never leaves a half-written file under a
    // real name. Files already copied stay when a later one fails; the result then says kFailed
    // with the file and the reason. A target inside the source is refused before anything is copied.
    static CopyResult CopyFolderContents(const std::string& source, const std::string& target,
                                         const CopyCallbacks& callbacks = {});

    // German text for an errno value (cp1252).
    static std::string ErrorText(int errorCode);
};

}  // namespace platform
