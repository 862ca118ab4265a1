#pragma once
// TTransText: a multi-line text without background over the skin. The source lines (paragraphs)
// are wrapped to the view's width into display lines, optionally justified, drawn glyphs only
// (the magenta key of the off-screen bitmap stays transparent, and anti-aliased edges blend onto
// what lies behind) and scrolled by a linked flat scroll bar when the text is taller than the view.
//
// Wrapping cuts a line right after the last space at which it fits, the space staying at the end
// of the display line. A word too wide for the view on its own is broken at the last character
// that fits. A linked scroll bar that lies over the right part of the view makes the text wrap to
// the room left of it while the bar is shown.
#include <string>

#include "base/StringList.h"
#include "gui/GraphicControl.h"

namespace flat {
class TFlatScrollbar;
}

namespace skin {

enum TTransTextAlignment { ttaLeft = 0, ttaCenter = 1, ttaRight = 2, ttaJustify = 3 };

class TTransText : public gui::TGraphicControl {
public:
    static constexpr gfx::TColor kKeyColor = 0xFF00FF;

    explicit TTransText(gui::TComponent* owner);
    ~TTransText() override;

    // The source lines. Filling them directly needs WrapText() and Repaint() afterwards.
    base::TStringList& Text() { return text_; }
    const base::TStringList& Text() const { return text_; }
    void SetText(const base::TStringList& lines);
    const base::TStringList& WrappedLines() const { return wrapped_; }
    TTransTextAlignment Alignment() const { return alignment_; }
    void SetAlignment(TTransTextAlignment v);
    int LineSpacing() const { return lineSpacing_; }
    void SetLineSpacing(int v) { lineSpacing_ = v; }
    flat::TFlatScrollbar* Scrollbar() const { return scrollbar_; }
    void SetScrollbar(flat::TFlatScrollbar* bar);
    int ContentHeight() const { return contentHeight_; }
    int ScrollOffset() const { return scrollOffset_; }

    // Rebuilds the display lines at the view's width; hides the scroll bar (the next paint shows
    // it again when needed) and scrolls to the top.
    void WrapText();
    // A display line as justified drawing shows it: gaps widened to the view's width, the
    // paragraph's last line (marked "###") unstretched and without the marker.
    std::string JustifyLine(const std::string& line);

protected:
    void Paint() override;
    void Notification(gui::TComponent* c, gui::TOperation op) override;

private:
    void Wrap(int width);
    void DrawLines(gfx::TCanvas& c, int bitmapWidth, int bitmapHeight, int lineHeight);
    void ScrollbarScrolled(int position);
    int MeasureWidth(const std::string& s);

    base::TStringList text_;
    base::TStringList wrapped_;
    TTransTextAlignment alignment_ = ttaCenter;
    int lineSpacing_ = 0;
    flat::TFlatScrollbar* scrollbar_ = nullptr;
    int contentHeight_ = 1;
    int scrollOffset_ = 0;
    int lastScrollPos_ = 0;
    bool needsWrap_ = true;
    gfx::TBitmap work_;
    gfx::TBitmap measure_;
};

}  // namespace skin
