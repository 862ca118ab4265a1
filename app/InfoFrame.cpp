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

    ilButtons1 = Make<gui::TImageList>(60, 80);
    ilButtons1->SetName("ilButtons1");

    iHintergrund = Make<gui::TImage>();
    iHintergrund->SetName("iHintergrund");
    iHintergrund->SetParent(this);
    iHintergrund->SetBounds(0, 0, 640, 450);

    lZusammenstellung = MakeLabel(this, "lZusammenstellung", 275, 182, -15, gfx::clBlack, gfx::fsBold);
    lRedaktionsassistenz = MakeLabel(this, "lRedaktionsassistenz", 275, 257, -15, gfx::clBlack, gfx::fsBold);
    lProgrammierung = MakeLabel(this, "lProgrammierung", 275, 332, -15, gfx::clBlack, gfx::fsBold);
    lProgrammierung->SetCaption("morvane.development");
    lCopyright = MakeLabel(this, "lCopyright", 12, 430, -12, 0xFFCB9F, gfx::fsBold);
    leMail = MakeLabel(this, "leMail", 12, 169, -11, gfx::clWhite, gfx::fsBold | gfx::fsUnderline);
    leMail->SetCursor(gui::crHandPoint);
    leMail->SetCaption(std::string(DiscBuild::kPublisherMail));
    leMail->OnClick = [this](gui::TComponent* s) { leMailClick(s); };
    lInternet = MakeLabel(this, "lInternet", 12, 185, -11, gfx::clWhite, gfx::fsBold | gfx::fsUnderline);
    lInternet->SetCursor(gui::crHandPoint);
    lInternet->SetCaption(std::string(DiscBuild::kPublisherWeb));
    lInternet->OnClick = [this](gui::TComponent* s) { lInternetClick(s); };

    bBeenden = Make<skin::TSkinButton>();
    bBeenden->SetName("bBeenden");
    bBeenden->SetParent(this);
    bBeenden->SetBounds(525, 425, 100, 20);
    bBeenden->SetImageList(ilButtons1);
    bBeenden->SetImageIndex(0);
    bBeenden->SetRoundWidth(15);
    bBeenden->SetTextDistance(5);
    bBeenden->SetAlignment(gui::taCenter);
    gfx::TFont font = bBeenden->Font();
    font.SetName("MS Sans Serif");
    font.SetStyle(gfx::fsBold);
    font.SetColor(gfx::clWhite);
    font.SetHeight(-11);
    bBeenden->SetFont(font);
    bBeenden->SetCaption(base::Cp("Schließen"));
}

TInfoFrame::~TInfoFrame() = default;

void TInfoFrame::LoadPictures(const std::string& skinFolder) {
    skinFolder_ = skinFolder;
    backgroundRead_ = false;
    LoadSkinImageList(*ilButtons1, skinFolder, "ilButtons1");
    // The index was cut to -1 while the list was empty.
    bBeenden->SetImageIndex(0);
}

void TInfoFrame::LoadBackground() {
    if (backgroundRead_ || skinFolder_.empty()) return;
    backgroundRead_ = true;
    LoadSkinPicture(*iHintergrund, skinFolder_, "iHintergrund.jpg");
}

void TInfoFrame::leMailClick(gui::TComponent*) {
    OpenLink("mailto:" + std::string(DiscBuild::kPublisherMail));
}

void TInfoFrame::lInternetClick(gui::TComponent*) {
    OpenLink("http://" + std::string(DiscBuild::kPublisherWeb));
}
