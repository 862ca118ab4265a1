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

    gui::TImage* iHintergrund() const { return iHintergrund_; }
    skin::TAntiAliasLabel* lZusammenstellung() const { return lZusammenstellung_; }
    skin::TAntiAliasLabel* lRedaktionsassistenz() const { return lRedaktionsassistenz_; }
    skin::TAntiAliasLabel* lProgrammierung() const { return lProgrammierung_; }
    skin::TAntiAliasLabel* lCopyright() const { return lCopyright_; }
    skin::TAntiAliasLabel* leMail() const { return leMail_; }
    skin::TAntiAliasLabel* lInternet() const { return lInternet_; }
    skin::TSkinButton* bBeenden() const { return bBeenden_; }
    gui::TImageList* ilButtons1() const { return ilButtons1_; }

    // The button images from the disc's skin folder (native, with a trailing '/'). The background
    // picture is read from there only when the page is first shown: most sessions never open it.
    // Missing files leave the page plain.
    void LoadPictures(const std::string& skinFolder);
    void LoadBackground();

    // The publisher's links: "mailto:" + address, "http://" + address, opened through the shell.
    void leMailClick(gui::TComponent* sender);
    void lInternetClick(gui::TComponent* sender);

private:
    gui::TImage* iHintergrund_ = nullptr;
    skin::TAntiAliasLabel* lZusammenstellung_ = nullptr;
    skin::TAntiAliasLabel* lRedaktionsassistenz_ = nullptr;
    skin::TAntiAliasLabel* lProgrammierung_ = nullptr;
    skin::TAntiAliasLabel* lCopyright_ = nullptr;
    skin::TAntiAliasLabel* leMail_ = nullptr;
    skin::TAntiAliasLabel* lInternet_ = nullptr;
    skin::TSkinButton* bBeenden_ = nullptr;
    gui::TImageList* ilButtons1_ = nullptr;
    std::string skinFolder_;
    bool backgroundRead_ = false;
};
