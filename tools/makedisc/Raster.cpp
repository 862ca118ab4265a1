#include "tools/makedisc/Raster.h"

#include <algorithm>
#include <cmath>

namespace {

uint8_t Channel(double v) {
    return static_cast<uint8_t>(std::clamp(std::lround(v), 0L, 255L));
}

double RoundRectDistance(double px, double py, double x0, double y0, double x1, double y1, double r) {
    const double cx = (x0 + x1) / 2, cy = (y0 + y1) / 2;
    const double hx = (x1 - x0) / 2 - r, hy = (y1 - y0) / 2 - r;
    const double qx = std::abs(px - cx) - hx, qy = std::abs(py - cy) - hy;
    const double outside = std::hypot(std::max(qx, 0.0), std::max(qy, 0.0));
    return outside + std::min(std::max(qx, qy), 0.0) - r;
}

}  // namespace

Rgb Mix(Rgb a, Rgb b, double t) {
    return Rgb{Channel(a.R + (b.R - a.R) * t), Channel(a.G + (b.G - a.G) * t),
               Channel(a.B + (b.B - a.B) * t)};
}

Rgb Shade(Rgb c, double amount) {
    return amount >= 0 ? Mix(c, Hex(0xFFFFFF), amount) : Mix(c, Hex(0), -amount);
}

Raster::Raster(int width, int height, Rgb fill)
    : width_(width), height_(height), pixels_(static_cast<size_t>(width) * height, fill) {}

void Raster::Blend(int x, int y, Rgb c, double alpha) {
    if (!Contains(x, y) || alpha <= 0) return;
    Rgb& p = At(x, y);
    p = alpha >= 1 ? c : Mix(p, c, alpha);
}

void Raster::Fill(Rgb c) {
    std::fill(pixels_.begin(), pixels_.end(), c);
}

void Raster::FillRect(int x, int y, int w, int h, Rgb c, double alpha) {
    for (int yy = y; yy < y + h; ++yy)
        for (int xx = x; xx < x + w; ++xx) Blend(xx, yy, c, alpha);
}

void Raster::FillRect(int x, int y, int w, int h, const Paint& paint, double alpha) {
    for (int yy = y; yy < y + h; ++yy)
        for (int xx = x; xx < x + w; ++xx)
            if (Contains(xx, yy)) Blend(xx, yy, paint(xx + 0.5, yy + 0.5), alpha);
}

void Raster::VerticalGradient(int x, int y, int w, int h, Rgb top, Rgb bottom) {
    FillRect(x, y, w, h,
             [&](double, double py) { return Mix(top, bottom, h > 1 ? (py - y - 0.5) / (h - 1) : 0); });
}

void Raster::FillDistance(double x0, double y0, double x1, double y1,
                          const std::function<double(double, double)>& sdf, const Paint& paint,
                          double alpha) {
    const int left = std::max(0, static_cast<int>(std::floor(x0)) - 1);
    const int top = std::max(0, static_cast<int>(std::floor(y0)) - 1);
    const int right = std::min(width_, static_cast<int>(std::ceil(x1)) + 1);
    const int bottom = std::min(height_, static_cast<int>(std::ceil(y1)) + 1);
    for (int y = top; y < bottom; ++y)
        for (int x = left; x < right; ++x) {
            const double px = x + 0.5, py = y + 0.5;
            const double coverage = std::clamp(0.5 - sdf(px, py), 0.0, 1.0);
            if (coverage > 0) Blend(x, y, paint(px, py), coverage * alpha);
        }
}

void Raster::RoundRect(double x0, double y0, double x1, double y1, double r, const Paint& paint,
                       double alpha) {
    FillDistance(
        x0, y0, x1, y1, [=](double px, double py) { return RoundRectDistance(px, py, x0, y0, x1, y1, r); },
        paint, alpha);
}

void Raster::RoundRect(double x0, double y0, double x1, double y1, double r, Rgb c, double alpha) {
    RoundRect(
        x0, y0, x1, y1, r, [c](double, double) { return c; }, alpha);
}

void Raster::RoundFrame(double x0, double y0, double x1, double y1, double r, double width, Rgb c,
                        double alpha) {
    const double h = width / 2;
    FillDistance(
        x0, y0, x1, y1,
        [=](double px, double py) {
            return std::abs(RoundRectDistance(px, py, x0 + h, y0 + h, x1 - h, y1 - h, std::max(0.0, r - h))) -
                   h;
        },
        [c](double, double) { return c; }, alpha);
}

void Raster::Shadow(double x0, double y0, double x1, double y1, double r, double blur, Rgb c, double alpha) {
    const int left = std::max(0, static_cast<int>(x0 - blur) - 1),
              right = std::min(width_, static_cast<int>(x1 + blur) + 1);
    const int top = std::max(0, static_cast<int>(y0 - blur) - 1),
              bottom = std::min(height_, static_cast<int>(y1 + blur) + 1);
    for (int y = top; y < bottom; ++y)
        for (int x = left; x < right; ++x) {
            const double d = RoundRectDistance(x + 0.5, y + 0.5, x0, y0, x1, y1, r);
            const double t = std::clamp(1.0 - (d + blur / 2) / blur, 0.0, 1.0);
            if (t > 0) Blend(x, y, c, alpha * t * t * (3 - 2 * t));
        }
}

