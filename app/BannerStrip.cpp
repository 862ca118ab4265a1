#include "app/BannerStrip.h"

#include "app/FormBuilding.h"
#include "app/Links.h"
#include "app/MenuModel.h"
#include "base/MemoryStream.h"
#include "gui/Form.h"
#include "gui/Timer.h"
#include "media/GIFImage.h"

namespace {

constexpr int kBannerShownLeft = 15, kBannerWaitingLeft = -200, kBannerTop = 395;
constexpr int kStillBannerTime = 20000;

}  // namespace

TBannerStrip::TBannerStrip(gui::TForm& form, const std::array<std::string, 3>& links)
    : form_(form), links_(links) {
    timer_ = form.Make<gui::TTimer>();
    timer_->SetName("Timer1");
    timer_->SetInterval(kStillBannerTime);
    timer_->SetEnabled(true);
    timer_->SetOnTimer([this](gui::TComponent*) {
        timer_->SetEnabled(false);
        Cycle();
    });
}

void TBannerStrip::PlaceBanners() {
    const std::pair<const char*, gfx::TPoint> places[] = {
        {"iBanner1", {15, 395}}, {"ibanner2", {-170, 160}}, {"iBanner3", {-170, 288}}};
    for (int i = 0; i < 3; ++i) {
        auto* g = layout::Place<media::TGIFImage>(&form_, &form_, places[i].first, places[i].second.X,
                                                  places[i].second.Y, 170, 70);
        g->SetCursor(gui::crHandPoint);
        g->SetAutoSize(false);
        g->SetCenter(false);
        g->SetFirstImageOnly(false);
        g->SetLoop(false);
        g->SetOpaque(false);
        g->SetStretch(true);
        g->SetStretchRatio(false);
        g->SetStretchBigOnly(false);
        g->SetTile(false);
        g->SetThreaded(false);
        g->SetAnimate(true);
        g->OnWrapAnimation = [this](gui::TComponent* s) { WrapAnimation(s); };
        g->OnChange = [this](gui::TComponent* s) { Change(s); };
        g->OnClick = [this](gui::TComponent* s) { Click(s); };
        banners_[size_t(i)] = g;
    }
}

void TBannerStrip::Load(int index, const std::vector<uint8_t>& gif) {
    base::TMemoryStream stream(gif);
    Banner(index)->LoadFromStream(stream);
}

media::TGIFImage* TBannerStrip::Banner(int index) const {
    return index >= 0 && index < 3 ? banners_[size_t(index)] : nullptr;
}

bool TBannerStrip::ShowsPicture(int index) const {
    const media::TGIFImage* banner = Banner(index);
    return banner && !banner->Empty() && banner->FrameCount() > 0;
}

std::vector<int> TBannerStrip::Rotating() const {
    // A banner whose picture did not load (a damaged disc, a file from another tool) leaves the
    // rotation; the others go on, and with none left the strip stays empty.
    std::vector<int> usable;
    for (int i = 0; i < MenuModel::BannerCount(links_); ++i)
        if (ShowsPicture(i)) usable.push_back(i);
    return usable;
}

int TBannerStrip::Shown() const {
    for (int i = 0; i < 3; ++i)
        if (banners_[size_t(i)] && banners_[size_t(i)]->Left() == kBannerShownLeft) return i;
    return -1;
}

void TBannerStrip::Park() {
    timer_->SetEnabled(false);
    for (media::TGIFImage* banner : banners_) {
        banner->SetBounds(kBannerWaitingLeft, kBannerTop, banner->Width(), banner->Height());
        banner->SetAnimate(false);
    }
}

void TBannerStrip::ShowStill(int index) {
    Park();
    media::TGIFImage* banner = Banner(index);
    if (!banner) return;
    banner->SetBounds(kBannerShownLeft, kBannerTop, banner->Width(), banner->Height());
    // The frame it rests on: the one held longest, the first of equals. Frames are composed one
    // after the other, as the animation would, so that partial frames build on what came before.
    int rest = 1;
    for (int f = 2; f <= banner->FrameCount(); ++f)
        if (banner->Frame(f)->Delay > banner->Frame(rest)->Delay) rest = f;
    wrapped_ = false;
    for (int f = 2; f <= rest; ++f) banner->SetCurrentFrame(f);
}

void TBannerStrip::Cycle() {
    const std::vector<int> usable = Rotating();
    if (usable.empty()) {
        Park();
        return;
    }
    media::TGIFImage* first = banners_[0];
    if (MenuModel::BannerCount(links_) == 1) {
        if (first->Left() == kBannerShownLeft) {
            // The only banner, played once to its end: it starts again rather than stand still.
            if (first->Animated() && !first->AnimationTimer()) {
                first->SetAnimate(false);
                first->SetAnimate(true);
            }
            return;
        }
        first->SetLeft(kBannerShownLeft);
    }
    Park();
    timer_->SetInterval(kStillBannerTime);
    std::uniform_int_distribution<int> pick(0, int(usable.size()) - 1);
    media::TGIFImage* chosen = Banner(usable[size_t(pick(random_))]);
    timer_->SetEnabled(!chosen->Animated());
    chosen->SetBounds(kBannerShownLeft, kBannerTop, chosen->Width(), chosen->Height());
    if (chosen->Animated()) chosen->SetAnimate(true);
}

void TBannerStrip::WrapAnimation(gui::TComponent* sender) {
    auto* banner = dynamic_cast<media::TGIFImage*>(sender);
    if (!banner || banner->Left() != kBannerShownLeft) return;
    wrapped_ = true;
    // A banner that plays once raises no change after its last wrap, so nothing else would ever
    // replace it: Timer1 does, once its last frame has been shown for its own delay.
    if (!banner->AnimationTimer()) {
        timer_->SetEnabled(false);
        timer_->SetInterval(int(banner->FrameInterval(banner->FrameCount())));
        timer_->SetEnabled(true);
    }
}

void TBannerStrip::Change(gui::TComponent* sender) {
    auto* banner = dynamic_cast<media::TGIFImage*>(sender);
    if (banner && banner->Left() == kBannerShownLeft && wrapped_) {
        Cycle();
        wrapped_ = false;
    }
}

void TBannerStrip::Click(gui::TComponent* sender) {
    for (int i = 0; i < 3; ++i)
        if (Banner(i) == sender && ShowsPicture(i)) {
            // The link ends at the target field's first zero byte.
            const std::string& link = links_[size_t(i)];
            OpenLink(link.substr(0, link.find('\0')));
        }
}
