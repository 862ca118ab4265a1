#include "tools/common/GifWriter.h"

#include <algorithm>
#include <array>
#include <fstream>
#include <stdexcept>

namespace {

// Follows the code width exactly as a reader grows it, so packed codes always read back as written.
struct CodeWidth {
    int clear, next, size, limit;
    int root;
    bool first = true;
    explicit CodeWidth(int rootCodeSize) : clear(1 << rootCodeSize), root(rootCodeSize) { Reset(); }
    void Reset() {
        next = clear + 2;
        size = root + 1;
        limit = 2 * clear;
        first = true;
    }
    void After(int code) {
        if (code == clear) {
            Reset();
            return;
        }
        if (code == clear + 1) return;
        if (first) {
            first = false;
            return;
        }
        if (next < 4096) {
            ++next;
            if (next >= limit && limit < 4096) {
                limit *= 2;
                ++size;
            }
        }
    }
};

struct BitPacker {
    std::vector<uint8_t> out;
    uint32_t acc = 0;
    int bits = 0;
    void Put(uint32_t value, int width) {
        // Values wider than the field are cut, as a damaged file would hold them.
        acc |= (value & ((1u << width) - 1)) << bits;
        bits += width;
        while (bits >= 8) {
            out.push_back(static_cast<uint8_t>(acc));
            acc >>= 8;
            bits -= 8;
        }
    }
    void Flush() {
        if (bits > 0) out.push_back(static_cast<uint8_t>(acc));
        acc = 0;
        bits = 0;
    }
};

}  // namespace

int GifTableBits(std::size_t entries) {
    int bits = 1;
    while (bits < 8 && (std::size_t{1} << bits) < entries) ++bits;
    return bits;
}

TGifWriter& TGifWriter::Header(int width, int height, const std::vector<uint8_t>& globalPalette, bool gif89a,
                               int globalPaletteBits, uint8_t background, uint8_t aspect) {
    const char* sig = gif89a ? "GIF89a" : "GIF87a";
    bytes_.insert(bytes_.end(), sig, sig + 6);
    Word(width);
    Word(height);
    int bits = 0;
    if (!globalPalette.empty() || globalPaletteBits > 0)
        bits = globalPaletteBits > 0 ? globalPaletteBits : GifTableBits(globalPalette.size() / 3);
    Byte(static_cast<uint8_t>(bits > 0 ? 0x80 | 0x70 | (bits - 1) : 0x70));
    Byte(background);
    Byte(aspect);
    if (bits > 0) ColourTable(globalPalette, bits);
    return *this;
}

TGifWriter& TGifWriter::LoopCount(int count) {
    std::vector<uint8_t> data = {1, static_cast<uint8_t>(count & 0xFF),
                                 static_cast<uint8_t>((count >> 8) & 0xFF)};
    return Application("NETSCAPE", "2.0", data);
}

TGifWriter& TGifWriter::GraphicControl(int delayCs, int disposal, int transparentIndex) {
    Byte(0x21);
    Byte(0xF9);
    Byte(4);
    Byte(static_cast<uint8_t>(((disposal & 7) << 2) | (transparentIndex >= 0 ? 1 : 0)));
    Word(delayCs);
    Byte(static_cast<uint8_t>(transparentIndex >= 0 ? transparentIndex : 0));
    Byte(0);
    return *this;
}

TGifWriter& TGifWriter::Image(const TGifImageSpec& spec) {
    const std::size_t count = static_cast<std::size_t>(spec.Width) * static_cast<std::size_t>(spec.Height);
    if (spec.RawCodes.empty() && spec.Pixels.size() != count)
        throw std::invalid_argument("GIF image: pixel count does not match the size");
    Byte(0x2C);
    Word(spec.Left);
    Word(spec.Top);
    Word(spec.Width);
    Word(spec.Height);
    int bits = 0;
    if (!spec.LocalPalette.empty() || spec.LocalPaletteBits > 0)
        bits = spec.LocalPaletteBits > 0 ? spec.LocalPaletteBits : GifTableBits(spec.LocalPalette.size() / 3);
    uint8_t flags = 0;
    if (bits > 0) flags |= static_cast<uint8_t>(0x80 | (bits - 1));
    if (spec.Interlaced) flags |= 0x40;
    Byte(flags);
    if (bits > 0) ColourTable(spec.LocalPalette, bits);

    int root = spec.RootCodeSize;
    if (root <= 0) {
        uint8_t top = spec.Pixels.empty() ? 0 : *std::max_element(spec.Pixels.begin(), spec.Pixels.end());
        root = 2;
        while (root < 8 && (1 << root) <= top) ++root;
    }
    Byte(static_cast<uint8_t>(root));

    std::vector<uint8_t> data;
    if (!spec.RawCodes.empty()) {
        data = PackCodes(spec.RawCodes, root);
    } else {
        std::vector<uint8_t> ordered;
        const uint8_t* pixels = spec.Pixels.data();
        if (spec.Interlaced) {
            ordered.reserve(count);
            static constexpr int kStart[4] = {0, 4, 2, 1}, kStep[4] = {8, 8, 4, 2};
            for (int pass = 0; pass < 4; ++pass)
                for (int y = kStart[pass]; y < spec.Height; y += kStep[pass])
                    ordered.insert(ordered.end(), pixels + static_cast<std::size_t>(y) * spec.Width,
                                   pixels + static_cast<std::size_t>(y + 1) * spec.Width);
            pixels = ordered.data();
        }
        data = EncodeLzw(pixels, count, root, spec.EndCode);
    }
    SubBlocks(data.data(), data.size(), std::clamp(spec.SubBlockSize, 1, 255), spec.Terminator);
    return *this;
}

