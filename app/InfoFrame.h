#pragma once
// TInfoFrame: the info page — the editorial credits and the publisher's contact links over a
// background picture. It lives on the main window just right of its visible area and is moved in
// by the "i" button; its "Schließen" button moves it out again (handled by the main window).
#include <string>

#include "gui/CustomControl.h"

namespace gui {
class TImage;
class TImageList;
}  // namespace gui
namespace skin {
class TAntiAliasLabel;
class TSkinButton;
}  // namespace skin

class TInfoFrame : public gui::TCustomControl {
public:
    explicit TInfoFrame(gui::TComponent* owner);
    ~TInfoFrame() override;

    gui::TImage* iHintergrund = nullptr;
    skin::TAntiAliasLabel* lZusammenstellung = nullptr;
    skin::TAntiAliasLabel* lRedaktionsassistenz = nullptr;
    skin::TAntiAliasLabel* lProgrammierung = nullptr;
    skin::TAntiAliasLabel* lCopyright = nullptr;
    skin::TAntiAliasLabel* leMail = nullptr;
    skin::TAntiAliasLabel* lInternet = nullptr;
    skin::TSkinButton* bBeenden = nullptr;
    gui::TImageList* ilButtons1 = nullptr;

    // The button images from the disc's skin folder (native, with a trailing '/'). The background
    // picture is read from there only when the page is first shown: most sessions never open it.
    // Missing files leave the page plain.
    void LoadPictures(const std::string& skinFolder);
    void LoadBackground();

    // The publisher's links: "mailto:" + address, "http://" + address, opened through the shell.
    void leMailClick(gui::TComponent* sender);
    void lInternetClick(gui::TComponent* sender);

private:
    std::string skinFolder_;
    bool backgroundRead_ = false;
};
