// TTransText: the cut rule of wrapping (also for words wider than the view), justification,
// drawing with the scroll offset and its cut-offs, scroll-bar fitting, and glyph edges without
// a trace of the magenta key.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "SkinHarness.h"
#include "flat/FlatScrollbar.h"
#include "flat/FlatScrollbarButton.h"
#include "skin/TransText.h"
#include "tests/support/Place.h"

using skin::TTransText;

namespace {

std::vector<std::string> Lines(const base::TStringList& l) {
    std::vector<std::string> v;
    v.reserve(size_t(l.Count()));
    for (int i = 0; i < l.Count(); ++i) v.push_back(l[i]);
    return v;
}

base::TStringList List(std::initializer_list<const char*> lines) {
    base::TStringList l;
    for (const char* s : lines) l.Add(s);
    return l;
}

struct TextCase {
    SkinHarness t;
    gui::TForm* form = t.Form(400, 300, gfx::clWhite);
    TTransText* view = nullptr;
    flat::TFlatScrollbar* bar = nullptr;
    int cw = 0;  // the monospaced font's character width
    int lh = 0;  // its line height

    explicit TextCase(int fontHeight = -12) {
        view = form->Make<TTransText>();
        view->SetParent(form);
        view->Font().SetName("Courier New");
        view->Font().SetHeight(fontHeight);
        view->Font().SetColor(gfx::clBlack);
        view->SetAlignment(skin::ttaLeft);
        gfx::TBitmap probe(4, 4);
        probe.Canvas().SetFont(view->Font());
        cw = probe.Canvas().TextWidth("x");
        lh = probe.Canvas().TextHeight("x");
    }
    void AddBar() {
        bar = form->Make<flat::TFlatScrollbar>();
        bar->SetParent(form);
        bar->SetKind(flat::sbVertical);
        bar->SetBounds(view->Left() + view->Width() + 1, 4, 12, 148);
        view->SetScrollbar(bar);
    }
    std::vector<std::string> Wrap(int width, std::initializer_list<const char*> text) {
        view->SetWidth(width);
        view->Text().Clear();
        for (const char* s : text) view->Text().Add(s);
        view->WrapText();
        return Lines(view->WrappedLines());
    }
    bool RowHasInk(int y) const {
        for (int x = view->Left(); x < view->Left() + view->Width(); ++x)
            if (t.Pixel(form, x, y) != gfx::clWhite) return true;
        return false;
    }
};

using V = std::vector<std::string>;

}  // namespace

TEST(TransText, WrapCutsAfterTheLastSpaceThatFitsAndBreaksOverWideWords) {
    TextCase c;
    ASSERT_GT(c.cw, 0);
    const int w = c.cw;
    EXPECT_EQ(c.Wrap(8 * w, {"aaa bbb ccc"}), (V{"aaa bbb ", "ccc"}));  // the space stays at the end
    EXPECT_EQ(c.Wrap(8 * w - 1, {"aaa bbb ccc"}), (V{"aaa ", "bbb ccc"}));
    EXPECT_EQ(c.Wrap(7 * w - 1, {"aaa bbb ccc"}), (V{"aaa ", "bbb ", "ccc"}));
    EXPECT_EQ(c.Wrap(4 * w, {"aa  bb"}), (V{"aa  ", "bb"}));
    EXPECT_EQ(c.Wrap(4 * w, {"aaa", "", "bb"}), (V{"aaa", "", "bb"}));  // an empty line stays one line
    EXPECT_EQ(c.Wrap(11 * w, {"aaa bbb ccc"}), (V{"aaa bbb ccc"}));

    // No space to cut at: the word is broken where it stops fitting, and wrapping ends.
    EXPECT_EQ(c.Wrap(4 * w, {"abcdefghij"}), (V{"abcd", "efgh", "ij"}));
    EXPECT_EQ(c.Wrap(4 * w + 3, {"ab cdefghijk lm"}), (V{"ab ", "cdef", "ghij", "k lm"}));
    EXPECT_EQ(c.Wrap(w - 1, {"abc"}), (V{"a", "b", "c"}));  // narrower than one character
    EXPECT_EQ(c.Wrap(0, {"a b"}), (V{"a", " ", "b"}));

    // Justified text carries the paragraph marker through wrapping.
    c.view->SetAlignment(skin::ttaJustify);
    EXPECT_EQ(c.Wrap(8 * w, {"aaa bbb", ""}), (V{"aaa ", "bbb###", "###"}));

    // While the form is loading nothing is rebuilt.
    c.view->BeginLoading();
    c.view->Text().Add("more");
    c.view->WrapText();
    EXPECT_EQ(Lines(c.view->WrappedLines()), (V{"aaa ", "bbb###", "###"}));
}

