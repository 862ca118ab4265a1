#include "gfx/Canvas.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstring>

#include "gfx/Bitmap.h"
#include "gfx/FontEngine.h"
#include "gfx/Raster.h"

// Section index
//   1. state, clip, pixels
//   2. lines, polygons, rectangles, ellipses
//   3. text
//   4. raster operations (BitBlt, StretchBlt, key-colour copy)

namespace gfx {

using namespace raster;

namespace {
constexpr int kHuge = INT_MAX / 4;

uint32_t Rop2(TPenMode mode, uint32_t pen, uint32_t d) {
    switch (mode) {
        case pmBlack:
            return 0;
        case pmWhite:
            return kRgbMask;
        case pmNop:
            return d;
        case pmNot:
            return ~d & kRgbMask;
        case pmCopy:
            return pen;
        case pmNotCopy:
            return ~pen & kRgbMask;
        case pmMergePenNot:
            return (pen | ~d) & kRgbMask;
        case pmMaskPenNot:
            return pen & ~d & kRgbMask;
        case pmMergeNotPen:
            return (~pen | d) & kRgbMask;
        case pmMaskNotPen:
            return ~pen & d & kRgbMask;
        case pmMerge:
            return pen | d;
        case pmNotMerge:
            return ~(pen | d) & kRgbMask;
        case pmMask:
            return pen & d;
        case pmNotMask:
            return ~(pen & d) & kRgbMask;
        case pmXor:
            return pen ^ d;
        case pmNotXor:
            return ~(pen ^ d) & kRgbMask;
    }
    return pen;
}

// Dash patterns of one-pixel pens: on, off, on, off ...
const std::vector<int>& DashPattern(TPenStyle style) {
    static const std::vector<int> solid{}, dash{18, 6}, dot{3, 3}, dashDot{9, 6, 3, 6},
        dashDotDot{9, 3, 3, 3, 3, 3};
    switch (style) {
        case psDash:
            return dash;
        case psDot:
            return dot;
        case psDashDot:
            return dashDot;
        case psDashDotDot:
            return dashDotDot;
        default:
            return solid;
    }
}

}  // namespace

// ---------------------------------------------------------------------------------------------
// 1. state, clip, pixels

TCanvas::TCanvas(TBitmap& target) : target_(&target) {
    ResetClip();
}

void TCanvas::TargetResized() {}

void TCanvas::ResetClip() {
    state_.clip = {-kHuge, -kHuge, kHuge, kHuge};
}

// "Device" coordinates are logical ones plus the origin; on a bitmap with a scale other than 1
// (Bitmap.h) they become pixels only where pixels are written.
static TRect DeviceClip(const TRect& clip, const TBitmap& b) {
    return Intersect(clip, {0, 0, b.LogicalWidth(), b.LogicalHeight()});
}

TRect TCanvas::PixelClip() const {
    const TBitmap& b = *target_;
    return Intersect(ToPixels(DeviceClip(state_.clip, b), b.Scale()), {0, 0, b.Width(), b.Height()});
}

TRect TCanvas::ClipRect() const {
    TRect r = DeviceClip(state_.clip, *target_);
    return Offset(r, -state_.origin.X, -state_.origin.Y);
}

void TCanvas::IntersectClip(const TRect& rect) {
    TRect dev = Offset(rect, state_.origin.X, state_.origin.Y);
    state_.clip = Intersect(state_.clip, dev);
}

void TCanvas::SetClipRect(const TRect& rect) {
    state_.clip = Offset(rect, state_.origin.X, state_.origin.Y);
}

int TCanvas::SaveState() {
    saved_.push_back(state_);
    return int(saved_.size());
}

void TCanvas::RestoreState(int level) {
    if (level < 1 || level > int(saved_.size())) return;
    state_ = saved_[size_t(level - 1)];
    saved_.resize(size_t(level - 1));
}

TColor TCanvas::Pixel(int x, int y) const {
    int dx = x + state_.origin.X, dy = y + state_.origin.Y;
    const double s = target_->Scale();
    if (s != 1.0) {  // the pixel at the middle of the logical one
        if (dx < 0 || dy < 0 || dx >= target_->LogicalWidth() || dy >= target_->LogicalHeight())
            return clInvalid;
        return target_->Pixel(int((dx + 0.5) * s), int((dy + 0.5) * s));
    }
    return target_->Pixel(dx, dy);
}

void TCanvas::SetPixel(int x, int y, TColor color) {
    int dx = x + state_.origin.X, dy = y + state_.origin.Y;
    if (!DeviceClip(state_.clip, *target_).Contains({dx, dy})) return;
    if (target_->Scale() != 1.0) {
        FillDevice({dx, dy, dx + 1, dy + 1}, ColorToRGB(color) & kRgbMask);
        return;
    }
    target_->SetPixel(dx, dy, ColorToRGB(color) & kRgbMask);
}

void TCanvas::PlotPen(int x, int y, uint32_t rgb) {
    TRect clip = DeviceClip(state_.clip, *target_);
    if (!clip.Contains({x, y})) return;
    TBitmap& b = *target_;
    auto plot = [&](int px, int py) {
        if (b.Is32()) {
            uint32_t& d = b.Row32(py)[px];
            d = Rop2(state_.pen.Mode(), rgb, d & kRgbMask);
        } else {
            uint32_t d = b.PixelRgb(px, py);
            b.SetPixel(px, py, PixelToColor(Rop2(state_.pen.Mode(), rgb, d)));
        }
    };
    if (b.Scale() == 1.0) {
        plot(x, y);
        return;
    }
    // One logical pixel of a line is a block of device pixels: a line stays a line.
    const TRect px = Intersect(ToPixels(TRect{x, y, x + 1, y + 1}, b.Scale()), {0, 0, b.Width(), b.Height()});
    for (int py = px.Top; py < px.Bottom; ++py)
        for (int pxx = px.Left; pxx < px.Right; ++pxx) plot(pxx, py);
}

void TCanvas::FillDevice(TRect r, uint32_t rgb) {
    r = Intersect(r, DeviceClip(state_.clip, *target_));
    if (r.IsEmpty()) return;
    FillPixels(ToPixels(r, target_->Scale()), rgb);
}

void TCanvas::FillPixels(TRect r, uint32_t rgb) {
    TBitmap& b = *target_;
    r = Intersect(r, {0, 0, b.Width(), b.Height()});
    if (r.IsEmpty()) return;
    if (b.Is32()) {
        for (int y = r.Top; y < r.Bottom; ++y) std::fill(b.Row32(y) + r.Left, b.Row32(y) + r.Right, rgb);
    } else {
        TColor c = PixelToColor(rgb);
        for (int y = r.Top; y < r.Bottom; ++y)
            for (int x = r.Left; x < r.Right; ++x) b.SetPixel(x, y, c);
    }
}

// ---------------------------------------------------------------------------------------------
// 2. lines, polygons, rectangles, ellipses

void TCanvas::DrawLine(int x0, int y0, int x1, int y1, bool lastPixel) {
    const TPen& pen = state_.pen;
    if (pen.Style() == psClear) return;
    uint32_t rgb = ResolvePixel(pen.Color());
    uint32_t bk = ResolvePixel(state_.brush.Color());
    bool opaqueGaps = state_.brush.Style() != bsClear;
    const std::vector<int>& dash = pen.Width() == 1 ? DashPattern(pen.Style()) : DashPattern(psSolid);
    int period = 0;
    for (int d : dash) period += d;
    int w = pen.Width();
    int half = (w - 1) / 2;
    x0 += state_.origin.X, x1 += state_.origin.X, y0 += state_.origin.Y, y1 += state_.origin.Y;

    auto plot = [&](int x, int y) {
        bool on = true;
        if (period > 0) {
            int phase = int(dashPhase_ % uint32_t(period));
            int acc = 0;
            for (size_t i = 0; i < dash.size(); ++i) {
                acc += dash[i];
                if (phase < acc) {
                    on = (i % 2) == 0;
                    break;
                }
            }
            ++dashPhase_;
        }
        if (!on) {
            if (opaqueGaps) PlotPen(x, y, bk);
            return;
        }
        if (w == 1) {
            PlotPen(x, y, rgb);
        } else {
            for (int yy = y - half; yy < y - half + w; ++yy)
                for (int xx = x - half; xx < x - half + w; ++xx) PlotPen(xx, yy, rgb);
        }
    };

    // Bresenham from the start point; the end point itself only when asked.
    int dx = std::abs(x1 - x0), dy = std::abs(y1 - y0);
    int sx = x0 < x1 ? 1 : -1, sy = y0 < y1 ? 1 : -1;
    int x = x0, y = y0;
    if (dx >= dy) {
        int err = 2 * dy - dx;
        for (int i = 0; i < dx; ++i) {
            plot(x, y);
            if (err > 0) {
                y += sy;
                err -= 2 * dx;
            }
            err += 2 * dy;
            x += sx;
        }
    } else {
        int err = 2 * dx - dy;
        for (int i = 0; i < dy; ++i) {
            plot(x, y);
            if (err > 0) {
                x += sx;
                err -= 2 * dy;
            }
            err += 2 * dx;
            y += sy;
        }
    }
    if (lastPixel) plot(x1, y1);
}

void TCanvas::LineTo(int x, int y) {
    DrawLine(state_.penPos.X, state_.penPos.Y, x, y, false);
    state_.penPos = {x, y};
}

void TCanvas::Polyline(std::span<const TPoint> points) {
    if (points.empty()) return;
    dashPhase_ = 0;
    for (size_t i = 1; i < points.size(); ++i)
        DrawLine(points[i - 1].X, points[i - 1].Y, points[i].X, points[i].Y, false);
    dashPhase_ = 0;
}

void TCanvas::Polygon(std::span<const TPoint> points) {
    if (points.size() < 2) return;
    if (state_.brush.Style() != bsClear && points.size() >= 3) {
        // Alternate rule, sampled where the window system samples: at the integer coordinates,
        // left and top edges in. Sampled half a pixel lower, a small arrow came out hollow.
        // At a scale the outline is scaled and sampled on the device grid, so edges stay smooth.
        uint32_t rgb = ResolvePixel(state_.brush.Color());
        const double scale = target_->Scale();
        std::vector<std::pair<double, double>> v;
        for (const TPoint& p : points)
            v.emplace_back((p.X + state_.origin.X) * scale, (p.Y + state_.origin.Y) * scale);
        double minY = v[0].second, maxY = v[0].second;
        for (const auto& p : v) minY = std::min(minY, p.second), maxY = std::max(maxY, p.second);
        const TRect clip = PixelClip();
        std::vector<double> xs;
        for (int y = int(std::ceil(minY)); y < maxY; ++y) {
            const double cy = y;
            xs.clear();
            for (size_t i = 0; i < v.size(); ++i) {
                const auto& a = v[i];
                const auto& b = v[(i + 1) % v.size()];
                if (a.second == b.second) continue;
                double y0 = a.second, y1 = b.second;
                if ((cy >= y0 && cy < y1) || (cy >= y1 && cy < y0))
                    xs.push_back(a.first + (cy - y0) * (b.first - a.first) / (y1 - y0));
            }
            std::sort(xs.begin(), xs.end());
            for (size_t i = 0; i + 1 < xs.size(); i += 2) {
                int xa = int(std::ceil(xs[i])), xb = int(std::ceil(xs[i + 1]));
                FillPixels(Intersect({xa, y, xb, y + 1}, clip), rgb);
            }
        }
    }
    if (state_.pen.Style() != psClear) {
        dashPhase_ = 0;
        for (size_t i = 0; i < points.size(); ++i) {
            const TPoint& a = points[i];
            const TPoint& b = points[(i + 1) % points.size()];
            DrawLine(a.X, a.Y, b.X, b.Y, false);
        }
        dashPhase_ = 0;
    }
}

void TCanvas::Rectangle(int left, int top, int right, int bottom) {
    if (right < left) std::swap(left, right);
    if (bottom < top) std::swap(top, bottom);
    bool pen = state_.pen.Style() != psClear;
    int w = pen ? state_.pen.Width() : 0;
    if (state_.brush.Style() != bsClear) {
        // Without a pen the window system leaves the right and bottom edge out.
        TRect inner =
            pen ? TRect{left + w, top + w, right - w, bottom - w} : TRect{left, top, right - 1, bottom - 1};
        FillDevice(Offset(inner, state_.origin.X, state_.origin.Y), ResolvePixel(state_.brush.Color()));
    }
    if (!pen) return;
    if (w == 1) {
        TPoint pts[5] = {
            {left, top}, {right - 1, top}, {right - 1, bottom - 1}, {left, bottom - 1}, {left, top}};
        Polyline(pts);
        return;
    }
    uint32_t rgb = ResolvePixel(state_.pen.Color());
    TRect r = Offset({left, top, right, bottom}, state_.origin.X, state_.origin.Y);
    FillDevice({r.Left, r.Top, r.Right, r.Top + w}, rgb);
    FillDevice({r.Left, r.Bottom - w, r.Right, r.Bottom}, rgb);
    FillDevice({r.Left, r.Top + w, r.Left + w, r.Bottom - w}, rgb);
    FillDevice({r.Right - w, r.Top + w, r.Right, r.Bottom - w}, rgb);
}

namespace {
// The run [xa, xb) of row y inside the ellipse with centre cx, cy and radii rx, ry, sampled at the
// middle of the row; false when the row misses it.
bool EllipseSpan(double cx, double cy, double rx, double ry, int y, int& xa, int& xb) {
    if (rx <= 0 || ry <= 0) return false;
    double dy = (y + 0.5 - cy) / ry;
    double t = 1.0 - dy * dy;
    if (t < 0) return false;
    double half = rx * std::sqrt(t);
    xa = int(std::ceil(cx - half - 0.5));
    xb = int(std::ceil(cx + half - 0.5));
    return xb > xa;
}
}  // namespace

void TCanvas::Ellipse(int left, int top, int right, int bottom) {
    if (right < left) std::swap(left, right);
    if (bottom < top) std::swap(top, bottom);
    int w = right - left, h = bottom - top;
    if (w <= 0 || h <= 0) return;
    double cx = left + w / 2.0, cy = top + h / 2.0, rx = w / 2.0, ry = h / 2.0;
    auto span = [&](int y, int& xa, int& xb) { return EllipseSpan(cx, cy, rx, ry, y, xa, xb); };
    uint32_t fill = ResolvePixel(state_.brush.Color());
    uint32_t line = ResolvePixel(state_.pen.Color());
    bool pen = state_.pen.Style() != psClear;
    if (target_->Scale() != 1.0) {
        ScaledEllipse(Offset({left, top, right, bottom}, state_.origin.X, state_.origin.Y), pen, line, fill);
        return;
    }
    for (int y = top; y < bottom; ++y) {
        int xa, xb;
        if (!span(y, xa, xb)) continue;
        int dy = y + state_.origin.Y;
        if (state_.brush.Style() != bsClear)
            FillDevice({xa + state_.origin.X, dy, xb + state_.origin.X, dy + 1}, fill);
        if (!pen) continue;
        int pa = 0, pb = 0, na = 0, nb = 0;
        bool hasPrev = span(y - 1, pa, pb) && y > top;
        bool hasNext = span(y + 1, na, nb) && y + 1 < bottom;
        for (int x = xa; x < xb; ++x) {
            bool edge =
                x == xa || x == xb - 1 || !hasPrev || !hasNext || x < pa || x >= pb || x < na || x >= nb;
            if (edge) PlotPen(x + state_.origin.X, dy, line);
        }
    }
}

// The ellipse drawn on the device grid: outline as thick as a scaled pen, filled inside it.
void TCanvas::ScaledEllipse(const TRect& device, bool pen, uint32_t line, uint32_t fill) {
    const double scale = target_->Scale();
    const TRect r = ToPixels(device, scale);
    const double cx = (r.Left + r.Right) / 2.0, cy = (r.Top + r.Bottom) / 2.0;
    const double rx = r.Width() / 2.0, ry = r.Height() / 2.0;
    const double thick = pen ? std::max(1.0, std::round(state_.pen.Width() * scale)) : 0.0;
    auto span = [&](double rx2, double ry2, int y, int& xa, int& xb) {
        return EllipseSpan(cx, cy, rx2, ry2, y, xa, xb);
    };
    const TRect clip = PixelClip();
    const bool brush = state_.brush.Style() != bsClear;
    for (int y = r.Top; y < r.Bottom; ++y) {
        int xa, xb, ia, ib;
        if (!span(rx, ry, y, xa, xb)) continue;
        const bool inner = span(rx - thick, ry - thick, y, ia, ib);
        if (!inner) ia = ib = xb;
        if (brush) FillPixels(Intersect({ia, y, ib, y + 1}, clip), fill);
        if (!pen) {
            if (brush) FillPixels(Intersect({xa, y, xb, y + 1}, clip), fill);
            continue;
        }
        FillPixels(Intersect({xa, y, ia, y + 1}, clip), line);
        FillPixels(Intersect({ib, y, xb, y + 1}, clip), line);
    }
}

void TCanvas::FillRect(const TRect& rect) {
    if (state_.brush.Style() == bsClear) return;
    FillDevice(Offset(rect, state_.origin.X, state_.origin.Y), ResolvePixel(state_.brush.Color()));
}

void TCanvas::Wash(const TRect& rect, TColor colour, unsigned share) {
    const TRect device =
        Intersect(Offset(rect, state_.origin.X, state_.origin.Y), DeviceClip(state_.clip, *target_));
    const TRect r =
        Intersect(ToPixels(device, target_->Scale()), {0, 0, target_->Width(), target_->Height()});
    const uint32_t over = ResolvePixel(colour);
    TBitmap& b = *target_;
    for (int y = r.Top; y < r.Bottom; ++y)
        for (int x = r.Left; x < r.Right; ++x) {
            if (b.Is32()) {
                uint32_t& d = b.Row32(y)[x];
                d = Blend(d & kRgbMask, over, share);
            } else {
                b.SetPixel(x, y, PixelToColor(Blend(b.PixelRgb(x, y), over, share)));
            }
        }
}

void TCanvas::FrameRect(const TRect& rect) {
    if (rect.IsEmpty()) return;
    uint32_t rgb = ResolvePixel(state_.brush.Color());
    TRect r = Offset(rect, state_.origin.X, state_.origin.Y);
    FillDevice({r.Left, r.Top, r.Right, r.Top + 1}, rgb);
    FillDevice({r.Left, r.Bottom - 1, r.Right, r.Bottom}, rgb);
    FillDevice({r.Left, r.Top + 1, r.Left + 1, r.Bottom - 1}, rgb);
    FillDevice({r.Right - 1, r.Top + 1, r.Right, r.Bottom - 1}, rgb);
}

// ---------------------------------------------------------------------------------------------
// 3. text

namespace {
// Removes prefix characters: "&&" -> "&", "&x" -> "x" (remembering x's index for the underline).
std::string StripPrefix(std::string_view text, int& underlineIndex) {
    std::string out;
    underlineIndex = -1;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '&') {
            if (i + 1 < text.size() && text[i + 1] == '&') {
                out += '&';
                ++i;
                continue;
            }
            if (i + 1 < text.size()) underlineIndex = int(out.size());
            continue;
        }
        out += text[i];
    }
    return out;
}
}  // namespace

