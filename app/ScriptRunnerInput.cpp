// TScriptRunner's input: the pointer, keys, text, waits, answers and screenshots.
#include <algorithm>
#include <filesystem>

#include "app/Preview.h"
#include "app/ScriptParse.h"
#include "app/ScriptRunner.h"
#include "base/Cp1252.h"
#include "base/StrUtils.h"
#include "gui/Application.h"
#include "gui/Form.h"
#include "gui/Timer.h"
#include "gui/backend/Automation.h"
#include "gui/backend/InputSynth.h"

using script::AnswerCode;
using script::KeyWithModifiers;
using script::ParseInt;
using script::RestAfter;
using script::Words;

void TScriptRunner::MouseInput(gui::TForm* form, Mouse what, int x, int y) {
    lastWindow_ = form->Handle();
    lastX_ = x;
    lastY_ = y;
    gui::TInputSynth synth(*auto_);
    const gui::WindowHandle w = form->Handle();
    switch (what) {
        case Mouse::Move:
            synth.Move(w, x, y);
            break;
        case Mouse::Down:
            synth.Press(w, x, y);
            break;
        case Mouse::Up:
            synth.Release(w, x, y);
            break;
        case Mouse::Click:
            synth.Click(w, x, y);
            break;
        case Mouse::DoubleClick:
            synth.DoubleClick(w, x, y);
            break;
    }
}

void TScriptRunner::Wait(std::uint64_t ms) {
    if (auto_->VirtualClock()) {
        auto_->Advance(ms);
        return;
    }
    if (ms == 0) return;
    // Real time: a timer wakes the loop, which goes on running every other timer meanwhile.
    if (!waitTimer_) {
        waitTimer_ = new gui::TTimer(&app_);
        waitTimer_->SetEnabled(false);
        waitTimer_->SetOnTimer([this](gui::TComponent*) {
            waitTimer_->SetEnabled(false);
            waiting_ = false;
        });
    }
    waitTimer_->SetEnabled(false);
    waitTimer_->SetInterval(int(std::min<std::uint64_t>(ms, 0x7FFFFFFF)));
    waiting_ = true;
    waitTimer_->SetEnabled(true);
}

// ---- the commands --------------------------------------------------------------------------------

void TScriptRunner::Execute(const Line& line) {
    const std::vector<std::string> args = Words(line.text);
    if (!auto_) return Fail(line, "this backend cannot be driven by a script");
    const std::string& cmd = args[0];
    std::string why;

    if (cmd == "click" || cmd == "dblclick" || cmd == "press" || cmd == "release" || cmd == "move") {
        gui::TForm* form = nullptr;
        int x = 0, y = 0;
        if (!Target(args, form, x, y, why)) return Fail(line, why);
        const Mouse what = cmd == "click"      ? Mouse::Click
                           : cmd == "dblclick" ? Mouse::DoubleClick
                           : cmd == "press"    ? Mouse::Down
                           : cmd == "release"  ? Mouse::Up
                                               : Mouse::Move;
        MouseInput(form, what, x, y);
        return;
    }
    if (cmd == "wheel") {
        long long n = 0;
        if (args.size() != 2 || !ParseInt(args[1], n)) return Fail(line, "expected a number of notches");
        gui::TForm* form = app_.FormOfHandle(lastWindow_);
        if (!form) form = ActiveForm();
        if (!form) return Fail(line, "no window is open");
        if (form->Handle() != lastWindow_) {
            lastX_ = form->ClientWidth() / 2;
            lastY_ = form->ClientHeight() / 2;
        }
        gui::TInputSynth(*auto_).Wheel(form->Handle(), lastX_, lastY_, int(n));
        return;
    }
    if (cmd == "key") {
        if (args.size() != 2) return Fail(line, "expected one key");
        gui::TShiftState shift = 0;
        const int key = KeyWithModifiers(args[1], shift);
        if (!key) return Fail(line, "unknown key " + args[1]);
        if (gui::TForm* form = ActiveForm()) gui::TInputSynth(*auto_).Key(form->Handle(), key, shift);
        return;
    }
    if (cmd == "type") {
        if (gui::TForm* form = ActiveForm())
            gui::TInputSynth(*auto_).Type(form->Handle(), RestAfter(line.text, 1));
        return;
    }
    if (cmd == "wait") {
        long long ms = 0;
        // The virtual clock steps from timer tick to timer tick: a month with a one-second timer
        // is millions of steps, so a wait longer than an hour is refused as a slip of the pen.
        constexpr long long kLongestWait = 3'600'000;
        if (args.size() != 2 || !ParseInt(args[1], ms) || ms < 0) return Fail(line, "expected milliseconds");
        if (ms > kLongestWait) return Fail(line, "expected at most 3600000 milliseconds (an hour)");
        Wait(std::uint64_t(ms));
        return;
    }
    if (cmd == "answer") {
        const int answer = args.size() == 2 ? AnswerCode(args[1]) : 0;
        if (!answer) return Fail(line, "expected OK, Cancel, Yes or No");
        if (RecordsPrompts())
            auto_->AnswerMessageBox(answer);
        else
            pendingAnswers_.push_back(answer);
        WatchDialogs();
        return;
    }
    if (cmd == "folder") {
        if (!Need(line, args, 2)) return;
        if (!RecordsPrompts()) return Fail(line, "folder answers need --headless");
        const std::string rest = RestAfter(line.text, 1);
        if (base::SameText(rest, "cancel"))
            auto_->AnswerFolder(std::nullopt);
        else
            auto_->AnswerFolder(base::Utf8ToCp1252(rest));
        return;
    }
    if (cmd == "screenshot") {
        if (args.size() != 2 && args.size() != 3) return Fail(line, "expected [FORM] FILE");
        gui::TForm* form = args.size() == 3 ? FindForm(args[1]) : ActiveForm();
        if (!form) return Fail(line, args.size() == 3 ? "no window named " + args[1] : "no window is open");
        const std::string& file = args.back();
        app_.ProcessMessages();
        // What was presented, else what was painted.
        const gfx::TBitmap* pixels = auto_->WindowPixels(form->Handle());
        if (!pixels) pixels = &form->BackBuffer();
        std::filesystem::path where(file);
        if (where.is_relative() && !baseFolder_.empty()) where = std::filesystem::path(baseFolder_) / where;
        if (!WritePng(*pixels, where)) return Fail(line, "cannot write " + file);
        return;
    }
    // The rest are the checks.
    if (cmd.rfind("expect-", 0) == 0) return Check(line, args);
    Fail(line, "unknown command");
}
