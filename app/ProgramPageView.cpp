#include "app/ProgramPageView.h"

#include <algorithm>
#include <filesystem>

#include "app/FormBuilding.h"
#include "app/MenuModel.h"
#include "app/SkinFiles.h"
#include "app/TextHelpers.h"
#include "base/StrUtils.h"
#include "flat/FlatGroupBox.h"
#include "flat/FlatScrollbar.h"
#include "gfx/GraphicError.h"
#include "gfx/Thumbnail.h"
#include "gui/Form.h"
#include "gui/Image.h"
#include "gui/Keys.h"
#include "gui/Label.h"
#include "gui/Panel.h"
#include "skin/GlyphButton.h"
#include "skin/PicturePanel.h"
#include "skin/SkinButton.h"
#include "skin/TransText.h"

using layout::MakeFont;
using layout::Place;

namespace {

constexpr int kThumbWidth = 261, kThumbHeight = 196;
constexpr int kDescriptionLine = 13;  // Verdana 11 pixels high
// Tab places of the page's own stops, between the actions' (see the actions table).
constexpr int kThumbnailPlace = 65, kHomepagePlace = 90, kDescriptionPlace = 100;

bool IsFile(const std::string& nativePath) {
    std::error_code ec;
    return std::filesystem::is_regular_file(nativePath, ec);
}

}  // namespace

TProgramPageView::TProgramPageView(gui::TForm& form) : form_(form) {
    gbProgramm_ = Place<flat::TFlatGroupBox>(&form, &form, "gbProgramm", 200, 25, 438, 440);
    gbProgramm_->SetVisible(false);
    gbProgramm_->SetTransparent(true);
    gbProgramm_->SetBorder(flat::brOnlyTopLine);
    // No colour of its own: the system draws an unknown system colour black.
    gbProgramm_->SetColorBorder(gfx::TColor(0xFFFFFFFF));
    gbProgramm_->SetFont(MakeFont("Arial", -17, gfx::clBlack, gfx::fsBold));
    gbProgramm_->SetCaption("");
    gbProgramm_->OnEnter = [this](gui::TComponent*) { PicturePanel1_->Show(); };

    Panel1_ = Place<gui::TPanel>(&form, gbProgramm_, "Panel1", 15, 30, kThumbWidth, kThumbHeight);
    Panel1_->SetBevelOuter(gui::bvNone);
    Panel1_->SetCaption("");
    Panel1_->SetColor(gfx::RGB(240, 240, 240));
    iScreenshot_ = Place<gui::TImage>(&form, Panel1_, "iScreenshot", 0, 0, kThumbWidth, kThumbHeight);
    iScreenshot_->SetCenter(true);
    iScreenshot_->OnDblClick = [this](gui::TComponent*) {
        if (OnScreenshotOpen) OnScreenshotOpen();
    };

    iFacts_ = Place<gui::TImage>(&form, gbProgramm_, "iFacts", 285, 30, 130, 13);
    iFacts_->SetVisible(false);
    auto factLabel = [&](const char* name, int top, int height, gfx::TColor colour, gfx::TFontStyles style) {
        auto* l = Place<gui::TLabel>(&form, gbProgramm_, name, 285, top, 130, 13);
        l->SetAutoSize(false);
        l->SetBounds(285, top, 130, 13);
        l->SetAlignment(gui::taCenter);
        l->SetFont(MakeFont("Arial", height, colour, style));
        l->SetTransparent(true);
        l->SetVisible(false);
        return l;
    };
    lFactsKey_ = factLabel("lFactsKey", 30, -11, gfx::clWhite, gfx::fsBold);
    lFactsValue_ = factLabel("lFactsValue", 45, -9, gfx::clBlack, 0);
    lFactsValue_->OnClick = [this](gui::TComponent*) {
        if (OnHomepage) OnHomepage();
    };
}

gui::TControl* TProgramPageView::AddAction(const TPageAction& action, gui::TImageList* textImages,
                                           gui::TImageList* glyphs) {
    if (action.Button == TActionButton::kText)
        return layout::MakeTextButton(&form_, gbProgramm_, action.Name, action.Left, action.Top, 80, 20,
                                      textImages, action.Image, action.Caption);
    auto* b = Place<skin::TGlyphButton>(&form_, gbProgramm_, action.Name, action.Left, action.Top, 20, 20);
    b->SetImageList(glyphs);
    b->SetImageIndex(action.Image);
    b->SetHint(action.Caption);
    b->SetShowHint(true);
    return b;
}

