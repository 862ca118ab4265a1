#include "app/CategoryColumn.h"

#include <algorithm>

#include "app/FormBuilding.h"
#include "gui/Form.h"
#include "gui/Keys.h"
#include "skin/SkinButton.h"

using layout::MakeFont;
using layout::Place;

TCategoryColumn::TCategoryColumn(gui::TForm& form, gui::TImageList* buttons, gui::TImageList* arrows)
    : form_(form) {
    bRubrik1_ = Place<skin::TSkinButton>(&form, &form, "bRubrik1", 23, 99, 170, 20);
    bRubrik1_->SetImageList(buttons);
    bRubrik1_->SetImageIndex(0);
    bRubrik1_->SetFont(MakeFont("Arial", -11, gfx::clWhite));
    bRubrik1_->SetDisabledFontColor(gfx::clSilver);
    bRubrik1_->SetRoundWidth(85);
    bRubrik1_->SetTextDistance(10);
    bRubrik1_->SetAlignment(gui::taLeftJustify);

    bPfeilOben_ = Place<skin::TSkinButton>(&form, &form, "bPfeilOben", 31, 130, 133, 23);
    bPfeilOben_->SetImageList(arrows);
    bPfeilOben_->SetImageIndex(0);
    bPfeilOben_->SetRoundWidth(67);
    bPfeilOben_->SetEnabled(false);
    bPfeilOben_->OnMouseDown = [this](gui::TComponent*, gui::TMouseButton, gui::TShiftState, int, int) {
        ArrowDown(bPfeilOben_, -1);
    };
    bPfeilUnten_ = Place<skin::TSkinButton>(&form, &form, "bPfeilUnten", 35, 360, 133, 23);
    bPfeilUnten_->SetImageList(arrows);
    bPfeilUnten_->SetImageIndex(1);
    bPfeilUnten_->SetRoundWidth(67);
    bPfeilUnten_->OnMouseDown = [this](gui::TComponent*, gui::TMouseButton, gui::TShiftState, int, int) {
        ArrowDown(bPfeilUnten_, +1);
    };
}

void TCategoryColumn::Park() {
    bPfeilOben_->SetLeft(-200);
    bPfeilUnten_->SetLeft(-200);
    bRubrik1_->SetLeft(-200);
}

void TCategoryColumn::Fill(const std::vector<std::string>& names) {
    names_ = &names;
    first_ = 0;
    const int n = Count();
    const bool paged = n > 13;
    visible_ = paged ? 10 : n;
    for (int i = 0; i < visible_; ++i) AddButton(names[size_t(i)], paged);
    if (!paged) return;
    bPfeilOben_->SetBounds(31, 130, bPfeilOben_->Width(), bPfeilOben_->Height());
    const skin::TSkinButton* tenth = buttons_[9];
    bPfeilUnten_->SetBounds(31, tenth->Top() + tenth->Height() + 3, bPfeilUnten_->Width(),
                            bPfeilUnten_->Height());
}

void TCategoryColumn::AddButton(const std::string& name, bool paged) {
    auto* b = form_.Make<skin::TSkinButton>();
    b->SetName("bRubrik" + std::to_string(buttons_.size() + 2));
    b->SetParent(&form_);
    b->SetWidth(bRubrik1_->Width());
    b->SetHeight(bRubrik1_->Height());
    b->SetImageList(bRubrik1_->ImageList());
    b->SetImageIndex(bRubrik1_->ImageIndex());
    b->SetFont(bRubrik1_->Font());
    b->SetDisabledFontColor(bRubrik1_->DisabledFontColor());
    b->SetRoundWidth(bRubrik1_->RoundWidth());
    b->SetTextDistance(bRubrik1_->TextDistance());
    b->SetAlignment(bRubrik1_->Alignment());
    b->SetCaption(name);
    b->SetLeft(15);
    b->SetTop(buttons_.empty() ? (paged ? 153 : 130) : buttons_.back()->Top() + bRubrik1_->Height());
    b->OnClick = [this](gui::TComponent* sender) {
        for (int k = 0; k < visible_ && k < int(buttons_.size()); ++k)
            if (buttons_[size_t(k)] == sender && OnChoose)
                OnChoose(first_ + k, buttons_[size_t(k)]->Caption());
    };
    buttons_.push_back(b);
}

void TCategoryColumn::ArrowDown(skin::TSkinButton* arrow, int step) {
    // A disabled arrow takes no presses (the skin button still sees the mouse).
    if (!arrow->Enabled()) return;
    if (OnPage) OnPage();
    Scroll(step);
}

void TCategoryColumn::Scroll(int step) {
    const int n = Count();
    const int v = visible_;
    first_ += step;
    if (first_ < 0) first_ = 0;
    bPfeilUnten_->SetEnabled(first_ <= n - 1 - v);
    if (first_ > n - v) first_ = n - v;
    bPfeilOben_->SetEnabled(first_ != 0);
    for (int k = 0; k < v && k < int(buttons_.size()); ++k) {
        const int index = first_ + k;
        if (index >= 0 && index < n) buttons_[size_t(k)]->SetCaption((*names_)[size_t(index)]);
    }
}

void TCategoryColumn::Focus(int index) {
    const int n = Count();
    if (n == 0 || visible_ <= 0 || buttons_.empty()) return;
    index = std::clamp(index, 0, n - 1);
    while (index < first_) {
        const int before = first_;
        Scroll(-1);
        if (first_ == before) break;
    }
    while (index >= first_ + visible_) {
        const int before = first_;
        Scroll(+1);
        if (first_ == before) break;
    }
    const int k = std::clamp(index - first_, 0, int(buttons_.size()) - 1);
    form_.FocusControl(buttons_[size_t(k)]);
}

void TCategoryColumn::Key(int& key, bool shift) {
    int focused = -1;
    for (size_t k = 0; k < buttons_.size(); ++k)
        if (buttons_[k] == form_.FocusedControl()) focused = first_ + int(k);
    int step = 0;
    switch (key) {
        case gui::VK_UP:
            step = -1;
            break;
        case gui::VK_DOWN:
            step = +1;
            break;
        case gui::VK_TAB:
            step = shift ? -1 : +1;
            break;
        case gui::VK_HOME:
            key = 0;
            Focus(0);
            return;
        case gui::VK_END:
            key = 0;
            Focus(Count() - 1);
            return;
        default:
            return;
    }
    key = 0;
    if (focused < 0) {
        Focus(first_);
        return;
    }
    const int target = focused + step;
    if (target < 0 || target >= Count()) return;
    // Leaving the shown window pages it, with the arrows' sound.
    if ((target < first_ || target >= first_ + visible_) && OnPage) OnPage();
    Focus(target);
}
