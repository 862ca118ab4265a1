#include "skin/AntiAliasLabel.h"

namespace skin {

TAntiAliasLabel::TAntiAliasLabel(gui::TComponent* owner) : gui::TLabel(owner) {
    ApplyQuality();
    SetParentFont(true);
}

TAntiAliasLabel::~TAntiAliasLabel() = default;

void TAntiAliasLabel::SetAntialiased(bool v) {
    antialiased_ = v;
    ApplyQuality();
}

void TAntiAliasLabel::FontChanged() {
    // A font taken over from the parent or set anew arrives with its own quality.
    ApplyQuality();
    gui::TLabel::FontChanged();
}

void TAntiAliasLabel::ApplyQuality() {
    gfx::TLogFont lf = Font().LogFont();
    if ((lf.lfQuality == gfx::ANTIALIASED_QUALITY) == antialiased_) return;
    // Off means the default quality (the desktop decides), not "never smoothed".
    lf.lfQuality = antialiased_ ? gfx::ANTIALIASED_QUALITY : gfx::DEFAULT_QUALITY;
    Font().SetLogFont(lf);  // notifies again; the check above ends that round
}

}  // namespace skin