int TCanvas::TextWidth(std::string_view text) {
    return TextExtent(text).cx;
}

int TCanvas::TextHeight(std::string_view text) {
    return TextExtent(text).cy;
}

// Text is measured at 1, whatever the target's scale, so that the layout is the same at every
// scale; DrawTextLine fits the scaled text into what was measured.
TSize TCanvas::TextExtent(std::string_view text) {
    TFontFace& face = TFontEngine::Instance().Face(state_.font);
    return {face.TextWidth(text), face.Metrics().height};
}

// Draws one line with its top-left at logical x,y; clip (logical) limits it further. At a scale
// the glyphs are rasterised at their scaled size; where hinting makes the scaled line wider than
// the measured one, the glyphs move closer together so that nothing is cut that fits at 1.
void TCanvas::DrawTextLine(int x, int y, std::string_view rawText, bool prefix, const TRect* clip) {
    const double scale = target_->Scale();
    TFontFace& face = TFontEngine::Instance().Face(state_.font, scale);
    TFontFace& measured = scale == 1.0 ? face : TFontEngine::Instance().Face(state_.font);
    const TFontMetrics& m = face.Metrics();
    const int cellHeight = measured.Metrics().height;
    int underlineIndex = -1;
    std::string stripped;
    std::string_view text = rawText;
    if (prefix) {
        stripped = StripPrefix(rawText, underlineIndex);
        text = stripped;
    }
    TRect devClip = PixelClip();
    if (clip) devClip = Intersect(devClip, ToPixels(Offset(*clip, state_.origin.X, state_.origin.Y), scale));
    int ox = ToPixels(x + state_.origin.X, scale), oy = ToPixels(y + state_.origin.Y, scale);
    int width = face.TextWidth(text);
    double squeeze = 1.0;
    if (scale != 1.0) {
        const int room = ToPixels(x + state_.origin.X + measured.TextWidth(text), scale) - ox;
        if (width > room && width > 0) squeeze = double(room) / width;
        width = std::min(width, room);
    }
    if (state_.brush.Style() != bsClear) {
        const int bottom = ToPixels(y + state_.origin.Y + cellHeight, scale);
        FillPixels(Intersect({ox, oy, ox + width, bottom}, devClip), ResolvePixel(state_.brush.Color()));
    }
    if (devClip.IsEmpty()) return;
    uint32_t rgb = ResolvePixel(state_.font.Color());
    TBitmap& b = *target_;
    // Anti-aliased pixels over the key colour keep their coverage (see Canvas.h).
    bool keyAware = b.Transparent() && b.Is32();
    uint32_t keyPix = keyAware ? ResolvePixel(b.TransparentColor()) : 0;
    int baseline = oy + m.ascent;
    int natural = 0;  // pen position of the unsqueezed line
    int penX = ox;
    int underlineX0 = 0, underlineX1 = 0;
    for (size_t i = 0; i < text.size(); ++i) {
        const TGlyph& g = face.Glyph(static_cast<unsigned char>(text[i]));
        if (int(i) == underlineIndex) {
            underlineX0 = penX;
            underlineX1 = ox + (squeeze == 1.0 ? natural + g.advance
                                               : int(std::lround((natural + g.advance) * squeeze)));
        }
        int gx = penX + g.left, gy = baseline - g.top;
        int y0 = std::max(gy, devClip.Top), y1 = std::min(gy + g.height, devClip.Bottom);
        int x0 = std::max(gx, devClip.Left), x1 = std::min(gx + g.width, devClip.Right);
        // A long edit line is mostly scrolled out of view, and it repaints with every caret blink.
        if (x0 >= x1) y1 = y0;
        for (int yy = y0; yy < y1; ++yy) {
            const uint8_t* cov = g.coverage.data() + size_t(yy - gy) * size_t(g.width);
            if (b.Is32()) {
                uint32_t* row = b.Row32(yy);
                for (int xx = x0; xx < x1; ++xx) {
                    unsigned c = cov[xx - gx];
                    if (c == 0) continue;
                    uint32_t& d = row[xx];
                    if (c == 255) {
                        d = rgb;
                    } else if (keyAware && d == keyPix) {
                        d = rgb | (uint32_t(255 - c) << 24);
                    } else if (keyAware && (d >> 24) != 0) {
                        // Already partly text over the key: mix the colours, shrink the key's share.
                        unsigned share = (d >> 24) * (255 - c) / 255;
                        d = Blend(d & kRgbMask, rgb, c) | (uint32_t(share) << 24);
                    } else {
                        d = Blend(d & kRgbMask, rgb, c);
                    }
                }
            } else {
                for (int xx = x0; xx < x1; ++xx) {
                    unsigned c = cov[xx - gx];
                    if (c >= 128) b.SetPixel(xx, yy, PixelToColor(rgb));
                }
            }
        }
        natural += g.advance;
        penX = ox + (squeeze == 1.0 ? natural : int(std::lround(natural * squeeze)));
    }
    int thick = std::max(1, m.lineThickness);
    if (state_.font.Style() & fsUnderline)
        FillPixels(
            Intersect({ox, baseline + m.underlinePos, penX, baseline + m.underlinePos + thick}, devClip),
            rgb);
    if (state_.font.Style() & fsStrikeOut) {
        int sy = baseline - m.ascent / 3;
        FillPixels(Intersect({ox, sy, penX, sy + thick}, devClip), rgb);
    }
    if (underlineIndex >= 0 && underlineX1 > underlineX0)
        FillPixels(Intersect({underlineX0, baseline + m.underlinePos, underlineX1,
                              baseline + m.underlinePos + thick},
                             devClip),
                   rgb);
}

