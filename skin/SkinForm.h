#pragma once
// TSkinForm: the skin of a frameless window. A picture control that covers its form from 0,0,
// shows the skin bitmap, can give the window an outline stored as region data (the form-file
// property Mask2), takes the system frame off its form and lets the user drag the window by
// pressing the left button anywhere on the skin.
//
// Mask2 block: a 32-bit little-endian byte count N (0 = no outline), then N bytes of region data:
// a 32-byte header (dwSize 32, iType 1 = rectangles, nCount, nRgnSize, bounding left, top, right,
// bottom) followed by nCount rectangles of four 32-bit values (left, top, right, bottom).
#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

#include "gui/Image.h"

namespace base {
class TStream;
}

namespace skin {

class TSkinForm;

// The outline record of a skin: a region (a union of rectangles) or none.
class TRegionType {
public:
    explicit TRegionType(TSkinForm* owner = nullptr) : owner_(owner) {}

    bool HasRegion() const { return region_.has_value(); }
    // The rectangles of the region; empty when there is none.
    const std::vector<gfx::TRect>& Region() const;
    void SetRegion(std::vector<gfx::TRect> rects) { region_ = std::move(rects); }
    void ClearRegion() { region_.reset(); }
    TSkinForm* Owner() const { return owner_; }
    void SetOwner(TSkinForm* owner) { owner_ = owner; }

private:
    std::optional<std::vector<gfx::TRect>> region_;
    TSkinForm* owner_;
};

// Region data as the window system exchanges it (header + rectangles), and back. Decoding
// returns nullopt for data the window system would reject (wrong header, more rectangles than
// bytes); empty rectangles are dropped.
std::vector<std::uint8_t> EncodeRegionData(const std::vector<gfx::TRect>& rects);
std::optional<std::vector<gfx::TRect>> DecodeRegionData(const std::uint8_t* data, std::size_t size);

class TSkinForm : public gui::TImage {
public:
    explicit TSkinForm(gui::TComponent* owner);
    ~TSkinForm() override;

    TRegionType* Mask() const { return mask_.get(); }
    // Replaces the mask object and becomes its owner; null is ignored.
    void SetMask(std::unique_ptr<TRegionType> mask);
    // Stored with the form; no behaviour reads it (a left press always drags).
    bool Draggable() const { return draggable_; }
    void SetDraggable(bool v) { draggable_ = v; }

    // Form-file property Mask2. Reading a block with an outline hands it to the form's window;
    // a block that does not make a region leaves the mask without one. A byte count below 0 or
    // beyond the stream raises EReadError.
    void ReadMask2(base::TStream& stream);
    void WriteMask2(base::TStream& stream) const;
    // The raw region data last read (empty when none).
    const std::vector<std::uint8_t>& RegionData() const { return regionData_; }
    // The region was handed to the window (it then stays the window's outline).
    bool RegionGiven() const { return regionGiven_; }

    // Left and top always stay 0; width and height pass through.
    void SetBounds(int left, int top, int width, int height) override;
    // On a form the form loses its system frame.
    void SetParent(gui::TWinControl* parent) override;
    // Only drops the mask's region: a new picture neither resizes nor repaints by itself.
    void PictureChanged() override;

    void MouseDown(gui::TMouseButton button, gui::TShiftState shift, int x, int y) override;
    bool StartsWindowDrag(int x, int y) const override;

private:
    void GiveRegionToWindow();

    std::unique_ptr<TRegionType> mask_;
    std::vector<std::uint8_t> regionData_;
    bool draggable_ = true;
    bool regionGiven_ = false;
};

}  // namespace skin