TGifWriter& TGifWriter::Comment(std::string_view text) {
    Byte(0x21);
    Byte(0xFE);
    SubBlocks(reinterpret_cast<const uint8_t*>(text.data()), text.size(), 255, true);
    return *this;
}

TGifWriter& TGifWriter::PlainText(std::string_view text) {
    Byte(0x21);
    Byte(0x01);
    Byte(12);
    for (int i = 0; i < 12; ++i) Byte(0);  // grid position, size, cell size, colours: unused by readers here
    SubBlocks(reinterpret_cast<const uint8_t*>(text.data()), text.size(), 255, true);
    return *this;
}

TGifWriter& TGifWriter::Application(std::string_view identifier8, std::string_view auth3,
                                    const std::vector<uint8_t>& data) {
    Byte(0x21);
    Byte(0xFF);
    Byte(11);
    for (std::size_t i = 0; i < 8; ++i)
        Byte(i < identifier8.size() ? static_cast<uint8_t>(identifier8[i]) : ' ');
    for (std::size_t i = 0; i < 3; ++i) Byte(i < auth3.size() ? static_cast<uint8_t>(auth3[i]) : ' ');
    SubBlocks(data.data(), data.size(), 255, true);
    return *this;
}

TGifWriter& TGifWriter::Raw(const std::vector<uint8_t>& bytes) {
    bytes_.insert(bytes_.end(), bytes.begin(), bytes.end());
    return *this;
}

TGifWriter& TGifWriter::Trailer() {
    Byte(0x3B);
    return *this;
}

TGifWriter& TGifWriter::Truncate(std::size_t size) {
    if (size < bytes_.size()) bytes_.resize(size);
    return *this;
}

void TGifWriter::SaveToFile(const std::string& path) const {
    std::ofstream f(path, std::ios::binary);
    if (!f) throw std::runtime_error("cannot create " + path);
    f.write(reinterpret_cast<const char*>(bytes_.data()), static_cast<std::streamsize>(bytes_.size()));
    if (!f) throw std::runtime_error("cannot write " + path);
}

void TGifWriter::Word(int w) {
    Byte(static_cast<uint8_t>(w & 0xFF));
    Byte(static_cast<uint8_t>((w >> 8) & 0xFF));
}

void TGifWriter::ColourTable(const std::vector<uint8_t>& rgb, int bits) {
    const std::size_t size = std::size_t{3} << bits;
    for (std::size_t i = 0; i < size; ++i) Byte(i < rgb.size() ? rgb[i] : 0);
}

void TGifWriter::SubBlocks(const uint8_t* data, std::size_t size, int blockSize, bool terminator) {
    std::size_t pos = 0;
    while (pos < size) {
        std::size_t n = std::min<std::size_t>(static_cast<std::size_t>(blockSize), size - pos);
        Byte(static_cast<uint8_t>(n));
        bytes_.insert(bytes_.end(), data + pos, data + pos + n);
        pos += n;
    }
    if (terminator) Byte(0);
}

std::vector<uint8_t> TGifWriter::PackCodes(const std::vector<int>& codes, int rootCodeSize) {
    CodeWidth width(std::clamp(rootCodeSize, 0, 15));
    BitPacker packer;
    for (int code : codes) {
        packer.Put(static_cast<uint32_t>(code), width.size);
        width.After(code);
    }
    packer.Flush();
    return std::move(packer.out);
}

std::vector<uint8_t> TGifWriter::EncodeLzw(const uint8_t* pixels, std::size_t count, int rootCodeSize,
                                           bool endCode) {
    if (rootCodeSize < 2 || rootCodeSize > 12)
        throw std::invalid_argument("LZW root code size must be 2..12");
    const int clear = 1 << rootCodeSize;
    for (std::size_t i = 0; i < count; ++i)
        if (pixels[i] >= clear) throw std::invalid_argument("pixel value does not fit the root code size");

    CodeWidth width(rootCodeSize);
    BitPacker packer;
    packer.out.reserve(count / 2 + 16);
    auto emit = [&](int code) {
        packer.Put(static_cast<uint32_t>(code), width.size);
        width.After(code);
    };

    // Open-addressed string table: key (prefix << 8 | char) + 1, 0 = free.
    constexpr int kHashSize = 8192;
    std::vector<int32_t> keys(kHashSize, 0);
    std::vector<int16_t> values(kHashSize, 0);
    int nextCode = clear + 2;
    const bool canGrow = rootCodeSize < 12;

    emit(clear);
    if (count > 0) {
        int prefix = pixels[0];
        for (std::size_t i = 1; i < count; ++i) {
            const int c = pixels[i];
            const int32_t key = ((prefix << 8) | c) + 1;
            uint32_t h = (static_cast<uint32_t>(key) * 2654435761u) >> 19;
            bool found = false;
            while (keys[h] != 0) {
                if (keys[h] == key) {
                    prefix = values[h];
                    found = true;
                    break;
                }
                h = (h + 1) & (kHashSize - 1);
            }
            if (found) continue;
            emit(prefix);
            if (canGrow) {
                keys[h] = key;
                values[h] = static_cast<int16_t>(nextCode++);
                if (nextCode == 4096) {
                    emit(clear);
                    std::fill(keys.begin(), keys.end(), 0);
                    nextCode = clear + 2;
                }
            }
            prefix = c;
        }
        emit(prefix);
    }
    if (endCode) emit(clear + 1);
    packer.Flush();
    return std::move(packer.out);
}