void TCanvas::TextOut(int x, int y, std::string_view text) {
    DrawTextLine(x, y, text, false, nullptr);
    state_.penPos = {x + TextWidth(text), y};
}

void TCanvas::TextRect(const TRect& rect, int x, int y, std::string_view text, unsigned options) {
    if ((options & ETO_OPAQUE) || state_.brush.Style() != bsClear) FillRect(rect);
    TBrush saved = state_.brush;
    state_.brush.SetStyle(bsClear);  // the rectangle is already filled
    DrawTextLine(x, y, text, false, (options & ETO_CLIPPED) ? &rect : nullptr);
    state_.brush = saved;
}

int TCanvas::DrawText(std::string_view text, TRect& rect, unsigned flags) {
    TFontFace& face = TFontEngine::Instance().Face(state_.font);
    const int lineHeight = face.Metrics().height;
    const bool prefix = !(flags & DT_NOPREFIX);
    auto measure = [&](std::string_view s) {
        if (!prefix) return face.TextWidth(s);
        int u;
        return face.TextWidth(StripPrefix(s, u));
    };

    // Tabs stop every 8 characters.
    std::string expanded;
    if ((flags & DT_EXPANDTABS) && text.find('\t') != std::string_view::npos) {
        size_t column = 0;
        for (char ch : text) {
            if (ch == '\t') {
                do expanded += ' ';
                while (++column % 8 != 0);
            } else {
                expanded += ch;
                column = (ch == '\n') ? 0 : column + 1;
            }
        }
        text = expanded;
    }

    // Break into lines: at CR LF / LF unless single-line, then at spaces when word-breaking.
    std::vector<std::string> lines;
    std::vector<std::string> paragraphs;
    if (flags & DT_SINGLELINE) {
        std::string one;
        for (char c : text)
            if (c != '\r' && c != '\n') one += c;
        paragraphs.push_back(one);
    } else {
        size_t pos = 0;
        while (true) {
            size_t lf = text.find('\n', pos);
            std::string_view p =
                text.substr(pos, lf == std::string_view::npos ? std::string_view::npos : lf - pos);
            if (!p.empty() && p.back() == '\r') p.remove_suffix(1);
            paragraphs.emplace_back(p);
            if (lf == std::string_view::npos) break;
            pos = lf + 1;
        }
    }
    const int maxWidth = rect.Width();
    for (const std::string& para : paragraphs) {
        if (!(flags & DT_WORDBREAK) || (flags & DT_SINGLELINE)) {
            lines.push_back(para);
            continue;
        }
        // Greedy: words stay whole; a word wider than the rectangle gets a line of its own.
        size_t start = 0;
        if (para.empty()) lines.emplace_back();
        while (start < para.size()) {
            size_t end = start, lastFit = std::string::npos;
            while (end < para.size()) {
                size_t next = para.find(' ', end);
                size_t wordEnd = next == std::string::npos ? para.size() : next;
                if (measure(std::string_view(para).substr(start, wordEnd - start)) > maxWidth &&
                    lastFit != std::string::npos)
                    break;
                lastFit = wordEnd;
                end = next == std::string::npos ? para.size() : next + 1;
                if (next == std::string::npos) break;
            }
            if (lastFit == std::string::npos) lastFit = para.size();
            lines.push_back(para.substr(start, lastFit - start));
            start = lastFit;
            while (start < para.size() && para[start] == ' ') ++start;
        }
    }

    if (flags & DT_END_ELLIPSIS) {
        // One "…" (cp1252 0x85) after the characters that fit with it, without the blank or the
        // lone prefix mark before it.
        static constexpr std::string_view kEllipsis = "\x85";
        for (std::string& l : lines) {
            if (measure(l) <= maxWidth) continue;
            while (!l.empty() && measure(l + std::string(kEllipsis)) > maxWidth) l.pop_back();
            while (!l.empty() && (l.back() == ' ' || (prefix && l.back() == '&'))) l.pop_back();
            l += kEllipsis;
        }
    }

    int textHeight = lineHeight * int(lines.size());
    int maxLine = 0;
    for (const std::string& l : lines) maxLine = std::max(maxLine, measure(l));
    if (flags & DT_CALCRECT) {
        rect.Right = rect.Left + maxLine;
        rect.Bottom = rect.Top + textHeight;
        return textHeight;
    }
    int y = rect.Top;
    if (flags & DT_SINGLELINE) {
        if (flags & DT_VCENTER)
            y = rect.Top + (rect.Height() - lineHeight) / 2;
        else if (flags & DT_BOTTOM)
            y = rect.Bottom - lineHeight;
    }
    const TRect* clip = (flags & DT_NOCLIP) ? nullptr : &rect;
    for (const std::string& l : lines) {
        int w = measure(l);
        int x = rect.Left;
        if (flags & DT_CENTER)
            x = rect.Left + (rect.Width() - w) / 2;
        else if (flags & DT_RIGHT)
            x = rect.Right - w;
        DrawTextLine(x, y, l, prefix, clip);
        y += lineHeight;
    }
    if ((flags & DT_SINGLELINE) && (flags & (DT_VCENTER | DT_BOTTOM))) return y - rect.Top;
    return textHeight;
}

