#include "gui/PressTracker.h"

#include "gui/Control.h"

namespace gui {

TPressTracker::TPressTracker(const TControl& owner, HitTest hit) : owner_(owner), hit_(std::move(hit)) {}

bool TPressTracker::Hit(int x, int y) const {
    return hit_ ? hit_(x, y) : owner_.ClientRect().Contains({x, y});
}

bool TPressTracker::Move(int x, int y) {
    if (!held_) return false;
    const bool in = Hit(x, y);
    if (in == inside_) return false;
    inside_ = in;
    return true;
}

bool TPressTracker::ClickAt(int x, int y) const {
    return held_ && clicks_ && Hit(x, y);
}

bool TPressTracker::Release(int x, int y) {
    const bool click = ClickAt(x, y);
    held_ = false;
    inside_ = false;
    return click;
}

bool TPressTracker::KeyDown(int key) {
    if (key != VK_SPACE) return false;
    keyHeld_ = true;
    return true;
}

bool TPressTracker::KeyUp(int key) {
    if (key != VK_SPACE || !keyHeld_) return false;
    keyHeld_ = false;
    return true;
}

void TPressTracker::Cancel() {
    held_ = false;
    inside_ = false;
    keyHeld_ = false;
}

bool TPressTracker::EnterIsFor(const TControl* button, bool isDefault, const TControl* focused) {
    if (focused && focused->IsPushButton()) return focused == button;
    return isDefault;
}

}  // namespace gui
