#include "skin/PicturePanel.h"

#include "skin/SkinForm.h"

namespace skin {

TPicturePanel::TPicturePanel(gui::TComponent* owner) : gui::TPanel(owner) {
    SetColor(gfx::clBlack);
    SetBevelInner(gui::bvNone);
    SetBevelOuter(gui::bvNone);
    SetCaption("");
    // Created first, so it is the bottom child: everything added later lies above it.
    background_ = Make<gui::TImage>();
    background_->SetParent(this);
    background_->SetBounds(0, 0, Width(), Height());
}

TPicturePanel::~TPicturePanel() {
    if (skinForm_) skinForm_->RemoveFreeNotification(this);
}

void TPicturePanel::SetSkinForm(TSkinForm* skin) {
    if (skinForm_ != skin) {
        if (skinForm_) skinForm_->RemoveFreeNotification(this);
        skinForm_ = skin;
        if (skin) skin->FreeNotification(this);
    }
    CopyBackground();
}

void TPicturePanel::Repaint() {
    gui::TPanel::Repaint();
    CopyBackground();
}

void TPicturePanel::Notification(gui::TComponent* c, gui::TOperation op) {
    if (op == gui::opRemove) {
        if (c == skinForm_) skinForm_ = nullptr;
        if (c == background_) background_ = nullptr;
    }
    gui::TPanel::Notification(c, op);
}

void TPicturePanel::CopyBackground() {
    if (!background_) return;
    const int w = Width(), h = Height();
    background_->SetBounds(0, 0, w, h);
    if (!skinForm_) {
        // Nothing to copy from: the panel's own colour shows.
        if (background_->HasPicture()) background_->ClearPicture();
        return;
    }
    // The panel's rectangle in its parent is taken as skin coordinates: the skin covers its form
    // from 0,0 and picture panels sit directly on that form.
    gfx::TBitmap& pic = background_->MutablePicture();
    if (pic.Width() != w || pic.Height() != h || pic.PixelFormat() != gfx::pf32bit) pic = gfx::TBitmap(w, h);
    // Parts of the panel beyond the skin picture show the panel's colour.
    pic.Canvas().Brush().SetStyle(gfx::bsSolid);
    pic.Canvas().Brush().SetColor(Color());
    pic.Canvas().FillRect({0, 0, w, h});
    pic.Canvas().BitBlt(0, 0, w, h, skinForm_->Picture(), Left(), Top(), gfx::SRCCOPY);
    background_->PictureChanged();
}

}  // namespace skin
