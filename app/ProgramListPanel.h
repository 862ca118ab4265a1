#pragma once
// TProgramListPanel: the panel that replaces the category column while a list is open: its heading
// (the category, or "Suchergebnisse"), the programs, "Rubrikauswahl" (made from the actions table)
// and the place of the chosen program in the list ("3/12").
#include <string>
#include <vector>

namespace gui {
class TForm;
class TImage;
class TLabel;
}  // namespace gui
namespace flat {
class TFlatListBox;
}  // namespace flat
namespace skin {
class TPicturePanel;
}  // namespace skin

class TProgramListPanel {
public:
    explicit TProgramListPanel(gui::TForm& form);

    void SetHeading(const std::string& heading);
    // The list's entries; while they go in, the list counts as filling.
    void Fill(const std::vector<std::string>& programs);
    bool Filling() const { return filling_; }
    // "3/12": the chosen entry's place and the list's length.
    void SetPlace(int index, int count);
    // The list shown with its first entry chosen; false when it is empty ("0/0").
    bool ShowFirst();
    int Count() const;
    int Index() const;
    std::string Entry(int index) const;

    skin::TPicturePanel* pProgramme() const { return pProgramme_; }
    gui::TImage* iRubrik() const { return iRubrik_; }
    gui::TLabel* lRubrik() const { return lRubrik_; }
    flat::TFlatListBox* lbProgramme() const { return lbProgramme_; }
    gui::TLabel* lAnzahlProgramme() const { return lAnzahlProgramme_; }

private:
    skin::TPicturePanel* pProgramme_ = nullptr;
    gui::TImage* iRubrik_ = nullptr;
    gui::TLabel* lRubrik_ = nullptr;
    flat::TFlatListBox* lbProgramme_ = nullptr;
    gui::TLabel* lAnzahlProgramme_ = nullptr;
    bool filling_ = false;
};
