// The main window's keyboard model, and the full-screen gallery's link to the program list.
//
//   where              key                         does
//   anywhere           Alt+F4                      ends the menu as the close button does
//                      F1                          info page
//                      Ctrl+F, F3                  search
//   start page         Up/Down (Shift+Tab/Tab)     focus between category buttons, paging the
//                                                  window at its top and bottom as the arrows do
//                      Home/End                    first/last category
//                      Enter, Space                press the focused button (the framework)
//   program panel      Tab, Shift+Tab              list, Rubrikauswahl, Suche, enabled action
//                                                  buttons, thumbnail, glyph buttons, homepage
//                                                  link, description
//                      Escape                      back to the categories, focus on the open one
//                      F11, Enter on the thumbnail full-screen gallery
//                      Up/Down/PageUp/PageDown/    scroll the description when it has the focus
//                      Home/End
//   info page          Tab, Shift+Tab              e-mail link, web link, Schließen
//                      Enter, Space                press the focused one (closes it when the focus
//                                                  is not on the page)
//                      Escape                      close it; the focus goes back where it was
#include <algorithm>

#include "app/FocusRing.h"
#include "app/InfoFrame.h"
#include "app/MainForm.h"
#include "app/VollbildForm.h"
#include "base/StrUtils.h"
#include "flat/FlatButton.h"
#include "flat/FlatGroupBox.h"
#include "flat/FlatListBox.h"
#include "flat/FlatScrollbar.h"
#include "gui/Image.h"
#include "gui/Label.h"
#include "platform/FileOps.h"
#include "skin/AntiAliasLabel.h"
#include "skin/GlyphButton.h"
#include "skin/PicturePanel.h"
#include "skin/SkinButton.h"
#include "skin/TransText.h"

namespace {

constexpr int kDescriptionLine = 13;  // Verdana 11 pixels high

}  // namespace

void TMainForm::FormKeyDown(gui::TComponent*, int& key, gui::TShiftState shift) {
    const bool ctrl = shift & gui::ssCtrl, alt = shift & gui::ssAlt;
    if (key == gui::VK_F4 && alt && !ctrl) {
        key = 0;
        bBeenden2Click(bBeenden2);
        return;
    }
    if (!bInfo->Enabled()) {
        InfoPageKey(key, shift);
        return;
    }
    if (key == gui::VK_F1 && !ctrl && !alt) {
        key = 0;
        bInfoClick(bInfo);
        return;
    }
    if ((key == 'F' && ctrl && !alt) || (key == gui::VK_F3 && !ctrl && !alt)) {
        key = 0;
        bSucheClick(bSuche);
        return;
    }
    if (ctrl || alt) return;
    if (pProgramme->Showing())
        ProgramPanelKey(key, shift);
    else
        StartPageKey(key, shift);
}

// ---- start page -------------------------------------------------------------------------------

void TMainForm::FocusCategory(int index) {
    const int n = int(CategoryList.size());
    if (n == 0 || VisibleCategoryCount <= 0 || CategoryButtons.empty()) return;
    index = std::clamp(index, 0, n - 1);
    while (index < FirstVisibleCategory) {
        const int before = FirstVisibleCategory;
        ScrollCategories(-1);
        if (FirstVisibleCategory == before) break;
    }
    while (index >= FirstVisibleCategory + VisibleCategoryCount) {
        const int before = FirstVisibleCategory;
        ScrollCategories(+1);
        if (FirstVisibleCategory == before) break;
    }
    const int k = std::clamp(index - FirstVisibleCategory, 0, int(CategoryButtons.size()) - 1);
    FocusControl(CategoryButtons[size_t(k)]);
}

void TMainForm::StartPageKey(int& key, gui::TShiftState shift) {
    int focused = -1;
    for (size_t k = 0; k < CategoryButtons.size(); ++k)
        if (CategoryButtons[k] == FocusedControl()) focused = FirstVisibleCategory + int(k);
    int step = 0;
    switch (key) {
        case gui::VK_UP:
            step = -1;
            break;
        case gui::VK_DOWN:
            step = +1;
            break;
        case gui::VK_TAB:
            step = (shift & gui::ssShift) ? -1 : +1;
            break;
        case gui::VK_HOME:
            key = 0;
            FocusCategory(0);
            return;
        case gui::VK_END:
            key = 0;
            FocusCategory(int(CategoryList.size()) - 1);
            return;
        default:
            return;
    }
    key = 0;
    if (focused < 0) {
        FocusCategory(FirstVisibleCategory);
        return;
    }
    const int target = focused + step;
    if (target < 0 || target >= int(CategoryList.size())) return;
    // Leaving the shown window pages it, with the arrows' sound.
    if (target < FirstVisibleCategory || target >= FirstVisibleCategory + VisibleCategoryCount)
        PlaySlotSound(0);
    FocusCategory(target);
}

