#include "gui/backend/Automation.h"

#include "gui/backend/InputSynth.h"

namespace gui {

void Automation::MouseMove(int x, int y, TShiftState shift) {
    TInputSynth(*this).Move(Target(), x, y, shift);
}

void Automation::MouseDown(int x, int y, TMouseButton button, TShiftState shift) {
    TInputSynth(*this).Press(Target(), x, y, button, shift);
}

void Automation::MouseUp(int x, int y, TMouseButton button, TShiftState shift) {
    TInputSynth(*this).Release(Target(), x, y, button, shift);
}

void Automation::Click(int x, int y, TMouseButton button, TShiftState shift) {
    TInputSynth(*this).Click(Target(), x, y, button, shift);
}

void Automation::DoubleClick(int x, int y) {
    TInputSynth(*this).DoubleClick(Target(), x, y);
}

void Automation::Wheel(int x, int y, int notches) {
    TInputSynth(*this).Wheel(Target(), x, y, notches);
}

void Automation::KeyDown(int key, TShiftState shift) {
    TInputSynth(*this).KeyDown(Target(), key, shift);
}

void Automation::KeyUp(int key, TShiftState shift) {
    TInputSynth(*this).KeyUp(Target(), key, shift);
}

void Automation::Key(int key, TShiftState shift) {
    TInputSynth(*this).Key(Target(), key, shift);
}

void Automation::Type(const std::string& utf8) {
    TInputSynth(*this).Type(Target(), utf8);
}

std::int64_t Automation::PixelAt(WindowHandle w, int x, int y) const {
    const gfx::TBitmap* px = WindowPixels(w);
    if (!px || x < 0 || y < 0 || x >= px->Width() || y >= px->Height()) return -1;
    return std::int64_t(px->Pixel(x, y));
}

bool Automation::SavePng(WindowHandle w, const std::string& path) const {
    const gfx::TBitmap* px = WindowPixels(w);
    if (!px) return false;
    try {
        px->SaveToPng(path);
        return true;
    } catch (...) {
        return false;
    }
}

}  // namespace gui
