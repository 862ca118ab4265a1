// The main window's keyboard. The actions' keys come from their table (MainFormActions.cpp).
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
#include "app/CategoryColumn.h"
#include "app/FocusRing.h"
#include "app/InfoFrame.h"
#include "app/MainForm.h"
#include "app/ProgramListPanel.h"
#include "app/ProgramPageView.h"
#include "flat/FlatListBox.h"
#include "gui/Image.h"
#include "gui/Keys.h"
#include "skin/AntiAliasLabel.h"
#include "skin/PicturePanel.h"
#include "skin/SkinButton.h"
#include "skin/TransText.h"

void TMainForm::FormKeyDown(gui::TComponent*, int& key, gui::TShiftState shift) {
    const bool ctrl = shift & gui::ssCtrl, alt = shift & gui::ssAlt;
    if (key == gui::VK_F4 && alt && !ctrl) {
        key = 0;
        bBeenden2Click(bBeenden2_);
        return;
    }
    if (!bInfo_->Enabled()) {
        InfoPageKey(key, shift);
        return;
    }
    if (key == gui::VK_F1 && !ctrl && !alt) {
        key = 0;
        bInfoClick(bInfo_);
        return;
    }
    if (alt || ActionKey(key, ctrl) || ctrl) return;
    if (list_->pProgramme()->Showing())
        ProgramPanelKey(key, shift);
    else
        column_->Key(key, shift & gui::ssShift);
}

void TMainForm::ProgramPanelKey(int& key, gui::TShiftState shift) {
    gui::TControl* focused = FocusedControl();
    switch (key) {
        case gui::VK_RETURN:
            if (focused != page_->iScreenshot()) return;
            key = 0;
            bVollbildClick(focused);
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
            if (focused != page_->TransText1()) return;
            page_->ScrollDescription(key);
            key = 0;
            return;
        default:
            return;
    }
}

// ---- info page --------------------------------------------------------------------------------

void TMainForm::InfoPageKey(int& key, gui::TShiftState shift) {
    // The page covers everything; only its own keys count.
    const bool plain = !(shift & (gui::ssCtrl | gui::ssAlt));
    gui::TControl* focused = FocusedControl();
    const bool onPage = focused && InfoFrame1_->ContainsControl(focused);
    if (plain && key == gui::VK_TAB) {
        key = 0;
        MoveFocusInRing(*this,
                        std::vector<gui::TControl*>{InfoFrame1_->leMail(), InfoFrame1_->lInternet(),
                                                    InfoFrame1_->bBeenden()},
                        !(shift & gui::ssShift));
        return;
    }
    // Enter and Space on a link or the button are the framework's: it clicks the focused control.
    if (plain && onPage && (key == gui::VK_RETURN || key == gui::VK_SPACE)) return;
    if (plain && (key == gui::VK_ESCAPE || key == gui::VK_RETURN || key == gui::VK_SPACE))
        InfoBeendenClick(InfoFrame1_);
    if (key != gui::VK_SHIFT && key != gui::VK_CONTROL && key != gui::VK_MENU) key = 0;
}

void TMainForm::LeaveInfoPage() {
    // The focus was on the page: back to where it was before, or to the page's first stop.
    gui::TControl* focused = FocusedControl();
    if (!focused || !InfoFrame1_->ContainsControl(focused)) return;
    gui::TControl* back = focusBeforeInfo_.Get();
    if (!CanTakeFocus(back)) back = nullptr;
    if (!back && list_->pProgramme()->Showing()) back = list_->lbProgramme();
    if (!back && !column_->Buttons().empty()) back = column_->Buttons().front();
    FocusControl(back);
}
