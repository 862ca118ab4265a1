#pragma once
// TMainForm: the menu's one window. It holds the menu's model and composes the views — the category
// column, the program list, the program page, the banner strip and the info page — with the skin,
// the logo, the start picture and the title buttons. The views report what the user did; the window
// asks the model and tells the views what to show.
//
// MainForm.cpp: layout, start-up and closing, sounds, categories, list and page. MainFormActions.cpp:
// the actions table and its handlers. MainFormKeys.cpp: the keyboard.
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "gui/Form.h"

namespace gui {
class TImage;
class TImageList;
}  // namespace gui
namespace skin {
class TSkinForm;
class TSkinButton;
}  // namespace skin
namespace media {
class TWavePlayer;
}  // namespace media
class TBannerStrip;
class TCategoryColumn;
class TInfoFrame;
class TMenuModel;
class TProgramListPanel;
class TProgramPageView;
class TSelFolderForm;
class TSuchenForm;
class TVollbildForm;
class TZipFront;

class TMainForm : public gui::TForm {
public:
    explicit TMainForm(gui::TComponent* owner);
    ~TMainForm() override;

    // The initialisation ran to its end (false after a failure that was reported in an error box).
    bool Initialised() const { return initialised_; }
    // The dialogs the window opens, made by whoever makes the window; one that is not given is made
    // when first needed (the full-screen view is then not offered).
    struct TDialogs {
        TSuchenForm* Search = nullptr;
        TVollbildForm* FullScreen = nullptr;
        TSelFolderForm* Folder = nullptr;
    };
    void SetDialogs(const TDialogs& dialogs) { dialogs_ = dialogs; }

    TMenuModel& Model() const { return *model_; }
    TCategoryColumn& Column() const { return *column_; }
    TProgramListPanel& List() const { return *list_; }
    TProgramPageView& Page() const { return *page_; }
    TBannerStrip& Banners() const { return *banners_; }
    TInfoFrame& Info() const { return *InfoFrame1_; }
    // The button of an action of the table, by its name ("bStarten"); null for another name.
    gui::TControl* ActionButton(std::string_view name) const;
    skin::TSkinForm* SkinForm1() const { return SkinForm1_; }
    gui::TImage* iLogo() const { return iLogo_; }
    gui::TImage* iStart() const { return iStart_; }
    skin::TSkinButton* bInfo() const { return bInfo_; }
    gui::TImageList* ilButtons2() const { return ilButtons2_; }
    TZipFront& ZipFront1() const { return *ZipFront1_; }

    // Stops the wave player and plays sound slot n (0..6) from memory, asynchronously.
    void PlaySlotSound(int n);
    int ScreenColourDepth() const;

    // What the views report.
    void ShowCategory(int index, const std::string& name);
    // Shows the filled program list and the page of its first program.
    void ShowListAndFirstProgram();
    // The page of the list's chosen program (built only when it is not the one showing).
    void ShowProgramPage();
    // Hides the program page and its description and forgets which page they showed.
    void HideProgramPage();
    // Tab's stops on the program panel, in order; hidden and disabled ones are skipped when moving.
    std::vector<gui::TControl*> ProgramPanelRing() const;

    // --- handlers --------------------------------------------------------------------------------
    void FormCreate(gui::TComponent* sender);
    void FormShow(gui::TComponent* sender);
    void FormClose(gui::TComponent* sender, gui::TCloseAction& action);
    void FormKeyDown(gui::TComponent* sender, int& key, gui::TShiftState shift);
    void bMinimierenClick(gui::TComponent* sender);
    void bBeenden2Click(gui::TComponent* sender);
    void bInfoClick(gui::TComponent* sender);
    void InfoBeendenClick(gui::TComponent* sender);
    void lbProgrammeClick(gui::TComponent* sender);
    void lFactsValueClick(gui::TComponent* sender);
    // The actions (MainFormActions.cpp).
    void bRubrikauswahlClick(gui::TComponent* sender);
    void bSucheClick(gui::TComponent* sender);
    void bStartenClick(gui::TComponent* sender);
    void bKopierenClick(gui::TComponent* sender);
    void bInstallierenClick(gui::TComponent* sender);
    void bVollbildClick(gui::TComponent* sender);
    void bScreenshotClick(gui::TComponent* sender);

private:
    void BuildLayout();
    void BuildActions();
    void LoadResource();
    void EnableActions();
    bool ActionKey(int& key, bool ctrl);
    void ProgramPanelKey(int& key, gui::TShiftState shift);
    void InfoPageKey(int& key, gui::TShiftState shift);
    void LeaveInfoPage();
    void OpenGallery();
    TSelFolderForm& FolderDialog();

    std::unique_ptr<TMenuModel> model_;
    skin::TSkinForm* SkinForm1_ = nullptr;
    gui::TImage* iLogo_ = nullptr;
    skin::TSkinButton* bMinimieren_ = nullptr;
    skin::TSkinButton* bBeenden2_ = nullptr;
    skin::TSkinButton* bInfo_ = nullptr;
    gui::TImage* iStart_ = nullptr;
    TInfoFrame* InfoFrame1_ = nullptr;
    gui::TImageList* ilButtons1_ = nullptr;  // 60x80
    gui::TImageList* ilButtons2_ = nullptr;  // 170x80
    gui::TImageList* ilButtons3_ = nullptr;  // 134x92
    gui::TImageList* ilButtons4_ = nullptr;  // 17x68
    gui::TImageList* ilGlyphs1_ = nullptr;   // 16x16
    media::TWavePlayer* WavePlayer1_ = nullptr;
    std::unique_ptr<TZipFront> ZipFront1_;
    std::unique_ptr<TCategoryColumn> column_;
    std::unique_ptr<TProgramListPanel> list_;
    std::unique_ptr<TProgramPageView> page_;
    std::unique_ptr<TBannerStrip> banners_;
    std::vector<gui::TControl*> actionButtons_;  // one per row of the actions table

    TDialogs dialogs_;
    bool initialised_ = false;
    // The page that shows: the list entry and the heading it was built for ("" when none shows).
    std::string shownProgram_, shownHeading_;
    bool listBeforeInfo_ = false;  // the program list was open when the info page came in
    WeakOf<gui::TControl> focusBeforeInfo_;
};

// The main window (set while it exists).
extern TMainForm* MainForm;