// ---------------------------------------------------------------------------------------------
// 4. raster operations

double TCanvas::Scale() const {
    return target_->Scale();
}

namespace {

// Copies src's pixels over dst's except those of the key colour; pixels carrying text coverage
// over the key (Canvas.h) are blended. Rectangles already clipped.
void KeyedCopy(TBitmap& dst, int dx, int dy, int width, int height, const TBitmap& src, int sx, int sy,
               uint32_t keyPix) {
    if (dst.Is32() && src.Is32()) {
        for (int j = 0; j < height; ++j) {
            uint32_t* d = dst.Row32(dy + j) + dx;
            const uint32_t* s = src.Row32(sy + j) + sx;
            uint32_t partial = 0;
            // Branch-free select first (vectorises); pixels carrying text coverage are rare and
            // fixed up in a second pass only for rows that have any.
            for (int i = 0; i < width; ++i) {
                uint32_t v = s[i];
                partial |= v;
                d[i] = (v == keyPix || v > kRgbMask) ? d[i] : v;
            }
            if (partial >> 24) {
                for (int i = 0; i < width; ++i) {
                    uint32_t v = s[i];
                    unsigned share = v >> 24;
                    if (share) d[i] = Blend(d[i] & kRgbMask, v & kRgbMask, 255 - share);
                }
            }
        }
        return;
    }
    for (int j = 0; j < height; ++j)
        for (int i = 0; i < width; ++i) {
            uint32_t v = SourceRgb(src, sx + i, sy + j);
            if (v == keyPix) continue;
            if (dst.Is32())
                dst.Row32(dy + j)[dx + i] = v;
            else
                dst.SetPixel(dx + i, dy + j, PixelToColor(v));
        }
}

// Moves a blit's destination and source rectangles (of one size) together into the source.
bool ClipToSource(TRect& dest, TRect& source, const TBitmap& src) {
    const TRect s = Intersect(source, {0, 0, src.LogicalWidth(), src.LogicalHeight()});
    if (s.IsEmpty()) return false;
    dest = {dest.Left + s.Left - source.Left, dest.Top + s.Top - source.Top,
            dest.Left + s.Right - source.Left, dest.Top + s.Bottom - source.Top};
    source = s;
    return true;
}

}  // namespace

