// TMainForm, continued: the program page, the banner strip, the info page and the full-screen view.
#include <algorithm>
#include <exception>
#include <filesystem>
#include <optional>
#include <utility>

#include "app/Catalogue.h"
#include "app/InfoFrame.h"
#include "app/Links.h"
#include "app/MainForm.h"
#include "app/MenuModel.h"
#include "app/MenuResource.h"
#include "app/TextHelpers.h"
#include "app/VollbildForm.h"
#include "base/Exceptions.h"
#include "base/Paths.h"
#include "base/StrUtils.h"
#include "flat/FlatGroupBox.h"
#include "flat/FlatListBox.h"
#include "flat/FlatScrollbar.h"
#include "gfx/GraphicError.h"
#include "gfx/Thumbnail.h"
#include "gui/Application.h"
#include "gui/Image.h"
#include "gui/Label.h"
#include "gui/Panel.h"
#include "gui/Screen.h"
#include "gui/Timer.h"
#include "media/GIFImage.h"
#include "platform/Services.h"
#include "platform/Shell.h"
#include "skin/GlyphButton.h"
#include "skin/PicturePanel.h"
#include "skin/SkinButton.h"
#include "skin/TransText.h"

namespace {

constexpr int kThumbWidth = 261, kThumbHeight = 196;
constexpr int kBannerShownLeft = 15, kBannerWaitingLeft = -200, kBannerTop = 395;
constexpr int kStillBannerTime = 20000;

bool IsFile(const std::string& nativePath) {
    std::error_code ec;
    return std::filesystem::is_regular_file(nativePath, ec);
}

// Shows the hourglass while a page is built and restores the normal cursor however it ends.
struct THourGlass {
    THourGlass() {
        if (gui::Screen) gui::Screen->SetCursor(gui::crHourGlass);
    }
    ~THourGlass() {
        if (gui::Screen) gui::Screen->SetCursor(gui::crDefault);
    }
    THourGlass(const THourGlass&) = delete;
    THourGlass& operator=(const THourGlass&) = delete;
};

}  // namespace

// ---- program page -----------------------------------------------------------------------------

void TMainForm::ShowProgramPage() {
    const int count = lbProgramme->Items().Count();
    // An empty list has no page to show: whatever stands on the right stays.
    if (count == 0 && !ListFilling) return;
    iStart->Hide();
    if (ListFilling) return;
    if (lbProgramme->ItemIndex() > count - 1) lbProgramme->SetItemIndex(count - 1);
    const int index = lbProgramme->ItemIndex();
    // Nothing selected (an empty list, or a click beside the entries): there is no page to build.
    if (index < 0 || index >= count) return;
    const std::string selected = lbProgramme->Items().Strings(index);
    gbProgramm->SetCaption(EscapeAmpersand(selected));
    if (gbProgramm->Caption() == LastShownProgram && lRubrik->Caption() == LastShownCategory) return;
    LastShownProgram = gbProgramm->Caption();
    LastShownCategory = lRubrik->Caption();

    THourGlass busy;
    PicturePanel1->Show();
    const bool searchMode = lRubrik->Caption() == "Suchergebnisse";
    std::optional<TProgramRecord> record;
    std::exception_ptr cut;  // a record cut short fails after the old page has been cleared
    try {
        record = FindProgramRecordFile(DataFile("daten.txt"), selected, UnescapeAmpersand(lRubrik->Caption()),
                                       searchMode);
    } catch (const base::EFOpenError&) {
        // Not shown: choosing this program again, once the disc is back, must read it anew.
        LastShownProgram.clear();
        LastShownCategory.clear();
        throw base::EFOpenError::CannotOpen(ShownFile(DataDir + "daten.txt"));
    } catch (const base::EStringListError&) {
        cut = std::current_exception();
    } catch (...) {
        LastShownProgram.clear();
        LastShownCategory.clear();
        throw;
    }
    ++pageBuilds_;
    CurrentProgram = selected;
    for (TFactRow& row : FactRows) {
        if (row.Picture) row.Picture->Hide();
        if (row.Key) row.Key->Hide();
        if (row.Value) row.Value->Hide();
    }
    if (cut) std::rethrow_exception(cut);
    // A program without a record gets an empty page: left as it was, it would show the previous
    // program's picture and text, and its buttons would act on that program.
    FillPage(record ? *record : TProgramRecord{});
    bVollbild->SetEnabled(record.has_value());
    bScreenshot->SetEnabled(record.has_value());

    FlatScrollbar1->SetPosition(0);
    lRubrik->SetCaption(EscapeAmpersand(CurrentCategory));
    lAnzahlProgramme->SetCaption(std::to_string(index + 1) + "/" + std::to_string(count));
    gbProgramm->Show();
}

