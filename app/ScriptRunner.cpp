#include "app/ScriptRunner.h"

#include <fstream>
#include <iostream>
#include <sstream>

#include "app/ScriptParse.h"
#include "base/StrUtils.h"
#include "gui/Application.h"
#include "gui/Form.h"
#include "gui/MessageForm.h"
#include "gui/Timer.h"
#include "gui/backend/Automation.h"

using script::ParseInt;

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

bool TScriptRunner::Need(const Line& line, const std::vector<std::string>& args, size_t n) {
    if (args.size() < n) {
        Fail(line, "too few arguments");
        return false;
    }
    return true;
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

int RunScript(gui::TApplication& app, const std::string& fileName, const std::string& baseFolder) {
    TScriptRunner runner(app);
    runner.SetBaseFolder(baseFolder);
    runner.LoadFromFile(fileName);
    return runner.Run(std::cerr);
}
