#pragma once
// The web edition's stylesheet and scripts (tools/discweb/*.css, *.js), compiled into discweb so that
// the program needs no files beside it.
#include <cstddef>
#include <string_view>

struct TWebAsset {
    const char* name;
    std::string_view bytes;
};

extern const TWebAsset kWebAssets[];
extern const size_t kWebAssetCount;