TEST(TransText, JustifyWidensTheGapsAndLeavesParagraphEndsAlone) {
    TextCase c;
    const int w = c.cw;
    // Five spaces of padding over two gaps: two each, the fifth to the first gap.
    c.view->SetWidth(14 * w + 1);
    EXPECT_EQ(c.view->JustifyLine("ab cd ef "), "ab    cd   ef");
    // Six over four gaps: one each, the two left over to the first gaps (the scan skips ahead).
    c.view->SetWidth(16 * w + 1);
    EXPECT_EQ(c.view->JustifyLine("a b c d e "), "a   b   c  d  e");
    // Eight over three gaps: two each, and the skip of three lands inside the widened first gap.
    c.view->SetWidth(20 * w + 1);
    EXPECT_EQ(c.view->JustifyLine("aa bb cc dd "), "aa     bb   cc   dd");
    EXPECT_EQ(c.view->JustifyLine("abcdefgh"), "abcdefgh");  // no gap: never stretched
    EXPECT_EQ(c.view->JustifyLine("aa bb###"), "aa bb");
    EXPECT_EQ(c.view->JustifyLine("###"), "");
    EXPECT_EQ(c.view->JustifyLine(""), "");
}

TEST(TransText, ScrollBarFitsTheTextAndScrollingMovesItByThePosition) {
    TextCase c;
    c.view->SetBounds(0, 5, 200, 60);
    c.AddBar();
    c.form->Show();
    c.view->SetText(List({"l1", "l2"}));
    c.t.hb->Pump();
    EXPECT_FALSE(c.bar->Visible());  // fits
    EXPECT_EQ(c.view->ContentHeight(), 2 * c.lh + 1);

    c.view->SetText(
        List({"line 0", "line 1", "", "line 3", "line 4", "line 5", "line 6", "line 7", "line 8"}));
    c.t.hb->Pump();
    const int content = 9 * c.lh + 1;
    ASSERT_GT(content, 60);
    EXPECT_EQ(c.view->ContentHeight(), content);  // the empty line takes its height too
    EXPECT_TRUE(c.bar->Visible());
    EXPECT_EQ(c.bar->Top(), 5);
    EXPECT_EQ(c.bar->Height(), 60);
    EXPECT_EQ(c.bar->Min(), 0);
    EXPECT_EQ(c.bar->Max(), content - 60);

    std::vector<bool> before;
    for (int y = 5; y < 65; ++y) before.push_back(c.RowHasInk(y));
    const int presents = c.t.hb->Window(c.form->Handle())->presentCount;
    c.bar->SetPosition(7);
    c.bar->OnScroll(c.bar, 7);
    EXPECT_EQ(c.view->ScrollOffset(), 7);
    for (int y = 5; y < 65 - 7; ++y) EXPECT_EQ(c.RowHasInk(y), before[size_t(y - 5 + 7)]) << y;
    const int afterScroll = c.t.hb->Window(c.form->Handle())->presentCount;
    EXPECT_GT(afterScroll, presents);
    c.bar->OnScroll(c.bar, 7);  // the same position again: nothing to do
    EXPECT_EQ(c.t.hb->Window(c.form->Handle())->presentCount, afterScroll);

    // A taller view lowers the maximum below the position: one less than the maximum.
    c.bar->SetPosition(content - 60);
    c.bar->OnScroll(c.bar, content - 60);
    c.view->SetHeight(80);
    c.t.hb->Pump();
    EXPECT_EQ(c.bar->Max(), content - 80);
    EXPECT_EQ(c.bar->Position(), content - 81);

    // Rewrapping scrolls to the top; the text is still taller than the view, so the bar stays.
    c.view->WrapText();
    EXPECT_TRUE(c.bar->Visible());
    EXPECT_EQ(c.bar->Position(), 0);

    delete c.bar;
    EXPECT_EQ(c.view->Scrollbar(), nullptr);
    c.view->Invalidate();
    c.t.hb->Pump();
    EXPECT_EQ(c.view->ScrollOffset(), 0);
}

