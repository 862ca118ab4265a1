#include "app/SuchenForm.h"

#include "app/FocusRing.h"
#include "app/FormBuilding.h"
#include "app/MenuModel.h"
#include "app/SkinFiles.h"
#include "app/Start.h"
#include "base/Cp1252.h"
#include "base/StrUtils.h"
#include "flat/FlatCheckBox.h"
#include "flat/FlatEdit.h"
#include "gui/Application.h"
#include "gui/ImageList.h"
#include "gui/Label.h"
#include "skin/SkinButton.h"
#include "skin/SkinForm.h"

TSuchenForm* SuchenForm = nullptr;

namespace {

constexpr gfx::TColor kFace = gfx::RGB(112, 127, 144);

using layout::MakeFont;
using layout::Place;

}  // namespace

TSuchenForm::TSuchenForm(gui::TComponent* owner) : gui::TForm(owner) {
    BeginLoading();
    SetName("SuchenForm");
    SetBorderStyle(gui::bsNone);
    SetBorderIcons(0);
    SetFormStyle(gui::fsStayOnTop);
    SetPosition(gui::poScreenCenter);
    SetBounds(0, 0, 380, 120);
    SetColor(kFace);
    SetShowHint(true);

    ilButtons1 = Make<gui::TImageList>(60, 80);
    ilButtons1->SetName("ilButtons1");
    ilButtons4 = Make<gui::TImageList>(17, 68);
    ilButtons4->SetName("ilButtons4");
    // Before the buttons: an image index beyond an empty list would be clamped to -1.
    LoadImageLists();

    SkinForm1 = Place<skin::TSkinForm>(this, "SkinForm1", 0, 0, 380, 120);
    LoadSkinPicture(*SkinForm1, SkinFolderOf(ProgramPaths().DataDir()), "SuchenForm.bmp");

    lSuchbegriff = Place<gui::TLabel>(this, "lSuchbegriff", 20, 40, 60, 13);
    lSuchbegriff->SetTransparent(true);
    lSuchbegriff->SetFont(MakeFont("MS Sans Serif", -11, gfx::clBlack));
    lSuchbegriff->SetCaption("Suchbegriff:");

    eSuchbegriff = Place<flat::TFlatEdit>(this, "eSuchbegriff", 20, 56, 215, 19);
    eSuchbegriff->SetColorFocused(gfx::clBlack);
    eSuchbegriff->SetColorBorder(gfx::clBlack);
    eSuchbegriff->SetColorFlat(kFace);
    eSuchbegriff->SetParentColor(false);
    eSuchbegriff->SetFont(MakeFont("MS Sans Serif", -11, gfx::clWhite));
    eSuchbegriff->OnKeyPress = [this](gui::TComponent* s, char& key) { eSuchbegriffKeyPress(s, key); };

    FlatCheckBox1 = Place<flat::TFlatCheckBox>(this, "FlatCheckBox1", 20, 80, 209, 17);
    FlatCheckBox1->SetTransparent(true);
    FlatCheckBox1->SetColor(kFace);
    FlatCheckBox1->SetColorFocused(gfx::clBlack);
    FlatCheckBox1->SetColorDown(gfx::clBlack);
    FlatCheckBox1->SetColorCheck(gfx::clWhite);
    FlatCheckBox1->SetColorBorder(gfx::clBlack);
    FlatCheckBox1->SetLayout(flat::checkboxLeft);
    FlatCheckBox1->SetFont(MakeFont("MS Sans Serif", -11, gfx::clBlack));
    FlatCheckBox1->SetCaption(base::Cp("Groß- und Kleinschreibung beachten"));
    FlatCheckBox1->OnClick = [this](gui::TComponent* s) { FlatCheckBox1Click(s); };

    auto button = [this](const char* name, int left, int top, const char* caption) {
        return layout::MakeTextButton(this, this, name, left, top, 100, 20, ilButtons1, 0, caption);
    };
    bBeenden = button("bBeenden", 266, 40, "Suchen");
    bBeenden->OnClick = [this](gui::TComponent* s) { bBeendenClick(s); };
    bAbbrechen = button("bAbbrechen", 266, 64, "Abbrechen");
    bAbbrechen->OnClick = [this](gui::TComponent* s) { bAbbrechenClick(s); };

    bBeenden2 = Place<skin::TSkinButton>(this, "bBeenden2", 353, 2, 17, 17);
    bBeenden2->SetImageList(ilButtons4);
    bBeenden2->SetImageIndex(0);
    bBeenden2->SetRoundWidth(8);
    bBeenden2->SetTextDistance(5);
    bBeenden2->SetAlignment(gui::taCenter);
    bBeenden2->SetDisabledFontColor(gfx::clSilver);
    bBeenden2->SetFont(MakeFont("Webdings", -12, gfx::clWhite, gfx::fsBold));
    bBeenden2->SetCaption("r");
    bBeenden2->SetHint(base::Cp("Schließen"));
    bBeenden2->SetShowHint(true);
    bBeenden2->OnClick = [this](gui::TComponent* s) { bBeenden2Click(s); };

    OnShow = [this](gui::TComponent* s) { FormShow(s); };
    SetKeyPreview(true);
    SetFocusMarks(true);
    OnKeyDown = [this](gui::TComponent* s, int& key, gui::TShiftState shift) { FormKeyDown(s, key, shift); };
    Loaded();
    SuchenForm = this;
}

