// TScriptRunner's checks: the expect-* commands.
#include <algorithm>

#include "app/BannerStrip.h"
#include "app/MainForm.h"
#include "app/MenuModel.h"
#include "app/MenuResource.h"
#include "app/ScriptParse.h"
#include "app/ScriptRunner.h"
#include "base/Cp1252.h"
#include "gui/Form.h"
#include "gui/backend/Automation.h"
#include "media/GIFImage.h"
#include "platform/RecordingShell.h"
#include "platform/RecordingSound.h"
#include "skin/SkinButton.h"

using script::ParseInt;
using script::RestAfter;
using script::Show;

void TScriptRunner::Check(const Line& line, const std::vector<std::string>& args) {
    const std::string& cmd = args[0];
    std::string why;
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
        if (!Need(line, args, 2)) return;
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
    Fail(line, "unknown command");
}
