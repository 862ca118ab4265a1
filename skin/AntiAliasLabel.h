#pragma once
// TAntiAliasLabel: a label whose text is drawn with font smoothing switched on or off for this
// label alone, whatever the desktop's setting: it keeps its font at anti-aliased output quality
// (or the default quality when Antialiased is off), also across font and parent-font changes.
#include "gui/Label.h"

namespace skin {

class TAntiAliasLabel : public gui::TLabel {
public:
    explicit TAntiAliasLabel(gui::TComponent* owner);
    ~TAntiAliasLabel() override;

    bool Antialiased() const { return antialiased_; }
    void SetAntialiased(bool v);

protected:
    void FontChanged() override;

private:
    void ApplyQuality();

    bool antialiased_ = true;
};

}  // namespace skin
