#include "tools/common/MenuDatWriter.h"

#include <stdexcept>

namespace {

void Field(std::string& out, const std::string& text, size_t length, const char* what) {
    if (text.size() > length)
        throw std::invalid_argument(std::string(what) + " is " + std::to_string(text.size()) +
                                    " bytes long; the field holds " + std::to_string(length));
    out += text;
    out.append(length - text.size(), '\0');
}

}  // namespace

std::string TMenuDatWriter::Build() const {
    std::string out;
    Field(out, ProjectField, 100, "the project field");
    for (const std::string& c : Credits) Field(out, c, 150, "a credit text");
    for (const std::string& t : BannerTargets) Field(out, t, 254, "a banner target");

    std::array<std::string, 11> sizes;
    for (size_t i = 0; i < 3; ++i) sizes[i] = std::to_string(Gifs[i].size());
    for (size_t i = 0; i < 7; ++i) sizes[3 + i] = std::to_string(Sounds[i].size());
    sizes[10] = Reserved;
    for (size_t i = 0; i < sizes.size(); ++i) {
        std::string text = SizeFieldOverride[i] ? SizeFieldOverride[i]->substr(0, 10) : sizes[i];
        Field(out, text, 10, "a size field");
    }
    out += Logo;
    for (const std::string& s : Sounds) out += s;
    for (const std::string& g : Gifs) out += g;
    out += Trailing;
    if (TruncateAt < out.size()) out.resize(TruncateAt);
    return out;
}

std::array<size_t, 11> TMenuDatWriter::BlobOffsets() const {
    std::array<size_t, 11> at{};
    size_t pos = 1422;
    at[0] = pos;
    pos += Logo.size();
    for (size_t i = 0; i < 7; ++i) {
        at[1 + i] = pos;
        pos += Sounds[i].size();
    }
    for (size_t i = 0; i < 3; ++i) {
        at[8 + i] = pos;
        pos += Gifs[i].size();
    }
    return at;
}
