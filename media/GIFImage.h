#pragma once
// TGIFImage — a windowless control that shows a GIF picture and animates it.
//
// Frames are drawn one step at a time into one composed picture (Composed, plus the monochrome Mask
// when some frame is transparent; white = transparent) and disposed from it the same way; painting
// copies that picture into the client area at natural size, centred, tiled, stretched or stretched
// keeping its aspect ratio. The animation timer (a TTimerEx) exists only while the animation is
// armed; every paint re-arms it and the last pass of a finite animation frees it.
//
// Sections: properties · loading (decode, persistence) · animation · composing · painting.
#include <cstdint>
#include <memory>

#include "base/MemoryStream.h"
#include "gfx/Bitmap.h"
#include "gui/GraphicControl.h"
#include "media/GIFDecoder.h"
#include "media/TimerEx.h"

namespace media {

using TProgressEvent = std::function<void(gui::TComponent* sender, int bytesProcessed, int bytesToProcess,
                                          int percentageProcessed, bool& keepOnProcessing)>;

class TGIFImage : public gui::TGraphicControl {
public:
    explicit TGIFImage(gui::TComponent* owner);
    ~TGIFImage() override;

    // --- published properties ------------------------------------------------------------------
    bool Animate() const { return animate_; }
    void SetAnimate(bool v);
    bool AutoSize() const { return autoSize_; }
    void SetAutoSize(bool v);
    bool Center() const { return center_; }
    void SetCenter(bool v);
    int CurrentFrame() const { return currentFrame_; }
    void SetCurrentFrame(int v);
    // Every immediate redraw goes through the form's back buffer here; the flag is kept for callers.
    bool DoubleBuffered() const { return doubleBuffered_; }
    void SetDoubleBuffered(bool v) { doubleBuffered_ = v; }
    bool FirstImageOnly() const { return gif_.FirstImageOnly; }
    void SetFirstImageOnly(bool v) { gif_.FirstImageOnly = v; }
    TGIFImage* Graphic() { return this; }
    void SetGraphic(TGIFImage*) {}
    bool Loop() const { return loop_; }
    void SetLoop(bool v);
    bool Opaque() const { return opaque_; }
    void SetOpaque(bool v);
    int Speed() const { return speed_; }
    void SetSpeed(int v);
    bool Stretch() const { return stretch_; }
    void SetStretch(bool v);
    bool StretchRatio() const { return stretchRatio_; }
    void SetStretchRatio(bool v);
    bool StretchBigOnly() const { return stretchBigOnly_; }
    void SetStretchBigOnly(bool v);
    bool Tile() const { return tile_; }
    void SetTile(bool v);
    bool Threaded() const { return threaded_; }
    void SetThreaded(bool v);
    TThreadPriority ThreadPriority() const { return threadPriority_; }
    void SetThreadPriority(TThreadPriority v);
    // The control's own visibility for painting: hidden, it paints nothing but keeps its place and
    // its mouse events (the framework's visibility is left alone).
    bool Visible() const { return visible_; }
    void SetVisible(bool v);
    TGIFVersion Version() const { return gif_.Version; }

    gui::TNotifyEvent OnChanging;
    gui::TNotifyEvent OnChange;
    TProgressEvent OnProgress;
    gui::TNotifyEvent OnWrapAnimation;

    // --- public ----------------------------------------------------------------------------------
    bool LoadFromStream(base::TStream& stream);
    void Clear();
    bool Animated() const { return animated_; }
    bool Empty() const { return empty_; }
    int FrameCount() const { return gif_.FrameCount(); }
    const TGIFFrame* Frame(int index) const;  // 1-based; nullptr outside
    int LoopCount() const { return gif_.LoopCount; }
    int LoopsDone() const { return loopsDone_; }
    int ImageWidth() const { return gif_.ImageWidth; }
    int ImageHeight() const { return gif_.ImageHeight; }
    bool HasTransparency() const { return gif_.HasTransparency; }
    bool IsOpaque() const { return isOpaque_; }
    bool Stretched() const { return stretched_; }
    const gfx::TBitmap* Composed() const { return composed_.get(); }
    const gfx::TBitmap* Mask() const { return mask_.get(); }
    TTimerEx* AnimationTimer() const { return timer_; }
    // The picture rectangle in client coordinates.
    gui::TRect DestRect() const;
    // The current frame's colours, or empty for the framework's default palette.
    std::vector<gfx::TColor> GetPalette() const;
    // Interval of frame i: its delay (at least 50 ms) scaled by Speed, at least 1 ms.
    uint32_t FrameInterval(int index) const;

    // The binary form property "Data": a 4-byte little-endian length and that many GIF bytes.
    bool HasData() const { return !data_.Bytes().empty(); }
    virtual void ReadData(base::TStream& stream);
    virtual void WriteData(base::TStream& stream);
    const base::TMemoryStream& DataStream() const { return data_; }

    void Loaded() override;
    void Repaint();  // immediate, limited to the picture rectangle
    void PaintImage(gui::TCanvas& canvas);

protected:
    virtual bool Decode();
    virtual void Changing();
    virtual void Change();
    virtual void Progress();

    // Only draws: the opaque state follows the picture, the size and the look setters, and the
    // timer the picture, the animation switch and the ticks.
    void Paint() override;
    void Resize() override;
    void ComposeFrame();
    void DisposeFrame(int index);
    void AnimationTick(gui::TComponent* sender);
    void SetAnimationTimer(bool on, uint32_t interval = 0);
    void UpdateOpaqueState();
    void ResetImage();
    uint32_t NextInterval() const;  // what the running animation waits before its next tick
    bool Finished() const;          // a finite animation played all its passes

private:
    void DrawBitmap(gui::TCanvas& canvas, const gfx::TBitmap& bitmap, const gui::TRect& target, uint32_t rop);
    void DrawPicture(gui::TCanvas& canvas, const gui::TRect& target);
    uint64_t TickCount() const;

    TGIFDecoder gif_;
    base::TMemoryStream data_;  // DataStream
    base::TMemoryStream work_;  // WorkStream
    std::unique_ptr<gfx::TBitmap> composed_;
    std::unique_ptr<gfx::TBitmap> mask_;
    TTimerEx* timer_ = nullptr;

    bool animate_ = false, autoSize_ = false, center_ = false, doubleBuffered_ = true, loop_ = false;
    bool opaque_ = false, stretch_ = false, stretchRatio_ = false, stretchBigOnly_ = false, tile_ = false;
    bool threaded_ = false;
    TThreadPriority threadPriority_ = tpNormal;
    bool visible_ = true;
    int speed_ = 100;
    int currentFrame_ = 1;
    int loopsDone_ = 1;
    bool skipFirstDispose_ = true;
    bool empty_ = true;
    bool animated_ = false;
    bool stretched_ = false;
    bool isOpaque_ = false;
    bool inRepaint_ = false;
};

}  // namespace media
