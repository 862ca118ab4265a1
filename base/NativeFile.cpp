#include "base/NativeFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#ifdef _WIN32
#include <io.h>
#include <share.h>
#else
#include <stdlib.h>
#include <unistd.h>
#endif

#include <random>

namespace base {

std::filesystem::path NativeFsPath(std::string_view utf8) {
    return std::filesystem::path(std::u8string(utf8.begin(), utf8.end()));
}

std::string FsPathToNative(const std::filesystem::path& path) {
    const std::u8string s = path.generic_u8string();
    return std::string(s.begin(), s.end());
}

#ifdef _WIN32

std::FILE* OpenNativeFile(const std::string& utf8, const char* mode) {
    const std::wstring wmode(mode, mode + std::char_traits<char>::length(mode));
    return _wfopen(NativeFsPath(utf8).c_str(), wmode.c_str());
}

std::FILE* CreateNativeFile(const std::string& utf8, bool exclusive) {
    int fd = -1;
    const int flags = _O_WRONLY | _O_CREAT | _O_BINARY | _O_NOINHERIT | (exclusive ? _O_EXCL : _O_TRUNC);
    if (_wsopen_s(&fd, NativeFsPath(utf8).c_str(), flags, _SH_DENYNO, _S_IREAD | _S_IWRITE) != 0)
        return nullptr;
    std::FILE* f = _fdopen(fd, "wb");
    if (!f) _close(fd);
    return f;
}

std::string MakePrivateFolder(const std::string& prefixUtf8) {
    // Windows has no mkdtemp: a random name, created only when it is free.
    static constexpr char kChars[] = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
    std::random_device seed;
    std::mt19937 rng(seed());
    for (int attempt = 0; attempt < 100; ++attempt) {
        std::string name = prefixUtf8;
        for (int i = 0; i < 6; ++i) name += kChars[rng() % (sizeof kChars - 1)];
        std::error_code ec;
        if (std::filesystem::create_directory(NativeFsPath(name), ec)) return name;
        if (ec) return {};
    }
    return {};
}

#else

std::FILE* OpenNativeFile(const std::string& utf8, const char* mode) {
    return std::fopen(utf8.c_str(), mode);
}

std::FILE* CreateNativeFile(const std::string& utf8, bool exclusive) {
    const int flags = O_WRONLY | O_CREAT | O_NOFOLLOW | O_CLOEXEC | (exclusive ? O_EXCL : O_TRUNC);
    const int fd = open(utf8.c_str(), flags, exclusive ? 0600 : 0644);
    if (fd < 0) return nullptr;
    std::FILE* f = fdopen(fd, "wb");
    if (!f) close(fd);
    return f;
}

std::string MakePrivateFolder(const std::string& prefixUtf8) {
    std::string name = prefixUtf8 + "XXXXXX";
    return mkdtemp(name.data()) ? name : std::string();
}

#endif

bool EnterNativeFolder(const std::string& utf8) {
    std::error_code ec;
    std::filesystem::current_path(NativeFsPath(utf8), ec);
    return !ec;
}

}  // namespace base
