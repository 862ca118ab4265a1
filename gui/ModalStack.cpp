#include "gui/ModalStack.h"

#include <algorithm>

#include "gui/Form.h"
#include "gui/PointerRouter.h"

namespace gui {

void TModalStack::Enter(TForm* f, const std::vector<TForm*>& forms) {
    stack_.push_back(f);
    ++level_;
    for (TForm* other : forms)
        if (other != f && other->Handle()) backend_.SetWindowEnabled(other->Handle(), false);
}

void TModalStack::Leave(TForm* f, const std::vector<TForm*>& forms) {
    auto it = std::find(stack_.begin(), stack_.end(), f);
    if (it != stack_.end()) stack_.erase(it);
    if (level_ > 0) --level_;
    TForm* top = Top();
    for (TForm* other : forms) {
        if (!other->Handle() || other == f) continue;
        // Under a remaining modal form only that one (and what it opened later) stays enabled.
        bool enabled = !top || other == top;
        backend_.SetWindowEnabled(other->Handle(), enabled);
    }
}

void TModalStack::Remove(TForm* f) {
    stack_.erase(std::remove(stack_.begin(), stack_.end(), f), stack_.end());
}

bool TModalStack::Blocks(const TForm* form) const {
    return form && !stack_.empty() && stack_.back() != form && !form->IsPopup() &&
           !IsInside(form, stack_.back());
}

}  // namespace gui
