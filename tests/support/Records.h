#pragma once
// What the menu tests write onto a disc copy: catalogue records and pictures.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "gfx/Bitmap.h"
#include "gfx/JpegCodec.h"
#include "tests/support/MenuFixture.h"
#include "tools/common/CatalogueWriter.h"

// A record of a German freeware Linux program by "Beispiel GmbH"; a test sets what it looks at.
inline TCatalogueProgram ExampleProgram(const std::string& name, std::vector<std::string> description) {
    TCatalogueProgram p;
    p.Name = name;
    p.Os = "Linux";
    p.Licence = "Freeware";
    p.Price = "kostenlos";
    p.Language = "Deutsch";
    p.Vendor = "Beispiel GmbH";
    p.Homepage = "www.example.org";
    p.Description = std::move(description);
    return p;
}

// progname.txt and daten.txt of one category "Test" with these programs.
inline void WriteCatalogue(const MenuFixture& menu, const std::vector<TCatalogueProgram>& programs) {
    TCatalogueWriter w;
    w.Categories.push_back({"Test", programs});
    menu.WriteFile("progname.txt", w.ProgName());
    menu.WriteFile("daten.txt", w.Daten());
}

// WriteCatalogue, then the menu started on it.
inline void WriteCatalogueAndStart(MenuFixture& menu, const std::vector<TCatalogueProgram>& programs) {
    WriteCatalogue(menu, programs);
    ASSERT_TRUE(menu.Start());
}

// A JPEG in Bilder/ whose red rises from left to right and green from top to bottom; returns its
// path as the records write it.
inline std::string WriteGradientJpeg(const MenuFixture& menu, const std::string& name, int w, int h,
                                     int quality) {
    gfx::TBitmap b(w, h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) b.SetPixel(x, y, gfx::RGB(x * 255 / w, y * 255 / h, 128));
    const std::vector<uint8_t> jpeg = gfx::EncodeJpeg(b, quality);
    menu.WriteFile("Bilder/" + name, std::string(jpeg.begin(), jpeg.end()));
    return "D:\\Bilder\\" + name;
}
