#pragma once
// The program page's actions as one table. A row says how its button looks and where it sits, when
// the page offers it, what it does, which keys press it and where Tab reaches it; the main window
// makes the buttons, wires them, applies the rules and reads the keys from these rows alone.
#include <array>
#include <span>
#include <string>

class TMainForm;
class TMenuModel;
namespace gui {
class TComponent;
}  // namespace gui

enum class TActionButton {
    kText,   // a captioned skin button along the page's foot
    kGlyph,  // a picture button at the page's top right; the caption is its hint
    kList,   // a flat button under the program list
};

// Where an action's keys count.
enum class TActionScope {
    kAnywhere,      // on the start page and the program panel (not on the info page)
    kProgramPanel,  // while the program list is open
    kProgramPage,   // while a program's page shows
};

struct TActionKey {
    int Key = 0;
    bool Ctrl = false;
};

struct TPageAction {
    const char* Name;
    TActionButton Button;
    int Left, Top;
    int Image;            // in the button's image list
    const char* Caption;  // a glyph button's hint
    // Whether the shown page offers it; null: always. A rule only enables and disables.
    bool (*Enabled)(const TMenuModel& model);
    // The caption as the shown page has it; null: the fixed one.
    std::string (*Relabel)(const TMenuModel& model);
    void (TMainForm::*Run)(gui::TComponent* sender);
    std::array<TActionKey, 2> Keys;
    TActionScope Scope;
    int TabPlace;  // among the program panel's stops (TMainForm::ProgramPanelRing)
};

// In the order the buttons are made.
std::span<const TPageAction> PageActions();
