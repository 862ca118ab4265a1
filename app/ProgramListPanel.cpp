#include "app/ProgramListPanel.h"

#include "app/FormBuilding.h"
#include "app/TextHelpers.h"
#include "flat/FlatListBox.h"
#include "gui/Form.h"
#include "gui/Image.h"
#include "gui/Keys.h"
#include "gui/Label.h"
#include "skin/PicturePanel.h"

using layout::MakeFont;
using layout::Place;

TProgramListPanel::TProgramListPanel(gui::TForm& form) {
    pProgramme_ = Place<skin::TPicturePanel>(&form, &form, "pProgramme", 8, 128, 170, 265);
    pProgramme_->SetVisible(false);
    iRubrik_ = Place<gui::TImage>(&form, pProgramme_, "iRubrik", 0, 0, 170, 20);
    lRubrik_ = Place<gui::TLabel>(&form, pProgramme_, "lRubrik", 5, 4, 160, 14);
    lRubrik_->SetTransparent(true);
    lRubrik_->SetFont(MakeFont("Arial", -11, gfx::clWhite));
    lbProgramme_ = Place<flat::TFlatListBox>(&form, pProgramme_, "lbProgramme", 0, 20, 170, 214);
    lbProgramme_->SetColor(gfx::clBlack);
    lbProgramme_->SetColorArrow(gfx::clWhite);
    lbProgramme_->SetColorBorder(gfx::clBlack);
    lbProgramme_->SetColorItemsSelect(gfx::clSilver);
    lbProgramme_->SetFont(MakeFont("MS Sans Serif", -11, gfx::clBlack));
    lbProgramme_->SetScrollBars(true);
    lAnzahlProgramme_ = Place<gui::TLabel>(&form, pProgramme_, "lAnzahlProgramme", 0, 248, 170, 15);
    lAnzahlProgramme_->SetAutoSize(false);
    lAnzahlProgramme_->SetBounds(0, 248, 170, 15);
    lAnzahlProgramme_->SetAlignment(gui::taRightJustify);
    lAnzahlProgramme_->SetTransparent(true);
    lAnzahlProgramme_->SetFont(MakeFont("Arial", -11, gfx::clWhite));
    lAnzahlProgramme_->SetCaption("");
}

void TProgramListPanel::SetHeading(const std::string& heading) {
    lRubrik_->SetCaption(EscapeAmpersand(heading));
}

void TProgramListPanel::Fill(const std::vector<std::string>& programs) {
    lbProgramme_->Items().Clear();
    filling_ = true;
    try {
        for (const std::string& name : programs) lbProgramme_->Items().Add(name);
    } catch (...) {
        filling_ = false;
        throw;
    }
    filling_ = false;
}

void TProgramListPanel::SetPlace(int index, int count) {
    lAnzahlProgramme_->SetCaption(count < 1 ? "0/0"
                                            : std::to_string(index + 1) + "/" + std::to_string(count));
}

bool TProgramListPanel::ShowFirst() {
    if (Count() < 1) {
        lbProgramme_->SetItemIndex(-1);
        SetPlace(-1, 0);
        return false;
    }
    // Index 1 first, so that the list repaints even when it was at 0 already.
    if (Count() > 1) lbProgramme_->SetItemIndex(1);
    lbProgramme_->SetItemIndex(0);
    int home = gui::VK_HOME;
    lbProgramme_->KeyDown(home, 0);
    return true;
}

int TProgramListPanel::Count() const {
    return lbProgramme_->Items().Count();
}

int TProgramListPanel::Index() const {
    return lbProgramme_->ItemIndex();
}

std::string TProgramListPanel::Entry(int index) const {
    return index >= 0 && index < Count() ? lbProgramme_->Items().Strings(index) : std::string();
}
