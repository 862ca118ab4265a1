#include "tools/makedisc/ScreenshotArt.h"

#include <algorithm>
#include <cmath>

#include "tools/makedisc/Random.h"
#include "tools/makedisc/Typeface.h"

namespace {

struct Box {
    int X, Y, W, H;
};

const Rgb kAccents[] = {Hex(0x2563EB), Hex(0x0D9488), Hex(0x7C3AED), Hex(0xDB2777),
                        Hex(0xEA580C), Hex(0x16A34A), Hex(0x0891B2), Hex(0x4F46E5)};

// Draws paragraphs word-wrapped into a box; returns the y below the last line.
double DrawWrapped(Raster& r, const Box& box, const std::vector<std::string>& text, double px, Rgb ink) {
    const Typeface& face = Typeface::Sans();
    const double lineHeight = px * 1.45;
    double y = box.Y + px * 1.2;
    for (const auto& para : text) {
        if (para.empty()) {
            y += lineHeight * 0.6;
            continue;
        }
        for (const std::string& line : face.Wrap(para, px, box.W)) {
            if (y < box.Y + box.H) face.Draw(r, box.X, y, line, px, ink);
            y += lineHeight;
        }
    }
    return y;
}

void Bevel(Raster& r, const Box& b, Rgb face) {
    r.FillRect(b.X, b.Y, b.W, b.H, face);
    r.FillRect(b.X, b.Y, b.W, 1, Shade(face, 0.6));
    r.FillRect(b.X, b.Y + b.H - 1, b.W, 1, Shade(face, -0.3));
}

void Editor(Raster& r, const Box& c, const ScreenshotRequest& shot, double s) {
    r.FillRect(c.X, c.Y, c.W, c.H, Hex(0xDADDE3));
    const Box page{c.X + static_cast<int>(20 * s), c.Y + static_cast<int>(12 * s),
                   c.W - static_cast<int>(40 * s), c.H};
    r.FillRect(page.X + 3, page.Y + 3, page.W, page.H, Hex(0xB9BDC6));
    r.FillRect(page.X, page.Y, page.W, page.H, Hex(0xFFFFFF));
    const double pad = 24 * s;
    Typeface::SansBold().Draw(r, page.X + pad, page.Y + pad + 10 * s, shot.Title, 15 * s, Hex(0x1F2937));
    DrawWrapped(r,
                {static_cast<int>(page.X + pad), static_cast<int>(page.Y + pad + 18 * s),
                 static_cast<int>(page.W - 2 * pad), page.H},
                shot.Text, std::max(6.0, 9.5 * s), Hex(0x374151));
}

void Paint(Raster& r, const Box& c, Random& rnd, double s, Rgb accent) {
    const int tools = static_cast<int>(34 * s);
    r.FillRect(c.X, c.Y, tools, c.H, Hex(0xE5E7EB));
    for (int i = 0; i * (tools - 6) + 6 < c.H - 40 * s; ++i) {
        r.RoundRect(c.X + 4, c.Y + 4 + i * (tools - 6), c.X + tools - 4, c.Y + (i + 1) * (tools - 6), 3,
                    i == 2 ? accent : Hex(0xFFFFFF));
        r.Circle(c.X + tools / 2.0, c.Y + 4 + i * (tools - 6) + (tools - 10) / 2.0, (tools - 14) / 3.0,
                 i == 2 ? Hex(0xFFFFFF) : Hex(0x6B7280));
    }
    const Box canvas{c.X + tools + 10, c.Y + 10, c.W - tools - 20, c.H - static_cast<int>(40 * s) - 10};
    r.FillRect(canvas.X, canvas.Y, canvas.W, canvas.H, Hex(0xFFFFFF));
    r.FillRect(canvas.X, canvas.Y, canvas.W, canvas.H, [&](double, double y) {
        return Mix(Hex(0x93C5FD), Hex(0xFDE68A), (y - canvas.Y) / canvas.H);
    });
    r.Circle(canvas.X + canvas.W * 0.72, canvas.Y + canvas.H * 0.35, canvas.H * 0.12, Hex(0xFB923C));
    r.Polygon({{double(canvas.X), canvas.Y + canvas.H * 0.75},
               {canvas.X + canvas.W * 0.3, canvas.Y + canvas.H * 0.42},
               {canvas.X + canvas.W * 0.55, canvas.Y + canvas.H * 0.7},
               {canvas.X + canvas.W * 0.8, canvas.Y + canvas.H * 0.5},
               {double(canvas.X + canvas.W), canvas.Y + canvas.H * 0.68},
               {double(canvas.X + canvas.W), double(canvas.Y + canvas.H)},
               {double(canvas.X), double(canvas.Y + canvas.H)}},
              Hex(0x4D7C0F));
    for (int i = 0; i < 6; ++i)
        r.Circle(canvas.X + rnd.Real() * canvas.W, canvas.Y + canvas.H * (0.75 + 0.2 * rnd.Real()),
                 3 + 6 * s * rnd.Real(), kAccents[rnd.Int(0, 7)]);
    r.FillRect(canvas.X, canvas.Y, canvas.W, 1, Hex(0x9CA3AF));
    const int sw = std::max(8, static_cast<int>(18 * s));
    for (int i = 0; i < 16 && tools + 10 + i * (sw + 4) + sw < c.W; ++i)
        r.RoundRect(c.X + tools + 10 + i * (sw + 4), c.Y + c.H - 30 * s, c.X + tools + 10 + i * (sw + 4) + sw,
                    c.Y + c.H - 30 * s + sw, 3,
                    i < 8 ? kAccents[i] : Mix(Hex(0), Hex(0xFFFFFF), (i - 8) / 7.0));
}

void Table(Raster& r, const Box& c, Random& rnd, double s) {
    r.FillRect(c.X, c.Y, c.W, c.H, Hex(0xFFFFFF));
    const int rowH = std::max(10, static_cast<int>(18 * s)), colW = std::max(30, static_cast<int>(78 * s)),
              head = std::max(18, static_cast<int>(32 * s));
    const double px = std::max(6.0, 9 * s);
    const char* heads[] = {"Datum", "Bezeichnung", "Kategorie", "Betrag", "Saldo", "Notiz", "Stand", "Wert"};
    for (int y = c.Y + rowH, row = 0; y < c.Y + c.H; y += rowH, ++row) {
        if (row % 2) r.FillRect(c.X, y, c.W, rowH, Hex(0xF3F6FB));
        r.FillRect(c.X, y + rowH - 1, c.W, 1, Hex(0xE2E8F0));
        r.FillRect(c.X, y, head, rowH, Hex(0xE5E9F0));
        Typeface::Sans().DrawCentred(r, c.X + head / 2.0, y + rowH * 0.72, std::to_string(row + 1), px,
                                     Hex(0x64748B));
        for (int col = 0, x = c.X + head; x < c.X + c.W; x += colW, ++col) {
            std::string cell;
            if (col == 0)
                cell = std::to_string(rnd.Int(1, 28)) + "." + std::to_string(rnd.Int(1, 12)) + ".";
            else if (col % 3 == 1)
                cell = std::string(1, static_cast<char>('A' + rnd.Int(0, 25))) + "-" +
                       std::to_string(rnd.Int(100, 999));
            else
                cell = std::to_string(rnd.Int(1, 999)) + "," + std::to_string(rnd.Int(10, 99));
            Typeface::Sans().Draw(r, x + 4, y + rowH * 0.72, cell, px, Hex(0x1F2937));
        }
    }
    r.FillRect(c.X, c.Y, c.W, rowH, Hex(0xE5E9F0));
    for (int col = 0, x = c.X + head; x < c.X + c.W; x += colW, ++col) {
        r.FillRect(x - 1, c.Y, 1, c.H, Hex(0xD5DBE5));
        Typeface::SansBold().Draw(r, x + 4, c.Y + rowH * 0.72, heads[col % 8], px, Hex(0x334155));
    }
    r.FillRect(c.X + head + colW, c.Y + rowH * 3, colW, rowH, Hex(0x2563EB), 0.18);
}

void Scene(Raster& r, const Box& v, Random& rnd) {
    r.FillRect(v.X, v.Y, v.W, v.H,
               [&](double, double y) { return Mix(Hex(0x1E1B4B), Hex(0xF97316), (y - v.Y) / v.H); });
    r.Circle(v.X + v.W * 0.62, v.Y + v.H * 0.62, v.H * 0.16, Hex(0xFDE68A));
    Raster::Points hills{{double(v.X), v.Y + v.H * 0.8}};
    for (int i = 1; i <= 6; ++i)
        hills.emplace_back(v.X + v.W * i / 6.0, v.Y + v.H * (0.6 + 0.2 * rnd.Real()));
    hills.emplace_back(v.X + v.W, v.Y + v.H);
    hills.emplace_back(v.X, v.Y + v.H);
    r.Polygon(hills, Hex(0x111827));
}

void Player(Raster& r, const Box& c, Random& rnd, double s, Rgb accent) {
    r.FillRect(c.X, c.Y, c.W, c.H, Hex(0x111318));
    const int controls = std::max(22, static_cast<int>(48 * s));
    Scene(r, {c.X + 6, c.Y + 6, c.W - 12, c.H - controls - 12}, rnd);
    const double y = c.Y + c.H - controls * 0.72;
    r.RoundRect(c.X + 12, y, c.X + c.W - 12, y + 4 * s + 2, 3, Hex(0x374151));
    r.RoundRect(c.X + 12, y, c.X + 12 + (c.W - 24) * 0.4, y + 4 * s + 2, 3, accent);
    r.Circle(c.X + 12 + (c.W - 24) * 0.4, y + 2 * s + 1, 5 * s + 1, Hex(0xFFFFFF));
    const double by = c.Y + c.H - controls * 0.3, cx = c.X + c.W / 2.0;
    r.Circle(cx, by, 9 * s + 2, Hex(0xFFFFFF));
    r.Polygon({{cx - 3 * s, by - 5 * s}, {cx + 5 * s, by}, {cx - 3 * s, by + 5 * s}}, Hex(0x111318));
    for (int side : {-1, 1}) r.Circle(cx + side * 30 * s, by, 6 * s + 1, Hex(0x9CA3AF));
}

void Browser(Raster& r, const Box& c, const ScreenshotRequest& shot, double s, Rgb accent) {
    const int bar = std::max(14, static_cast<int>(28 * s));
    r.FillRect(c.X, c.Y, c.W, bar, Hex(0xE5E7EB));
    r.RoundRect(c.X + 50 * s, c.Y + 4 * s, c.X + c.W - 10 * s, c.Y + bar - 4 * s, 8 * s, Hex(0xFFFFFF));
    Typeface::Sans().Draw(r, c.X + 60 * s, c.Y + bar * 0.68, "http://" + shot.Url, std::max(6.0, 10 * s),
                          Hex(0x374151));
    for (int i = 0; i < 3; ++i) r.Circle(c.X + (10 + 13 * i) * s, c.Y + bar / 2.0, 4 * s, Hex(0x9CA3AF));
    const Box page{c.X, c.Y + bar, c.W, c.H - bar};
    r.FillRect(page.X, page.Y, page.W, page.H, Hex(0xFFFFFF));
    const int hero = page.H / 3;
    r.FillRect(page.X, page.Y, page.W, hero,
               [&](double x, double) { return Mix(accent, Shade(accent, -0.5), (x - page.X) / page.W); });
    Typeface::SansBold().Draw(r, page.X + 24 * s, page.Y + hero * 0.55, shot.Title, 22 * s, Hex(0xFFFFFF));
    Typeface::Sans().Draw(r, page.X + 24 * s, page.Y + hero * 0.55 + 20 * s,
                          "Willkommen auf unserer Homepage", 11 * s, Hex(0xE0E7FF));
    DrawWrapped(r,
                {static_cast<int>(page.X + 24 * s), page.Y + hero + static_cast<int>(8 * s),
                 static_cast<int>(page.W * 0.6), page.H - hero},
                shot.Text, std::max(6.0, 9.5 * s), Hex(0x374151));
    r.RoundRect(page.X + page.W * 0.68, page.Y + hero + 14 * s, page.X + page.W - 20 * s,
                page.Y + page.H - 14 * s, 6 * s, Hex(0xF1F5F9));
}

void Game(Raster& r, const Box& c, Random& rnd, double s) {
    r.FillRect(c.X, c.Y, c.W, c.H,
               [&](double, double y) { return Mix(Hex(0x0F172A), Hex(0x312E81), (y - c.Y) / c.H); });
    const int cell = std::max(10, static_cast<int>(std::min(c.W, c.H) / 9.0));
    const int cols = std::max(3, (c.W - cell * 3) / cell), rows = std::max(3, (c.H - cell) / cell);
    const int x0 = c.X + cell / 2, y0 = c.Y + (c.H - rows * cell) / 2;
    for (int y = 0; y < rows; ++y)
        for (int x = 0; x < cols; ++x) {
            const Rgb col = kAccents[rnd.Int(0, 7)];
            r.RoundRect(x0 + x * cell + 2, y0 + y * cell + 2, x0 + (x + 1) * cell - 2,
                        y0 + (y + 1) * cell - 2, cell / 5.0, [&](double, double py) {
                            return Mix(Shade(col, 0.35), col, (py - y0 - y * cell) / cell);
                        });
        }
    const double px = x0 + cols * cell + cell * 0.4;
    r.RoundRect(px, y0, c.X + c.W - cell * 0.3, y0 + cell * 2.2, 6, Hex(0xFFFFFF), 0.12);
    Typeface::SansBold().Draw(r, px + 6, y0 + cell * 0.9, "Punkte", std::max(6.0, 10 * s), Hex(0xC7D2FE));
    Typeface::SansBold().Draw(r, px + 6, y0 + cell * 1.8, std::to_string(rnd.Int(1000, 99999)),
                              std::max(7.0, 14 * s), Hex(0xFFFFFF));
}

void Terminal(Raster& r, const Box& c, double s) {
    r.FillRect(c.X, c.Y, c.W, c.H, Hex(0x0B1020));
    const char* lines[] = {"C:\\> dir /w",
                           "Datenträger in Laufwerk C: ist SYSTEM",
                           "[.]  [..]  [Programme]  [Daten]  liesmich.txt",
                           "C:\\> ping softbox.example",
                           "Antwort: Bytes=32 Zeit=12ms TTL=54",
                           "C:\\> build --release",
                           "Kompiliere 42 Dateien ...",
                           "Fertig: 0 Fehler, 0 Warnungen",
                           "C:\\> _"};
    const double px = std::max(6.0, 10 * s);
    double y = c.Y + px * 1.6;
    for (int i = 0; y < c.Y + c.H; ++i, y += px * 1.5)
        Typeface::Mono().Draw(r, c.X + 8, y, lines[i % 9], px,
                              lines[i % 9][0] == 'C' ? Hex(0x86EFAC) : Hex(0xCBD5E1));
}

void Files(Raster& r, const Box& c, Random& rnd, double s, Rgb accent) {
    const int tree = c.W / 3;
    r.FillRect(c.X, c.Y, tree, c.H, Hex(0xF1F5F9));
    r.FillRect(c.X + tree, c.Y, c.W - tree, c.H, Hex(0xFFFFFF));
    const double px = std::max(6.0, 9.5 * s), row = px * 2;
    const char* folders[] = {"Eigene Dateien", "Bilder",    "Urlaub 2025", "Musik",
                             "Dokumente",      "Programme", "Downloads",   "Desktop"};
    for (int i = 0; c.Y + (i + 1) * row < c.Y + c.H; ++i) {
        const double y = c.Y + (i + 0.5) * row, indent = (i % 3) * 10 * s;
        r.RoundRect(c.X + 6 + indent, y - px * 0.45, c.X + 6 + indent + px * 1.2, y + px * 0.45, 1.5,
                    Hex(0xF4B73E));
        Typeface::Sans().Draw(r, c.X + 10 + indent + px * 1.2, y + px * 0.35, folders[i % 8], px,
                              Hex(0x1F2937));
    }
    r.FillRect(c.X, static_cast<int>(c.Y + 2 * row), tree, static_cast<int>(row), accent, 0.2);
    const int icon = std::max(20, static_cast<int>(56 * s));
    for (int y = c.Y + 10, n = 0; y + icon < c.Y + c.H; y += icon + static_cast<int>(px * 2))
        for (int x = c.X + tree + 12; x + icon < c.X + c.W; x += icon + 14, ++n) {
            const Rgb col = kAccents[rnd.Int(0, 7)];
            r.RoundRect(x, y, x + icon, y + icon * 0.8, 4,
                        [&](double, double py) { return Mix(Shade(col, 0.5), col, (py - y) / icon); });
            Typeface::Sans().DrawCentred(r, x + icon / 2.0, y + icon * 0.8 + px * 1.3,
                                         "Bild_" + std::to_string(100 + n), px * 0.9, Hex(0x374151));
        }
}

void Chart(Raster& r, const Box& c, Random& rnd, double s, Rgb accent) {
    r.FillRect(c.X, c.Y, c.W, c.H, Hex(0xFFFFFF));
    const Box plot{c.X + static_cast<int>(40 * s), c.Y + static_cast<int>(20 * s),
                   c.W - static_cast<int>(60 * s), c.H - static_cast<int>(50 * s)};
    for (int i = 0; i <= 5; ++i) {
        const int y = plot.Y + plot.H * i / 5;
        r.FillRect(plot.X, y, plot.W, 1, Hex(0xE5E7EB));
        Typeface::Sans().Draw(r, c.X + 6, y + 4, std::to_string((5 - i) * 20), std::max(6.0, 9 * s),
                              Hex(0x6B7280));
    }
    const int bars = 12;
    const double bw = plot.W / double(bars);
    std::vector<double> values;
    values.reserve(size_t(std::max(bars, 0)));
    for (int i = 0; i < bars; ++i) values.push_back(0.25 + 0.7 * rnd.Real());
    for (int i = 0; i < bars; ++i)
        r.RoundRect(plot.X + i * bw + bw * 0.18, plot.Y + plot.H * (1 - values[i]),
                    plot.X + (i + 1) * bw - bw * 0.18, plot.Y + plot.H, 3, Mix(accent, Hex(0xFFFFFF), 0.35));
    for (int i = 0; i + 1 < bars; ++i)
        r.Line(plot.X + (i + 0.5) * bw, plot.Y + plot.H * (1 - values[i] * 0.8), plot.X + (i + 1.5) * bw,
               plot.Y + plot.H * (1 - values[i + 1] * 0.8), 2.2 * s + 0.5, Hex(0xF97316));
    const char* months[] = {"Jan", "Feb", "Mär", "Apr", "Mai", "Jun",
                            "Jul", "Aug", "Sep", "Okt", "Nov", "Dez"};
    for (int i = 0; i < bars; ++i)
        Typeface::Sans().DrawCentred(r, plot.X + (i + 0.5) * bw, plot.Y + plot.H + 14 * s, months[i],
                                     std::max(6.0, 8.5 * s), Hex(0x6B7280));
}

void Dialog(Raster& r, const Box& c, const ScreenshotRequest& shot, double s, Rgb accent) {
    r.FillRect(c.X, c.Y, c.W, c.H, Hex(0xF3F4F6));
    const double px = std::max(6.5, 10 * s), row = px * 2.6;
    const char* labels[] = {"Quelle:", "Ziel:", "Format:", "Qualität:", "Optionen:"};
    double y = c.Y + row * 0.8;
    Typeface::SansBold().Draw(r, c.X + 10, y, shot.Title, px * 1.2, Hex(0x111827));
    y += row * 0.7;
    for (int i = 0; i < 5 && y + row < c.Y + c.H - row * 1.4; ++i, y += row) {
        Typeface::Sans().Draw(r, c.X + 10, y + px, labels[i % 5], px, Hex(0x374151));
        const double fx = c.X + std::min(c.W * 0.35, 90.0 * s);
        if (i % 5 == 4) {
            r.RoundRect(fx, y, fx + px * 1.3, y + px * 1.3, 2, Hex(0xFFFFFF));
            r.RoundFrame(fx, y, fx + px * 1.3, y + px * 1.3, 2, 1, Hex(0x9CA3AF));
            r.Line(fx + px * 0.3, y + px * 0.7, fx + px * 0.55, y + px, 1.5, accent);
            r.Line(fx + px * 0.55, y + px, fx + px, y + px * 0.3, 1.5, accent);
        } else {
            r.RoundRect(fx, y - px * 0.2, c.X + c.W - 10, y + px * 1.4, 3, Hex(0xFFFFFF));
            r.RoundFrame(fx, y - px * 0.2, c.X + c.W - 10, y + px * 1.4, 3, 1, Hex(0xCBD5E1));
        }
    }
    const double bw = std::min(80.0 * s, c.W / 2.5), bh = px * 2.2, by = c.Y + c.H - bh - 8;
    // Room left in a tall dialog holds a preview.
    if (by - y > row * 2) {
        r.RoundRect(c.X + 10, y, c.X + c.W - 10, by - 10, 4, Hex(0xFFFFFF));
        r.RoundFrame(c.X + 10, y, c.X + c.W - 10, by - 10, 4, 1, Hex(0xCBD5E1));
        Typeface::SansBold().Draw(r, c.X + 18, y + px * 1.6, "Vorschau", px, Hex(0x6B7280));
        DrawWrapped(
            r, {c.X + 18, static_cast<int>(y + px * 2), c.W - 36, static_cast<int>(by - 14 - y - px * 2)},
            shot.Text, px * 0.9, Hex(0x374151));
    }
    r.RoundRect(c.X + c.W - 2 * bw - 16, by, c.X + c.W - bw - 16, by + bh, 4, accent);
    Typeface::SansBold().DrawCentred(r, c.X + c.W - 1.5 * bw - 16, by + bh * 0.68, "OK", px, Hex(0xFFFFFF));
    r.RoundRect(c.X + c.W - bw - 8, by, c.X + c.W - 8, by + bh, 4, Hex(0xE5E7EB));
    Typeface::Sans().DrawCentred(r, c.X + c.W - 0.5 * bw - 8, by + bh * 0.68, "Abbrechen", px * 0.9,
                                 Hex(0x111827));
}

void Map(Raster& r, const Box& c, Random& rnd, double s, Rgb accent) {
    r.FillRect(c.X, c.Y, c.W, c.H, Hex(0xA5D8F3));
    for (int i = 0; i < 14; ++i)
        r.Circle(c.X + c.W * (0.2 + 0.6 * rnd.Real()), c.Y + c.H * (0.2 + 0.6 * rnd.Real()),
                 std::min(c.W, c.H) * (0.12 + 0.12 * rnd.Real()), Hex(0xE8F0D8));
    for (int i = 0; i < 5; ++i)
        r.Circle(c.X + c.W * rnd.Real(), c.Y + c.H * rnd.Real(), std::min(c.W, c.H) * 0.06, Hex(0xC6E3A6));
    double x = c.X + c.W * 0.15, y = c.Y + c.H * 0.7;
    for (int i = 0; i < 7; ++i) {
        const double nx = x + c.W * 0.1, ny = y - c.H * (0.05 + 0.1 * (rnd.Real() - 0.3));
        r.Line(x, y, nx, ny, 4 * s + 1, Hex(0xFFFFFF));
        r.Line(x, y, nx, ny, 2.5 * s + 0.5, accent);
        x = nx, y = ny;
    }
    r.Circle(x, y - 10 * s, 7 * s + 2, Hex(0xDC2626));
    r.Circle(x, y - 10 * s, 2.5 * s + 1, Hex(0xFFFFFF));
}

void Calendar(Raster& r, const Box& c, Random& rnd, double s, Rgb accent) {
    r.FillRect(c.X, c.Y, c.W, c.H, Hex(0xFFFFFF));
    const char* days[] = {"Mo", "Di", "Mi", "Do", "Fr", "Sa", "So"};
    const double cw = c.W / 7.0, head = 20 * s + 4, ch = (c.H - head) / 5.0, px = std::max(6.0, 9.5 * s);
    for (int d = 0; d < 7; ++d)
        Typeface::SansBold().Draw(r, c.X + d * cw + 6, c.Y + head * 0.7, days[d], px, Hex(0x475569));
    for (int w = 0; w < 5; ++w)
        for (int d = 0; d < 7; ++d) {
            const double x = c.X + d * cw, y = c.Y + head + w * ch;
            r.FillRect(static_cast<int>(x), static_cast<int>(y), static_cast<int>(cw), 1, Hex(0xE2E8F0));
            r.FillRect(static_cast<int>(x), static_cast<int>(y), 1, static_cast<int>(ch), Hex(0xE2E8F0));
            const int day = w * 7 + d - 1;
            if (day < 1 || day > 30) continue;
            Typeface::Sans().Draw(r, x + 5, y + px * 1.4, std::to_string(day), px,
                                  d >= 5 ? Hex(0xDC2626) : Hex(0x1F2937));
            if (rnd.Int(0, 3) == 0)
                r.RoundRect(x + 4, y + ch * 0.5, x + cw - 4, y + ch * 0.5 + px * 1.3, 3,
                            kAccents[rnd.Int(0, 7)], 0.85);
            if (day == 14) r.RoundFrame(x + 1, y + 1, x + cw - 1, y + ch - 1, 3, 2, accent);
        }
}

}  // namespace

