// The one input synthesiser: what each action injects, and the characters keys type.
#include "gui/backend/InputSynth.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using gui::EventType;

// Records what is injected and how often the queue is dispatched.
struct Recorder : gui::Automation {
    std::vector<gui::Event> events;
    std::vector<size_t> pumpedAt;  // events.size() at each Pump
    void Inject(const gui::Event& ev) override { events.push_back(ev); }
    void Pump() override { pumpedAt.push_back(events.size()); }
    gui::WindowHandle ActiveWindow() const override { return 0; }
    std::uint64_t Now() const override { return 0; }
};

std::vector<EventType> Types(const Recorder& r) {
    std::vector<EventType> out;
    for (const gui::Event& e : r.events) out.push_back(e.type);
    return out;
}

TEST(InputSynth, EachActionInjectsWhatAWindowSystemDeliversAndDispatchesIt) {
    Recorder r;
    gui::TInputSynth synth(r);
    synth.DoubleClick(7, 10, 20);
    EXPECT_EQ(Types(r),
              (std::vector<EventType>{EventType::MouseMove, EventType::MouseDown, EventType::MouseUp,
                                      EventType::MouseMove, EventType::MouseDown, EventType::MouseUp}));
    for (const gui::Event& e : r.events) {
        EXPECT_EQ(e.window, 7u);
        EXPECT_EQ(e.x, 10);
        EXPECT_EQ(e.y, 20);
    }
    // Every pointer event is dispatched before the next is made.
    EXPECT_EQ(r.pumpedAt, (std::vector<size_t>{1, 2, 3, 4, 5, 6}));

    r = Recorder{};
    synth.Wheel(7, 5, 6, -2);
    ASSERT_EQ(Types(r), (std::vector<EventType>{EventType::MouseMove, EventType::MouseWheel}));
    EXPECT_EQ(r.events[1].wheelDelta, -240);

    // A key goes down, types its character and comes up, then all three are dispatched together.
    r = Recorder{};
    synth.Key(7, 'A', gui::ssShift);
    ASSERT_EQ(Types(r), (std::vector<EventType>{EventType::KeyDown, EventType::Text, EventType::KeyUp}));
    EXPECT_EQ(r.events[1].text, "A");
    EXPECT_EQ(r.events[0].shift, gui::TShiftState(gui::ssShift));
    EXPECT_EQ(r.pumpedAt, (std::vector<size_t>{3}));

    r = Recorder{};
    synth.Key(7, gui::VK_RETURN);
    EXPECT_EQ(Types(r), (std::vector<EventType>{EventType::KeyDown, EventType::KeyUp}));

    r = Recorder{};
    synth.Type(7, "Grüße");
    ASSERT_EQ(Types(r), (std::vector<EventType>{EventType::Text}));
    EXPECT_EQ(r.events[0].text,
              "Gr\xFC\xDF"
              "e");
}

TEST(InputSynth, KeysTypeTheirCharacterWithShiftAndOnTheKeypad) {
    EXPECT_EQ(gui::KeyChar('Q', 0), 'q');
    EXPECT_EQ(gui::KeyChar('Q', gui::ssShift), 'Q');
    EXPECT_EQ(gui::KeyChar('7', 0), '7');
    EXPECT_EQ(gui::KeyChar('7', gui::ssShift), 0);  // the layout decides what Shift+7 is
    EXPECT_EQ(gui::KeyChar(gui::VK_NUMPAD0 + 4, 0), '4');
    EXPECT_EQ(gui::KeyChar(gui::VK_SPACE, 0), ' ');
    EXPECT_EQ(gui::KeyChar('F', gui::ssCtrl), 0);
    EXPECT_EQ(gui::KeyChar('F', gui::ssAlt), 0);
    EXPECT_EQ(gui::KeyChar(gui::VK_F1 + 4, 0), 0);
    EXPECT_EQ(gui::KeyChar(gui::VK_RETURN, 0), 0);
}

}  // namespace
