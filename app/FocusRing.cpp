#include "app/FocusRing.h"

#include <algorithm>

#include "gui/Form.h"
#include "skin/SkinButton.h"

bool CanTakeFocus(gui::TControl* c) {
    if (!c || !c->Showing()) return false;
    if (auto* b = dynamic_cast<skin::TSkinButton*>(c)) return b->Enabled();
    return c->Enabled();
}

gui::TControl* MoveFocusInRing(gui::TForm& form, const std::vector<gui::TControl*>& ring, bool forward) {
    const int n = int(ring.size());
    int at = int(std::find(ring.begin(), ring.end(), form.FocusedControl()) - ring.begin());
    if (at == n) at = forward ? n - 1 : 0;
    for (int i = 1; i <= n; ++i) {
        gui::TControl* c = ring[size_t(((forward ? at + i : at - i) % n + n) % n)];
        if (CanTakeFocus(c)) {
            form.FocusControl(c);
            return c;
        }
    }
    return nullptr;
}