void Raster::Circle(double cx, double cy, double radius, const Paint& paint, double alpha) {
    FillDistance(
        cx - radius, cy - radius, cx + radius, cy + radius,
        [=](double px, double py) { return std::hypot(px - cx, py - cy) - radius; }, paint, alpha);
}

void Raster::Circle(double cx, double cy, double radius, Rgb c, double alpha) {
    Circle(
        cx, cy, radius, [c](double, double) { return c; }, alpha);
}

void Raster::Ring(double cx, double cy, double radius, double width, Rgb c, double alpha) {
    FillDistance(
        cx - radius - width, cy - radius - width, cx + radius + width, cy + radius + width,
        [=](double px, double py) { return std::abs(std::hypot(px - cx, py - cy) - radius) - width / 2; },
        [c](double, double) { return c; }, alpha);
}

void Raster::Line(double x0, double y0, double x1, double y1, double width, Rgb c, double alpha) {
    const double dx = x1 - x0, dy = y1 - y0, len2 = dx * dx + dy * dy;
    FillDistance(
        std::min(x0, x1) - width, std::min(y0, y1) - width, std::max(x0, x1) + width,
        std::max(y0, y1) + width,
        [=](double px, double py) {
            const double t = len2 > 0 ? std::clamp(((px - x0) * dx + (py - y0) * dy) / len2, 0.0, 1.0) : 0.0;
            return std::hypot(px - (x0 + t * dx), py - (y0 + t * dy)) - width / 2;
        },
        [c](double, double) { return c; }, alpha);
}

void Raster::Polygon(const Points& points, Rgb c, double alpha) {
    if (points.size() < 3) return;
    double y0 = points[0].second, y1 = y0;
    for (auto [x, y] : points) y0 = std::min(y0, y), y1 = std::max(y1, y);
    // 4×4 samples per pixel, counted span by span on each sample row (even-odd rule).
    std::vector<int> hits(width_ + 1);
    std::vector<double> crossings;
    for (int y = std::max(0, static_cast<int>(y0)); y < std::min(height_, static_cast<int>(y1) + 1); ++y) {
        std::fill(hits.begin(), hits.end(), 0);
        for (int sy = 0; sy < 4; ++sy) {
            const double py = y + (sy + 0.5) / 4;
            crossings.clear();
            for (size_t i = 0, j = points.size() - 1; i < points.size(); j = i++) {
                const auto [xi, yi] = points[i];
                const auto [xj, yj] = points[j];
                if ((yi > py) != (yj > py)) crossings.push_back((xj - xi) * (py - yi) / (yj - yi) + xi);
            }
            std::sort(crossings.begin(), crossings.end());
            for (size_t k = 0; k + 1 < crossings.size(); k += 2) {
                // Samples at x + (sx + 0.5) / 4 with a <= sample < b.
                const int first = std::max(0, static_cast<int>(std::ceil(crossings[k] * 4 - 0.5)));
                const int last =
                    std::min(width_ * 4, static_cast<int>(std::ceil(crossings[k + 1] * 4 - 0.5)));
                for (int s = first; s < last; ++s) ++hits[s / 4];
            }
        }
        for (int x = 0; x < width_; ++x)
            if (hits[x]) Blend(x, y, c, alpha * hits[x] / 16.0);
    }
}

Raster Raster::Crop(int x, int y, int w, int h) const {
    Raster out(w, h);
    for (int yy = 0; yy < h; ++yy)
        for (int xx = 0; xx < w; ++xx)
            if (Contains(x + xx, y + yy)) out.At(xx, yy) = At(x + xx, y + yy);
    return out;
}

Raster Raster::Scaled(int w, int h) const {
    Raster out(w, h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const int x0 = x * width_ / w, x1 = std::max(x0 + 1, (x + 1) * width_ / w);
            const int y0 = y * height_ / h, y1 = std::max(y0 + 1, (y + 1) * height_ / h);
            double sum[3] = {0, 0, 0};
            for (int yy = y0; yy < y1; ++yy)
                for (int xx = x0; xx < x1; ++xx) {
                    const Rgb c = At(xx, yy);
                    sum[0] += c.R, sum[1] += c.G, sum[2] += c.B;
                }
            const double n = double(x1 - x0) * (y1 - y0);
            out.At(x, y) = Rgb{Channel(sum[0] / n), Channel(sum[1] / n), Channel(sum[2] / n)};
        }
    return out;
}

void Raster::Draw(const Raster& src, int x, int y) {
    for (int yy = 0; yy < src.Height(); ++yy)
        for (int xx = 0; xx < src.Width(); ++xx)
            if (Contains(x + xx, y + yy)) At(x + xx, y + yy) = src.At(xx, yy);
}
