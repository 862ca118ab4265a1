#include "app/ScriptRunner.h"

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <sstream>

#include "app/BannerStrip.h"
#include "app/MainForm.h"
#include "app/MenuModel.h"
#include "app/MenuResource.h"
#include "app/Preview.h"
#include "base/Cp1252.h"
#include "base/StrUtils.h"
#include "gui/Application.h"
#include "gui/Form.h"
#include "gui/MessageForm.h"
#include "gui/Timer.h"
#include "gui/backend/Automation.h"
#include "gui/backend/InputSynth.h"
#include "media/GIFImage.h"
#include "platform/RecordingShell.h"
#include "platform/RecordingSound.h"
#include "platform/Services.h"
#include "skin/SkinButton.h"

namespace {

// Splits at runs of blanks.
std::vector<std::string> Words(std::string_view s) {
    std::vector<std::string> out;
    std::istringstream in{std::string(s)};
    for (std::string w; in >> w;) out.push_back(w);
    return out;
}

// The text after the first word (and the blanks after it).
std::string RestAfter(std::string_view s, size_t words) {
    size_t i = 0;
    for (size_t n = 0; n < words; ++n) {
        while (i < s.size() && std::isspace(static_cast<unsigned char>(s[i]))) ++i;
        while (i < s.size() && !std::isspace(static_cast<unsigned char>(s[i]))) ++i;
    }
    while (i < s.size() && std::isspace(static_cast<unsigned char>(s[i]))) ++i;
    return std::string(s.substr(i));
}

bool ParseInt(const std::string& s, long long& value) {
    if (s.empty()) return false;
    size_t i = (s[0] == '-' || s[0] == '+') ? 1 : 0;
    if (i == s.size()) return false;
    for (size_t k = i; k < s.size(); ++k)
        if (!std::isdigit(static_cast<unsigned char>(s[k]))) return false;
    try {
        value = std::stoll(s);
    } catch (...) {
        return false;
    }
    return true;
}

int KeyCode(const std::string& name) {
    static const std::pair<const char*, int> kKeys[] = {
        {"Enter", gui::VK_RETURN},   {"Return", gui::VK_RETURN}, {"Escape", gui::VK_ESCAPE},
        {"Esc", gui::VK_ESCAPE},     {"Tab", gui::VK_TAB},       {"Space", gui::VK_SPACE},
        {"Backspace", gui::VK_BACK}, {"Delete", gui::VK_DELETE}, {"Up", gui::VK_UP},
        {"Down", gui::VK_DOWN},      {"Left", gui::VK_LEFT},     {"Right", gui::VK_RIGHT},
        {"PageUp", gui::VK_PRIOR},   {"PageDown", gui::VK_NEXT}, {"Home", gui::VK_HOME},
        {"End", gui::VK_END},
    };
    for (const auto& [n, code] : kKeys)
        if (base::SameText(name, n)) return code;
    if (name.size() >= 2 && (name[0] == 'F' || name[0] == 'f')) {
        long long n = 0;
        if (ParseInt(name.substr(1), n) && n >= 1 && n <= 12 &&
            std::isdigit(static_cast<unsigned char>(name[1])))
            return gui::VK_F1 + int(n) - 1;
    }
    if (name.size() == 1) {
        const unsigned char c = static_cast<unsigned char>(name[0]);
        if (std::isalpha(c)) return std::toupper(c);
        if (std::isdigit(c)) return c;
    }
    return 0;
}

// "Ctrl+Shift+F": the key and its modifiers; 0 for an unknown key or modifier.
int KeyWithModifiers(const std::string& text, gui::TShiftState& shift) {
    shift = 0;
    size_t start = 0;
    for (size_t plus; (plus = text.find('+', start)) != std::string::npos && plus + 1 < text.size();
         start = plus + 1) {
        const std::string mod = text.substr(start, plus - start);
        if (base::SameText(mod, "Ctrl") || base::SameText(mod, "Strg"))
            shift |= gui::ssCtrl;
        else if (base::SameText(mod, "Shift"))
            shift |= gui::ssShift;
        else if (base::SameText(mod, "Alt"))
            shift |= gui::ssAlt;
        else
            return 0;
    }
    return KeyCode(text.substr(start));
}

int AnswerCode(const std::string& name) {
    if (base::SameText(name, "OK")) return gui::IDOK;
    if (base::SameText(name, "Cancel") || base::SameText(name, "Abbrechen")) return gui::IDCANCEL;
    if (base::SameText(name, "Yes") || base::SameText(name, "Ja")) return gui::IDYES;
    if (base::SameText(name, "No") || base::SameText(name, "Nein")) return gui::IDNO;
    return 0;
}

// What the script shows of a cp1252 text.
std::string Show(std::string_view cp1252) {
    return "\"" + base::Cp1252ToUtf8(cp1252) + "\"";
}

}  // namespace

