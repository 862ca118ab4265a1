#include "flat/FlatHover.h"

#include "gui/Application.h"
#include "gui/PressTracker.h"
#include "gui/Screen.h"

namespace flat {

namespace {

gui::TPointerRouter* Router() {
    return gui::Application ? &gui::Application->Pointer() : nullptr;
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
    gui::TPointerRouter* router = Router();
    if (!router || router->Hovered(group_) == &owner_) return;
    router->EndHover(group_);
    if (gui::Application->ActiveForm() == nullptr) return;
    router->Hover(group_, &owner_, [this] { End(); });
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
    if (gui::TPointerRouter* router = Router()) router->Unhover(&owner_);
}

bool TFlatHover::Watched() const {
    gui::TPointerRouter* router = Router();
    return router && router->Hovered(group_) == &owner_ && router->HoverTicking(group_);
}

}  // namespace flat
