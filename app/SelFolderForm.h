#pragma once
// TSelFolderForm: the target-folder dialog of "Entpacken" and "Kopieren". Created once and reused,
// so the folder typed or chosen last is offered again. "OK" sets Confirmed(), anything else that
// ends it leaves it clear.
#include <string>

#include "gui/Form.h"

namespace gui {
class TLabel;
class TEdit;
class TButton;
}  // namespace gui

class TSelFolderForm : public gui::TForm {
public:
    explicit TSelFolderForm(gui::TComponent* owner);
    ~TSelFolderForm() override;

    gui::TLabel* Label1 = nullptr;
    gui::TEdit* Edit1 = nullptr;
    gui::TButton* Button3 = nullptr;  // "Durchsuchen..."
    gui::TButton* Button1 = nullptr;  // "OK"
    gui::TButton* Button2 = nullptr;  // "Abbrechen"

    // The folder offered at program start: "C:\Test" has no meaning on POSIX, so the home folder's
    // "Test" takes its place (cp1252 app path).
    static std::string DefaultFolder();

    // The folder browser rooted at the computer's drives; empty when nothing was chosen.
    static std::string BrowseForFolder(const std::string& title);

    bool Confirmed() const { return confirmed_; }

    void FormShow(gui::TComponent* sender);
    void Button1Click(gui::TComponent* sender);
    void Button2Click(gui::TComponent* sender);
    void Button3Click(gui::TComponent* sender);

private:
    bool confirmed_ = false;
};

// The edit text as a target folder: a trailing separator is appended unless there is one ('\' for
// a Windows form, '/' for a native one); an empty text stays empty.
std::string TargetFolderOf(const std::string& text);

enum class TFolderPrepared { kExisted, kCreated, kFailed };
// Creates the folder (one level; the parent must exist) unless it exists. errorCode gets the
// system's code of a failure.
TFolderPrepared PrepareTargetFolder(const std::string& folder, int* errorCode = nullptr);

// The target-folder dialog (set while it exists).
extern TSelFolderForm* SelFolderForm;