// A raster operation where the target or the source has a scale other than 1. dest is in device
// units (logical plus origin), source in the source's logical pixels; both become device pixels.
// A source at the target's scale is copied pixel for pixel; any other is resampled (Raster.h), a
// monochrome one by the nearest pixel so that its two colours stay two.
void TCanvas::ScaledBlit(const TRect& dest, const TBitmap* src, const TRect& source, uint32_t rop,
                         const uint32_t* key, uint32_t reference) {
    const uint8_t code = uint8_t(rop >> 16);
    BlitColors col{ResolvePixel(state_.brush.Color()), ResolvePixel(state_.font.Color()),
                   ResolvePixel(state_.brush.Color()), reference};
    TBitmap& dst = *target_;
    const double scale = dst.Scale();
    const TRect visible = Intersect(dest, DeviceClip(state_.clip, dst));
    if (visible.IsEmpty()) return;
    const TRect to = ToPixels(dest, scale);
    const TRect part = Intersect(ToPixels(visible, scale), {0, 0, dst.Width(), dst.Height()});
    if (part.IsEmpty()) return;
    if (!src) {
        BlitCore(dst, part.Left, part.Top, part.Width(), part.Height(), nullptr, 0, 0, code, col);
        return;
    }
    TBitmap copy;
    if (src == &dst) {  // overlapping copy within one bitmap: go through a copy of the source
        copy = *src;
        src = &copy;
    }
    const TRect from = ToPixels(source, src->Scale());
    const bool same =
        src->Scale() == scale && source.Width() == dest.Width() && source.Height() == dest.Height();
    if (same || (from.Width() == to.Width() && from.Height() == to.Height())) {
        int dx = part.Left, dy = part.Top, w = part.Width(), h = part.Height();
        int sx = from.Left + (part.Left - to.Left), sy = from.Top + (part.Top - to.Top);
        if (!ClipBlit(part, dx, dy, w, h, src, sx, sy)) return;
        if (key)
            KeyedCopy(dst, dx, dy, w, h, *src, sx, sy, *key);
        else
            BlitCore(dst, dx, dy, w, h, src, sx, sy, code, col);
        return;
    }
    if (src->PixelFormat() != pf1bit && (key || code == uint8_t(SRCCOPY >> 16))) {
        DrawResampled(dst, to, part, *src, from, key);
        return;
    }
    // Raster operations that combine pictures (a mask, then its image) need them to stay aligned
    // pixel for pixel, and a monochrome picture its two colours: the nearest source pixel.
    const TBitmap near = StretchSource(*src, from.Left, from.Top, from.Width(), from.Height(), to.Width(),
                                       to.Height(), COLORONCOLOR);
    BlitCore(dst, part.Left, part.Top, part.Width(), part.Height(), &near, part.Left - to.Left,
             part.Top - to.Top, code, col);
}