void TProgramPageView::BuildDescription() {
    PicturePanel1_ = Place<skin::TPicturePanel>(&form_, &form_, "PicturePanel1", 216, 256, 401, 176);
    PicturePanel1_->SetVisible(false);
    TransText1_ = Place<skin::TTransText>(&form_, PicturePanel1_, "TransText1", 0, 5, 382, 166);
    TransText1_->SetFont(MakeFont("Verdana", -11, gfx::clBlack));
    TransText1_->SetAlignment(skin::ttaLeft);
    TransText1_->Text().Clear();
    TransText1_->Text().Add("---");
    FlatScrollbar1_ = Place<flat::TFlatScrollbar>(&form_, PicturePanel1_, "FlatScrollbar1", 383, 4, 12, 148);
    FlatScrollbar1_->SetKind(flat::sbVertical);
    FlatScrollbar1_->SetBounds(383, 4, 12, 148);
    FlatScrollbar1_->SetSmallChange(2);
    FlatScrollbar1_->SetLargeChange(10);
    TransText1_->SetScrollbar(FlatScrollbar1_);
    auto featureLabel = [&](const char* name, int left, int width, gfx::TFontStyles style, const char* text) {
        auto* l = Place<gui::TLabel>(&form_, PicturePanel1_, name, left, 157, width, 14);
        l->SetTransparent(true);
        l->SetFont(MakeFont("Verdana", -11, gfx::clBlack, style));
        l->SetCaption(text);
        return l;
    };
    lBesonderheiten1_ = featureLabel("lBesonderheiten1", 0, 110, gfx::fsBold, "Besonderheiten:");
    lBesonderheiten2_ = featureLabel("lBesonderheiten2", 112, 270, 0, "");
}

void TProgramPageView::LoadPictures(const std::string& skinFolder) {
    LoadSkinPicture(*iFacts_, skinFolder, "iFacts.bmp");
}

void TProgramPageView::CreateFactRows() {
    for (int k = 0; k < 6; ++k) {
        TFactRow& row = factRows_[size_t(k)];
        const std::string n = std::to_string(k + 1);
        row.Picture = Place<gui::TImage>(&form_, gbProgramm_, ("iFact" + n).c_str(), 200, 200, 0, 0);
        row.Picture->SetVisible(false);
        row.Key = Place<gui::TLabel>(&form_, gbProgramm_, ("lFactKey" + n).c_str(), 200, 200, 0, 0);
        row.Key->SetVisible(false);
        row.Value = Place<gui::TLabel>(&form_, gbProgramm_, ("lFactValue" + n).c_str(), 200, 200, 0, 0);
        row.Value->SetVisible(false);
    }
}

void TProgramPageView::DestroyFactRows() {
    for (TFactRow& row : factRows_) {
        delete row.Picture;
        delete row.Key;
        delete row.Value;
        row = {};
    }
    factRowCount_ = 0;
}

void TProgramPageView::SetTitle(const std::string& program) {
    gbProgramm_->SetCaption(EscapeAmpersand(program));
}

void TProgramPageView::ClearFacts() {
    for (TFactRow& row : factRows_) {
        if (row.Picture) row.Picture->Hide();
        if (row.Key) row.Key->Hide();
        if (row.Value) row.Value->Hide();
    }
}

void TProgramPageView::Fill(const MenuModel::TProgramPage& page, const std::string& screenshot) {
    factRowCount_ = 0;
    for (const MenuModel::TPageFact& fact : page.Facts) AddFactRow(fact.Key, fact.Value, fact.IsHomepage);

    ShowScreenshot(screenshot);

    lBesonderheiten2_->SetCaption(EscapeAmpersand(page.Features));
    lBesonderheiten1_->SetVisible(page.FeaturesShown);
    lBesonderheiten2_->SetVisible(page.FeaturesShown);
    TransText1_->SetHeight(page.FeaturesShown ? 146 : 166);

    base::TStringList& text = TransText1_->Text();
    text.Clear();
    for (const std::string& line : page.Description) text.Add(line);
    TransText1_->WrapText();
    TransText1_->Repaint();
    FlatScrollbar1_->SetPosition(0);
}

