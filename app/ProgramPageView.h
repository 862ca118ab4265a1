#pragma once
// TProgramPageView: a program's page — its name over the screenshot thumbnail, up to six fact rows
// (key bar, key, value; a long value cut with its whole text as hint, the homepage a link), the
// action buttons (made from the actions table), and under it the description with its scroll bar
// and the "Besonderheiten:" line.
#include <array>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "app/PageActions.h"

namespace gui {
class TControl;
class TForm;
class TImage;
class TImageList;
class TLabel;
class TPanel;
}  // namespace gui
namespace flat {
class TFlatGroupBox;
class TFlatScrollbar;
}  // namespace flat
namespace skin {
class TGlyphButton;
class TPicturePanel;
class TTransText;
}  // namespace skin
namespace MenuModel {
struct TProgramPage;
}  // namespace MenuModel

// One row of facts on the program page: the key's background bar, the key and the value.
struct TFactRow {
    gui::TImage* Picture = nullptr;
    gui::TLabel* Key = nullptr;
    gui::TLabel* Value = nullptr;
};

class TProgramPageView {
public:
    explicit TProgramPageView(gui::TForm& form);

    // An action's button on the page: text buttons take images from textImages, glyph buttons
    // from glyphs.
    gui::TControl* AddAction(const TPageAction& action, gui::TImageList* textImages, gui::TImageList* glyphs);
    // The description panel, made after the info page so that it lies above it.
    void BuildDescription();
    void LoadPictures(const std::string& skinFolder);
    // The fact rows are made once the window's start-up has run (and gone when it closes).
    void CreateFactRows();
    void DestroyFactRows();

    void SetTitle(const std::string& program);
    // The old page's facts gone (before a record is read: a failure leaves no old facts standing).
    void ClearFacts();
    // Fills the page; screenshot: the thumbnail's native file ("" for none).
    void Fill(const MenuModel::TProgramPage& page, const std::string& screenshot);
    void ShowScreenshot(const std::string& nativeFile);
    void Show();
    void Hide();
    bool Showing() const;
    // Up/Down/PageUp/PageDown/Home/End in the description.
    void ScrollDescription(int key);
    // The page's own Tab stops with their places (the thumbnail with a picture, the homepage link,
    // the description); the actions' places come from their table.
    std::vector<std::pair<int, gui::TControl*>> TabStops() const;

    flat::TFlatGroupBox* gbProgramm() const { return gbProgramm_; }
    gui::TImage* iScreenshot() const { return iScreenshot_; }
    skin::TPicturePanel* PicturePanel1() const { return PicturePanel1_; }
    skin::TTransText* TransText1() const { return TransText1_; }
    flat::TFlatScrollbar* FlatScrollbar1() const { return FlatScrollbar1_; }
    gui::TLabel* lBesonderheiten1() const { return lBesonderheiten1_; }
    gui::TLabel* lBesonderheiten2() const { return lBesonderheiten2_; }
    const std::array<TFactRow, 6>& FactRows() const { return factRows_; }
    int FactRowCount() const { return factRowCount_; }

    std::function<void()> OnHomepage;        // the homepage link was clicked
    std::function<void()> OnScreenshotOpen;  // the thumbnail was double-clicked

private:
    void AddFactRow(const std::string& key, const std::string& value, bool homepage);

    gui::TForm& form_;
    flat::TFlatGroupBox* gbProgramm_ = nullptr;
    gui::TPanel* Panel1_ = nullptr;
    gui::TImage* iScreenshot_ = nullptr;
    gui::TImage* iFacts_ = nullptr;  // templates of the fact rows, hidden
    gui::TLabel* lFactsKey_ = nullptr;
    gui::TLabel* lFactsValue_ = nullptr;
    skin::TPicturePanel* PicturePanel1_ = nullptr;
    skin::TTransText* TransText1_ = nullptr;
    flat::TFlatScrollbar* FlatScrollbar1_ = nullptr;
    gui::TLabel* lBesonderheiten1_ = nullptr;
    gui::TLabel* lBesonderheiten2_ = nullptr;
    std::array<TFactRow, 6> factRows_{};
    int factRowCount_ = 0;
};
