#pragma once
// TImage: shows a picture (BMP or JPEG, decoded to a bitmap) on its parent. Stretch scales it to
// the control, Center centres it, AutoSize sizes the control to it, Transparent draws it with its
// key colour (the bottom-left pixel's colour) left out.
#include <cstdint>
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
    gfx::TBitmap& MutablePicture() {
        ++generation_;
        return *picture_;
    }
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
    // At a desktop scale the picture resampled for its place, made again when the picture, its
    // place, the scale or the transparency changes: painting is then a copy.
    struct Scaled {
        gfx::TBitmap pixels;
        TRect dest{};
        double scale = 0;
        std::uint64_t generation = 0;
        bool transparent = false;
    };
    const gfx::TBitmap& ScaledPicture(const TRect& dest, double scale);

    std::unique_ptr<gfx::TBitmap> picture_;
    std::unique_ptr<Scaled> scaled_;
    std::uint64_t generation_ = 1;
    bool stretch_ = false;
    bool center_ = false;
    bool autoSize_ = false;
    bool transparent_ = false;
    bool proportional_ = false;
};

}  // namespace gui
