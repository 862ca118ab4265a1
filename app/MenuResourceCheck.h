#pragma once
// What is wrong with a Menue.dat file image: the checks of `menudat list`, shared with the preview's
// report. Each problem is one line of UTF-8 text.
#include <iosfwd>
#include <string>
#include <string_view>
#include <vector>

// listing, when given, receives every header field and each blob's offset and size as well.
std::vector<std::string> CheckMenuResourceFile(std::string_view file, std::ostream* listing = nullptr);

// Why a banner blob shows no picture in the menu (its GIF control stays empty and the strip leaves
// it out); empty when it decodes into at least one frame.
std::string BannerPictureFault(std::string_view blob);