TEST(TransText, TheFirstArrowStepAfterNewTextScrollsIt) {
    TextCase c;
    c.view->SetBounds(0, 5, 200, 60);
    c.AddBar();
    c.bar->SetSmallChange(2);
    c.form->Show();
    auto page = [&](const char* word) {
        base::TStringList text;
        for (int i = 0; i < 9; ++i) text.Add(std::string(word) + " " + std::to_string(i));
        c.view->SetText(text);
        c.t.hb->Pump();
    };
    // A person's short press on the down arrow.
    auto arrowStep = [&] {
        const gfx::TPoint p = c.bar->SecondButton()->ClientToForm({5, 5});
        c.t.hb->MouseDown(p.X, p.Y);
        c.t.hb->Advance(10);
        c.t.hb->MouseUp(p.X, p.Y);
        c.t.hb->Pump();
    };
    auto inkRows = [&] {
        std::vector<bool> rows;
        for (int y = 5; y < 65; ++y) rows.push_back(c.RowHasInk(y));
        return rows;
    };
    page("alpha");
    ASSERT_TRUE(c.bar->Visible());
    arrowStep();
    const int line = c.view->ContentHeight() / 9;  // nine lines, and the one pixel above them
    ASSERT_EQ(c.bar->Position(), line);
    EXPECT_EQ(c.view->ScrollOffset(), line);

    // New text starts at the top; the same first step must move it, as it did the first text.
    page("beta");
    EXPECT_EQ(c.bar->Position(), 0);
    EXPECT_EQ(c.view->ScrollOffset(), 0);
    const std::vector<bool> top = inkRows();
    arrowStep();
    EXPECT_EQ(c.bar->Position(), line);
    EXPECT_EQ(c.view->ScrollOffset(), line);
    const std::vector<bool> scrolled = inkRows();
    for (size_t y = 0; y + line < top.size(); ++y) EXPECT_EQ(scrolled[y], top[y + line]) << y;
}

TEST(TransText, ABarOverTheTextWrapsTheTextToTheRoomLeftOfIt) {
    TextCase c;
    c.view->SetBounds(0, 0, 30 * c.cw, 40);
    c.AddBar();
    c.bar->SetLeft(20 * c.cw);  // lies over the last ten columns of the view
    c.form->Show();
    c.view->SetText(List({"aaaa bbbb cccc dddd eeee ffff gggg hhhh iiii jjjj kkkk llll mmmm"}));
    c.t.hb->Pump();
    c.t.hb->Pump();
    EXPECT_TRUE(c.bar->Visible());  // stays shown: no rewrap that hides it on every paint
    for (const auto& line : Lines(c.view->WrappedLines())) EXPECT_LE(int(line.size()), 20) << line;
    EXPECT_EQ(c.bar->Max(), c.view->ContentHeight() - 40);
}

// Layout belongs to the changes, not to painting: paints in a row leave the display lines, the
// content height and the bar as they are (a bar hidden meanwhile stays hidden), while new text or
// a new size lays the view out again at once, before any paint.
TEST(TransText, PaintingOnlyDrawsAndChangesLayOutAgain) {
    TextCase c;
    c.view->SetBounds(0, 0, 12 * c.cw, 3 * c.lh);
    c.AddBar();
    c.form->Show();
    c.view->SetText(List({"aaa bbb ccc ddd eee fff ggg hhh"}));
    EXPECT_TRUE(c.bar->Visible());
    const V wrapped = Lines(c.view->WrappedLines());
    const int content = c.view->ContentHeight();
    ASSERT_GT(content, 3 * c.lh);
    EXPECT_EQ(c.bar->Max(), content - 3 * c.lh);

    c.bar->Hide();
    c.view->Repaint();
    c.view->Repaint();
    c.t.hb->Pump();
    EXPECT_FALSE(c.bar->Visible());
    EXPECT_EQ(Lines(c.view->WrappedLines()), wrapped);
    EXPECT_EQ(c.view->ContentHeight(), content);

    c.view->SetText(List({"aaa", "bbb"}));  // fits: no bar
    EXPECT_EQ(Lines(c.view->WrappedLines()), (V{"aaa", "bbb"}));
    EXPECT_EQ(c.view->ContentHeight(), 2 * c.lh + 1);
    EXPECT_FALSE(c.bar->Visible());
    c.view->SetText(List({"aaa", "bbb", "ccc", "ddd"}));
    EXPECT_TRUE(c.bar->Visible());
    c.view->SetHeight(4 * c.lh);  // a new size fits the bar again: one pixel left to scroll
    EXPECT_EQ(c.bar->Height(), 4 * c.lh);
    EXPECT_EQ(c.bar->Max(), 1);
}

