#pragma once
// TPicturePanel: a container whose background is the piece of the skin picture behind it, so it
// looks transparent on the skinned window while it still groups and clips its children. The
// background is a snapshot, taken when SkinForm is set and on every Repaint(); moving the panel
// does not refresh it.
#include "gui/Image.h"
#include "gui/Panel.h"

namespace skin {

class TSkinForm;

class TPicturePanel : public gui::TPanel {
public:
    explicit TPicturePanel(gui::TComponent* owner);
    ~TPicturePanel() override;

    TSkinForm* SkinForm() const { return skinForm_; }
    void SetSkinForm(TSkinForm* skin);
    // The standard repaint, then a fresh snapshot of the background.
    void Repaint();
    // The picture control that shows the snapshot (the panel's first child).
    gui::TImage* Background() const { return background_; }

protected:
    void Notification(gui::TComponent* c, gui::TOperation op) override;

private:
    void CopyBackground();

    TSkinForm* skinForm_ = nullptr;
    gui::TImage* background_ = nullptr;
};

}  // namespace skin