TSuchenForm::~TSuchenForm() {
    if (SuchenForm == this) SuchenForm = nullptr;
}

void TSuchenForm::LoadImageLists() {
    const std::string folder = SkinFolderOf(ProgramPaths().DataDir());
    LoadSkinImageList(*ilButtons1, folder, "ilButtons1");
    LoadSkinImageList(*ilButtons4, folder, "ilButtons4");
}

std::string TSuchenForm::Term() const {
    return MenuModel::SearchTerm(eSuchbegriff->Caption());
}

bool TSuchenForm::MatchCase() const {
    return FlatCheckBox1->Checked();
}

void TSuchenForm::FormShow(gui::TComponent*) {
    if (eSuchbegriff->CanFocus()) eSuchbegriff->SetFocus();
}

void TSuchenForm::FormKeyDown(gui::TComponent* sender, int& key, gui::TShiftState shift) {
    if (shift & (gui::ssCtrl | gui::ssAlt)) return;
    switch (key) {
        case gui::VK_ESCAPE:
            // Leaves the dialog as "Abbrechen" does.
            key = 0;
            bAbbrechenClick(sender);
            return;
        case gui::VK_TAB:
            // The skin buttons are windowless: the dialog walks its stops itself.
            key = 0;
            MoveFocusInRing(
                *this,
                std::vector<gui::TControl*>{eSuchbegriff, FlatCheckBox1, bBeenden, bAbbrechen, bBeenden2},
                !(shift & gui::ssShift));
            return;
        case gui::VK_RETURN:
            // "Suchen" is the default button: Enter on the check box searches too.
            if (FocusedControl() != FlatCheckBox1) return;
            key = 0;
            bBeendenClick(sender);
            return;
        default:
            return;
    }
}

void TSuchenForm::eSuchbegriffKeyPress(gui::TComponent* sender, char& key) {
    if (key != '\r') return;
    key = 0;  // used up: the edit never sees the Enter
    bBeendenClick(sender);
}

void TSuchenForm::bBeendenClick(gui::TComponent*) {
    if (OnButtonSound) OnButtonSound();
    if (Term().empty()) {
        gui::Application->Information("Bitte geben Sie einen Suchbegriff ein.");
        return;
    }
    Close();
}

void TSuchenForm::bAbbrechenClick(gui::TComponent*) {
    if (OnButtonSound) OnButtonSound();
    eSuchbegriff->SetCaption("");
    Close();
}

void TSuchenForm::bBeenden2Click(gui::TComponent* sender) {
    bAbbrechenClick(sender);
}

void TSuchenForm::FlatCheckBox1Click(gui::TComponent*) {
    if (OnButtonSound) OnButtonSound();
}
