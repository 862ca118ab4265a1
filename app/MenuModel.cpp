#include "app/MenuModel.h"

#include <algorithm>

#include "app/Catalogue.h"
#include "app/TextHelpers.h"
#include "base/Paths.h"
#include "base/StrUtils.h"

namespace MenuModel {

std::string MapToDiscRoot(std::string_view discRoot, const std::string& path) {
    const std::string trimmed = base::Trim(path);
    if (trimmed.size() <= 3) return {};
    const std::string drive = base::ExtractFileDrive(trimmed);
    const size_t from = std::min(drive.size() + 1, path.size());
    return std::string(discRoot) + path.substr(from);
}

std::pair<std::string, bool> ShortenFactValue(const std::string& text) {
    if (text.size() >= 25) return {text.substr(0, 22) + "...", true};
    return {text, false};
}

TProgramPage ProgramPageOf(const TProgramRecord& record, std::string_view discRoot) {
    TProgramPage page;
    for (size_t i = 0; i < record.Facts.size(); ++i) {
        std::string value = base::Trim(record.Facts[i]);
        if (value.empty()) continue;
        const bool homepage = kFactKeys[i] == "Homepage";
        if (homepage) page.HomepageUrl = value;
        page.Facts.push_back({std::string(kFactKeys[i]), std::move(value), homepage});
    }
    page.ScreenshotPath = MapToDiscRoot(discRoot, record.Screenshot);
    page.Features = record.Features;
    // The label's caption is counted, with its "&" doubled.
    page.FeaturesShown = EscapeAmpersand(record.Features).size() >= 3;

    page.InstallPath = MapToDiscRoot(discRoot, record.Install);
    page.Unpacks = base::UpperCase(base::ExtractFileExt(page.InstallPath)) == ".ZIP";
    if (page.InstallPath.size() <= 4) page.InstallPath.clear();
    page.StartPath = MapToDiscRoot(discRoot, record.Start);
    if (page.StartPath.size() <= 4) page.StartPath.clear();
    page.CanCopy = !page.InstallPath.empty() || !page.StartPath.empty();
    page.CopySourcePath =
        MapToDiscRoot(discRoot, !page.InstallPath.empty() ? page.InstallPath : page.StartPath);
    page.Description = record.Description;
    return page;
}

std::string InstallCaption(bool unpacks) {
    return unpacks ? "Entpacken" : "Installieren";
}

int BannerCount(const std::array<std::string, 3>& bannerLinks) {
    if (bannerLinks[1].find("---") != std::string::npos) return 1;
    if (bannerLinks[2].find("---") != std::string::npos) return 2;
    return 3;
}

std::string SearchTerm(std::string_view typed) {
    return base::Trim(typed);
}

}  // namespace MenuModel
