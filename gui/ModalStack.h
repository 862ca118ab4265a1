#pragma once
// TModalStack: the forms that run a modal loop, innermost last. While one runs, every other window
// is disabled and input to it is blocked (popups and forms placed inside the modal one excepted).
#include <vector>

#include "gui/backend/Backend.h"

namespace gui {

class TForm;

class TModalStack {
public:
    explicit TModalStack(Backend& backend) : backend_(backend) {}

    // f starts / ends its modal loop; forms are all the application's forms.
    void Enter(TForm* f, const std::vector<TForm*>& forms);
    void Leave(TForm* f, const std::vector<TForm*>& forms);
    void Remove(TForm* f);  // f is going

    TForm* Top() const { return stack_.empty() ? nullptr : stack_.back(); }
    int Level() const { return level_; }
    // Input to form is held back: another form is modal above it.
    bool Blocks(const TForm* form) const;

private:
    Backend& backend_;
    std::vector<TForm*> stack_;
    int level_ = 0;
};

}  // namespace gui
