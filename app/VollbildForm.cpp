#include "app/VollbildForm.h"

#include "gui/Image.h"
#include "gui/Screen.h"

TVollbildForm* VollbildForm = nullptr;

TVollbildForm::TVollbildForm(gui::TComponent* owner) : gui::TForm(owner) {
    BeginLoading();
    SetName("VollbildForm");
    SetBorderStyle(gui::bsNone);
    SetBorderIcons(0);
    SetColor(gfx::clBlack);
    SetWindowState(gui::wsMaximized);
    SetBounds(0, 0, gui::Screen ? gui::Screen->Width() : 640, gui::Screen ? gui::Screen->Height() : 480);
    Image1 = Make<gui::TImage>();
    Image1->SetName("Image1");
    Image1->SetParent(this);
    Image1->SetAutoSize(true);
    Image1->SetCenter(true);
    Image1->OnClick = [this](gui::TComponent* s) { Image1Click(s); };
    OnClick = [this](gui::TComponent* s) { FormClick(s); };
    Loaded();
    VollbildForm = this;
}

TVollbildForm::~TVollbildForm() {
    if (VollbildForm == this) VollbildForm = nullptr;
}

void TVollbildForm::ShowPicture(const std::string& fileName) {
    Image1->LoadFromFile(fileName);
    const int w = Image1->Picture().Width(), h = Image1->Picture().Height();
    const int sw = gui::Screen->Width(), sh = gui::Screen->Height();
    // The window covers the screen from 0,0, so screen and client coordinates agree. A picture
    // larger than the screen gets a negative position and is cut at the edges.
    SetBounds(0, 0, sw, sh);
    Image1->SetBounds(sw / 2 - w / 2, sh / 2 - h / 2, w, h);
}

void TVollbildForm::FormClick(gui::TComponent*) {
    Close();
}

void TVollbildForm::Image1Click(gui::TComponent*) {
    Close();
}
