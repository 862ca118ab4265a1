#include "app/MenuResource.h"

#include <algorithm>

#include "app/DiscBuild.h"
#include "app/TextHelpers.h"
#include "base/Exceptions.h"
#include "base/MemoryStream.h"
#include "base/StrUtils.h"
#include "base/Stream.h"
#include "gfx/Bitmap.h"
#include "gfx/BmpCodec.h"

namespace {

const char* const kInvalidBitmap = "Bitmap-Bild ist nicht g\xFCltig";

uint32_t U32(const uint8_t* p) {
    return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
}
uint16_t U16(const uint8_t* p) {
    return uint16_t(p[0] | p[1] << 8);
}

// Sequential reading over the file image; every read past the end is the runtime's short-read error.
class Reader {
public:
    Reader(const uint8_t* data, size_t size) : data_(data), size_(size) {}

    size_t Left() const { return size_ - pos_; }
    const uint8_t* Here() const { return data_ + pos_; }

    const uint8_t* Take(int64_t count) {
        if (count < 0 || static_cast<uint64_t>(count) > Left()) throw base::EReadError();
        const uint8_t* p = data_ + pos_;
        pos_ += static_cast<size_t>(count);
        return p;
    }
    std::string Text(size_t count) {
        const uint8_t* p = Take(static_cast<int64_t>(count));
        return std::string(reinterpret_cast<const char*>(p), count);
    }
    // A blob of the stated size. The format has no empty blobs: a size of 0 or below yields an
    // empty blob and reads nothing (rather than "copy the whole file" or a negative length).
    std::vector<uint8_t> Blob(int32_t size) {
        if (size <= 0) return {};
        const uint8_t* p = Take(size);
        return std::vector<uint8_t>(p, p + size);
    }

private:
    const uint8_t* data_;
    size_t size_;
    size_t pos_ = 0;
};

}  // namespace

std::string RedirectPrefix() {
    return "http://" + std::string(DiscBuild::kRedirectHost) + "/redirect.php4?project=";
}

std::string_view FieldText(std::string_view field) {
    return field.substr(0, field.find('\0'));
}

std::string ParseProjectId(std::string_view field) {
    std::string_view text = FieldText(field);
    size_t marker = text.find("~~~");
    return marker == std::string_view::npos ? std::string() : std::string(text.substr(0, marker));
}

int32_t ParseSizeField(std::string_view field) {
    return base::StrToInt(FieldText(field));
}

std::string ComposeBannerLink(int index, std::string_view projectId, std::string_view targetField) {
    std::string head = RedirectPrefix() + std::string(projectId);
    // Only the first link was ever trimmed; the other two keep a trailing blank of the id.
    if (index == 0) head = base::TrimRight(head);
    return head + "&url=" + std::string(targetField);
}

int64_t BmpImageLength(const uint8_t* data, size_t size) {
    if (size < 18) throw base::EReadError();
    if (data[0] != 'B' || data[1] != 'M') throw base::Exception(kInvalidBitmap);
    const uint32_t headerSize = U32(data + 14);
    // 12 = core header; 16..64 = the OS/2 and Windows info headers up to the v5 header's 124.
    if (headerSize != 12 && (headerSize < 16 || headerSize > 124)) throw base::Exception(kInvalidBitmap);
    if (size < 14 + headerSize) throw base::EReadError();
    const uint8_t* h = data + 14;

    int64_t width, height;
    uint32_t bits, compression = 0, colours = 0, imageSize = 0;
    int64_t entrySize = 4;
    if (headerSize == 12) {
        width = U16(h + 4);
        height = U16(h + 6);
        bits = U16(h + 10);
        entrySize = 3;
    } else {
        width = static_cast<int32_t>(U32(h + 4));
        height = static_cast<int32_t>(U32(h + 8));
        bits = U16(h + 14);
        if (headerSize >= 20) compression = U32(h + 16);
        if (headerSize >= 24) imageSize = U32(h + 20);
        if (headerSize >= 36) colours = U32(h + 32);
    }
    if (width <= 0 || height == 0) throw base::Exception(kInvalidBitmap);
    if (bits != 1 && bits != 4 && bits != 8 && bits != 16 && bits != 24 && bits != 32)
        throw base::Exception(kInvalidBitmap);
    if (height < 0) height = -height;  // top-down rows

    int64_t table = colours != 0 ? int64_t(colours) : (bits <= 8 ? int64_t(1) << bits : 0);
    int64_t length = 14 + int64_t(headerSize) + table * entrySize;
    // The plain info header leaves the three colour masks of a bit-field picture to follow it.
    if (compression == 3 && headerSize == 40) length += 12;

    if (compression == 0 || compression == 3) {
        int64_t rowBytes = (width * bits + 31) / 32 * 4;
        // Rows past any file size are reported as such, without overflowing the product.
        const int64_t limit = int64_t(1) << 40;
        if (height > limit / rowBytes) return limit;
        length += rowBytes * height;
    } else if (compression == 1 || compression == 2) {
        // Run-length rows have no fixed size: the header's image size is what follows.
        if (imageSize == 0) throw base::Exception(kInvalidBitmap);
        length += imageSize;
    } else {
        throw base::Exception(kInvalidBitmap);
    }
    return length;
}

