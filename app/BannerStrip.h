#pragma once
// TBannerStrip: the three banners of Menue.dat in the strip at the start page's foot. One shows at a
// time, chosen at random among those the links make available; an animated one is replaced after its
// animation wraps, a still one after 20 seconds (Timer1). A click opens the banner's link.
#include <array>
#include <cstdint>
#include <random>
#include <string>
#include <vector>

namespace gui {
class TComponent;
class TForm;
class TTimer;
}  // namespace gui
namespace media {
class TGIFImage;
}  // namespace media

class TBannerStrip {
public:
    // Makes Timer1; links lives on (the model's).
    TBannerStrip(gui::TForm& form, const std::array<std::string, 3>& links);
    // Makes the three banners on form, waiting outside the window.
    void PlaceBanners();
    void Load(int index, const std::vector<uint8_t>& gif);

    // The pseudo-random choice among the banners.
    void Seed(uint32_t seed) { random_.seed(seed); }
    // Puts the next banner in the strip (or restarts the only one).
    void Cycle();
    // Every banner off-screen and still, Timer1 off.
    void Park();
    // For previews: banner index alone in the strip, standing still on the frame it holds longest.
    void ShowStill(int index);

    media::TGIFImage* Banner(int index) const;
    // Whether banner index (0..2) has a picture to show: one that did not load is left out.
    bool ShowsPicture(int index) const;
    // The banners the strip chooses from (0..2): those the links make available, less those that
    // have no picture.
    std::vector<int> Rotating() const;
    // The banner in the strip (0..2), -1 for none.
    int Shown() const;
    gui::TTimer* Timer1() const { return timer_; }
    // The shown banner's animation wrapped since it came in.
    bool Wrapped() const { return wrapped_; }
    void SetWrapped(bool wrapped) { wrapped_ = wrapped; }

    // The banners' events.
    void WrapAnimation(gui::TComponent* sender);
    void Change(gui::TComponent* sender);
    void Click(gui::TComponent* sender);

private:
    gui::TForm& form_;
    const std::array<std::string, 3>& links_;
    std::array<media::TGIFImage*, 3> banners_{};
    gui::TTimer* timer_ = nullptr;
    bool wrapped_ = false;
    std::mt19937 random_;
};
