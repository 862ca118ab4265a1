#include "tools/makedisc/Quantizer.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <unordered_map>

namespace {

struct Bin {
    uint32_t Key = 0;
    uint64_t Count = 0;
    uint64_t Sum[3] = {0, 0, 0};
    int Channel(int c) const { return (Key >> (16 - 8 * c)) & 255; }
};

uint32_t KeyOf(Rgb c) {
    return (uint32_t(c.R) << 16) | (uint32_t(c.G) << 8) | uint32_t(c.B);
}

int Distance(Rgb a, Rgb b) {
    const int dr = a.R - b.R, dg = a.G - b.G, db = a.B - b.B;
    // Green weighs most, blue least, roughly as the eye does.
    return 3 * dr * dr + 4 * dg * dg + 2 * db * db;
}

int Nearest(const std::vector<Rgb>& palette, Rgb c) {
    int best = 0, bestDistance = Distance(palette[0], c);
    for (size_t i = 1; i < palette.size() && bestDistance; ++i) {
        const int d = Distance(palette[i], c);
        if (d < bestDistance) best = static_cast<int>(i), bestDistance = d;
    }
    return best;
}

struct Box {
    size_t Begin, End;  // range of bins
    uint64_t Count = 0;
    int Widest = 0, Range = 0;
};

void Measure(const std::vector<Bin>& bins, Box& box) {
    int lo[3] = {255, 255, 255}, hi[3] = {0, 0, 0};
    box.Count = 0;
    for (size_t i = box.Begin; i < box.End; ++i) {
        box.Count += bins[i].Count;
        for (int c = 0; c < 3; ++c)
            lo[c] = std::min(lo[c], bins[i].Channel(c)), hi[c] = std::max(hi[c], bins[i].Channel(c));
    }
    box.Widest = 0;
    for (int c = 1; c < 3; ++c)
        if (hi[c] - lo[c] > hi[box.Widest] - lo[box.Widest]) box.Widest = c;
    box.Range = hi[box.Widest] - lo[box.Widest];
}

}  // namespace

IndexedImage Quantize(const Raster& raster, int maxColours) {
    std::unordered_map<uint32_t, size_t> slot;
    std::vector<Bin> bins;
    for (Rgb c : raster.Pixels()) {
        const uint32_t key = KeyOf(c);
        auto [it, added] = slot.try_emplace(key, bins.size());
        if (added) bins.push_back(Bin{key});
        Bin& bin = bins[it->second];
        ++bin.Count;
        bin.Sum[0] += c.R, bin.Sum[1] += c.G, bin.Sum[2] += c.B;
    }
    std::vector<Box> boxes{Box{0, bins.size()}};
    Measure(bins, boxes[0]);
    while (static_cast<int>(boxes.size()) < maxColours) {
        // Split the box with the largest spread weighted by how many pixels it stands for.
        auto score = [](const Box& b) {
            return b.End - b.Begin < 2 ? -1.0 : double(b.Range) * b.Range * std::sqrt(double(b.Count));
        };
        auto it = std::max_element(boxes.begin(), boxes.end(),
                                   [&](const Box& a, const Box& b) { return score(a) < score(b); });
        if (score(*it) <= 0) break;
        Box box = *it;
        const int channel = box.Widest;
        std::sort(bins.begin() + box.Begin, bins.begin() + box.End,
                  [channel](const Bin& a, const Bin& b) { return a.Channel(channel) < b.Channel(channel); });
        uint64_t half = box.Count / 2, seen = 0;
        size_t split = box.Begin;
        while (split < box.End - 1 && seen + bins[split].Count <= half) seen += bins[split++].Count;
        if (split == box.Begin) ++split;
        Box a{box.Begin, split}, b{split, box.End};
        Measure(bins, a);
        Measure(bins, b);
        *it = a;
        boxes.push_back(b);
    }
    IndexedImage out;
    out.Width = raster.Width();
    out.Height = raster.Height();
    for (const Box& box : boxes) {
        uint64_t sum[3] = {0, 0, 0};
        for (size_t i = box.Begin; i < box.End; ++i)
            for (int c = 0; c < 3; ++c) sum[c] += bins[i].Sum[c];
        auto mean = [&](int c) { return static_cast<uint8_t>((sum[c] + box.Count / 2) / box.Count); };
        out.Palette.push_back(Rgb{mean(0), mean(1), mean(2)});
    }
    out.Pixels = MapToPalette(raster, out.Palette).Pixels;
    return out;
}

IndexedImage MapToPalette(const Raster& raster, const std::vector<Rgb>& palette) {
    IndexedImage out;
    out.Width = raster.Width();
    out.Height = raster.Height();
    out.Palette = palette;
    std::unordered_map<uint32_t, uint8_t> mapping;
    out.Pixels.reserve(raster.Pixels().size());
    for (Rgb c : raster.Pixels()) {
        auto [it, added] = mapping.try_emplace(KeyOf(c), 0);
        if (added) it->second = static_cast<uint8_t>(Nearest(palette, c));
        out.Pixels.push_back(it->second);
    }
    return out;
}
