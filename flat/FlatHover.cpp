#include "flat/FlatHover.h"

#include "gui/Application.h"
#include "gui/HoverWatch.h"
#include "gui/PressTracker.h"
#include "gui/Screen.h"

namespace flat {

namespace {

gui::THoverWatch* Watch() {
    return gui::Application ? gui::Application->Hover() : nullptr;
}

}  // namespace

TFlatHover::TFlatHover(gui::TControl& owner, const void* group, const gui::TPressTracker& press,
                       std::function<void()> redraw)
    : owner_(owner), group_(group), press_(press), redraw_(std::move(redraw)) {}

TFlatHover::~TFlatHover() {
    Unwatch();
}

bool TFlatHover::CursorOver() const {
    return gui::Screen != nullptr && gui::Screen->ControlAtCursor() == &owner_;
}

void TFlatHover::Start(bool markInside) {
    gui::THoverWatch* watch = Watch();
    if (!watch || watch->Watched(group_) == &owner_) return;
    watch->EndWatched(group_);
    if (gui::Application->ActiveForm() == nullptr) return;
    watch->Watch(
        group_, &owner_,
        [this](gui::TControl*) {
            if (!CursorOver()) End();
        },
        [this] { End(); });
    if (markInside) {
        inside = true;
        redraw_();
    }
}

void TFlatHover::End() {
    if (!owner_.Enabled() || !inside || press_.Held()) return;
    inside = false;
    Unwatch();
    redraw_();
}

void TFlatHover::Unwatch() {
    if (gui::THoverWatch* watch = Watch()) watch->Unwatch(&owner_);
}

bool TFlatHover::Watched() const {
    gui::THoverWatch* watch = Watch();
    return watch && watch->Watched(group_) == &owner_ && watch->Running(group_);
}

}  // namespace flat
