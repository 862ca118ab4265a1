#include "app/InfoFrame.h"

#include "app/DiscBuild.h"
#include "app/Links.h"
#include "app/SkinFiles.h"
#include "base/Cp1252.h"
#include "gui/Image.h"
#include "gui/ImageList.h"
#include "platform/Services.h"
#include "platform/Shell.h"
#include "skin/AntiAliasLabel.h"
#include "skin/SkinButton.h"

namespace {

skin::TAntiAliasLabel* MakeLabel(TInfoFrame* frame, const char* name, int left, int top, int height,
                                 gfx::TColor color, gfx::TFontStyles style) {
    auto* l = frame->Make<skin::TAntiAliasLabel>();
    l->SetName(name);
    l->SetParent(frame);
    l->SetLeft(left);
    l->SetTop(top);
    l->SetTransparent(true);
    l->SetAntialiased(true);
    gfx::TFont font = l->Font();
    font.SetName("Arial");
    font.SetHeight(height);
    font.SetColor(color);
    font.SetStyle(style);
    l->SetFont(font);
    return l;
}

}  // namespace

TInfoFrame::TInfoFrame(gui::TComponent* owner) : gui::TCustomControl(owner) {
    SetName("InfoFrame1");
    SetBounds(640, 20, 640, 450);
    SetColor(gfx::RGB(60, 74, 98));

    ilButtons1_ = Make<gui::TImageList>(60, 80);
    ilButtons1_->SetName("ilButtons1");

    iHintergrund_ = Make<gui::TImage>();
    iHintergrund_->SetName("iHintergrund");
    iHintergrund_->SetParent(this);
    iHintergrund_->SetBounds(0, 0, 640, 450);

    lZusammenstellung_ = MakeLabel(this, "lZusammenstellung", 275, 182, -15, gfx::clBlack, gfx::fsBold);
    lRedaktionsassistenz_ = MakeLabel(this, "lRedaktionsassistenz", 275, 257, -15, gfx::clBlack, gfx::fsBold);
    lProgrammierung_ = MakeLabel(this, "lProgrammierung", 275, 332, -15, gfx::clBlack, gfx::fsBold);
    lProgrammierung_->SetCaption("morvane.development");
    lCopyright_ = MakeLabel(this, "lCopyright", 12, 430, -12, 0xFFCB9F, gfx::fsBold);
    leMail_ = MakeLabel(this, "leMail", 12, 169, -11, gfx::clWhite, gfx::fsBold | gfx::fsUnderline);
    leMail_->SetCursor(gui::crHandPoint);
    leMail_->SetCaption(std::string(DiscBuild::kPublisherMail));
    leMail_->OnClick = [this](gui::TComponent* s) { leMailClick(s); };
    lInternet_ = MakeLabel(this, "lInternet", 12, 185, -11, gfx::clWhite, gfx::fsBold | gfx::fsUnderline);
    lInternet_->SetCursor(gui::crHandPoint);
    lInternet_->SetCaption(std::string(DiscBuild::kPublisherWeb));
    lInternet_->OnClick = [this](gui::TComponent* s) { lInternetClick(s); };

    bBeenden_ = Make<skin::TSkinButton>();
    bBeenden_->SetName("bBeenden");
    bBeenden_->SetParent(this);
    bBeenden_->SetBounds(525, 425, 100, 20);
    bBeenden_->SetImageList(ilButtons1_);
    bBeenden_->SetImageIndex(0);
    bBeenden_->SetRoundWidth(15);
    bBeenden_->SetTextDistance(5);
    bBeenden_->SetAlignment(gui::taCenter);
    gfx::TFont font = bBeenden_->Font();
    font.SetName("MS Sans Serif");
    font.SetStyle(gfx::fsBold);
    font.SetColor(gfx::clWhite);
    font.SetHeight(-11);
    bBeenden_->SetFont(font);
    bBeenden_->SetCaption(base::Cp("Schließen"));
}

TInfoFrame::~TInfoFrame() = default;

void TInfoFrame::LoadPictures(const std::string& skinFolder) {
    skinFolder_ = skinFolder;
    backgroundRead_ = false;
    LoadSkinImageList(*ilButtons1_, skinFolder, "ilButtons1");
    // The index was cut to -1 while the list was empty.
    bBeenden_->SetImageIndex(0);
}

void TInfoFrame::LoadBackground() {
    if (backgroundRead_ || skinFolder_.empty()) return;
    backgroundRead_ = true;
    LoadSkinPicture(*iHintergrund_, skinFolder_, "iHintergrund.jpg");
}

void TInfoFrame::leMailClick(gui::TComponent*) {
    OpenLink("mailto:" + std::string(DiscBuild::kPublisherMail));
}

void TInfoFrame::lInternetClick(gui::TComponent*) {
    OpenLink("http://" + std::string(DiscBuild::kPublisherWeb));
}
