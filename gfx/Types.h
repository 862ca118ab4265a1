#pragma once
// Geometry. Rectangles are half-open: Right and Bottom are outside, as in the window system.
#include <algorithm>
#include <cmath>

namespace gfx {

struct TPoint {
    int X = 0;
    int Y = 0;
    friend bool operator==(const TPoint&, const TPoint&) = default;
};

struct TSize {
    int cx = 0;
    int cy = 0;
    friend bool operator==(const TSize&, const TSize&) = default;
};

struct TRect {
    int Left = 0;
    int Top = 0;
    int Right = 0;
    int Bottom = 0;

    int Width() const { return Right - Left; }
    int Height() const { return Bottom - Top; }
    bool IsEmpty() const { return Right <= Left || Bottom <= Top; }
    TPoint TopLeft() const { return {Left, Top}; }
    TPoint BottomRight() const { return {Right, Bottom}; }
    bool Contains(TPoint p) const { return p.X >= Left && p.X < Right && p.Y >= Top && p.Y < Bottom; }
    friend bool operator==(const TRect&, const TRect&) = default;
};

inline TPoint Point(int x, int y) {
    return {x, y};
}
inline TRect Rect(int left, int top, int right, int bottom) {
    return {left, top, right, bottom};
}
inline TRect Bounds(int left, int top, int width, int height) {
    return {left, top, left + width, top + height};
}

inline bool PtInRect(const TRect& r, TPoint p) {
    return r.Contains(p);
}

// Returns false (and an all-zero dst) when the rectangles do not overlap.
inline bool IntersectRect(TRect& dst, const TRect& a, const TRect& b) {
    TRect r{std::max(a.Left, b.Left), std::max(a.Top, b.Top), std::min(a.Right, b.Right),
            std::min(a.Bottom, b.Bottom)};
    if (r.IsEmpty()) {
        dst = TRect{};
        return false;
    }
    dst = r;
    return true;
}

inline TRect Intersect(const TRect& a, const TRect& b) {
    TRect r;
    IntersectRect(r, a, b);
    return r;
}

// The bounding rectangle; an empty operand does not count.
inline TRect UnionRect(const TRect& a, const TRect& b) {
    if (a.IsEmpty()) return b;
    if (b.IsEmpty()) return a;
    return {std::min(a.Left, b.Left), std::min(a.Top, b.Top), std::max(a.Right, b.Right),
            std::max(a.Bottom, b.Bottom)};
}

inline void OffsetRect(TRect& r, int dx, int dy) {
    r.Left += dx;
    r.Right += dx;
    r.Top += dy;
    r.Bottom += dy;
}

inline void InflateRect(TRect& r, int dx, int dy) {
    r.Left -= dx;
    r.Right += dx;
    r.Top -= dy;
    r.Bottom += dy;
}

inline TRect Offset(TRect r, int dx, int dy) {
    OffsetRect(r, dx, dy);
    return r;
}

inline TRect Inflate(TRect r, int dx, int dy) {
    InflateRect(r, dx, dy);
    return r;
}

// A picture shown at a desktop scale: logical position or length -> device pixels. Rounding each
// edge (not each length) makes neighbouring rectangles meet without gaps; at 1 nothing changes.
inline int ToPixels(int units, double scale) {
    return scale == 1.0 ? units : int(std::floor(units * scale + 0.5));
}
// The logical pixel a device pixel belongs to (the inverse of ToPixels).
inline int FromPixels(int pixels, double scale) {
    return scale == 1.0 ? pixels : int(std::ceil((pixels + 0.5) / scale)) - 1;
}
inline TRect ToPixels(const TRect& r, double scale) {
    return {ToPixels(r.Left, scale), ToPixels(r.Top, scale), ToPixels(r.Right, scale),
            ToPixels(r.Bottom, scale)};
}

}  // namespace gfx
