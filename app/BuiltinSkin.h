#pragma once
// The skin compiled into the program: the window pictures and image lists of the sample disc,
// generated at build time by makedisc and registered by that generated source when the program
// starts. A program built without it has an empty list (its windows show their plain colours).
#include <cstddef>
#include <span>
#include <string_view>
#include <vector>

struct TBuiltinSkinFile {
    const char* Name;  // as the override in the disc's skin folder is named, e.g. "SkinForm1.bmp"
    int Width;
    int Height;
    const unsigned char* Data;  // a BMP or JPEG file image, or its zlib stream
    size_t Size;
    size_t UnpackedSize = 0;  // 0: Data is the file itself; else the file's size
};

std::span<const TBuiltinSkinFile> BuiltinSkin();
const TBuiltinSkinFile* FindBuiltinSkinFile(std::string_view name);
// The file image, inflated where it is stored deflated; empty if it does not inflate to its size.
std::vector<unsigned char> BuiltinSkinFileBytes(const TBuiltinSkinFile& file);
// Called once by the generated source; the table must live as long as the program.
void RegisterBuiltinSkin(std::span<const TBuiltinSkinFile> files);
