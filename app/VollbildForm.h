#pragma once
// TVollbildForm: the full-screen view of a screenshot — black, frameless, maximised. A picture
// larger than the screen is scaled down to fit (proportions kept, area-averaged); a smaller one
// stays at its natural size; either lies in the middle of the screen.
//
// As a gallery it pages through the programs of a list: Left/Right, the wheel and the on-screen
// arrows (shown while the pointer moves) go to the previous/next program, Home/End to the first/
// last; OnSelect makes that program the current one (the page behind follows) and names its
// screenshot. The program's name stands at the bottom. A click or Escape closes the view.
#include <functional>
#include <string>

#include "gui/Form.h"

namespace gui {
class TImage;
class TLabel;
class TTimer;
class TGraphicControl;
}  // namespace gui

class TVollbildForm : public gui::TForm {
public:
    explicit TVollbildForm(gui::TComponent* owner);
    ~TVollbildForm() override;

    gui::TImage* Image1 = nullptr;
    gui::TLabel* lName = nullptr;
    gui::TGraphicControl* bZurueck = nullptr;  // on-screen arrows
    gui::TGraphicControl* bWeiter = nullptr;
    gui::TTimer* tPfeile = nullptr;  // hides the arrows when the pointer rests

    // Entry index of the gallery's list becomes current; file := its screenshot (native name,
    // empty for none), name := the program's name.
    std::function<void(int index, std::string& file, std::string& name)> OnSelect;

    // Loads the picture (native file name; empty clears it) into Image1, fitted and centred.
    void ShowPicture(const std::string& fileName);
    // Pages through count entries from index, whose picture and name are shown already.
    void SetGallery(int count, int index, const std::string& name);
    int Count() const { return count_; }
    int Index() const { return index_; }
    // Shows entry index (clamped) through OnSelect.
    void ShowIndex(int index);

    // The size a picture of w x h takes on a screen of sw x sh.
    static gfx::TRect FitToScreen(int w, int h, int sw, int sh);

    void FormClick(gui::TComponent* sender);
    void Image1Click(gui::TComponent* sender);
    void FormKeyDown(gui::TComponent* sender, int& key, gui::TShiftState shift);
    bool DoMouseWheel(gui::TShiftState shift, int wheelDelta, gfx::TPoint mousePos) override;

private:
    void PointerMoved();
    void ShowArrows();
    void ShowName(const std::string& name);

    int count_ = 0;
    int index_ = 0;
    int lastX_ = -1, lastY_ = -1;
};

// The full-screen view (set while it exists).
extern TVollbildForm* VollbildForm;
