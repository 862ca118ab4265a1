#include "skin/SkinForm.h"

#include <cstring>
#include <limits>

#include "base/Exceptions.h"
#include "base/Stream.h"
#include "gui/Form.h"

namespace skin {

namespace {

constexpr std::uint32_t kHeaderSize = 32;
constexpr std::uint32_t kRectangles = 1;  // the only region type the window system writes

std::int32_t GetI32(const std::uint8_t* p) {
    return std::int32_t(std::uint32_t(p[0]) | std::uint32_t(p[1]) << 8 | std::uint32_t(p[2]) << 16 |
                        std::uint32_t(p[3]) << 24);
}

void PutI32(std::vector<std::uint8_t>& out, std::int32_t v) {
    auto u = std::uint32_t(v);
    for (int i = 0; i < 4; ++i) out.push_back(std::uint8_t(u >> (8 * i)));
}

}  // namespace

const std::vector<gfx::TRect>& TRegionType::Region() const {
    static const std::vector<gfx::TRect> kNone;
    return region_ ? *region_ : kNone;
}

std::vector<std::uint8_t> EncodeRegionData(const std::vector<gfx::TRect>& rects) {
    gfx::TRect bound{};
    bool first = true;
    for (const gfx::TRect& r : rects) {
        if (first) {
            bound = r;
            first = false;
        } else {
            bound = gfx::UnionRect(bound, r);
        }
    }
    std::vector<std::uint8_t> out;
    out.reserve(kHeaderSize + rects.size() * 16);
    PutI32(out, std::int32_t(kHeaderSize));
    PutI32(out, std::int32_t(kRectangles));
    PutI32(out, std::int32_t(rects.size()));
    PutI32(out, std::int32_t(rects.size() * 16));
    for (int v : {bound.Left, bound.Top, bound.Right, bound.Bottom}) PutI32(out, v);
    for (const gfx::TRect& r : rects)
        for (int v : {r.Left, r.Top, r.Right, r.Bottom}) PutI32(out, v);
    return out;
}

std::optional<std::vector<gfx::TRect>> DecodeRegionData(const std::uint8_t* data, std::size_t size) {
    if (!data || size < kHeaderSize) return std::nullopt;
    if (std::uint32_t(GetI32(data)) != kHeaderSize || std::uint32_t(GetI32(data + 4)) != kRectangles)
        return std::nullopt;
    auto count = std::uint32_t(GetI32(data + 8));
    // Every rectangle must lie inside the block; the count is checked before it is multiplied.
    if (count > (size - kHeaderSize) / 16) return std::nullopt;
    std::vector<gfx::TRect> rects;
    rects.reserve(count);
    const std::uint8_t* p = data + kHeaderSize;
    for (std::uint32_t i = 0; i < count; ++i, p += 16) {
        gfx::TRect r{GetI32(p), GetI32(p + 4), GetI32(p + 8), GetI32(p + 12)};
        if (!r.IsEmpty()) rects.push_back(r);
    }
    return rects;
}

TSkinForm::TSkinForm(gui::TComponent* owner)
    : gui::TImage(owner), mask_(std::make_unique<TRegionType>(this)) {
    SetAlign(gui::alClient);
    // The skin covers its whole area: nothing behind it is erased or painted first.
    SetControlStyle(ControlStyle() | gui::csOpaque);
}

TSkinForm::~TSkinForm() = default;

void TSkinForm::SetMask(std::unique_ptr<TRegionType> mask) {
    if (!mask) return;
    mask_ = std::move(mask);
    mask_->SetOwner(this);
}

void TSkinForm::ReadMask2(base::TStream& stream) {
    std::int32_t n = stream.ReadI32();
    if (n == 0) {
        mask_->ClearRegion();
        return;
    }
    // A negative count would have asked for an impossible allocation; a count beyond the
    // stream would read past it. Both are damaged form data.
    if (n < 0 || n > stream.Size() - stream.Position()) throw base::EReadError();
    regionData_.assign(std::size_t(n), 0);
    stream.ReadBuffer(regionData_.data(), n);
    regionGiven_ = false;
    if (auto rects = DecodeRegionData(regionData_.data(), regionData_.size())) {
        mask_->SetRegion(std::move(*rects));
        GiveRegionToWindow();
    } else {
        mask_->ClearRegion();
    }
}

void TSkinForm::WriteMask2(base::TStream& stream) const {
    if (!mask_->HasRegion()) {
        stream.WriteU32(0);
        return;
    }
    std::vector<std::uint8_t> data = EncodeRegionData(mask_->Region());
    stream.WriteU32(std::uint32_t(data.size()));
    stream.WriteBuffer(data.data(), std::int64_t(data.size()));
}

void TSkinForm::GiveRegionToWindow() {
    if (regionGiven_ || !mask_->HasRegion()) return;
    // An empty outline would hide the whole window; the window system cannot be told "nothing"
    // through a list of rectangles, so such a region stays a record only.
    if (mask_->Region().empty()) return;
    gui::TForm* form = ParentForm();
    if (!form) return;  // handed over once the skin is placed on its form
    form->SetWindowRegion(mask_->Region());
    regionGiven_ = true;
}

void TSkinForm::SetBounds(int, int, int width, int height) {
    gui::TImage::SetBounds(0, 0, width, height);
}

void TSkinForm::SetParent(gui::TWinControl* parent) {
    gui::TImage::SetParent(parent);
    if (auto* form = dynamic_cast<gui::TForm*>(parent)) {
        form->SetBorderStyle(gui::bsNone);
        GiveRegionToWindow();
    }
    SetBounds(0, 0, Width(), Height());
}

void TSkinForm::PictureChanged() {
    // The window keeps an outline it was given; only the record of it goes.
    mask_->ClearRegion();
    if (!Picture().Empty() && Picture().Width() >= Width() && Picture().Height() >= Height())
        SetControlStyle(ControlStyle() | gui::csOpaque);
}

void TSkinForm::MouseDown(gui::TMouseButton button, gui::TShiftState, int, int) {
    // Draggable is deliberately not consulted, and OnMouseDown is not raised.
    if (button != gui::mbLeft) return;
    if (gui::TForm* form = ParentForm()) form->StartWindowDrag();
}

bool TSkinForm::StartsWindowDrag(int, int) const {
    return true;
}

}  // namespace skin
