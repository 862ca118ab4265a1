// The thumbnail of a 4000x3000 baseline JPEG through the program page's screenshot path
// (TProgramPageView::ShowScreenshot: read the file, DCT-scaled decode, the final fit to 261x196, the
// picture handed to iScreenshot), against libjpeg-turbo's own decode of the same file at 1/8 —
// a plain jpeg_read_scanlines loop from the file — in the same run.
//
// CPU figures are process CPU time, so that other work on the machine does not count; wall times
// are reported beside them. BM_ThumbnailAgainstLibjpeg interleaves the two, one of each per
// iteration, and reports the medians and their ratio.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include <jpeglib.h>

#include "bench/Timing.h"
#include "gfx/Bitmap.h"
#include "gfx/JpegCodec.h"
#include "tests/support/MenuFixture.h"

namespace {

constexpr int kWidth = 4000, kHeight = 3000;

// A photograph's worth of detail: smooth gradients, a few soft-edged shapes and sensor noise, so
// that the entropy-coded data is about as dense as a camera picture's at quality 85.
std::vector<uint8_t> MakePhoto() {
    gfx::TBitmap picture(kWidth, kHeight);
    uint32_t seed = 0x9E3779B9u;
    auto noise = [&seed]() {
        seed ^= seed << 13;
        seed ^= seed >> 17;
        seed ^= seed << 5;
        return int(seed % 25) - 12;
    };
    struct Disc {
        int x, y, r, red, green, blue;
    };
    const Disc discs[] = {{900, 800, 500, 200, 60, 40},
                          {2600, 1400, 800, 40, 160, 70},
                          {3300, 600, 350, 230, 210, 60},
                          {1500, 2300, 600, 50, 80, 200}};
    auto clamp = [](int v) { return uint32_t(v < 0 ? 0 : v > 255 ? 255 : v); };
    for (int y = 0; y < kHeight; ++y) {
        uint32_t* row = picture.Row32(y);
        for (int x = 0; x < kWidth; ++x) {
            int r = 40 + x * 150 / kWidth, g = 90 + y * 120 / kHeight,
                b = 200 - (x + y) * 120 / (kWidth + kHeight);
            for (const Disc& d : discs) {
                const int64_t dx = x - d.x, dy = y - d.y, dd = dx * dx + dy * dy, rr = int64_t(d.r) * d.r;
                if (dd < rr) {
                    // Shaded towards the rim.
                    const int shade = int(255 - 128 * dd / rr);
                    r = d.red * shade / 255;
                    g = d.green * shade / 255;
                    b = d.blue * shade / 255;
                }
            }
            // Fine texture (stripes of a few pixels) on top of the noise.
            const int texture = ((x / 3 + y / 5) % 7) * 3;
            row[x] = 0xFF000000u | clamp(r + texture + noise()) << 16 | clamp(g + noise()) << 8 |
                     clamp(b + texture + noise());
        }
    }
    return gfx::EncodeJpeg(picture, 85);
}

// The menu on a copy of the sample disc, with the large picture among its screenshots.
struct ThumbnailSetup {
    std::unique_ptr<MenuFixture> menu;
    std::string file;     // native path of the picture
    std::string appPath;  // the path the page hands to ShowScreenshot
    size_t bytes = 0;
    std::string error;

    ThumbnailSetup() {
        menu = std::make_unique<MenuFixture>(MenuFixture::kNoStart);
        const std::vector<uint8_t> jpeg = MakePhoto();
        bytes = jpeg.size();
        menu->WriteFile("Bilder/gross.jpg", std::string(jpeg.begin(), jpeg.end()));
        file = menu->Dir() + "Bilder/gross.jpg";
        if (!menu->Start()) {
            error = "the menu did not start on the disc copy";
            return;
        }
        appPath = menu->Main()->Model().MapToDiscRoot("D:\\Bilder\\gross.jpg");
    }

