#pragma once
// The catalogue part of the disc: progname.txt and daten.txt (cp1252, CR LF), a JPEG screenshot per
// program that has one, and per program its folder with an installer, a start file or a ZIP archive.
// Paths in daten.txt are Windows paths on the authoring drive D:, which the menu maps onto its disc.
#include <functional>
#include <string>
#include <vector>

#include "tools/makedisc/CatalogueSource.h"
#include "tools/makedisc/DiscFiles.h"
#include "tools/makedisc/Raster.h"

struct CatalogueSummary {
    int Categories = 0, Programs = 0, Screenshots = 0, Archives = 0, Installers = 0, StartFiles = 0;
};

// preview, when set, receives every screenshot as drawn.
CatalogueSummary WriteCatalogue(DiscFiles& disc, const std::vector<CategorySource>& categories,
                                const std::function<void(const std::string&, const Raster&)>& preview = {});

// The drive letter the paths in daten.txt carry.
inline constexpr const char* kAuthoringDrive = "D:";