TScriptRunner::TScriptRunner(gui::TApplication& app) : app_(app), auto_(app.TheBackend().GetAutomation()) {}

TScriptRunner::~TScriptRunner() {
    if (waitTimer_) delete waitTimer_;
}

void TScriptRunner::SetScript(std::string_view text) {
    lines_.clear();
    next_ = 0;
    failed_ = false;
    error_.clear();
    int number = 0;
    size_t pos = 0;
    while (pos <= text.size()) {
        size_t end = text.find('\n', pos);
        if (end == std::string_view::npos) end = text.size();
        ++number;
        std::string line = base::Trim(text.substr(pos, end - pos));
        // A comment is a line that starts with '#'; '#' inside a text argument stays.
        if (!line.empty() && line[0] != '#') lines_.push_back({number, line});
        pos = end + 1;
    }
}

bool TScriptRunner::LoadFromFile(const std::string& fileName) {
    std::ifstream in(fileName, std::ios::binary);
    if (!in) {
        failed_ = true;
        error_ = "cannot read the script " + fileName;
        return false;
    }
    std::ostringstream text;
    text << in.rdbuf();
    SetScript(text.str());
    return true;
}

bool TScriptRunner::RecordsPrompts() const {
    return auto_ && auto_->AnswersPrompts();
}

size_t TScriptRunner::BoxesShown() const {
    return RecordsPrompts() ? auto_->MessageBoxes().size() : seenBoxes_.size();
}

// What the backend decided alone (a box answered by default, a stalled loop) goes to the errors.
void TScriptRunner::ReportLog() {
    if (!auto_ || !err_) return;
    const auto& log = auto_->Log();
    for (size_t i = logSeen_; i < log.size(); ++i) *err_ << "cdmenu: " << log[i] << "\n";
    logSeen_ = log.size();
}

void TScriptRunner::Fail(const Line& line, const std::string& why) {
    if (failed_) return;
    failed_ = true;
    error_ = "line " + std::to_string(line.number) + ": " + line.text + ": " + why;
}

// ---- the loop ------------------------------------------------------------------------------------

int TScriptRunner::Run(std::ostream& err) {
    err_ = &err;
    if (failed_) {
        err << "cdmenu: script: " << error_ << "\n";
        return 1;
    }
    auto previous = app_.OnIdle;
    app_.OnIdle = [this](gui::TComponent*, bool& done) { OnIdle(done); };
    app_.Run();
    app_.OnIdle = previous;
    ReportLog();
    if (!failed_ && next_ < lines_.size()) {
        const Line& line = lines_[next_];
        Fail(line, "not run: the program ended before it");
    }
    if (failed_) {
        err << "cdmenu: script: " << error_ << "\n";
        return 1;
    }
    return 0;
}

void TScriptRunner::OnIdle(bool& done) {
    WatchDialogs();
    if (ended_) return;
    if (waiting_) {
        done = true;  // the wait timer wakes the loop
        return;
    }
    if (!Step()) {
        ended_ = true;
        app_.Terminate();
        return;
    }
    // The next command comes at the next idle turn, after the events this one caused.
    done = false;
}