    // The page's thumbnail; false when it did not come out as the fitted 261x196 picture.
    bool Show() {
        TMainForm* m = menu->Main();
        m->Page().iScreenshot()->Hide();
        m->Page().ShowScreenshot(TMenuModel::NativeFile(appPath));
        return m->Page().iScreenshot()->Visible() && m->Page().iScreenshot()->Width() == 261 &&
               m->Page().iScreenshot()->Height() == 196;
    }
};

ThumbnailSetup* setup = nullptr;  // made by the first benchmark, removed after the last

ThumbnailSetup& Setup() {
    if (!setup) setup = new ThumbnailSetup;
    return *setup;
}

// libjpeg-turbo on its own: the file decoded at 1/8 into RGB rows; returns the output size.
std::pair<int, int> DecodeEighth(const std::string& file) {
    FILE* in = std::fopen(file.c_str(), "rb");
    if (!in) return {0, 0};
    jpeg_decompress_struct cinfo;
    jpeg_error_mgr jerr;
    cinfo.err = jpeg_std_error(&jerr);
    jpeg_create_decompress(&cinfo);
    jpeg_stdio_src(&cinfo, in);
    jpeg_read_header(&cinfo, TRUE);
    cinfo.scale_num = 1;
    cinfo.scale_denom = 8;
    jpeg_start_decompress(&cinfo);
    std::vector<uint8_t> row(size_t(cinfo.output_width) * size_t(cinfo.output_components));
    while (cinfo.output_scanline < cinfo.output_height) {
        JSAMPROW rp = row.data();
        jpeg_read_scanlines(&cinfo, &rp, 1);
    }
    const std::pair<int, int> size{int(cinfo.output_width), int(cinfo.output_height)};
    jpeg_finish_decompress(&cinfo);
    jpeg_destroy_decompress(&cinfo);
    std::fclose(in);
    return size;
}

bool Eighth(const std::string& file) {
    return DecodeEighth(file) == std::pair<int, int>{kWidth / 8, kHeight / 8};
}

// One decode of the picture an iteration, by step; a failed one ends the benchmark with why.
template <class Step>
void DecodeEachIteration(benchmark::State& state, Step step, const char* why) {
    ThumbnailSetup& s = Setup();
    if (!bench::Ready(state, s.error)) return;
    for (auto _ : state)
        if (!step(s)) {
            state.SkipWithError(why);
            break;
        }
    state.SetBytesProcessed(state.iterations() * int64_t(s.bytes));
}

void BM_Thumbnail(benchmark::State& state) {
    DecodeEachIteration(
        state, [](ThumbnailSetup& s) { return s.Show(); }, "the thumbnail was not fitted to 261x196");
}
BENCHMARK(BM_Thumbnail)->Apply(bench::ProcessCpuRuns);

void BM_LibjpegEighth(benchmark::State& state) {
    DecodeEachIteration(
        state, [](ThumbnailSetup& s) { return Eighth(s.file); }, "unexpected output size");
}
BENCHMARK(BM_LibjpegEighth)->Apply(bench::ProcessCpuRuns);

void BM_ThumbnailAgainstLibjpeg(benchmark::State& state) {
    ThumbnailSetup& s = Setup();
    if (!bench::Ready(state, s.error)) return;
    bench::SideBySide times;
    for (auto _ : state) {
        const bool shown = times.Ours([&] { return s.Show(); });
        const bool decoded = times.Peer([&] { return Eighth(s.file); });
        if (!shown || !decoded) {
            state.SkipWithError("the thumbnail or the plain decode went wrong");
            break;
        }
    }
    times.Report(state, "thumb", "libjpeg");
    state.SetLabel(std::to_string(s.bytes / 1024) + " KiB");
}
BENCHMARK(BM_ThumbnailAgainstLibjpeg)->Apply(bench::SideBySideRuns);

}  // namespace

int main(int argc, char** argv) {
    return bench::RunBenchmarks(argc, argv, setup);  // the menu and its disc copy
}
