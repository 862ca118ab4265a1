#include <dlfcn.h>

#include "base/StrUtils.h"
#include "platform/DynLib.h"

namespace platform {

// "UNPACK32.DLL" is looked for as "libunpack32.so"; a name that is already a shared object's stays.
std::string DynLib::LibraryFile(const std::string& name) {
    if (base::EndsText(".so", name) || name.find(".so.") != std::string::npos) return name;
    std::string stem = name;
    if (base::EndsText(".dll", stem)) stem.resize(stem.size() - 4);
    return "lib" + base::LowerCase(stem) + ".so";
}

std::string DynLib::Folder(const std::string& programDir) {
    return programDir;
}

void* DynLib::Open(const std::string& path, std::string& why) {
    dlerror();
    void* handle = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!handle) {
        const char* text = dlerror();
        why = text ? text : path + ": cannot be loaded";
    }
    return handle;
}

void DynLib::Close(void* handle) {
    dlclose(handle);
}

void* DynLib::Find(void* handle, const std::string& symbol, std::string& why) {
    dlerror();
    void* p = dlsym(handle, symbol.c_str());
    if (!p) {
        const char* text = dlerror();
        why = text ? text : symbol + ": not found";
    }
    return p;
}

}  // namespace platform
