#include "app/MenuModel.h"

#include <algorithm>

#include "app/Catalogue.h"
#include "app/MenuResource.h"
#include "app/TextHelpers.h"
#include "base/Exceptions.h"
#include "base/Paths.h"
#include "base/StrUtils.h"
#include "platform/Services.h"
#include "platform/UserPaths.h"

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

// ---- the menu's state ---------------------------------------------------------------------------

namespace {

// A data file of the disc; a failure names the file as it was looked for.
TCatalogue LoadCatalogue(const std::string& nativeName) {
    try {
        TCatalogue catalogue;
        catalogue.Load(nativeName);
        return catalogue;
    } catch (const base::EFOpenError&) {
        throw base::EFOpenError::CannotOpen(platform::ShownPath(nativeName));
    }
}

}  // namespace

TMenuModel::TMenuModel() = default;
TMenuModel::~TMenuModel() = default;

void TMenuModel::SetPaths(std::string dataDir, std::string discRoot) {
    dataDir_ = std::move(dataDir);
    if (dataDir_.empty() || dataDir_.back() != '\\') dataDir_ += '\\';
    discRoot_ = std::move(discRoot);
}

std::string TMenuModel::NativeFile(const std::string& appPath) {
    return platform::Services().paths.Resolve(appPath);
}

std::string TMenuModel::ShownFile(const std::string& appPath) {
    return platform::ShownPath(NativeFile(appPath));
}

std::string TMenuModel::DataFile(const std::string& name) const {
    return NativeFile(dataDir_ + name);
}

std::string TMenuModel::MapToDiscRoot(const std::string& path) const {
    return MenuModel::MapToDiscRoot(discRoot_, path);
}

void TMenuModel::LoadResource() {
    try {
        resource_ = std::make_unique<TMenuResource>(LoadMenuResourceFile(DataFile("Menue.dat")));
    } catch (const base::EFOpenError&) {
        throw base::EFOpenError::CannotOpen(ShownFile(dataDir_ + "Menue.dat"));
    }
    bannerLinks_ = resource_->BannerLinks;
}

const std::vector<uint8_t>* TMenuModel::Sound(int n) const {
    if (!resource_ || n < 0 || n >= 7) return nullptr;
    const std::vector<uint8_t>& slot = resource_->SoundSlots[size_t(n)];
    return slot.empty() ? nullptr : &slot;
}

std::vector<uint8_t> TMenuModel::ReleaseSounds() {
    if (!resource_) return {};
    std::vector<uint8_t> farewell = std::move(resource_->SoundSlots[6]);
    for (int i = 0; i < 6; ++i) std::vector<uint8_t>().swap(resource_->SoundSlots[size_t(i)]);
    return farewell;
}

void TMenuModel::LoadCategories() {
    categories_ = ReadCategoryList(LoadCatalogue(DataFile("progname.txt")));
}

void TMenuModel::OpenCategoryList(int index, const std::string& category) {
    openCategory_ = index;
    heading_ = category;
    listed_.clear();  // a list that cannot be read leaves none, not the one before
    listed_ = ReadCategoryPrograms(LoadCatalogue(DataFile("progname.txt")), category);
}

bool TMenuModel::OpenSearch(const std::string& term, bool matchCase) {
    std::vector<std::string> results;
    try {
        results = SearchCatalogueFile(DataFile("daten.txt"), term, matchCase);
    } catch (const base::EFOpenError&) {
        throw base::EFOpenError::CannotOpen(ShownFile(dataDir_ + "daten.txt"));
    }
    if (results.empty()) return false;
    heading_ = std::string(MenuModel::kSearchResults);
    listed_ = std::move(results);
    return true;
}

std::optional<TProgramRecord> TMenuModel::FindRecord(const std::string& program,
                                                     const std::string& heading) const {
    try {
        return FindProgramRecordFile(DataFile("daten.txt"), program, heading,
                                     heading == MenuModel::kSearchResults);
    } catch (const base::EFOpenError&) {
        throw base::EFOpenError::CannotOpen(ShownFile(dataDir_ + "daten.txt"));
    }
}

void TMenuModel::BeginPage(const std::string& program) {
    ++pageBuilds_;
    currentProgram_ = program;
}

void TMenuModel::SetPage(const TProgramRecord* record) {
    pageHasRecord_ = record != nullptr;
    std::string homepage = std::move(page_.HomepageUrl);
    page_ = MenuModel::ProgramPageOf(record ? *record : TProgramRecord{}, discRoot_);
    // A page without a homepage has no link to it; the last one stays for whatever asks.
    if (page_.HomepageUrl.empty()) page_.HomepageUrl = std::move(homepage);
}
