#pragma once
// TScriptRunner: `cdmenu --script FILE` — drives the menu as a person would, one command per line.
//
// The commands run from the application's idle hook, one per idle turn, so they also run inside a
// modal dialog's loop (a script can fill in and close the dialogs it opened). Input goes through the
// backend's automation (which keeps pointer and drag state) as one input synthesiser makes it; on a
// virtual clock (headless) `wait` moves the clock, on a real one it lets real time pass.
//
// Commands (`#` starts a comment; NAME is a component of the active window, else of the main
// window, or `Form.NAME` / `Frame.NAME` for a nested one):
//   click NAME | click X Y, dblclick, press, release (NAME or X Y), move X Y, wheel N,
//   key [MOD+]KEY (F1-F12, Ctrl+, Shift+, Alt+), type TEXT, wait MS, answer OK|Cancel|Yes|No, folder PATH |
//   folder cancel, screenshot [FORM] FILE, expect-box TEXT, expect-sound SLOT, expect-shell TEXT,
//   expect-caption NAME TEXT, expect-visible NAME, expect-hidden NAME, expect-enabled NAME,
//   expect-disabled NAME, expect-focus NAME (visible/hidden also take a form's name).
// The exit code is 0 when every line ran and every expectation held; otherwise the failing line
// and the reason go to the error stream and the code is 1.
#include <cstdint>
#include <deque>
#include <iosfwd>
#include <string>
#include <string_view>
#include <vector>

namespace gui {
class TApplication;
class TComponent;
class TControl;
class TForm;
class TTimer;
class Automation;
}  // namespace gui

class TScriptRunner {
public:
    explicit TScriptRunner(gui::TApplication& app);
    ~TScriptRunner();
    TScriptRunner(const TScriptRunner&) = delete;
    TScriptRunner& operator=(const TScriptRunner&) = delete;

    // The script as text (UTF-8).
    void SetScript(std::string_view text);
    // Where relative file names of the script (screenshots) lie; the current folder by default.
    void SetBaseFolder(std::string folder) { baseFolder_ = std::move(folder); }
    // False with Error() set when the file cannot be read.
    bool LoadFromFile(const std::string& fileName);

    // Installs the idle hook, runs the application's loop until the script has ended (or the
    // program has closed) and returns the exit code. Messages go to err.
    int Run(std::ostream& err);

    // One command: the next line. False when there is nothing more to run (the end, or a failure).
    bool Step();

    bool Finished() const { return next_ >= lines_.size() && !failed_; }
    bool Failed() const { return failed_; }
    // "line N: TEXT: why" of the failure.
    const std::string& Error() const { return error_; }
    // The message boxes the script has seen (cp1252), on a display, where no backend records them.
    const std::vector<std::string>& SeenBoxes() const { return seenBoxes_; }

private:
    struct Line {
        int number = 0;
        std::string text;  // trimmed, UTF-8
    };

    void Fail(const Line& line, const std::string& why);
    // False, having failed, when the line has fewer than n words.
    bool Need(const Line& line, const std::vector<std::string>& args, size_t n);
    // The input commands (ScriptRunnerInput.cpp) and the checks (ScriptRunnerChecks.cpp).
    void Execute(const Line& line);
    void Check(const Line& line, const std::vector<std::string>& args);
    void OnIdle(bool& done);
    void WatchDialogs();

    // Finding things.
    gui::TForm* ActiveForm() const;
    gui::TForm* FindForm(std::string_view name) const;
    gui::TComponent* FindComponent(const std::string& path, std::string& why) const;
    gui::TControl* FindControl(const std::string& path, std::string& why) const;
    // The form and client point of a command's target: a component's centre, or X Y.
    bool Target(const std::vector<std::string>& args, gui::TForm*& form, int& x, int& y, std::string& why);

    // Input through the backend's automation.
    enum class Mouse { Move, Down, Up, Click, DoubleClick };
    void MouseInput(gui::TForm* form, Mouse what, int x, int y);
    void Wait(std::uint64_t ms);
    bool RecordsPrompts() const;
    void ReportLog();

    gui::TApplication& app_;
    gui::Automation* auto_ = nullptr;  // nullptr: the backend cannot be driven
    std::vector<Line> lines_;
    size_t next_ = 0;
    bool failed_ = false;
    bool ended_ = false;
    std::string error_;
    std::ostream* err_ = nullptr;
    size_t logSeen_ = 0;
    // Display mode: answers for message boxes still to come, boxes seen, the wait timer.
    std::deque<int> pendingAnswers_;
    std::vector<std::string> seenBoxes_;
    size_t boxesChecked_ = 0;  // boxes shown up to the last expect-box / expect-no-box
    size_t BoxesShown() const;
    std::string baseFolder_;
    const void* lastSeenBox_ = nullptr;
    gui::TTimer* waitTimer_ = nullptr;
    bool waiting_ = false;
    // The last pointer position the script used (client point of that window).
    std::uint32_t lastWindow_ = 0;
    int lastX_ = 0, lastY_ = 0;
};

// main()'s call for --script FILE: runs the script on the running program and returns the exit code.
// Relative screenshot names mean baseFolder (the folder the program was started from).
int RunScript(gui::TApplication& app, const std::string& fileName, const std::string& baseFolder = {});
