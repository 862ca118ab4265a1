#pragma once
// TImageList: equally sized images with a 1-bit mask each. Drawing an image changes only the
// pixels inside its mask; the rest of the target stays as it was.
#include <vector>

#include "gfx/Bitmap.h"
#include "gui/Control.h"

namespace gui {

class TImageList : public TComponent {
public:
    explicit TImageList(TComponent* owner, int width = 16, int height = 16);
    ~TImageList() override;

    int Width() const { return width_; }
    int Height() const { return height_; }
    void SetSize(int width, int height);  // clears the list
    void SetWidth(int w) { SetSize(w, height_); }
    void SetHeight(int h) { SetSize(width_, h); }
    int Count() const { return int(images_.size()); }

    // Cuts the strip into images of Width() from the left (a partial last one is dropped);
    // pixels of maskColor are outside the mask. Returns the index of the first image added, or
    // -1 if none was.
    int AddMasked(const gfx::TBitmap& strip, TColor maskColor);
    // One image with an explicit mask (mask pixel true = drawn).
    int Add(const gfx::TBitmap& image, const std::vector<bool>& mask);
    void Delete(int index);
    void Clear();

    // Draws image index with its top-left corner at x,y (canvas coordinates). An index out of
    // range draws nothing.
    void Draw(TCanvas& canvas, int x, int y, int index, bool enabled = true) const;
    // Copies image index onto bmp (resized to the image), masked pixels left as bmp had them.
    void GetBitmap(int index, gfx::TBitmap& bmp) const;
    bool Masked(int index, int x, int y) const;  // pixel x,y of image index is inside the mask

    TNotifyEvent OnChange;

private:
    struct Image {
        std::vector<TColor> pixels;  // width*height, 0x00BBGGRR
        std::vector<bool> mask;
    };
    void Changed();

    int width_, height_;
    std::vector<Image> images_;
};

}  // namespace gui
