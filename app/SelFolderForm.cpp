#include "app/SelFolderForm.h"

#include <cerrno>

#include "app/FormBuilding.h"
#include "base/Cp1252.h"
#include "gui/Button.h"
#include "gui/Edit.h"
#include "gui/FolderBrowser.h"
#include "gui/Label.h"
#include "platform/FileOps.h"
#include "platform/UserPaths.h"

TSelFolderForm* SelFolderForm = nullptr;

using layout::Place;

TSelFolderForm::TSelFolderForm(gui::TComponent* owner) : gui::TForm(owner) {
    BeginLoading();
    SetName("SelFolderForm");
    SetCaption(base::Cp("Verzeichnis wählen"));
    SetBorderStyle(gui::bsDialog);
    SetBorderIcons(0);
    SetPosition(gui::poScreenCenter);
    SetBounds(0, 0, 415, 84);

    Label1 = Place<gui::TLabel>(this, "Label1", 8, 8, 200, 13);
    Label1->SetShowAccelChar(false);  // it shows paths, and "&" is common in folder names
    Label1->SetCaption("Kopieren nach...");
    Edit1 = Place<gui::TEdit>(this, "Edit1", 8, 24, 300, 21);
    Edit1->SetCaption(DefaultFolder());
    Button3 = Place<gui::TButton>(this, "Button3", 314, 24, 92, 21);
    Button3->SetCaption("Durchsuchen...");
    Button3->OnClick = [this](gui::TComponent* s) { Button3Click(s); };
    Button1 = Place<gui::TButton>(this, "Button1", 127, 54, 75, 25);
    Button1->SetCaption("OK");
    Button1->SetDefault(true);
    Button1->OnClick = [this](gui::TComponent* s) { Button1Click(s); };
    Button2 = Place<gui::TButton>(this, "Button2", 213, 54, 75, 25);
    Button2->SetCaption("Abbrechen");
    Button2->SetCancel(true);
    Button2->OnClick = [this](gui::TComponent* s) { Button2Click(s); };
    OnShow = [this](gui::TComponent* s) { FormShow(s); };
    // Tab order, Enter (OK or the focused button), Space and Escape ("Abbrechen") are the
    // framework's dialog keys; the focus mark is the one the menu draws.
    SetFocusMarks(true);
    Loaded();
    SelFolderForm = this;
}

TSelFolderForm::~TSelFolderForm() {
    if (SelFolderForm == this) SelFolderForm = nullptr;
}

std::string TSelFolderForm::DefaultFolder() {
    const std::string home = platform::HomeFolder();
    if (home.empty()) return "C:\\Test";
    return base::Utf8ToCp1252(home) + (home == "/" ? "Test" : "/Test");
}

std::string TSelFolderForm::BrowseForFolder(const std::string& title) {
    // Empty start: the browser opens at the computer's drives.
    return gui::BrowseForFolder(title).value_or(std::string());
}

void TSelFolderForm::FormShow(gui::TComponent*) {
    // A dialog ended by anything but "OK" (closed from outside, the loop ending) must not act on
    // the answer of an earlier showing.
    confirmed_ = false;
    if (Edit1->CanFocus()) Edit1->SetFocus();
}

void TSelFolderForm::Button1Click(gui::TComponent*) {
    confirmed_ = true;
    Close();
}

void TSelFolderForm::Button2Click(gui::TComponent*) {
    confirmed_ = false;
    Close();
}

void TSelFolderForm::Button3Click(gui::TComponent*) {
    const std::string folder = BrowseForFolder(base::Cp("Verzeichnis wählen:"));
    if (!folder.empty()) Edit1->SetCaption(folder);
}

std::string TargetFolderOf(const std::string& text) {
    if (text.empty() || text.back() == '\\' || text.back() == '/') return text;
    const bool native = text.find('/') != std::string::npos && text.find('\\') == std::string::npos;
    return text + (native ? '/' : '\\');
}

TFolderPrepared PrepareTargetFolder(const std::string& folder, int* errorCode) {
    if (errorCode) *errorCode = 0;
    if (!folder.empty() && platform::FileOps::FolderExists(folder)) return TFolderPrepared::kExisted;
    int code = 0;
    if (folder.empty()) {
        code = ENOENT;
    } else if (platform::FileOps::CreateFolder(folder, &code)) {
        return TFolderPrepared::kCreated;
    }
    if (errorCode) *errorCode = code;
    return TFolderPrepared::kFailed;
}