// ---- program panel ----------------------------------------------------------------------------

std::vector<gui::TControl*> TMainForm::ProgramPanelRing() const {
    std::vector<gui::TControl*> ring{lbProgramme, bRubrikauswahl, bSuche, bStarten, bKopieren, bInstallieren};
    if (iScreenshot->HasPicture()) ring.push_back(iScreenshot);
    ring.push_back(bVollbild);
    ring.push_back(bScreenshot);
    for (const TFactRow& row : FactRows)
        if (row.Value && row.Value->OnClick && row.Value->Visible()) ring.push_back(row.Value);
    ring.push_back(TransText1);
    return ring;
}

void TMainForm::ProgramPanelKey(int& key, gui::TShiftState shift) {
    gui::TControl* focused = FocusedControl();
    switch (key) {
        case gui::VK_ESCAPE:
            key = 0;
            bRubrikauswahlClick(bRubrikauswahl);
            return;
        case gui::VK_F11:
            key = 0;
            if (gbProgramm->Showing()) bVollbildClick(bVollbild);
            return;
        case gui::VK_RETURN:
            if (focused != iScreenshot) return;
            key = 0;
            bVollbildClick(iScreenshot);
            return;
        case gui::VK_TAB:
            key = 0;
            MoveFocusInRing(*this, ProgramPanelRing(), !(shift & gui::ssShift));
            return;
        case gui::VK_UP:
        case gui::VK_DOWN:
        case gui::VK_PRIOR:
        case gui::VK_NEXT:
        case gui::VK_HOME:
        case gui::VK_END:
            if (focused != TransText1) return;
            ScrollDescription(key);
            key = 0;
            return;
        default:
            return;
    }
}

void TMainForm::ScrollDescription(int key) {
    flat::TFlatScrollbar& bar = *FlatScrollbar1;
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

// ---- info page --------------------------------------------------------------------------------

void TMainForm::InfoPageKey(int& key, gui::TShiftState shift) {
    // The page covers everything; only its own keys count.
    const bool plain = !(shift & (gui::ssCtrl | gui::ssAlt));
    gui::TControl* focused = FocusedControl();
    const bool onPage = focused && InfoFrame1->ContainsControl(focused);
    if (plain && key == gui::VK_TAB) {
        key = 0;
        MoveFocusInRing(
            *this,
            std::vector<gui::TControl*>{InfoFrame1->leMail, InfoFrame1->lInternet, InfoFrame1->bBeenden},
            !(shift & gui::ssShift));
        return;
    }
    // Enter and Space on a link or the button are the framework's: it clicks the focused control.
    if (plain && onPage && (key == gui::VK_RETURN || key == gui::VK_SPACE)) return;
    if (plain && (key == gui::VK_ESCAPE || key == gui::VK_RETURN || key == gui::VK_SPACE))
        InfoBeendenClick(InfoFrame1);
    if (key != gui::VK_SHIFT && key != gui::VK_CONTROL && key != gui::VK_MENU) key = 0;
}

void TMainForm::LeaveInfoPage() {
    // The focus was on the page: back to where it was before, or to the page's first stop.
    gui::TControl* focused = FocusedControl();
    if (!focused || !InfoFrame1->ContainsControl(focused)) return;
    gui::TControl* back = focusBeforeInfo_.Get();
    if (!CanTakeFocus(back)) back = nullptr;
    if (!back && pProgramme->Showing()) back = lbProgramme;
    if (!back && !CategoryButtons.empty()) back = CategoryButtons.front();
    FocusControl(back);
}

// ---- the gallery ------------------------------------------------------------------------------

void TMainForm::OpenGallery() {
    const std::string path = base::Trim(ScreenshotPath);
    if (path.empty() || !dialogs_.FullScreen) return;
    const std::string file = NativeFile(path);
    if (!platform::FileOps::FileExists(file)) return;
    dialogs_.FullScreen->OnSelect = [this](int index, std::string& shot, std::string& name) {
        lbProgramme->SetItemIndex(index);
        ShowProgramPage();
        name = lbProgramme->ItemIndex() >= 0 ? lbProgramme->Items().Strings(lbProgramme->ItemIndex()) : "";
        const std::string p = base::Trim(ScreenshotPath);
        shot = p.empty() || !iScreenshot->Visible() ? std::string() : NativeFile(p);
        if (!shot.empty() && !platform::FileOps::FileExists(shot)) shot.clear();
    };
    dialogs_.FullScreen->ShowPicture(file);
    const int index = lbProgramme->ItemIndex();
    const bool listed = pProgramme->Visible() && index >= 0 && index < lbProgramme->Items().Count();
    dialogs_.FullScreen->SetGallery(listed ? lbProgramme->Items().Count() : 1, listed ? index : 0,
                                    listed ? lbProgramme->Items().Strings(index) : CurrentProgram);
    dialogs_.FullScreen->ShowModal();
}