void TCanvas::BitBlt(int x, int y, int w, int h, const TCanvas& src, int sx, int sy, uint32_t rop) {
    BlitColors col{ResolvePixel(state_.brush.Color()), ResolvePixel(state_.font.Color()),
                   ResolvePixel(state_.brush.Color()), ResolvePixel(src.state_.brush.Color())};
    int dx = x + state_.origin.X, dy = y + state_.origin.Y;
    int ssx = sx + src.state_.origin.X, ssy = sy + src.state_.origin.Y;
    const TBitmap* s = RopUsesSource(uint8_t(rop >> 16)) ? src.target_ : nullptr;
    if (target_->Scale() != 1.0 || (s && s->Scale() != 1.0)) {
        TRect dest{dx, dy, dx + w, dy + h}, source{ssx, ssy, ssx + w, ssy + h};
        if (s && !ClipToSource(dest, source, *s)) return;
        ScaledBlit(dest, s, source, rop, nullptr, col.reference);
        return;
    }
    if (!ClipBlit(DeviceClip(state_.clip, *target_), dx, dy, w, h, s, ssx, ssy)) return;
    if (s == target_) {  // overlapping copy within one bitmap: go through a copy of the source
        TBitmap copy(*s);
        BlitCore(*target_, dx, dy, w, h, &copy, ssx, ssy, uint8_t(rop >> 16), col);
        return;
    }
    BlitCore(*target_, dx, dy, w, h, s, ssx, ssy, uint8_t(rop >> 16), col);
}

