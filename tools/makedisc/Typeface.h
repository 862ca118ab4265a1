#pragma once
// Text for the disc artwork, rendered with FreeType from the first font file found. The pictures are
// still complete without any font (text is then simply left out), so the build never depends on one.
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "tools/makedisc/Raster.h"

class Typeface {
public:
    // The first candidate file that FreeType can open is used.
    explicit Typeface(const std::vector<std::string>& candidates);
    ~Typeface();
    Typeface(const Typeface&) = delete;
    Typeface& operator=(const Typeface&) = delete;

    bool Ok() const { return face_ != nullptr; }
    // Advance width of a UTF-8 text at a pixel size.
    double Measure(std::string_view utf8, double px) const;
    // A paragraph's words in lines at most width wide at a pixel size (a wider word stands alone);
    // no lines for a paragraph without words.
    std::vector<std::string> Wrap(const std::string& paragraph, double px, double width) const;
    // Draws a UTF-8 text with its baseline at y.
    void Draw(Raster& raster, double x, double baseline, std::string_view utf8, double px, Rgb c,
              double alpha = 1.0) const;
    // Horizontally centred on cx.
    void DrawCentred(Raster& raster, double cx, double baseline, std::string_view utf8, double px, Rgb c,
                     double alpha = 1.0) const;

    static const Typeface& Sans();
    static const Typeface& SansBold();
    static const Typeface& Mono();

private:
    struct Face;
    std::unique_ptr<Face> face_;
};
