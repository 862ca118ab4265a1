#pragma once
// TCategoryColumn: the category buttons down the start page's left side, and the two arrows that
// page them when there are more than 13 categories (ten show at a time then).
#include <functional>
#include <string>
#include <vector>

namespace gui {
class TComponent;
class TForm;
class TImageList;
}  // namespace gui
namespace skin {
class TSkinButton;
}  // namespace skin

class TCategoryColumn {
public:
    // Makes the hidden template button and the arrows on form.
    TCategoryColumn(gui::TForm& form, gui::TImageList* buttons, gui::TImageList* arrows);

    // One button per category (names lives on, as the model's list); the arrows when they page.
    void Fill(const std::vector<std::string>& names);
    // The template and the arrows off the window until the buttons are made.
    void Park();
    // Pages the shown window of buttons by step; the captions follow.
    void Scroll(int step);
    // Gives the focus to the button of category index (clamped), paging the column to show it.
    void Focus(int index);
    // The start page's keys: Up/Down and Tab move between the buttons, Home/End to the ends.
    void Key(int& key, bool shift);

    int First() const { return first_; }
    int VisibleCount() const { return visible_; }
    const std::vector<skin::TSkinButton*>& Buttons() const { return buttons_; }
    skin::TSkinButton* bRubrik1() const { return bRubrik1_; }
    skin::TSkinButton* bPfeilOben() const { return bPfeilOben_; }
    skin::TSkinButton* bPfeilUnten() const { return bPfeilUnten_; }

    // A category button was clicked: its category's index and caption.
    std::function<void(int index, const std::string& name)> OnChoose;
    // The column pages (an arrow, or a key leaving the shown window): the arrows' sound.
    std::function<void()> OnPage;

private:
    void AddButton(const std::string& name, bool paged);
    void ArrowDown(skin::TSkinButton* arrow, int step);
    int Count() const { return names_ ? int(names_->size()) : 0; }

    gui::TForm& form_;
    const std::vector<std::string>* names_ = nullptr;
    skin::TSkinButton* bRubrik1_ = nullptr;  // template of the category buttons, never shown
    skin::TSkinButton* bPfeilOben_ = nullptr;
    skin::TSkinButton* bPfeilUnten_ = nullptr;
    std::vector<skin::TSkinButton*> buttons_;
    int first_ = 0;
    int visible_ = 0;
};
