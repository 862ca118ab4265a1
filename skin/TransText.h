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
    void SetLineSpacing(int v);
    flat::TFlatScrollbar* Scrollbar() const { return scrollbar_; }
    void SetScrollbar(flat::TFlatScrollbar* bar);
    int ContentHeight() const { return contentHeight_; }
    int ScrollOffset() const;  // what the view is scrolled by: the linked bar's position

    // Lays the text out again: the display lines at the view's width, the scroll bar shown (at the
    // top) when the text is taller than the view and hidden otherwise. Runs by itself when the
    // text, the font or the size changes; paint only draws the layout.
    void WrapText();
    void SetBounds(int left, int top, int width, int height) override;
    void SetParent(gui::TWinControl* parent) override;
    void Loaded() override;
    // A display line as justified drawing shows it: gaps widened to the view's width, the
    // paragraph's last line (marked "###") unstretched and without the marker.
    std::string JustifyLine(const std::string& line);

protected:
    void Paint() override;
    void Notification(gui::TComponent* c, gui::TOperation op) override;
    void FontChanged() override;
    int FocusMarkOutset() const override { return 2; }  // the text starts at the edge
    // Three lines a notch (the desktop's setting), as the program list scrolls.
    bool DoMouseWheel(gui::TShiftState shift, int wheelDelta, gfx::TPoint mousePos) override;

private:
    // The line height, the content height and the bar over the display lines as they are.
    void Fit();
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
    int lineHeight_ = 0;
    int drawWidth_ = 0;  // the bitmap's width: the view's, or the room left of a bar over it
    int lastScrollPos_ = 0;
    int wheelRest_ = 0;
    bool wrappedOnce_ = false;
    gfx::TBitmap work_;
    gfx::TBitmap measure_;
};

}  // namespace skin