Raster PaintScreenshot(const ScreenshotRequest& shot) {
    Random rnd(shot.Title);
    const Rgb accent = kAccents[rnd.Int(0, 7)];
    const int w = shot.Width, h = shot.Height;
    const double s = std::clamp(std::min(w / 640.0, h / 480.0), 0.45, 1.5);
    Raster r(w, h, Hex(0xF3F4F6));
    // Window frame: title bar in the program's colour, menu bar, tool bar and status bar as the size allows.
    const int title = std::max(12, static_cast<int>(std::lround(24 * s)));
    r.FillRect(0, 0, w, title, [&](double x, double) { return Mix(accent, Shade(accent, -0.35), x / w); });
    Typeface::SansBold().Draw(r, title * 0.4, title * 0.7, shot.Title, title * 0.5, Hex(0xFFFFFF));
    for (int i = 0; i < 3; ++i)
        r.RoundRect(w - (i + 1) * title * 1.2, title * 0.2, w - (i + 1) * title * 1.2 + title, title * 0.8, 2,
                    i == 0 ? Hex(0xEF4444) : Shade(accent, 0.25));
    int top = title;
    const bool chrome = h >= 200 && shot.Kind != "dialog";
    if (chrome) {
        const int menu = static_cast<int>(18 * s) + 2;
        Bevel(r, {0, top, w, menu}, Hex(0xF9FAFB));
        double x = 8;
        for (const char* item : {"Datei", "Bearbeiten", "Ansicht", "Extras", "Hilfe"}) {
            Typeface::Sans().Draw(r, x, top + menu * 0.72, item, std::max(6.0, 9.5 * s), Hex(0x111827));
            x += Typeface::Sans().Measure(item, std::max(6.0, 9.5 * s)) + 14 * s;
        }
        top += menu;
        if (h >= 240) {
            const int bar = static_cast<int>(28 * s) + 2;
            Bevel(r, {0, top, w, bar}, Hex(0xEEF0F3));
            for (int i = 0; (i + 1) * (bar + 2) < w / 2; ++i)
                r.RoundRect(6 + i * (bar + 2), top + 3, 6 + i * (bar + 2) + bar - 6, top + bar - 3, 3,
                            i % 4 == 3 ? Hex(0xEEF0F3) : Mix(kAccents[(i * 3) % 8], Hex(0xFFFFFF), 0.45));
            top += bar;
        }
    }
    const int status = chrome ? static_cast<int>(18 * s) + 2 : 0;
    const Box content{0, top, w, h - top - status};
    if (shot.Kind == "editor")
        Editor(r, content, shot, s);
    else if (shot.Kind == "paint")
        Paint(r, content, rnd, s, accent);
    else if (shot.Kind == "table")
        Table(r, content, rnd, s);
    else if (shot.Kind == "player")
        Player(r, content, rnd, s, accent);
    else if (shot.Kind == "browser")
        Browser(r, content, shot, s, accent);
    else if (shot.Kind == "game")
        Game(r, content, rnd, s);
    else if (shot.Kind == "terminal")
        Terminal(r, content, s);
    else if (shot.Kind == "files")
        Files(r, content, rnd, s, accent);
    else if (shot.Kind == "chart")
        Chart(r, content, rnd, s, accent);
    else if (shot.Kind == "map")
        Map(r, content, rnd, s, accent);
    else if (shot.Kind == "calendar")
        Calendar(r, content, rnd, s, accent);
    else
        Dialog(r, content, shot, s, accent);
    if (status) {
        Bevel(r, {0, h - status, w, status}, Hex(0xE5E7EB));
        Typeface::Sans().Draw(r, 8, h - status * 0.28, "Bereit", std::max(6.0, 9 * s), Hex(0x4B5563));
    }
    return r;
}