void TMainForm::FillPage(const TProgramRecord& record) {
    const MenuModel::TProgramPage page = MenuModel::ProgramPageOf(record, DiscRoot);
    FactRowCount = 0;
    for (const MenuModel::TPageFact& fact : page.Facts) AddFactRow(fact.Key, fact.Value);

    ShowScreenshot(page.ScreenshotPath);
    ScreenshotPath = page.ScreenshotPath;

    lBesonderheiten2->SetCaption(EscapeAmpersand(page.Features));
    lBesonderheiten1->SetVisible(page.FeaturesShown);
    lBesonderheiten2->SetVisible(page.FeaturesShown);
    TransText1->SetHeight(page.FeaturesShown ? 146 : 166);

    InstallPath = page.InstallPath;
    bInstallieren->SetCaption(MenuModel::InstallCaption(page.Unpacks));
    bInstallieren->SetEnabled(!InstallPath.empty());
    StartPath = page.StartPath;
    bStarten->SetEnabled(!StartPath.empty());
    bKopieren->SetEnabled(page.CanCopy);
    CopySourcePath = page.CopySourcePath;

    base::TStringList& text = TransText1->Text();
    text.Clear();
    for (const std::string& line : page.Description) text.Add(line);
    TransText1->WrapText();
    TransText1->Repaint();
}

void TMainForm::AddFactRow(const std::string& key, const std::string& value) {
    const std::string trimmed = base::Trim(value);
    if (trimmed.empty()) return;
    if (FactRowCount >= int(FactRows.size())) return;
    const int k = FactRowCount;
    TFactRow& row = FactRows[size_t(k)];
    if (!row.Picture) return;  // the rows are made at the end of the initialisation

    row.Picture->SetBounds(285, 33 * k + 30, iFacts->Width(), iFacts->Height());
    row.Picture->SetPicture(iFacts->Picture());
    row.Picture->Show();

    auto style = [](gui::TLabel* label, const gui::TLabel* from, int top) {
        label->SetAutoSize(false);
        label->SetAlignment(from->Alignment());
        label->SetBounds(285, top, from->Width(), from->Height());
        label->SetFont(from->Font());
        label->SetColor(from->Color());
        label->SetTransparent(true);
    };
    style(row.Key, lFactsKey, 33 * k + 30);
    row.Key->SetCaption(EscapeAmpersand(key));
    row.Key->Show();

    style(row.Value, lFactsValue, 33 * k + 45);
    const auto [text, shortened] = ShortenFactValue(trimmed);
    row.Value->SetCaption(EscapeAmpersand(text));
    row.Value->SetHint(trimmed);
    row.Value->SetShowHint(shortened);
    gfx::TFont font = row.Value->Font();
    font.SetStyle(0);
    row.Value->SetFont(font);
    row.Value->SetCursor(gui::crDefault);
    row.Value->OnClick = nullptr;
    row.Value->Show();

    if (key == "Homepage") {
        font.SetStyle(gfx::fsUnderline);
        row.Value->SetFont(font);
        row.Value->SetCursor(gui::crHandPoint);
        row.Value->OnClick = [this](gui::TComponent* s) { lFactsValueClick(s); };
        HomepageUrl = trimmed;
    }
    ++FactRowCount;
}

