#pragma once
// Menue.dat, the menu resource file of a disc: a fixed header of text fields and decimal size fields,
// then the logo (an uncompressed BMP file image), seven RIFF WAVE sounds and three GIF banners back to
// back. Everything is read once at start-up into memory; nothing refers back to the file afterwards.
//
// Header layout (byte offsets): 0 project field (100), 100/250/400 credits (150 each), 550/804/1058
// banner targets (254 each), 1312.. eleven size fields of 10 bytes (GIF 1-3, sounds 0-6, reserved),
// 1422 logo. Text fields are padded with zero bytes; every use of one ends at its first zero byte.
#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace base {
class TStream;
}
namespace gfx {
class TBitmap;
}

namespace MenuDat {

inline constexpr size_t kProjectOffset = 0, kProjectLength = 100;
inline constexpr size_t kCreditOffset = 100, kCreditLength = 150;
inline constexpr size_t kBannerTargetOffset = 550, kBannerTargetLength = 254;
inline constexpr size_t kSizeFieldOffset = 1312, kSizeFieldLength = 10, kSizeFieldCount = 11;
inline constexpr size_t kHeaderLength = 1422;  // the logo starts here
// Order of the size fields.
inline constexpr size_t kGifSize = 0, kSoundSize = 3, kReservedSize = 10;

}  // namespace MenuDat

struct TMenuHeader {
    std::string ProjectField;                  // all 100 bytes as read
    std::string ProjectId;                     // the text before the first "~~~"
    std::array<std::string, 3> Credits;        // up to the first zero byte
    std::array<std::string, 3> BannerTargets;  // all 254 bytes as read
    std::array<std::string, 11> SizeFields;    // all 10 bytes as read
    std::array<int32_t, 11> Sizes{};           // their values
};

class TMenuResource {
public:
    TMenuHeader Header;
    // The credits as label captions (first "&" doubled): lZusammenstellung, lRedaktionsassistenz,
    // lCopyright.
    std::array<std::string, 3> CreditCaptions;
    // BannerLink1..3: redirect prefix + project id + "&url=" + all 254 target bytes.
    std::array<std::string, 3> BannerLinks;
    std::vector<uint8_t> Logo;                       // the BMP file image as consumed
    std::shared_ptr<const gfx::TBitmap> LogoBitmap;  // the logo decoded, for iLogo
    std::array<std::vector<uint8_t>, 7> SoundSlots;  // RIFF WAVE images; empty for a size <= 0
    std::array<std::vector<uint8_t>, 3> Banners;     // GIF images; empty for a size <= 0

    // The link as it is opened: up to the target field's first zero byte.
    std::string BannerUrl(int index) const;
    // Banner 1 always takes part; banners 2 and 3 not when their target is "---" or their blob empty.
    bool BannerPresent(int index) const;
};

// Reads DataDir + "Menue.dat" (a native path). EFOpenError "Datei %s kann nicht geöffnet werden",
// EReadError "Stream-Read-Fehler" for a file shorter than a field or blob it announces,
// EConvertError "'%s' ist kein gültiger Integerwert" for a size field, base::Exception for a logo
// that is no bitmap (gfx::EInvalidGraphic when its pixels cannot be decoded). Banner blobs are taken
// as they are: one that is no GIF picture leaves only its banner empty.
TMenuResource LoadMenuResourceFile(const std::string& fileName);
// The same from the current position of a stream.
TMenuResource ReadMenuResource(base::TStream& stream);
TMenuResource ReadMenuResource(const uint8_t* data, size_t size);

// "http://" + redirect host + "/redirect.php4?project=".
std::string RedirectPrefix();
// A text field up to its first zero byte.
std::string_view FieldText(std::string_view field);
// The project id of a project field: the text before the first "~~~"; empty without one.
std::string ParseProjectId(std::string_view field);
// The value of a size field: blanks, decimal digits, zero padding. EConvertError otherwise.
int32_t ParseSizeField(std::string_view field);
// Banner link index (0..2) from the project id and the raw target field. Only the first link drops
// trailing blanks and control characters of prefix + id.
std::string ComposeBannerLink(int index, std::string_view projectId, std::string_view targetField);
// Length in bytes of the BMP file image at data as the menu consumes it: file header, info header,
// colour table, pixel rows (each padded to 4 bytes). EReadError when the headers themselves run past
// size; base::Exception "Bitmap-Bild ist nicht gültig" for headers that describe no bitmap. The result
// may exceed size; the caller decides.
int64_t BmpImageLength(const uint8_t* data, size_t size);