TMenuResource ReadMenuResource(const uint8_t* data, size_t size) {
    using namespace MenuDat;
    Reader in(data, size);
    TMenuResource menu;
    TMenuHeader& h = menu.Header;

    h.ProjectField = in.Text(kProjectLength);
    h.ProjectId = ParseProjectId(h.ProjectField);
    for (size_t i = 0; i < 3; ++i) {
        h.Credits[i] = std::string(FieldText(in.Text(kCreditLength)));
        menu.CreditCaptions[i] = EscapeAmpersand(h.Credits[i]);
    }
    for (size_t i = 0; i < 3; ++i) {
        h.BannerTargets[i] = in.Text(kBannerTargetLength);
        menu.BannerLinks[i] = ComposeBannerLink(static_cast<int>(i), h.ProjectId, h.BannerTargets[i]);
    }
    for (size_t i = 0; i < kSizeFieldCount; ++i) h.SizeFields[i] = in.Text(kSizeFieldLength);
    // The values are converted after all fields are in, so that a short header reports the short read.
    for (size_t i = 0; i < kReservedSize; ++i) h.Sizes[i] = ParseSizeField(h.SizeFields[i]);
    // The reserved field is read and not used, so its content cannot fail the file.
    h.Sizes[kReservedSize] = base::StrToIntDef(FieldText(h.SizeFields[kReservedSize]), 0);

    const int64_t logoLength = BmpImageLength(in.Here(), in.Left());
    const uint8_t* logo = in.Take(logoLength);
    menu.Logo.assign(logo, logo + logoLength);
    // The blob offsets follow the length computed above; the decoder only turns the bytes into pixels.
    auto bitmap = std::make_shared<gfx::TBitmap>();
    gfx::ReadBmp(menu.Logo.data(), menu.Logo.size(), *bitmap);
    menu.LogoBitmap = std::move(bitmap);

    for (size_t slot = 0; slot < 7; ++slot) menu.SoundSlots[slot] = in.Blob(h.Sizes[kSoundSize + slot]);
    // A banner blob that is no GIF picture is the banner's own loss: its control stays empty and
    // the strip leaves it out, while the rest of the file serves the menu as usual.
    for (size_t i = 0; i < 3; ++i) menu.Banners[i] = in.Blob(h.Sizes[kGifSize + i]);
    return menu;
}

TMenuResource ReadMenuResource(base::TStream& stream) {
    base::TMemoryStream image;
    image.CopyFrom(stream, stream.Size() - stream.Position());
    return ReadMenuResource(image.Memory(), image.Bytes().size());
}

TMenuResource LoadMenuResourceFile(const std::string& fileName) {
    base::TMemoryStream image;
    image.LoadFromFile(fileName);
    return ReadMenuResource(image.Memory(), image.Bytes().size());
}

std::string TMenuResource::BannerUrl(int index) const {
    return std::string(FieldText(BannerLinks.at(static_cast<size_t>(index))));
}

bool TMenuResource::BannerPresent(int index) const {
    size_t i = static_cast<size_t>(index);
    if (i >= 3 || Banners[i].empty()) return false;
    return i == 0 || FieldText(Header.BannerTargets[i]) != "---";
}
