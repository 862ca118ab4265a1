#pragma once
// TMenuDatWriter — builds Menue.dat from its fields and blobs, for disc authors (menudat pack), the
// sample disc and the tests, including damaged files: any size field's raw text, a cut-off file,
// bytes after the last banner.
//
// Layout: project field 100 bytes, three credits of 150, three banner targets of 254, eleven size
// fields of 10 (GIF 1-3, sounds 0-6, reserved), then logo, sounds 0-6, GIFs 1-3 back to back. Text
// fields are cp1252 and padded with zero bytes.
#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

class TMenuDatWriter {
public:
    std::string ProjectField;                  // written as is, e.g. "ABC~~~" (the id ends at "~~~")
    std::array<std::string, 3> Credits;        // at most 150 bytes each
    std::array<std::string, 3> BannerTargets;  // at most 254 bytes each; "---" marks an absent banner
    std::string Logo;                          // a BMP file image
    std::array<std::string, 7> Sounds;         // RIFF WAVE images
    std::array<std::string, 3> Gifs;           // GIF images
    std::string Reserved = "0";                // text of the reserved size field

    // Damage and variants. A size field override is written instead of the blob's length (as raw
    // text, padded with zero bytes to 10; longer text is cut); index as in the file: GIF 1-3 = 0-2,
    // sounds 0-6 = 3-9, reserved = 10.
    std::array<std::optional<std::string>, 11> SizeFieldOverride;
    std::string Trailing;                   // appended after GIF 3
    size_t TruncateAt = std::string::npos;  // cut the finished file to this many bytes

    // The file image. std::invalid_argument names a text field that does not fit.
    std::string Build() const;
    // Offset of each part in a file built from these fields: logo, sounds 0-6, GIFs 1-3.
    std::array<size_t, 11> BlobOffsets() const;

    static std::string Bytes(const std::vector<uint8_t>& v) { return std::string(v.begin(), v.end()); }
};