void TProgramPageView::AddFactRow(const std::string& key, const std::string& value, bool homepage) {
    if (factRowCount_ >= int(factRows_.size())) return;
    const int k = factRowCount_;
    TFactRow& row = factRows_[size_t(k)];
    if (!row.Picture) return;  // the rows are made at the end of the start-up

    row.Picture->SetBounds(285, 33 * k + 30, iFacts_->Width(), iFacts_->Height());
    row.Picture->SetPicture(iFacts_->Picture());
    row.Picture->Show();

    auto style = [](gui::TLabel* label, const gui::TLabel* from, int top) {
        label->SetAutoSize(false);
        label->SetAlignment(from->Alignment());
        label->SetBounds(285, top, from->Width(), from->Height());
        label->SetFont(from->Font());
        label->SetColor(from->Color());
        label->SetTransparent(true);
    };
    style(row.Key, lFactsKey_, 33 * k + 30);
    row.Key->SetCaption(EscapeAmpersand(key));
    row.Key->Show();

    style(row.Value, lFactsValue_, 33 * k + 45);
    const auto [text, shortened] = MenuModel::ShortenFactValue(value);
    row.Value->SetCaption(EscapeAmpersand(text));
    row.Value->SetHint(value);
    row.Value->SetShowHint(shortened);
    gfx::TFont font = row.Value->Font();
    font.SetStyle(homepage ? gfx::TFontStyles(gfx::fsUnderline) : gfx::TFontStyles(0));
    row.Value->SetFont(font);
    row.Value->SetCursor(homepage ? gui::crHandPoint : gui::crDefault);
    row.Value->OnClick = nullptr;
    if (homepage)
        row.Value->OnClick = [this](gui::TComponent*) {
            if (OnHomepage) OnHomepage();
        };
    row.Value->Show();
    ++factRowCount_;
}

void TProgramPageView::ShowScreenshot(const std::string& nativeFile) {
    if (nativeFile.empty() || !IsFile(nativeFile)) {
        iScreenshot_->Hide();
        return;
    }
    std::vector<uint8_t> bytes;
    gfx::TThumbnail thumb;
    try {
        if (!gfx::ReadWholeFile(nativeFile, bytes)) return;
        thumb = gfx::JpegThumbnail(bytes.data(), bytes.size(), kThumbWidth, kThumbHeight, form_.PixelScale());
    } catch (const std::exception&) {
        // Not a picture the decoder can read: the previous thumbnail stays.
        return;
    }
    const gfx::TRect place = thumb.place;
    iScreenshot_->SetStretch(thumb.fitted);
    iScreenshot_->SetCenter(!thumb.fitted);
    iScreenshot_->SetBounds(place.Left, place.Top, place.Right - place.Left, place.Bottom - place.Top);
    iScreenshot_->SetPicture(std::move(thumb.picture));
    iScreenshot_->Show();
}

void TProgramPageView::Show() {
    gbProgramm_->Show();
}

void TProgramPageView::Hide() {
    gbProgramm_->Hide();
    PicturePanel1_->Hide();
}

bool TProgramPageView::Showing() const {
    return gbProgramm_->Showing();
}

void TProgramPageView::ScrollDescription(int key) {
    flat::TFlatScrollbar& bar = *FlatScrollbar1_;
    if (!bar.Visible()) return;
    const int page = std::max(bar.Height() - kDescriptionLine, kDescriptionLine);
    int position = bar.Position();
    switch (key) {
        case gui::VK_UP:
            position -= kDescriptionLine;
            break;
        case gui::VK_DOWN:
            position += kDescriptionLine;
            break;
        case gui::VK_PRIOR:
            position -= page;
            break;
        case gui::VK_NEXT:
            position += page;
            break;
        case gui::VK_HOME:
            position = bar.Min();
            break;
        case gui::VK_END:
            position = bar.Max();
            break;
        default:
            return;
    }
    bar.SetPosition(position);
    // The bar tells its text view only on mouse work; the keys tell it here.
    if (bar.OnScroll) {
        auto h = bar.OnScroll;
        h(&bar, bar.Position());
    }
}

std::vector<std::pair<int, gui::TControl*>> TProgramPageView::TabStops() const {
    std::vector<std::pair<int, gui::TControl*>> stops;
    if (iScreenshot_->HasPicture()) stops.emplace_back(kThumbnailPlace, iScreenshot_);
    for (const TFactRow& row : factRows_)
        if (row.Value && row.Value->OnClick && row.Value->Visible())
            stops.emplace_back(kHomepagePlace, row.Value);
    stops.emplace_back(kDescriptionPlace, TransText1_);
    return stops;
}