std::pair<std::string, bool> TMainForm::ShortenFactValue(const std::string& text) {
    return MenuModel::ShortenFactValue(text);
}

void TMainForm::lFactsValueClick(gui::TComponent*) {
    OpenLink("http://" + HomepageUrl);
}

std::string TMainForm::MapToDiscRoot(const std::string& path) const {
    return MenuModel::MapToDiscRoot(DiscRoot, path);
}

void TMainForm::ShowScreenshot(const std::string& path) {
    const std::string file = path.empty() ? std::string() : NativeFile(path);
    if (file.empty() || !IsFile(file)) {
        iScreenshot->Hide();
        return;
    }
    std::vector<uint8_t> bytes;
    gfx::TThumbnail thumb;
    try {
        if (!gfx::ReadWholeFile(file, bytes)) return;
        thumb = gfx::JpegThumbnail(bytes.data(), bytes.size(), kThumbWidth, kThumbHeight, PixelScale());
    } catch (const std::exception&) {
        // Not a picture the decoder can read: the previous thumbnail stays.
        return;
    }
    const bool fitted = thumb.fitted;
    const gfx::TRect place = thumb.place;
    iScreenshot->SetStretch(fitted);
    iScreenshot->SetCenter(!fitted);
    iScreenshot->SetBounds(place.Left, place.Top, place.Right - place.Left, place.Bottom - place.Top);
    iScreenshot->SetPicture(std::move(thumb.picture));
    iScreenshot->Show();
}

void TMainForm::gbProgrammEnter(gui::TComponent*) {
    PicturePanel1->Show();
}

// ---- banners ----------------------------------------------------------------------------------

media::TGIFImage* TMainForm::Banner(int index) const {
    switch (index) {
        case 0:
            return iBanner1;
        case 1:
            return ibanner2;
        case 2:
            return iBanner3;
    }
    return nullptr;
}

bool TMainForm::BannerShowsPicture(int index) const {
    const media::TGIFImage* banner = Banner(index);
    return banner && !banner->Empty() && banner->FrameCount() > 0;
}

std::vector<int> TMainForm::RotatingBanners() const {
    // A banner whose picture did not load (a damaged disc, a file from another tool) leaves the
    // rotation; the others go on, and with none left the strip stays empty.
    std::vector<int> usable;
    for (int i = 0; i < MenuModel::BannerCount(BannerLinks); ++i)
        if (BannerShowsPicture(i)) usable.push_back(i);
    return usable;
}

void TMainForm::ParkBanners() {
    Timer1->SetEnabled(false);
    for (int i = 0; i < 3; ++i) {
        Banner(i)->SetBounds(kBannerWaitingLeft, kBannerTop, Banner(i)->Width(), Banner(i)->Height());
        Banner(i)->SetAnimate(false);
    }
}

void TMainForm::ShowBannerStill(int index) {
    ParkBanners();
    media::TGIFImage* banner = Banner(index);
    if (!banner) return;
    banner->SetBounds(kBannerShownLeft, kBannerTop, banner->Width(), banner->Height());
    // The frame it rests on: the one held longest, the first of equals. Frames are composed one
    // after the other, as the animation would, so that partial frames build on what came before.
    int rest = 1;
    for (int f = 2; f <= banner->FrameCount(); ++f)
        if (banner->Frame(f)->Delay > banner->Frame(rest)->Delay) rest = f;
    BannerWrapped = false;
    for (int f = 2; f <= rest; ++f) banner->SetCurrentFrame(f);
}

