#pragma once
// An RGB picture with the few shape operations the disc artwork needs. Edges are anti-aliased from
// signed distances, so panels and buttons stay smooth even after the skin is reduced to 256 colours.
#include <cstdint>
#include <functional>
#include <utility>
#include <vector>

struct Rgb {
    uint8_t R = 0, G = 0, B = 0;
    bool operator==(const Rgb&) const = default;
};

// 0xRRGGBB as written in design tools.
constexpr Rgb Hex(uint32_t rrggbb) {
    return Rgb{static_cast<uint8_t>(rrggbb >> 16), static_cast<uint8_t>(rrggbb >> 8),
               static_cast<uint8_t>(rrggbb)};
}
// a at t = 0, b at t = 1.
Rgb Mix(Rgb a, Rgb b, double t);
// Lighter (amount > 0, towards white) or darker (amount < 0, towards black).
Rgb Shade(Rgb c, double amount);

class Raster {
public:
    using Paint = std::function<Rgb(double x, double y)>;
    using Points = std::vector<std::pair<double, double>>;

    Raster() = default;
    Raster(int width, int height, Rgb fill = {});

    int Width() const { return width_; }
    int Height() const { return height_; }
    bool Contains(int x, int y) const { return x >= 0 && y >= 0 && x < width_ && y < height_; }
    Rgb& At(int x, int y) { return pixels_[static_cast<size_t>(y) * width_ + x]; }
    Rgb At(int x, int y) const { return pixels_[static_cast<size_t>(y) * width_ + x]; }
    const std::vector<Rgb>& Pixels() const { return pixels_; }

    // Alpha-blends c over one pixel; pixels outside are ignored.
    void Blend(int x, int y, Rgb c, double alpha);
    void Fill(Rgb c);
    void FillRect(int x, int y, int w, int h, Rgb c, double alpha = 1.0);
    void FillRect(int x, int y, int w, int h, const Paint& paint, double alpha = 1.0);
    void VerticalGradient(int x, int y, int w, int h, Rgb top, Rgb bottom);

    // Rounded rectangle from (x0, y0) to (x1, y1) (exclusive) with corner radius r.
    void RoundRect(double x0, double y0, double x1, double y1, double r, const Paint& paint,
                   double alpha = 1.0);
    void RoundRect(double x0, double y0, double x1, double y1, double r, Rgb c, double alpha = 1.0);
    // Outline of the same shape, centred on its edge inset by width / 2.
    void RoundFrame(double x0, double y0, double x1, double y1, double r, double width, Rgb c,
                    double alpha = 1.0);
    // Soft shadow of a rounded rectangle: full alpha inside, fading out over blur pixels.
    void Shadow(double x0, double y0, double x1, double y1, double r, double blur, Rgb c, double alpha);
    void Circle(double cx, double cy, double radius, const Paint& paint, double alpha = 1.0);
    void Circle(double cx, double cy, double radius, Rgb c, double alpha = 1.0);
    void Ring(double cx, double cy, double radius, double width, Rgb c, double alpha = 1.0);
    void Line(double x0, double y0, double x1, double y1, double width, Rgb c, double alpha = 1.0);
    // Filled polygon, 4×4 supersampled.
    void Polygon(const Points& points, Rgb c, double alpha = 1.0);

    Raster Crop(int x, int y, int w, int h) const;
    // Resampled to a new size by averaging the source pixels each target pixel covers.
    Raster Scaled(int w, int h) const;
    void Draw(const Raster& src, int x, int y);

private:
    // Fills the pixels of the box whose centre lies inside the shape; coverage comes from the
    // signed distance (negative inside).
    void FillDistance(double x0, double y0, double x1, double y1,
                      const std::function<double(double, double)>& sdf, const Paint& paint, double alpha);

    int width_ = 0;
    int height_ = 0;
    std::vector<Rgb> pixels_;
};
