// The script reader (`cdmenu --script`) on arbitrary text, run against a small window of the
// framework: a button that opens a modal dialog, one that shows a message box, a disabled and a
// hidden button, an edit and a 1-second timer. Whatever the lines say, the run ends with 0 or 1 and
// a failure names its line. Slashes become underscores, so that screenshots land in a scratch folder.
#include <stdlib.h>
#include <unistd.h>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <sstream>
#include <string>

#include "app/ScriptRunner.h"
#include "gui/Application.h"
#include "gui/Button.h"
#include "gui/Edit.h"
#include "gui/Form.h"
#include "gui/Label.h"
#include "gui/Timer.h"
#include "gui/backend/Automation.h"
#include "tests/fuzz/FuzzScratch.h"

namespace {

const std::string& Scratch() {
    return FuzzScratch("script");
}

template <class T>
T* Put(gui::TComponent* owner, gui::TWinControl* parent, const char* name, int l, int t, int w, int h) {
    T* c = owner->Make<T>();
    c->SetName(name);
    c->SetParent(parent);
    c->SetBounds(l, t, w, h);
    return c;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::string script(reinterpret_cast<const char*>(data), size);
    std::replace(script.begin(), script.end(), '/', '_');

    auto app = std::make_unique<gui::TApplication>(gui::CreateBackend({.headless = true}));
    gui::TForm* main = app->CreateForm<gui::TForm>();
    main->SetName("Haupt");
    main->SetBorderStyle(gui::bsNone);
    main->SetBounds(0, 0, 300, 200);
    gui::TForm* dialog = app->CreateForm<gui::TForm>();
    dialog->SetName("Dialog");
    dialog->SetBorderStyle(gui::bsNone);
    dialog->SetBounds(50, 50, 200, 100);
    auto* lResult = Put<gui::TLabel>(main, main, "lResult", 10, 50, 200, 16);
    auto* eName = Put<gui::TEdit>(dialog, dialog, "eName", 10, 10, 180, 22);
    Put<gui::TButton>(main, main, "bOpen", 10, 10, 80, 24)->OnClick = [&](gui::TComponent*) {
        if (dialog->ShowModal() == gui::mrOk) lResult->SetCaption(eName->Text());
    };
    Put<gui::TButton>(main, main, "bBox", 100, 10, 80, 24)->OnClick = [&](gui::TComponent*) {
        lResult->SetCaption(app->Warning("Wirklich?", gui::MB_YESNO) == gui::IDNO ? "nein" : "ja");
    };
    Put<gui::TButton>(main, main, "bOff", 190, 10, 80, 24)->SetEnabled(false);
    Put<gui::TButton>(main, main, "bHidden", 10, 150, 80, 24)->Hide();
    Put<gui::TButton>(main, main, "bQuit", 100, 150, 80, 24)->OnClick = [&](gui::TComponent*) {
        main->Close();
    };
    auto* timer = main->Make<gui::TTimer>();
    timer->SetInterval(1000);
    int ticks = 0;
    timer->SetOnTimer([&](gui::TComponent*) { ++ticks; });
    Put<gui::TButton>(dialog, dialog, "bOk", 10, 60, 80, 24)->SetModalResult(gui::mrOk);
    auto* bCancel = Put<gui::TButton>(dialog, dialog, "bCancel", 100, 60, 80, 24);
    bCancel->SetModalResult(gui::mrCancel);
    bCancel->SetCancel(true);

    TScriptRunner runner(*app);
    runner.SetBaseFolder(Scratch());
    runner.SetScript(script);
    std::ostringstream err;
    const int code = runner.Run(err);
    if (code != 0 && code != 1) __builtin_trap();
    if (code == 1 && runner.Error().rfind("line ", 0) != 0) __builtin_trap();
    if (code == 0 && !runner.Finished()) __builtin_trap();

    std::error_code ec;
    for (const auto& entry : std::filesystem::directory_iterator(Scratch(), ec))
        std::filesystem::remove_all(entry.path(), ec);
    return 0;
}
