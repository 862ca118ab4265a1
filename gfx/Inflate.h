#pragma once
// What the program carries deflated (its faces, its skin's pictures): a zlib stream of known size.
#include <cstddef>
#include <span>
#include <vector>

namespace gfx {

// The unpacked bytes; empty if the stream does not inflate to exactly `size` bytes.
std::vector<unsigned char> Inflate(std::span<const unsigned char> packed, size_t size);

}  // namespace gfx
