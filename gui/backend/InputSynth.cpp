#include "gui/backend/InputSynth.h"

#include "base/Cp1252.h"

namespace gui {

char KeyChar(int key, TShiftState shift) {
    if (shift & (ssCtrl | ssAlt)) return 0;
    if (key >= 'A' && key <= 'Z') return char((shift & ssShift) ? key : key - 'A' + 'a');
    if (key >= '0' && key <= '9') return (shift & ssShift) ? 0 : char(key);
    if (key >= VK_NUMPAD0 && key <= VK_NUMPAD9) return char('0' + key - VK_NUMPAD0);
    if (key == VK_SPACE) return ' ';
    return 0;
}

void TInputSynth::Mouse(EventType type, WindowHandle w, int x, int y, TMouseButton button, TShiftState shift,
                        int wheel) {
    a_.Inject(Event{.type = type,
                    .window = w,
                    .x = x,
                    .y = y,
                    .button = button,
                    .wheelDelta = wheel,
                    .shift = shift,
                    .text = {}});
    a_.Pump();
}

void TInputSynth::Move(WindowHandle w, int x, int y, TShiftState shift) {
    Mouse(EventType::MouseMove, w, x, y, mbLeft, shift, 0);
}

void TInputSynth::Press(WindowHandle w, int x, int y, TMouseButton button, TShiftState shift) {
    Mouse(EventType::MouseMove, w, x, y, button, shift, 0);
    Mouse(EventType::MouseDown, w, x, y, button, shift, 0);
}

void TInputSynth::Release(WindowHandle w, int x, int y, TMouseButton button, TShiftState shift) {
    Mouse(EventType::MouseUp, w, x, y, button, shift, 0);
}

void TInputSynth::Click(WindowHandle w, int x, int y, TMouseButton button, TShiftState shift) {
    Press(w, x, y, button, shift);
    Release(w, x, y, button, shift);
}

void TInputSynth::DoubleClick(WindowHandle w, int x, int y) {
    Click(w, x, y);
    Click(w, x, y);
}

void TInputSynth::Wheel(WindowHandle w, int x, int y, int notches) {
    Mouse(EventType::MouseMove, w, x, y, mbLeft, 0, 0);
    Mouse(EventType::MouseWheel, w, x, y, mbLeft, 0, notches * 120);
}

void TInputSynth::Queue(EventType type, WindowHandle w, int key, TShiftState shift) {
    a_.Inject(Event{.type = type, .window = w, .key = key, .shift = shift, .text = {}});
}

void TInputSynth::KeyDown(WindowHandle w, int key, TShiftState shift) {
    Queue(EventType::KeyDown, w, key, shift);
    a_.Pump();
}

void TInputSynth::KeyUp(WindowHandle w, int key, TShiftState shift) {
    Queue(EventType::KeyUp, w, key, shift);
    a_.Pump();
}

void TInputSynth::Key(WindowHandle w, int key, TShiftState shift) {
    Queue(EventType::KeyDown, w, key, shift);
    if (char ch = KeyChar(key, shift)) {
        Event text;
        text.type = EventType::Text;
        text.window = w;
        text.text = std::string(1, ch);
        a_.Inject(text);
    }
    Queue(EventType::KeyUp, w, key, shift);
    a_.Pump();
}

void TInputSynth::Type(WindowHandle w, const std::string& utf8) {
    Event ev;
    ev.type = EventType::Text;
    ev.window = w;
    ev.text = base::Utf8ToCp1252(utf8);
    a_.Inject(ev);
    a_.Pump();
}

}  // namespace gui