void TMainForm::CycleBanner() {
    const int count = MenuModel::BannerCount(BannerLinks);
    const std::vector<int> usable = RotatingBanners();
    if (usable.empty()) {
        ParkBanners();
        return;
    }
    if (count == 1) {
        if (iBanner1->Left() == kBannerShownLeft) {
            // The only banner, played once to its end: it starts again rather than stand still.
            if (iBanner1->Animated() && !iBanner1->AnimationTimer()) {
                iBanner1->SetAnimate(false);
                iBanner1->SetAnimate(true);
            }
            return;
        }
        iBanner1->SetLeft(kBannerShownLeft);
    }
    ParkBanners();
    Timer1->SetInterval(kStillBannerTime);
    std::uniform_int_distribution<int> pick(0, int(usable.size()) - 1);
    media::TGIFImage* chosen = Banner(usable[size_t(pick(random_))]);
    Timer1->SetEnabled(!chosen->Animated());
    chosen->SetBounds(kBannerShownLeft, kBannerTop, chosen->Width(), chosen->Height());
    if (chosen->Animated()) chosen->SetAnimate(true);
}

void TMainForm::Timer1Timer(gui::TComponent*) {
    Timer1->SetEnabled(false);
    CycleBanner();
}

void TMainForm::BannerWrapAnimation(gui::TComponent* sender) {
    auto* banner = dynamic_cast<media::TGIFImage*>(sender);
    if (!banner || banner->Left() != kBannerShownLeft) return;
    BannerWrapped = true;
    // A banner that plays once raises no change after its last wrap, so nothing else would ever
    // replace it: Timer1 does, once its last frame has been shown for its own delay.
    if (!banner->AnimationTimer()) {
        Timer1->SetEnabled(false);
        Timer1->SetInterval(int(banner->FrameInterval(banner->FrameCount())));
        Timer1->SetEnabled(true);
    }
}

void TMainForm::BannerChange(gui::TComponent* sender) {
    auto* banner = dynamic_cast<media::TGIFImage*>(sender);
    if (banner && banner->Left() == kBannerShownLeft && BannerWrapped) {
        CycleBanner();
        BannerWrapped = false;
    }
}

void TMainForm::BannerClick(gui::TComponent* sender) {
    for (int i = 0; i < 3; ++i)
        if (Banner(i) == sender && BannerShowsPicture(i)) {
            // The link ends at the target field's first zero byte.
            const std::string& link = BannerLinks[size_t(i)];
            OpenLink(link.substr(0, link.find('\0')));
        }
}

// ---- info page and full-screen view -----------------------------------------------------------

void TMainForm::bInfoClick(gui::TComponent*) {
    PlaySlotSound(0);
    InfoFrame1->LoadBackground();
    InfoFrame1->SetLeft(0);
    bInfo->SetEnabled(false);
    listBeforeInfo_ = pProgramme->Visible();
    focusBeforeInfo_ = WeakOf<gui::TControl>(FocusedControl());
    PicturePanel1->Hide();
    pProgramme->Hide();
    // The page's own button holds the focus while it covers the window.
    FocusControl(InfoFrame1->bBeenden);
}

void TMainForm::InfoBeendenClick(gui::TComponent*) {
    PlaySlotSound(0);
    InfoFrame1->SetLeft(640);
    bInfo->SetEnabled(true);
    const bool page = gbProgramm->Visible();
    PicturePanel1->SetVisible(page);
    // An empty category's list has no page under it, but was open all the same.
    pProgramme->SetVisible(page || listBeforeInfo_);
    LeaveInfoPage();
}

void TMainForm::bVollbildClick(gui::TComponent*) {
    PlaySlotSound(0);
    const std::string path = base::Trim(ScreenshotPath);
    if (path.empty()) return;
    const std::string file = NativeFile(path);
    if (!IsFile(file) || !dialogs_.FullScreen) return;
    OpenGallery();
}

void TMainForm::iScreenshotDblClick(gui::TComponent*) {
    bVollbildClick(this);
}