void TCanvas::BitBlt(int x, int y, int w, int h, const TBitmap& src, int sx, int sy, uint32_t rop) {
    // Without a source canvas the reference colour for colour -> mono is white.
    BlitColors col{ResolvePixel(state_.brush.Color()), ResolvePixel(state_.font.Color()),
                   ResolvePixel(state_.brush.Color()), kRgbMask};
    int dx = x + state_.origin.X, dy = y + state_.origin.Y;
    const TBitmap* s = RopUsesSource(uint8_t(rop >> 16)) ? &src : nullptr;
    if (target_->Scale() != 1.0 || (s && s->Scale() != 1.0)) {
        TRect dest{dx, dy, dx + w, dy + h}, source{sx, sy, sx + w, sy + h};
        if (s && !ClipToSource(dest, source, *s)) return;
        ScaledBlit(dest, s, source, rop, nullptr, col.reference);
        return;
    }
    if (!ClipBlit(DeviceClip(state_.clip, *target_), dx, dy, w, h, s, sx, sy)) return;
    if (s == target_) {
        TBitmap copy(*s);
        BlitCore(*target_, dx, dy, w, h, &copy, sx, sy, uint8_t(rop >> 16), col);
        return;
    }
    BlitCore(*target_, dx, dy, w, h, s, sx, sy, uint8_t(rop >> 16), col);
}

void TCanvas::PatBlt(int x, int y, int w, int h, uint32_t rop) {
    BlitColors col{ResolvePixel(state_.brush.Color()), 0, 0, 0};
    if (w < 0) x += w, w = -w;
    if (h < 0) y += h, h = -h;
    int dx = x + state_.origin.X, dy = y + state_.origin.Y, sx = 0, sy = 0;
    if (target_->Scale() != 1.0) {
        ScaledBlit({dx, dy, dx + w, dy + h}, nullptr, {}, rop, nullptr, 0);
        return;
    }
    if (!ClipBlit(DeviceClip(state_.clip, *target_), dx, dy, w, h, nullptr, sx, sy)) return;
    BlitCore(*target_, dx, dy, w, h, nullptr, 0, 0, uint8_t(rop >> 16), col);
}

void TCanvas::StretchBlt(int x, int y, int w, int h, const TCanvas& src, int sx, int sy, int sw, int sh,
                         uint32_t rop) {
    if (w == 0 || h == 0 || sw == 0 || sh == 0) return;
    if (std::abs(w) == std::abs(sw) && std::abs(h) == std::abs(sh) && (w > 0) == (sw > 0) &&
        (h > 0) == (sh > 0)) {
        if (w < 0) x += w + 1, sx += sw + 1, w = -w;
        if (h < 0) y += h + 1, sy += sh + 1, h = -h;
        BitBlt(x, y, w, h, src, sx, sy, rop);
        return;
    }
    if (target_->Scale() != 1.0 || src.target_->Scale() != 1.0) {
        ScaledStretch(x, y, w, h, *src.target_, sx + src.state_.origin.X, sy + src.state_.origin.Y, sw, sh,
                      rop, ResolvePixel(src.state_.brush.Color()));
        return;
    }
    TBitmap stretched = StretchSource(*src.target_, sx + src.state_.origin.X, sy + src.state_.origin.Y, sw,
                                      sh, w, h, state_.stretchMode);
    BlitColors col{ResolvePixel(state_.brush.Color()), ResolvePixel(state_.font.Color()),
                   ResolvePixel(state_.brush.Color()), ResolvePixel(src.state_.brush.Color())};
    // A negative size mirrors: the rectangle runs from x back to x + w + 1.
    if (w < 0) x += w + 1, w = -w;
    if (h < 0) y += h + 1, h = -h;
    int dx = x + state_.origin.X, dy = y + state_.origin.Y, ssx = 0, ssy = 0;
    if (!ClipBlit(DeviceClip(state_.clip, *target_), dx, dy, w, h, &stretched, ssx, ssy)) return;
    BlitCore(*target_, dx, dy, w, h, &stretched, ssx, ssy, uint8_t(rop >> 16), col);
}

void TCanvas::StretchBlt(int x, int y, int w, int h, const TBitmap& src, int sx, int sy, int sw, int sh,
                         uint32_t rop) {
    if (w == 0 || h == 0 || sw == 0 || sh == 0) return;
    if (target_->Scale() != 1.0 || src.Scale() != 1.0) {
        ScaledStretch(x, y, w, h, src, sx, sy, sw, sh, rop, kRgbMask);
        return;
    }
    TBitmap stretched = StretchSource(src, sx, sy, sw, sh, w, h, state_.stretchMode);
    BlitColors col{ResolvePixel(state_.brush.Color()), ResolvePixel(state_.font.Color()),
                   ResolvePixel(state_.brush.Color()), kRgbMask};
    // A negative size mirrors: the rectangle runs from x back to x + w + 1.
    if (w < 0) x += w + 1, w = -w;
    if (h < 0) y += h + 1, h = -h;
    int dx = x + state_.origin.X, dy = y + state_.origin.Y, ssx = 0, ssy = 0;
    if (!ClipBlit(DeviceClip(state_.clip, *target_), dx, dy, w, h, &stretched, ssx, ssy)) return;
    BlitCore(*target_, dx, dy, w, h, &stretched, ssx, ssy, uint8_t(rop >> 16), col);
}

