// zipfront: the menu's zip front-end on the command line, for disc authors and tests.
//
//   zipfront list ARCHIVE                 entries, sizes, comment, split set, DataStart
//   zipfront extract ARCHIVE FOLDER       unpack through the unpack library, with progress
//   zipfront join VOLUME OUT.zip          join a split set (…001.zip, …002.zip, … or Info-ZIP's
//                                         name.z01, …, name.zip) into one archive
//
// Exit status: 0 success, 1 failure (the front-end's numbered message is printed), 2 usage.
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <string>

#include "base/Cp1252.h"
#include "base/StrUtils.h"
#include "zip/ZipFront.h"
#include "zip/ZipMessages.h"

namespace {

std::string Out(const std::string& cp1252) {
    return base::Cp1252ToUtf8(cp1252);
}
std::string App(const char* utf8) {
    return base::Utf8ToCp1252(utf8);
}

int JoinFrom(const std::string& last, const char* out);
unsigned char uchar(char c) {
    return static_cast<unsigned char>(c);
}

int Usage() {
    std::fprintf(stderr,
                 "usage: zipfront list ARCHIVE\n"
                 "       zipfront extract ARCHIVE FOLDER\n"
                 "       zipfront join FIRST-VOLUME OUT.zip\n");
    return 2;
}

void PrintMessage(int errCode, const std::string& text, int frontCode) {
    if (errCode != 0)
        std::fprintf(stderr, "zipfront: [%d] %s\n", errCode, Out(text).c_str());
    else
        std::fprintf(stderr, "zipfront: [%d] %s\n", frontCode, Out(text).c_str());
}

// Terminal progress: one line, rewritten, only when stderr is a terminal.
struct TProgressLine {
    bool tty = isatty(2) != 0;
    int64_t total = 0, done = 0;
    int lastPercent = -1;
    void operator()(TZipFront*, TProgressType type, const std::string& name, int64_t size) {
        if (type == pkByteTotal) total = size, done = 0;
        if (type == pkAdvance) done += size;
        if (!tty) return;
        if (type == pkFileStart || type == pkAdvance) {
            int percent = total > 0 ? int(done * 100 / total) : 0;
            if (type == pkFileStart || percent != lastPercent) {
                lastPercent = percent;
                std::fprintf(stderr, "\r%3d%% %-60.60s", percent, Out(name).c_str());
            }
        }
        if (type == pkBatchEnd) std::fprintf(stderr, "\r%-66s\r", "");
    }
};

const char* MethodName(int method) {
    switch (method) {
        case 0:
            return "stored";
        case 8:
            return "deflate";
        case 9:
            return "deflate64";
        case 12:
            return "bzip2";
        case 14:
            return "lzma";
        default:
            return "other";
    }
}

int List(const char* archive) {
    TZipFront zip;
    zip.SetUnattended(true);
    bool failed = false;
    zip.OnMessage = [&](void*, int code, const std::string& text) {
        // 10203 and 10204 are warnings: the archive is still listed.
        int id = zip.ErrCode();
        if (id != 10203 && id != 10204) failed = true;
        PrintMessage(code, text, id);
    };
    zip.SetZipFilename(App(archive));
    if (!std::filesystem::is_regular_file(archive)) {
        std::fprintf(stderr, "zipfront: %s: no such archive\n", archive);
        return 1;
    }
    std::printf("%10s %10s %-9s %-16s %s\n", "size", "packed", "method", "date", "name");
    for (const ZipDirEntry& e : zip.Contents()) {
        int day = e.ModifDate & 31, month = (e.ModifDate >> 5) & 15, year = 1980 + (e.ModifDate >> 9);
        int hour = e.ModifTime >> 11, minute = (e.ModifTime >> 5) & 63;
        std::printf("%10llu %10llu %-9s %04d-%02d-%02d %02d:%02d %s\n",
                    static_cast<unsigned long long>(e.UncomprSize64),
                    static_cast<unsigned long long>(e.ComprSize64), MethodName(e.ComprMethod), year, month,
                    day, hour, minute, Out(e.FileName).c_str());
        if (!e.FileComment.empty()) std::printf("%39s# %s\n", "", Out(e.FileComment).c_str());
    }
    std::printf("entries: %d\n", zip.Count());
    std::printf("spanned: %s\n", zip.Spanned() ? "yes" : "no");
    std::printf("data start: %d\n", zip.DataStart());
    if (!zip.ArchiveComment().empty()) std::printf("comment: %s\n", Out(zip.ArchiveComment()).c_str());
    return failed ? 1 : 0;
}

int Extract(const char* archive, const char* folder) {
    std::error_code ec;
    std::filesystem::create_directories(folder, ec);
    if (!std::filesystem::is_directory(folder)) {
        std::fprintf(stderr, "zipfront: cannot create folder %s\n", folder);
        return 1;
    }
    TZipFront zip;
    zip.SetUnattended(true);
    zip.SetExtrOptions({TExtrOptsEnum::ExtrDirNames, TExtrOptsEnum::ExtrOverWrite});
    bool libraryFailed = false;
    zip.OnMessage = [&](void*, int code, const std::string& text) {
        if (code != 0) libraryFailed = true;
        if (code != 0 || !base::StartsText(ZipMessage(10105), text)) PrintMessage(code, text, zip.ErrCode());
    };
    TProgressLine progress;
    zip.OnProgress = std::ref(progress);
    zip.SetZipFilename(App(archive));
    if (!std::filesystem::is_regular_file(archive)) {
        std::fprintf(stderr, "zipfront: %s: no such archive\n", archive);
        return 1;
    }
    zip.LoadUnzipLibrary();
    if (!zip.UnzipLibraryLoaded()) return 1;
    zip.SetExtrBaseDir(App(std::filesystem::absolute(folder).string().c_str()));
    // The extraction alone decides: warnings of the listing (a stub, trailing data) are printed
    // but leave the result to it.
    zip.Extract();
    zip.UnloadUnzipLibrary();
    std::printf("%d files extracted\n", zip.SuccessCount());
    return zip.ErrCode() != 0 || libraryFailed ? 1 : 0;
}

// Info-ZIP's sets ("zip -s") end in name.zip behind name.z01, name.z02, …; other sets are numbered
// files, and from the one given the last is the highest number that exists.
int Join(const char* first, const char* out) {
    std::string name = first;
    std::filesystem::path p(name);
    std::string stem = p.stem().string();
    std::string ext = base::UpperCase(p.extension().string());
    std::filesystem::path zipLast =
        p.parent_path() / (stem + (ext == ".ZIP" ? p.extension().string() : ".zip"));
    bool infoZip = ext.size() >= 4 && ext[1] == 'Z' && ext != ".ZIP" &&
                   std::all_of(ext.begin() + 2, ext.end(), [](char c) { return std::isdigit(uchar(c)); });
    if (ext == ".ZIP") infoZip = std::filesystem::is_regular_file(p.parent_path() / (stem + ".z01"));
    if (infoZip) return JoinFrom(zipLast.string(), out);
    if (stem.size() < 3 || !std::isdigit(static_cast<unsigned char>(stem[stem.size() - 1]))) {
        std::fprintf(stderr, "zipfront: %s: a volume name ends in a number (…001.zip)\n", first);
        return 2;
    }
    int number = base::StrToIntDef(stem.substr(stem.size() - 3), 1);
    auto volume = [&](int n) {
        char digits[16];
        std::snprintf(digits, sizeof digits, "%03d", n);
        return (p.parent_path() / (stem.substr(0, stem.size() - 3) + digits + p.extension().string()))
            .string();
    };
    std::string last = name;
    while (number < 999 && std::filesystem::is_regular_file(volume(number + 1))) last = volume(++number);
    return JoinFrom(last, out);
}

int JoinFrom(const std::string& last, const char* out) {
    TZipFront zip;
    zip.SetUnattended(true);
    zip.OnMessage = [&](void*, int code, const std::string& text) {
        if (!base::StartsText(ZipMessage(10105), text)) PrintMessage(code, text, zip.ErrCode());
    };
    TProgressLine progress;
    zip.OnProgress = std::ref(progress);
    std::string target = App(out);
    int result = zip.ReadSpan(App(last.c_str()), target);
    if (result != 0) return 1;
    std::printf("%s\n", Out(target).c_str());
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) return Usage();
    std::string command = argv[1];
    try {
        if (command == "list" && argc == 3) return List(argv[2]);
        if (command == "extract" && argc == 4) return Extract(argv[2], argv[3]);
        if (command == "join" && argc == 4) return Join(argv[2], argv[3]);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "zipfront: %s\n", e.what());
        return 1;
    }
    return Usage();
}
