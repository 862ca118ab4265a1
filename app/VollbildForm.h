#pragma once
// TVollbildForm: the full-screen view of a screenshot — black, frameless, maximised, the picture at
// its natural size in the middle of the screen; a click anywhere closes it.
#include "gui/Form.h"

namespace gui {
class TImage;
}

class TVollbildForm : public gui::TForm {
public:
    explicit TVollbildForm(gui::TComponent* owner);
    ~TVollbildForm() override;

    gui::TImage* Image1 = nullptr;

    // Loads the picture (native file name) into Image1 and centres it on the screen.
    void ShowPicture(const std::string& fileName);

    void FormClick(gui::TComponent* sender);
    void Image1Click(gui::TComponent* sender);
};

// The full-screen view (set while it exists).
extern TVollbildForm* VollbildForm;