void TCanvas::TransparentCopy(int x, int y, int w, int h, const TBitmap& src, int sx, int sy, TColor key) {
    int dx = x + state_.origin.X, dy = y + state_.origin.Y;
    const uint32_t keyPix = ResolvePixel(key);
    if (target_->Scale() != 1.0 || src.Scale() != 1.0) {
        TRect dest{dx, dy, dx + w, dy + h}, source{sx, sy, sx + w, sy + h};
        if (ClipToSource(dest, source, src)) ScaledBlit(dest, &src, source, SRCCOPY, &keyPix, kRgbMask);
        return;
    }
    if (!ClipBlit(DeviceClip(state_.clip, *target_), dx, dy, w, h, &src, sx, sy)) return;
    // Plain copies of the clipped size: the loops vectorise only with bounds that no store can change.
    KeyedCopy(*target_, dx, dy, w, h, src, sx, sy, keyPix);
}

void TCanvas::TransparentCopy(int x, int y, int w, int h, const TCanvas& src, int sx, int sy, TColor key) {
    TransparentCopy(x, y, w, h, *src.target_, sx + src.state_.origin.X, sy + src.state_.origin.Y, key);
}

// StretchBlt at a scale: a mirrored rectangle is mirrored at the source's size first.
void TCanvas::ScaledStretch(int x, int y, int w, int h, const TBitmap& src, int sx, int sy, int sw, int sh,
                            uint32_t rop, uint32_t reference) {
    if (w < 0 || h < 0 || sw < 0 || sh < 0) {
        const bool flipX = (w < 0) != (sw < 0), flipY = (h < 0) != (sh < 0);
        if (w < 0) x += w + 1, w = -w;
        if (h < 0) y += h + 1, h = -h;
        if (sw < 0) sx += sw + 1, sw = -sw;
        if (sh < 0) sy += sh + 1, sh = -sh;
        const TRect from = ToPixels(TRect{sx, sy, sx + sw, sy + sh}, src.Scale());
        const TBitmap mirrored = StretchSource(src, from.Left, from.Top, from.Width(), from.Height(),
                                               flipX ? -from.Width() : from.Width(),
                                               flipY ? -from.Height() : from.Height(), COLORONCOLOR);
        ScaledBlit(
            {x + state_.origin.X, y + state_.origin.Y, x + state_.origin.X + w, y + state_.origin.Y + h},
            &mirrored, {0, 0, mirrored.Width(), mirrored.Height()}, rop, nullptr, reference);
        return;
    }
    ScaledBlit({x + state_.origin.X, y + state_.origin.Y, x + state_.origin.X + w, y + state_.origin.Y + h},
               &src, {sx, sy, sx + sw, sy + sh}, rop, nullptr, reference);
}

void TCanvas::CopyRect(const TRect& dest, const TCanvas& src, const TRect& source) {
    StretchBlt(dest.Left, dest.Top, dest.Width(), dest.Height(), src, source.Left, source.Top, source.Width(),
               source.Height(), state_.copyMode);
}

namespace {
// Drawing a whole monochrome bitmap shows its own two colours, not the canvas's text and
// background colours that a raw blit would use.
class MonoColours {
public:
    MonoColours(TCanvas& canvas, const TBitmap& bitmap)
        : canvas_(canvas), active_(bitmap.PixelFormat() == pf1bit) {
        if (!active_) return;
        text_ = canvas.Font().Color();
        back_ = canvas.Brush().Color();
        backStyle_ = canvas.Brush().Style();
        canvas.Font().SetColor(bitmap.Palette()[0]);
        canvas.Brush().SetColor(bitmap.Palette()[1]);
    }
    ~MonoColours() {
        if (!active_) return;
        canvas_.Font().SetColor(text_);
        canvas_.Brush().SetColor(back_);
        canvas_.Brush().SetStyle(backStyle_);
    }
    MonoColours(const MonoColours&) = delete;
    MonoColours& operator=(const MonoColours&) = delete;

private:
    TCanvas& canvas_;
    bool active_;
    TColor text_ = clBlack, back_ = clWhite;
    TBrushStyle backStyle_ = bsSolid;
};
}  // namespace

void TCanvas::Draw(int x, int y, const TBitmap& bitmap) {
    if (bitmap.Empty()) return;
    MonoColours mono(*this, bitmap);
    const int w = bitmap.LogicalWidth(), h = bitmap.LogicalHeight();
    if (bitmap.Transparent())
        TransparentCopy(x, y, w, h, bitmap, 0, 0, bitmap.TransparentColor());
    else
        BitBlt(x, y, w, h, bitmap, 0, 0, state_.copyMode);
}

void TCanvas::StretchDraw(const TRect& dest, const TBitmap& bitmap) {
    if (bitmap.Empty() || dest.IsEmpty()) return;
    MonoColours mono(*this, bitmap);
    if (target_->Scale() != 1.0 || bitmap.Scale() != 1.0) {
        const uint32_t key = ResolvePixel(bitmap.TransparentColor());
        ScaledBlit(Offset(dest, state_.origin.X, state_.origin.Y), &bitmap,
                   {0, 0, bitmap.LogicalWidth(), bitmap.LogicalHeight()},
                   bitmap.Transparent() ? SRCCOPY : state_.copyMode, bitmap.Transparent() ? &key : nullptr,
                   kRgbMask);
        return;
    }
    int saved = state_.stretchMode;
    state_.stretchMode = COLORONCOLOR;
    if (bitmap.Transparent()) {
        TBitmap stretched = StretchSource(bitmap, 0, 0, bitmap.Width(), bitmap.Height(), dest.Width(),
                                          dest.Height(), COLORONCOLOR);
        TransparentCopy(dest.Left, dest.Top, dest.Width(), dest.Height(), stretched, 0, 0,
                        bitmap.TransparentColor());
    } else {
        StretchBlt(dest.Left, dest.Top, dest.Width(), dest.Height(), bitmap, 0, 0, bitmap.Width(),
                   bitmap.Height(), state_.copyMode);
    }
    state_.stretchMode = saved;
}

}  // namespace gfx