void TScriptRunner::WatchDialogs() {
    if (RecordsPrompts()) return;
    // Otherwise the framework shows its own message forms: note each one, and answer it when
    // the script has queued an answer.
    auto* box = dynamic_cast<gui::TMessageForm*>(app_.ActiveForm());
    if (!box || !box->Modal()) return;
    if (box != lastSeenBox_) {
        lastSeenBox_ = box;
        seenBoxes_.push_back(box->Text());
    }
    if (!pendingAnswers_.empty() && !box->ModalResult()) {
        box->SetModalResult(pendingAnswers_.front());
        pendingAnswers_.pop_front();
        lastSeenBox_ = nullptr;
    }
}

bool TScriptRunner::Step() {
    if (failed_ || next_ >= lines_.size()) return false;
    // Advanced first: a command that opens a modal dialog runs the next lines from inside it.
    const Line line = lines_[next_++];
    try {
        Execute(line);
    } catch (const std::exception& e) {
        Fail(line, std::string("error: ") + e.what());
    }
    ReportLog();
    return !failed_;
}

// ---- finding things ------------------------------------------------------------------------------

gui::TForm* TScriptRunner::ActiveForm() const {
    if (auto_) {
        if (gui::TForm* f = app_.FormOfHandle(auto_->ActiveWindow())) return f;
    }
    if (gui::TForm* f = app_.ActiveForm()) return f;
    return app_.MainForm();
}

gui::TForm* TScriptRunner::FindForm(std::string_view name) const {
    for (gui::TForm* f : app_.Forms())
        if (base::SameText(f->Name(), name)) return f;
    return nullptr;
}

namespace {

gui::TComponent* FindDeep(const gui::TComponent* owner, std::string_view name) {
    if (gui::TComponent* c = owner->FindComponent(name)) return c;
    for (int i = 0; i < owner->ComponentCount(); ++i)
        if (gui::TComponent* c = FindDeep(owner->Components(i), name)) return c;
    return nullptr;
}

// A control placed inside scope (a frame or panel) but owned by the form around it.
gui::TComponent* FindInside(const gui::TComponent* scope, std::string_view name) {
    if (gui::TComponent* c = FindDeep(scope, name)) return c;
    auto* control = dynamic_cast<const gui::TControl*>(scope);
    gui::TForm* form = control ? control->ParentForm() : nullptr;
    if (!form) return nullptr;
    std::vector<const gui::TComponent*> todo{form};
    while (!todo.empty()) {
        const gui::TComponent* owner = todo.back();
        todo.pop_back();
        for (int i = 0; i < owner->ComponentCount(); ++i) {
            gui::TComponent* c = owner->Components(i);
            todo.push_back(c);
            auto* cc = dynamic_cast<gui::TControl*>(c);
            if (!cc || !base::SameText(c->Name(), name)) continue;
            for (const gui::TControl* p = cc->Parent(); p; p = p->Parent())
                if (p == control) return c;
        }
    }
    return nullptr;
}

}  // namespace

gui::TComponent* TScriptRunner::FindComponent(const std::string& path, std::string& why) const {
    std::vector<std::string> parts;
    for (size_t pos = 0;;) {
        size_t dot = path.find('.', pos);
        parts.push_back(path.substr(pos, dot == std::string::npos ? std::string::npos : dot - pos));
        if (dot == std::string::npos) break;
        pos = dot + 1;
    }
    const gui::TComponent* scope = nullptr;
    size_t first = 0;
    if (parts.size() > 1) {
        if (gui::TForm* f = FindForm(parts[0])) {
            scope = f;
            first = 1;
        }
    }
    if (parts.size() == 1 || !scope) {
        // A bare name: the active window first, then the main window.
        gui::TForm* active = ActiveForm();
        gui::TForm* main = app_.MainForm();
        const std::string& head = parts[0];
        if (parts.size() == 1 && active && base::SameText(active->Name(), head)) return active;
        if (parts.size() == 1)
            if (gui::TForm* f = FindForm(head)) return f;
        gui::TComponent* c = active ? FindDeep(active, head) : nullptr;
        if (!c && main) c = FindDeep(main, head);
        if (!c) {
            why = "no component named " + head;
            return nullptr;
        }
        scope = c;
        first = 1;
    }
    gui::TComponent* found = const_cast<gui::TComponent*>(scope);
    for (size_t i = first; i < parts.size(); ++i) {
        found = FindInside(found, parts[i]);
        if (!found) {
            why = "no component named " + parts[i] + " in " + parts[i - 1];
            return nullptr;
        }
    }
    return found;
}

