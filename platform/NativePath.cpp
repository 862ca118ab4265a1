#include "platform/NativePath.h"

#include "base/Cp1252.h"
#include "base/StrUtils.h"

namespace platform {

namespace {

// The cp1252 upper-case form of a UTF-8 name, or false when the name is not plain cp1252.
bool FoldName(std::string_view utf8, std::string& folded) {
    std::string cp = base::Utf8ToCp1252(utf8);
    if (base::Cp1252ToUtf8(cp) != utf8) return false;
    folded = base::AnsiUpperCase(cp);
    return true;
}

}  // namespace

bool NativePath::SameName(std::string_view a, std::string_view b) {
    if (a == b) return true;
    std::string fa, fb;
    if (!FoldName(a, fa) || !FoldName(b, fb)) return false;
    return fa == fb;
}

std::string NativePath::WindowsForm(const std::string& path, bool underRoot) const {
    std::string out = path;
    if (underRoot)
        out = WinDiscRoot() + (path.size() > discRoot_.size() ? path.substr(discRoot_.size()) : "");
    for (char& c : out)
        if (c == '/') c = '\\';
    return base::Utf8ToCp1252(out);
}

}  // namespace platform
