#pragma once
// TSuchenForm: the search dialog — skinned, frameless, always on top. The term is read from
// eSuchbegriff after the dialog closes; a cancelled dialog leaves it empty. The check box keeps
// its state from one search to the next. By keyboard: Tab walks edit, check box, "Suchen",
// "Abbrechen" and the close glyph; Enter or Space presses the focused button; Escape cancels.
#include <functional>
#include <string>

#include "gui/Form.h"

namespace gui {
class TLabel;
class TImageList;
}  // namespace gui
namespace flat {
class TFlatEdit;
class TFlatCheckBox;
}  // namespace flat
namespace skin {
class TSkinForm;
class TSkinButton;
}  // namespace skin

class TSuchenForm : public gui::TForm {
public:
    explicit TSuchenForm(gui::TComponent* owner);
    ~TSuchenForm() override;

    skin::TSkinForm* SkinForm1 = nullptr;
    gui::TLabel* lSuchbegriff = nullptr;
    flat::TFlatEdit* eSuchbegriff = nullptr;
    flat::TFlatCheckBox* FlatCheckBox1 = nullptr;  // "Groß- und Kleinschreibung beachten"
    skin::TSkinButton* bBeenden = nullptr;         // "Suchen"
    skin::TSkinButton* bAbbrechen = nullptr;
    skin::TSkinButton* bBeenden2 = nullptr;  // close glyph
    gui::TImageList* ilButtons1 = nullptr;   // 60x80
    gui::TImageList* ilButtons4 = nullptr;   // 17x68

    // Played by each of the dialog's buttons; set by the window that opens it.
    std::function<void()> OnButtonSound;

    // The term as the search takes it (trimmed); empty after a cancelled dialog.
    std::string Term() const;
    bool MatchCase() const;

    void FormShow(gui::TComponent* sender);
    // Escape as "Abbrechen"; Tab and Shift+Tab through the edit, the check box and the buttons.
    void FormKeyDown(gui::TComponent* sender, int& key, gui::TShiftState shift);
    void eSuchbegriffKeyPress(gui::TComponent* sender, char& key);
    void bBeendenClick(gui::TComponent* sender);
    void bAbbrechenClick(gui::TComponent* sender);
    void bBeenden2Click(gui::TComponent* sender);
    void FlatCheckBox1Click(gui::TComponent* sender);

private:
    void LoadImageLists();
};

// The search dialog (set while it exists).
extern TSuchenForm* SuchenForm;