gui::TControl* TScriptRunner::FindControl(const std::string& path, std::string& why) const {
    gui::TComponent* c = FindComponent(path, why);
    if (!c) return nullptr;
    auto* control = dynamic_cast<gui::TControl*>(c);
    if (!control) why = path + " is not a control";
    return control;
}

bool TScriptRunner::Target(const std::vector<std::string>& args, gui::TForm*& form, int& x, int& y,
                           std::string& why) {
    long long px = 0, py = 0;
    if (args.size() == 3 && ParseInt(args[1], px) && ParseInt(args[2], py)) {
        form = ActiveForm();
        if (!form) {
            why = "no window is open";
            return false;
        }
        x = int(px);
        y = int(py);
        return true;
    }
    if (args.size() != 2) {
        why = "expected a component name or X Y";
        return false;
    }
    gui::TControl* c = FindControl(args[1], why);
    if (!c) return false;
    if (!c->Showing()) {
        why = args[1] + " is not visible";
        return false;
    }
    auto* asForm = dynamic_cast<gui::TForm*>(c);
    form = asForm ? asForm : c->ParentForm();
    if (!form) {
        why = args[1] + " is on no window";
        return false;
    }
    if (auto_ && !auto_->WindowEnabled(form->Handle())) {
        why = args[1] + " is on a disabled window (another one is modal)";
        return false;
    }
    const gfx::TPoint centre = asForm ? gfx::TPoint{c->ClientWidth() / 2, c->ClientHeight() / 2}
                                      : c->ClientToForm({c->Width() / 2, c->Height() / 2});
    x = centre.X;
    y = centre.Y;
    return true;
}

