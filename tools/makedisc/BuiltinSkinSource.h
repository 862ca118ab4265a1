#pragma once
// The C++ source that compiles the sample disc's skin into the program (see app/BuiltinSkin.h).
#include <string>
#include <vector>

struct SkinFileImage {
    std::string Name;  // the override's name in a disc's skin folder
    int Width = 0;
    int Height = 0;
    std::string Bytes;  // the file as in the skin folder
};

// Each file is stored deflated where that is smaller: the program then reads every picture with the
// one decoder per format that a disc's own skin uses, and brings in no second one (PNG) to start.

std::string BuiltinSkinSource(const std::vector<SkinFileImage>& files);
