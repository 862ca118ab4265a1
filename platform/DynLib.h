#pragma once
// Loading a shared library at run time by the name a Windows program would use.
//
// "UNPACK32.DLL" is looked for as "libunpack32.so": first beside the program, then on the
// system's library path. A name with a folder in it (app path) is loaded from exactly there; a
// name that already ends in ".so" or holds ".so." is looked for beside the program and then
// by the system as it is.
#include <string>
#include <vector>

namespace platform {

class DynLib {
public:
    DynLib() = default;
    ~DynLib();
    DynLib(DynLib&& other) noexcept;
    DynLib& operator=(DynLib&& other) noexcept;
    DynLib(const DynLib&) = delete;
    DynLib& operator=(const DynLib&) = delete;

    // Unloads what was loaded, then tries each candidate; false with Error() set when none loads.
    // programDir: folder searched first; empty means the running program's folder.
    bool Load(const std::string& name, const std::string& programDir = {});
    void Unload();
    bool Loaded() const { return handle_ != nullptr; }

    // nullptr (with Error() set) when the symbol is missing.
    void* Symbol(const std::string& symbol);
    template <typename F>
    F Function(const std::string& symbol) {
        return reinterpret_cast<F>(Symbol(symbol));
    }

    // The loader's text for the last failure (every candidate's reason for Load).
    const std::string& Error() const { return error_; }
    // The file that was loaded (or the name given to the system loader).
    const std::string& LoadedFrom() const { return loadedFrom_; }

    // Where Load looks, in order; an entry without '/' is left to the system's search.
    static std::vector<std::string> Candidates(const std::string& name, const std::string& programDir);

private:
    // The system's loader (posix/DynLib.cpp, win32/DynLib.cpp); why gets the reason of a failure.
    static std::string LibraryFile(const std::string& name);   // a bare name as the system names it
    static std::string Folder(const std::string& programDir);  // in the form the candidates use
    static void* Open(const std::string& path, std::string& why);
    static void Close(void* handle);
    static void* Find(void* handle, const std::string& symbol, std::string& why);

    void* handle_ = nullptr;
    std::string error_;
    std::string loadedFrom_;
};

}  // namespace platform