// ---- input -----------------------------------------------------------------------------------------

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
    auto need = [&](size_t n) {
        if (args.size() < n) {
            Fail(line, "too few arguments");
            return false;
        }
        return true;
    };

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
        if (!need(2)) return;
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
    if (cmd == "expect-box") {
        const std::string text = base::Utf8ToCp1252(RestAfter(line.text, 1));
        std::string last;
        bool any = false;
        if (RecordsPrompts() && !auto_->MessageBoxes().empty()) {
            last = auto_->MessageBoxes().back().request.text;
            any = true;
        } else if (!RecordsPrompts() && !seenBoxes_.empty()) {
            last = seenBoxes_.back();
            any = true;
        }
        boxesChecked_ = BoxesShown();
        if (!any) return Fail(line, "no message box was shown");
        if (last.find(text) == std::string::npos)
            return Fail(line, "the last message box said " + Show(last));
        return;
    }
    if (cmd == "expect-no-box") {
        const size_t shown = BoxesShown(), since = boxesChecked_;
        boxesChecked_ = shown;
        if (shown > since) {
            const std::string& first =
                RecordsPrompts() ? auto_->MessageBoxes()[since].request.text : seenBoxes_[since];
            return Fail(line, std::to_string(shown - since) + " message box(es) shown, the first said " +
                                  Show(first));
        }
        return;
    }
    if (cmd == "expect-banner") {
        long long n = 0;
        if (args.size() != 2 || !ParseInt(args[1], n) || n < 1 || n > 3)
            return Fail(line, "expected a banner 1 to 3");
        if (!MainForm) return Fail(line, "the menu has no main window");
        const int shown = MainForm->Banners().Shown() + 1;
        if (shown != n)
            return Fail(line, shown ? "banner " + std::to_string(shown) + " is shown" : "no banner is shown");
        return;
    }
    if (cmd == "expect-sound") {
        long long slot = -1;
        if (args.size() != 2 || !ParseInt(args[1], slot) || slot < 0 || slot > 6)
            return Fail(line, "expected a slot 0 to 6");
        platform::RecordingSound* sound = auto_->Recordings().sound;
        if (!sound) return Fail(line, "sounds are recorded only with --headless");
        const platform::SoundCall* last = sound->LastPlayed();
        if (!last) return Fail(line, "no sound was played");
        if (!MainForm || !MainForm->Model().Resource()) return Fail(line, "the menu has no sounds loaded");
        const auto& slots = MainForm->Model().Resource()->SoundSlots;
        int played = -1;
        for (int i = 0; i < 7 && played < 0; ++i)
            if (last->image == slots[size_t(i)].data() && last->size == slots[size_t(i)].size()) played = i;
        // Slots with equal sounds cannot be told apart by their memory alone.
        for (int i = 0; i < 7 && played < 0; ++i)
            if (last->size == slots[size_t(i)].size() &&
                std::equal(slots[size_t(i)].begin(), slots[size_t(i)].end(), last->image))
                played = i;
        if (played != slot)
            return Fail(line, played < 0 ? "the last sound was none of the menu's slots"
                                         : "the last sound was slot " + std::to_string(played));
        return;
    }
    if (cmd == "expect-shell") {
        const std::string text = RestAfter(line.text, 1);
        platform::RecordingShell* shell = auto_->Recordings().shell;
        if (!shell) return Fail(line, "shell calls are recorded only with --headless");
        if (shell->Calls().empty()) return Fail(line, "no shell call was made");
        const platform::ShellCall& last = shell->Calls().back();
        std::string all = last.operation + " " + base::Cp1252ToUtf8(last.target);
        for (const std::string& a : last.argv) all += " " + a;
        if (all.find(text) == std::string::npos &&
            last.target.find(base::Utf8ToCp1252(text)) == std::string::npos)
            return Fail(line, "the last shell call was: " + all);
        return;
    }
    if (cmd == "expect-focus") {
        if (args.size() != 2) return Fail(line, "expected one component name");
        gui::TControl* c = FindControl(args[1], why);
        if (!c) return Fail(line, why);
        gui::TForm* form = c->ParentForm();
        gui::TControl* focused = form ? form->FocusedControl() : nullptr;
        if (form != ActiveForm() || focused != c)
            return Fail(line, focused && form == ActiveForm() ? "the focus is on " + focused->Name()
                                                              : "its window does not have the focus");
        return;
    }
    if (cmd == "expect-caption") {
        if (!need(2)) return;
        gui::TControl* c = FindControl(args[1], why);
        if (!c) return Fail(line, why);
        const std::string text = base::Utf8ToCp1252(RestAfter(line.text, 2));
        if (c->Caption() != text) return Fail(line, "the caption is " + Show(c->Caption()));
        return;
    }
    if (cmd == "expect-visible" || cmd == "expect-hidden" || cmd == "expect-enabled" ||
        cmd == "expect-disabled") {
        if (args.size() != 2) return Fail(line, "expected one component name");
        gui::TControl* c = FindControl(args[1], why);
        if (!c) return Fail(line, why);
        if (cmd == "expect-visible" || cmd == "expect-hidden") {
            // Visible as a person sees it: the control and every parent up to its shown window.
            const bool showing = c->Showing();
            if (showing != (cmd == "expect-visible"))
                return Fail(line, showing ? "it is visible" : "it is hidden");
            return;
        }
        // A skin button keeps its own flag; the control itself stays enabled.
        auto* skinButton = dynamic_cast<skin::TSkinButton*>(c);
        const bool enabled = skinButton ? skinButton->Enabled() : c->Enabled();
        if (enabled != (cmd == "expect-enabled"))
            return Fail(line, enabled ? "it is enabled" : "it is disabled");
        return;
    }
    Fail(line, "unknown command");
}

int RunScript(gui::TApplication& app, const std::string& fileName, const std::string& baseFolder) {
    TScriptRunner runner(app);
    runner.SetBaseFolder(baseFolder);
    runner.LoadFromFile(fileName);
    return runner.Run(std::cerr);
}