TEST(TransText, LinesStartingAboveMinusTwentyAreNotDrawn) {
    TextCase c(-40);
    c.view->SetBounds(0, 0, 300, 100);
    c.AddBar();
    c.form->Show();
    c.view->SetText(List({"HHHH", "HHHH", "HHHH", "HHHH", "HHHH", "HHHH", "HHHH", "HHHH"}));
    c.t.hb->Pump();
    ASSERT_GT(c.bar->Max(), c.lh + 22);
    auto scrollTo = [&](int pos) {
        c.bar->SetPosition(pos);
        c.bar->OnScroll(c.bar, pos);
    };
    // Line 1 lies at y = lh - position + 1.
    scrollTo(c.lh + 21);  // y = -20: drawn, its lower part shows at the top
    bool inkAt20 = false;
    for (int y = 0; y < 6; ++y) inkAt20 |= c.RowHasInk(y);
    EXPECT_TRUE(inkAt20);
    scrollTo(c.lh + 22);  // y = -21: left out
    for (int y = 0; y < 6; ++y) EXPECT_FALSE(c.RowHasInk(y)) << y;
}

TEST(TransText, CentredAndRightAlignedLinesLandWhereTheRulesPutThem) {
    TextCase c;
    c.view->SetBounds(0, 0, 101, 20);
    c.form->Show();
    auto expectAt = [&](int x0, const char* text) {
        gfx::TBitmap ref(101, 20);
        gfx::TCanvas& rc = ref.Canvas();
        rc.Brush().SetColor(gfx::clWhite);
        rc.FillRect({0, 0, 101, 20});
        rc.Brush().SetStyle(gfx::bsClear);
        rc.SetFont(c.view->Font());
        rc.TextOut(x0, 1, text);
        for (int y = 0; y < 20; ++y)
            for (int x = 0; x < 101; ++x)
                ASSERT_EQ(c.t.Pixel(c.form, x, y), ref.Pixel(x, y)) << x << "," << y;
    };
    c.view->SetText(List({"ab"}));
    c.view->SetAlignment(skin::ttaCenter);
    c.t.hb->Pump();
    expectAt(50 - c.cw, "ab");  // round(50.5) = 50, ties go to even
    c.view->SetAlignment(skin::ttaRight);
    c.t.hb->Pump();
    expectAt(101 - 2 * c.cw, "ab");
    c.view->SetAlignment(skin::ttaJustify);
    c.t.hb->Pump();
    expectAt(0, "ab");  // the paragraph's only line: unstretched, marker gone
}

TEST(TransText, SmoothGlyphEdgesBlendOntoTheBackgroundWithoutMagenta) {
    SkinHarness t;
    gfx::SetFontSmoothing(true);
    auto* form = t.Form(300, 100, gfx::clWhite);
    auto* view = Place<TTransText>(form, 0, 0, 300, 100);
    view->Font().SetName("Verdana");
    view->Font().SetHeight(-11);
    view->Font().SetColor(gfx::clBlack);
    view->SetAlignment(skin::ttaJustify);
    form->Show();
    view->SetText(List({"Eine kleine Beschreibung mit runden Buchstaben: o, e, s, g, 8, &.",
                        "Zweiter Absatz mit Wortabstand."}));
    t.hb->Pump();
    int grey = 0;
    for (int y = 0; y < 100; ++y)
        for (int x = 0; x < 300; ++x) {
            auto p = gfx::TColor(t.Pixel(form, x, y));
            ASSERT_TRUE(gfx::GetRValue(p) == gfx::GetGValue(p) && gfx::GetGValue(p) == gfx::GetBValue(p))
                << std::hex << p << " at " << std::dec << x << "," << y;
            grey += p != gfx::clWhite && p != gfx::clBlack;
        }
    EXPECT_GT(grey, 50);  // the edges really are smoothed
}

TEST(TransText, ANewViewShowsItsOwnersNameAndLeavesNoHandlerBehind) {
    SkinHarness t;
    auto* form = t.Form(200, 200, gfx::clWhite);
    form->SetName("PicturePanel1");
    auto* view = form->Make<TTransText>();
    EXPECT_EQ(Lines(view->Text()), (V{"PicturePanel1"}));
    EXPECT_EQ(view->ContentHeight(), 1);
    auto* bar = form->Make<flat::TFlatScrollbar>();
    view->SetScrollbar(bar);
    ASSERT_TRUE(bool(bar->OnScroll));
    delete view;
    EXPECT_FALSE(bool(bar->OnScroll));  // no handler left pointing at the freed view
}
