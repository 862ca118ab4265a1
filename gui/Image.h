#pragma once
// TImage: shows a picture (BMP or JPEG, decoded to a bitmap) on its parent. Stretch scales it to
// the control, Center centres it, AutoSize sizes the control to it, Transparent draws it with its
// key colour (the bottom-left pixel's colour) left out.
#include <memory>
#include <string>

#include "gfx/Bitmap.h"
#include "gui/GraphicControl.h"

namespace base {
class TStream;
}

namespace gui {

class TImage : public TGraphicControl {
public:
    explicit TImage(TComponent* owner);
    ~TImage() override;

    const gfx::TBitmap& Picture() const { return *picture_; }
    // Edit the picture in place, then call PictureChanged().
    gfx::TBitmap& MutablePicture() { return *picture_; }
    void SetPicture(const gfx::TBitmap& bitmap);
    void SetPicture(gfx::TBitmap&& bitmap);          // takes the pixels over
    void LoadFromFile(const std::string& fileName);  // raises on unreadable data
    void LoadFromStream(base::TStream& stream);
    void ClearPicture();
    bool HasPicture() const { return !picture_->Empty(); }
    // The picture changed: AutoSize applies and the control repaints.
    virtual void PictureChanged();

    bool Stretch() const { return stretch_; }
    void SetStretch(bool v);
    bool Center() const { return center_; }
    void SetCenter(bool v);
    bool AutoSize() const { return autoSize_; }
    void SetAutoSize(bool v);
    bool Transparent() const { return transparent_; }
    void SetTransparent(bool v);
    bool Proportional() const { return proportional_; }
    void SetProportional(bool v);

    // Where the picture lands in client coordinates.
    TRect DestRect() const;

protected:
    void Paint() override;

private:
    std::unique_ptr<gfx::TBitmap> picture_;
    bool stretch_ = false;
    bool center_ = false;
    bool autoSize_ = false;
    bool transparent_ = false;
    bool proportional_ = false;
};

}  // namespace gui
