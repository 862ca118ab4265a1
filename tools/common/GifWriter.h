#pragma once
// TGifWriter — builds GIF files block by block for tests and the sample disc.
//
// Every block is appended in call order, so damaged or unusual files are made by calling the blocks
// in an unusual order, by writing raw bytes or raw LZW codes, or by truncating the result.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

struct TGifImageSpec {
    int Left = 0, Top = 0, Width = 0, Height = 0;
    std::vector<uint8_t> Pixels;        // Width * Height colour indices, top row first
    std::vector<uint8_t> LocalPalette;  // RGB triples; empty = no local colour table
    int LocalPaletteBits = 0;           // table size exponent 1..8; 0 = smallest that holds the entries
    bool Interlaced = false;            // Pixels stay in display order; the writer reorders them
    int RootCodeSize = 0;               // LZW root code size; 0 = from the largest pixel (at least 2)
    std::vector<int> RawCodes;          // when not empty: written instead of encoding Pixels (may be damaged)
    bool EndCode = true;                // finish the encoded data with the end code
    bool Terminator = true;             // write the zero-length sub-block after the data
    int SubBlockSize = 255;             // data sub-block length, 1..255

    // A frame of width x height at left, top, every pixel colour index 0.
    static TGifImageSpec Blank(int width, int height, int left = 0, int top = 0) {
        TGifImageSpec s;
        s.Left = left;
        s.Top = top;
        s.Width = width;
        s.Height = height;
        s.Pixels.resize(std::size_t(width) * std::size_t(height));
        return s;
    }
};

class TGifWriter {
public:
    // Signature, logical screen descriptor and the global colour table (RGB triples; empty = none).
    TGifWriter& Header(int width, int height, const std::vector<uint8_t>& globalPalette = {},
                       bool gif89a = true, int globalPaletteBits = 0, uint8_t background = 0,
                       uint8_t aspect = 0);
    // NETSCAPE2.0 application block; 0 loops for ever.
    TGifWriter& LoopCount(int count);
    // Graphic control extension; transparentIndex < 0 means no transparent colour. disposal is 0..7.
    TGifWriter& GraphicControl(int delayCs, int disposal = 0, int transparentIndex = -1);
    TGifWriter& Image(const TGifImageSpec& spec);
    TGifWriter& Comment(std::string_view text);
    TGifWriter& PlainText(std::string_view text);
    TGifWriter& Application(std::string_view identifier8, std::string_view auth3,
                            const std::vector<uint8_t>& data);
    TGifWriter& Raw(const std::vector<uint8_t>& bytes);
    TGifWriter& Trailer();
    TGifWriter& Truncate(std::size_t size);

    const std::vector<uint8_t>& Bytes() const { return bytes_; }
    std::string Str() const { return std::string(bytes_.begin(), bytes_.end()); }
    void SaveToFile(const std::string& path) const;

    // LZW-encodes indices with the given root code size (1..12); pixel values must lie below 2^rootCodeSize.
    // The result is the bare code stream, clear code first and end code last, not split into sub-blocks.
    static std::vector<uint8_t> EncodeLzw(const uint8_t* pixels, std::size_t count, int rootCodeSize,
                                          bool endCode = true);
    // Packs the given codes with the code widths a decoder would use while reading them.
    static std::vector<uint8_t> PackCodes(const std::vector<int>& codes, int rootCodeSize);

private:
    void Byte(uint8_t b) { bytes_.push_back(b); }
    void Word(int w);
    void ColourTable(const std::vector<uint8_t>& rgb, int bits);
    void SubBlocks(const uint8_t* data, std::size_t size, int blockSize, bool terminator);

    std::vector<uint8_t> bytes_;
};

// Size exponent (1..8) of the smallest colour table holding the given number of RGB triples.
int GifTableBits(std::size_t entries);
