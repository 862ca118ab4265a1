#include "skin/TransText.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

#include "base/Round.h"
#include "flat/FlatScrollbar.h"
#include "gui/Application.h"

namespace skin {

namespace {

using base::RoundHalfEven;

constexpr const char* kMarker = "###";  // ends a paragraph in justified text
constexpr int kTopCutoff = -20;         // lines starting further up are not drawn

}  // namespace

TTransText::TTransText(gui::TComponent* owner)
    : gui::TGraphicControl(owner), work_(0, 0, gfx::pf32bit), measure_(1, 1, gfx::pf32bit) {
    SetBounds(0, 0, 120, 150);
    text_.Add(owner ? owner->Name() : std::string());
    work_.SetTransparentColor(kKeyColor);
    work_.SetTransparentMode(gfx::tmFixed);
    // Text edges over the key keep their coverage and blend onto the skin: no magenta fringe.
    work_.SetTransparent(true);
}

TTransText::~TTransText() {
    if (scrollbar_) {
        scrollbar_->RemoveFreeNotification(this);
        scrollbar_->OnScroll = nullptr;
    }
}

void TTransText::SetText(const base::TStringList& lines) {
    text_.Clear();
    for (int i = 0; i < lines.Count(); ++i) text_.Add(lines[i]);
    WrapText();
    PaintNow();
    gui::TGraphicControl::Repaint();
}

void TTransText::SetLineSpacing(int v) {
    if (lineSpacing_ == v) return;
    lineSpacing_ = v;
    Fit();
}

// A new size or font keeps the display lines and the scroll position; only the fit is redone.
void TTransText::SetBounds(int left, int top, int width, int height) {
    const bool changed = left != Left() || top != Top() || width != Width() || height != Height();
    gui::TGraphicControl::SetBounds(left, top, width, height);
    if (changed && wrappedOnce_) Fit();
}

void TTransText::FontChanged() {
    gui::TGraphicControl::FontChanged();
    if (wrappedOnce_) Fit();
}

// The first layout comes when the view is placed (or its form is loaded), not at construction:
// until then the text and font are still being set up.
void TTransText::SetParent(gui::TWinControl* parent) {
    gui::TGraphicControl::SetParent(parent);
    if (parent && !wrappedOnce_) WrapText();
}

void TTransText::Loaded() {
    gui::TGraphicControl::Loaded();
    if (!wrappedOnce_) WrapText();
}

int TTransText::ScrollOffset() const {
    return scrollbar_ ? scrollbar_->Position() : 0;
}

void TTransText::SetAlignment(TTransTextAlignment v) {
    alignment_ = v;
    WrapText();
    PaintNow();
    gui::TGraphicControl::Repaint();
}

void TTransText::SetScrollbar(flat::TFlatScrollbar* bar) {
    if (scrollbar_ && scrollbar_ != bar) {
        scrollbar_->RemoveFreeNotification(this);
        scrollbar_->OnScroll = nullptr;
    }
    scrollbar_ = bar;
    if (bar) {
        bar->FreeNotification(this);
        bar->OnScroll = [this](gui::TComponent*, int position) { ScrollbarScrolled(position); };
    }
    if (wrappedOnce_) Fit();
}

void TTransText::Notification(gui::TComponent* c, gui::TOperation op) {
    if (op == gui::opRemove && c == scrollbar_) scrollbar_ = nullptr;
    gui::TGraphicControl::Notification(c, op);
}

bool TTransText::DoMouseWheel(gui::TShiftState shift, int wheelDelta, gfx::TPoint mousePos) {
    if (gui::TGraphicControl::DoMouseWheel(shift, wheelDelta, mousePos)) return true;
    if (!scrollbar_ || !scrollbar_->Visible() || lineHeight_ <= 0) return false;
    int lines = gui::Application ? gui::Application->TheBackend().Settings().wheelScrollLines : 3;
    if (lines <= 0) lines = std::max(1, Height() / lineHeight_);  // 0 means a page
    // As the list counts them: every whole 120 is a notch, the rest waits for the next delta.
    const std::int64_t total = std::int64_t(wheelRest_) + wheelDelta;
    const std::int64_t notches = total / 120;
    wheelRest_ = int(total - notches * 120);
    if (notches == 0) return true;
    const std::int64_t target = std::int64_t(scrollbar_->Position()) - notches * lines * lineHeight_;
    scrollbar_->SetPosition(int(std::clamp<std::int64_t>(target, scrollbar_->Min(), scrollbar_->Max())));
    if (scrollbar_->OnScroll) scrollbar_->OnScroll(scrollbar_, scrollbar_->Position());
    return true;
}

void TTransText::ScrollbarScrolled(int position) {
    if (position == lastScrollPos_) return;
    lastScrollPos_ = position;
    gui::TGraphicControl::Repaint();
}

int TTransText::MeasureWidth(const std::string& s) {
    return measure_.Canvas().TextWidth(s);
}

void TTransText::WrapText() {
    if (Loading()) return;
    if (scrollbar_) {
        scrollbar_->Hide();
        scrollbar_->SetPosition(0);
    }
    // The bar's first step after this must differ from the stored position, or it is ignored.
    lastScrollPos_ = 0;
    Wrap(Width());
    wrappedOnce_ = true;
    contentHeight_ = 1;
    Fit();
}

void TTransText::Fit() {
    if (Loading()) return;
    // The line height is measured on the first source line; without one, on the font alone.
    measure_.Canvas().SetFont(Font());
    lineHeight_ = measure_.Canvas().TextHeight(text_.Count() > 0 ? text_[0] : std::string()) + lineSpacing_;
    if (wrapped_.Count() > 0) contentHeight_ = wrapped_.Count() * lineHeight_ + 1;
    drawWidth_ = Width();
    if (scrollbar_) scrollbar_->SetLineStep(lineHeight_);
    if (Height() >= contentHeight_ || !scrollbar_) return;
    flat::TFlatScrollbar& bar = *scrollbar_;
    bar.SetBounds(bar.Left(), Top(), bar.Width(), Height());
    bar.Show();
    bar.SetMin(0);
    bar.SetMax(contentHeight_ - bar.Height());
    if (bar.Max() < bar.Position()) bar.SetPosition(bar.Max() - 1);
    const int distance = bar.Left() - Left();
    if (distance > 0 && distance < Width()) {
        // The bar covers the right of the text: wrap to the room left of it (keeping the bar and
        // its position) rather than drawing text under the bar.
        drawWidth_ = distance;
        Wrap(distance);
        contentHeight_ = wrapped_.Count() * lineHeight_ + 1;
        bar.SetMax(contentHeight_ - bar.Height());
        if (bar.Max() < bar.Position()) bar.SetPosition(bar.Max() - 1);
    }
}

// Cuts display lines off each source line: right after the last space at which the text fits
// (the space stays at the end of the line). Text widths grow with every character, so the last
// fitting cut is found by bisection instead of measuring every shorter prefix.
void TTransText::Wrap(int width) {
    wrapped_.Clear();
    measure_.Canvas().SetFont(Font());
    std::vector<int> cuts;
    for (int n = 0; n < text_.Count(); ++n) {
        std::string s = text_[n];
        if (alignment_ == ttaJustify) s += kMarker;
        do {
            std::size_t len = s.size();
            if (MeasureWidth(s) > width) {
                cuts.clear();
                for (std::size_t k = 1; k < s.size(); ++k)
                    if (s[k - 1] == ' ') cuts.push_back(int(k));
                int lo = 0, hi = int(cuts.size()) - 1, found = -1;
                while (lo <= hi) {
                    int mid = (lo + hi) / 2;
                    if (MeasureWidth(s.substr(0, std::size_t(cuts[size_t(mid)]))) <= width) {
                        found = cuts[size_t(mid)];
                        lo = mid + 1;
                    } else {
                        hi = mid - 1;
                    }
                }
                if (found < 0) {
                    // A word wider than the view on its own has no space to cut at: break it
                    // after the last character that fits (at least one, so the loop moves on).
                    int a = 1, b = int(s.size()) - 1;
                    found = 1;
                    while (a <= b) {
                        int mid = (a + b) / 2;
                        if (MeasureWidth(s.substr(0, std::size_t(mid))) <= width) {
                            found = mid;
                            a = mid + 1;
                        } else {
                            b = mid - 1;
                        }
                    }
                }
                len = std::size_t(found);
            }
            wrapped_.Add(s.substr(0, len));
            s.erase(0, len);
        } while (!s.empty());
    }
}

std::string TTransText::JustifyLine(const std::string& line) {
    gfx::TCanvas& c = measure_.Canvas();
    c.SetFont(Font());
    const int w = Width();
    const bool marked = line.find(kMarker) != std::string::npos;
    std::string result = line;
    int pad = 0;
    if (!marked) {
        std::string probe = line;
        int pw = c.TextWidth(probe);
        while (pw < w - 1) {
            probe += ' ';
            ++pad;
            int next = c.TextWidth(probe);
            if (next <= pw) break;  // a space without width would never reach the edge
            pw = next;
        }
    }
    if (pad > 0 && !line.empty()) {
        // The last character is the space the wrap left behind; it is dropped.
        const std::string body = line.substr(0, line.size() - 1);
        int gaps = 0;
        for (char ch : body)
            if (ch == ' ') ++gaps;
        if (gaps > 0) {
            const int per = pad / gaps;
            int rest = pad % gaps;
            std::string out;
            out.reserve(body.size() + std::size_t(pad));
            for (char ch : body) {
                out += ch;
                if (ch == ' ') out.append(std::size_t(per), ' ');
            }
            // The remainder goes one space each to the first gaps, skipping ahead by three.
            std::size_t j = 0;
            while (rest > 0 && j < out.size()) {
                if (out[j] == ' ') {
                    out.insert(j, 1, ' ');
                    --rest;
                    j += 3;
                } else {
                    ++j;
                }
            }
            result = std::move(out);
        }
    }
    if (marked) result.erase(result.size() - 3);
    return result;
}

void TTransText::DrawLines(gfx::TCanvas& c, int bitmapWidth, int bitmapHeight, int lineHeight) {
    c.Brush().SetStyle(gfx::bsSolid);
    c.Brush().SetColor(kKeyColor);
    c.FillRect({0, 0, bitmapWidth, bitmapHeight});
    c.SetFont(Font());
    c.Brush().SetStyle(gfx::bsClear);
    const int count = wrapped_.Count();
    const int offset = ScrollOffset();
    for (int i = 0; i < count; ++i) {
        const int y = i * lineHeight - offset + 1;
        if (y >= kTopCutoff) {
            const std::string& line = wrapped_[i];
            switch (alignment_) {
                case ttaLeft:
                    c.TextOut(0, y, line);
                    break;
                case ttaCenter:
                    c.TextOut(RoundHalfEven(bitmapWidth / 2.0) - RoundHalfEven(c.TextWidth(line) / 2.0), y,
                              line);
                    break;
                case ttaRight:
                    c.TextOut(bitmapWidth - c.TextWidth(line), y, line);
                    break;
                case ttaJustify:
                    c.TextOut(0, y, JustifyLine(line));
                    break;
            }
        }
        if (y > bitmapHeight) break;  // this line was the first below the bottom
    }
}

void TTransText::Paint() {
    work_.SetScaledSize(drawWidth_, Height(), Canvas().Scale());
    DrawLines(work_.Canvas(), drawWidth_, Height(), lineHeight_);
    Canvas().TransparentCopy(0, 0, drawWidth_, Height(), work_, 0, 0, kKeyColor);
}

}  // namespace skin
