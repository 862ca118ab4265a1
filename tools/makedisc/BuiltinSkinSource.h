#pragma once
// The C++ source that compiles the sample disc's skin into the program (see app/BuiltinSkin.h).
#include <string>
#include <vector>

struct SkinFileImage {
    std::string Name;  // the override's name in a disc's skin folder
    int Width = 0;
    int Height = 0;
    std::string Bytes;  // the file image the program decodes
};

std::string BuiltinSkinSource(const std::vector<SkinFileImage>& files);
