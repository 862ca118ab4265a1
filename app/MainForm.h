#pragma once
// TMainForm: the menu's one window — the skin, the category column and program list, the program
// page, the banner strip, the info page — and the state the menu's pages share.
//
// Sections of MainForm.cpp: layout · start-up and closing · sounds · categories and program list ·
// program page · banners · info page and full-screen view.
// The page buttons' actions (Starten, Installieren/Entpacken, Kopieren, Explorer, Suche) live in
// MainFormActions.cpp.
//
// Paths in the state are Windows forms ("D:\MENU\"), as the data files write them; NativeFile()
// turns one into the file system's name when a file is touched.
#include <array>
#include <cstdint>
#include <memory>
#include <random>
#include <string>
#include <utility>
#include <vector>

#include "gui/Form.h"

namespace gui {
class TImage;
class TLabel;
class TPanel;
class TImageList;
class TTimer;
}  // namespace gui
namespace flat {
class TFlatGroupBox;
class TFlatListBox;
class TFlatButton;
class TFlatScrollbar;
}  // namespace flat
namespace skin {
class TSkinForm;
class TSkinButton;
class TPicturePanel;
class TTransText;
class TGlyphButton;
}  // namespace skin
namespace media {
class TGIFImage;
class TWavePlayer;
}  // namespace media
class TZipFront;
class TInfoFrame;
class TSuchenForm;
class TVollbildForm;
class TSelFolderForm;
class TMenuResource;
struct TProgramRecord;
class TCatalogue;

// One row of facts on the program page: the key's background bar, the key and the value.
struct TFactRow {
    gui::TImage* Picture = nullptr;
    gui::TLabel* Key = nullptr;
    gui::TLabel* Value = nullptr;
};

class TMainForm : public gui::TForm {
public:
    explicit TMainForm(gui::TComponent* owner);
    ~TMainForm() override;

    // --- components, bottom of the stacking order first ------------------------------------------
    skin::TSkinForm* SkinForm1 = nullptr;
    gui::TImage* iLogo = nullptr;
    skin::TSkinButton* bRubrik1 = nullptr;  // template of the category buttons, never shown
    skin::TSkinButton* bPfeilOben = nullptr;
    skin::TSkinButton* bPfeilUnten = nullptr;
    skin::TSkinButton* bMinimieren = nullptr;
    skin::TSkinButton* bBeenden2 = nullptr;
    skin::TSkinButton* bInfo = nullptr;
    media::TGIFImage* iBanner1 = nullptr;
    media::TGIFImage* ibanner2 = nullptr;
    media::TGIFImage* iBanner3 = nullptr;
    gui::TImage* iStart = nullptr;
    flat::TFlatGroupBox* gbProgramm = nullptr;
    gui::TPanel* Panel1 = nullptr;
    gui::TImage* iScreenshot = nullptr;
    gui::TImage* iFacts = nullptr;  // templates of the fact rows, hidden
    gui::TLabel* lFactsKey = nullptr;
    gui::TLabel* lFactsValue = nullptr;
    skin::TGlyphButton* bVollbild = nullptr;
    skin::TGlyphButton* bScreenshot = nullptr;
    skin::TSkinButton* bSuche = nullptr;
    skin::TSkinButton* bStarten = nullptr;
    skin::TSkinButton* bKopieren = nullptr;
    skin::TSkinButton* bInstallieren = nullptr;
    TInfoFrame* InfoFrame1 = nullptr;
    skin::TPicturePanel* PicturePanel1 = nullptr;
    skin::TTransText* TransText1 = nullptr;
    flat::TFlatScrollbar* FlatScrollbar1 = nullptr;
    gui::TLabel* lBesonderheiten1 = nullptr;
    gui::TLabel* lBesonderheiten2 = nullptr;
    skin::TPicturePanel* pProgramme = nullptr;
    gui::TImage* iRubrik = nullptr;
    gui::TLabel* lRubrik = nullptr;
    flat::TFlatListBox* lbProgramme = nullptr;
    flat::TFlatButton* bRubrikauswahl = nullptr;
    gui::TLabel* lAnzahlProgramme = nullptr;
    // Not visual.
    gui::TImageList* ilButtons1 = nullptr;  // 60x80
    gui::TImageList* ilButtons2 = nullptr;  // 170x80
    gui::TImageList* ilButtons3 = nullptr;  // 134x92
    gui::TImageList* ilButtons4 = nullptr;  // 17x68
    gui::TImageList* ilGlyphs1 = nullptr;   // 16x16
    gui::TTimer* Timer1 = nullptr;
    std::unique_ptr<TZipFront> ZipFront1;
    media::TWavePlayer* WavePlayer1 = nullptr;

    // --- state shared by the pages ---------------------------------------------------------------
    std::string DataDir;   // folder of the data files, with trailing "\"
    std::string DiscRoot;  // "D:\"
    // Menue.dat as read; null until it has been read completely.
    std::unique_ptr<TMenuResource> MenuData;
    std::array<std::string, 3> BannerLinks;  // BannerLink1..3
    std::vector<std::string> CategoryList;
    int CategoryCount = 0;
    std::vector<skin::TSkinButton*> CategoryButtons;
    int CategoryButtonCount = 0;
    int FirstVisibleCategory = 0;
    int VisibleCategoryCount = 0;
    std::array<TFactRow, 6> FactRows{};
    int FactRowCount = 0;
    std::string CurrentCategory;
    std::string CurrentProgram;
    std::string LastShownProgram;
    std::string LastShownCategory;
    std::string InstallPath;
    std::string StartPath;
    std::string ScreenshotPath;
    std::string CopySourcePath;
    std::string HomepageUrl;
    bool ListFilling = false;
    bool BannerWrapped = false;
    // The category whose list is open (index into CategoryList); -1 before the first.
    int OpenCategory = -1;

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
    // How many times the program page was built from daten.txt (tests and benchmarks).
    int PageBuilds() const { return pageBuilds_; }

    // --- operations --------------------------------------------------------------------------------
    // Stops the wave player and plays sound slot n (0..6) from memory, asynchronously.
    void PlaySlotSound(int n);
    int ScreenColourDepth() const;
    // The native name of a file in DataDir, and of any Windows-form app path.
    std::string DataFile(const std::string& name) const;
    static std::string NativeFile(const std::string& appPath);
    // A file as a person finds it on the disc (the native name, in cp1252): what messages show.
    static std::string ShownFile(const std::string& appPath);

    void LoadMenuResourceFile();
    void LoadCategoryIndex();
    void AddCategoryButton(const std::string& name);
    void ScrollCategories(int step);
    void ShowCategory(gui::TComponent* button);
    // Shows the filled program list and the page of its first program.
    void ShowListAndFirstProgram();

    void ShowProgramPage();
    // Hides the program page and its description and forgets which page they showed.
    void HideProgramPage();
    void AddFactRow(const std::string& key, const std::string& value);
    // A value of 25 characters or more is cut to 22 and "..."; second: it was cut.
    static std::pair<std::string, bool> ShortenFactValue(const std::string& text);
    std::string MapToDiscRoot(const std::string& path) const;
    void ShowScreenshot(const std::string& path);
    // Fits source into target keeping its proportions, centred; false (rect untouched) for an empty

    void CycleBanner();
    // Every banner off-screen and still, Timer1 off.
    void ParkBanners();
    // The pseudo-random choice among the banners; seeded from the clock at start-up.
    void SeedRandom(uint32_t seed) { random_.seed(seed); }
    media::TGIFImage* Banner(int index) const;
    // Whether banner index (0..2) has a picture to show: one that did not load is left out.
    bool BannerShowsPicture(int index) const;
    // The banners the strip chooses from (0..2): those the links make available, less those that
    // have no picture.
    std::vector<int> RotatingBanners() const;
    // For previews: banner index alone in the strip, standing still on the frame it holds longest.
    void ShowBannerStill(int index);

    // --- handlers --------------------------------------------------------------------------------
    void FormCreate(gui::TComponent* sender);
    void FormShow(gui::TComponent* sender);
    void FormClose(gui::TComponent* sender, gui::TCloseAction& action);
    void bMinimierenClick(gui::TComponent* sender);
    void bBeenden2Click(gui::TComponent* sender);
    void bInfoClick(gui::TComponent* sender);
    void bPfeilObenMouseDown(gui::TComponent* sender, gui::TMouseButton button, gui::TShiftState shift, int x,
                             int y);
    void bPfeilUntenMouseDown(gui::TComponent* sender, gui::TMouseButton button, gui::TShiftState shift,
                              int x, int y);
    void bRubrikauswahlClick(gui::TComponent* sender);
    void lbProgrammeClick(gui::TComponent* sender);
    void lbProgrammeKeyUp(gui::TComponent* sender, int& key, gui::TShiftState shift);
    void lbProgrammeDblClick(gui::TComponent* sender);
    void lFactsValueClick(gui::TComponent* sender);
    void gbProgrammEnter(gui::TComponent* sender);
    void bVollbildClick(gui::TComponent* sender);
    void iScreenshotDblClick(gui::TComponent* sender);
    void Timer1Timer(gui::TComponent* sender);
    void BannerWrapAnimation(gui::TComponent* sender);
    void BannerChange(gui::TComponent* sender);
    void BannerClick(gui::TComponent* sender);
    // Info page.
    void InfoBeendenClick(gui::TComponent* sender);
    // The keyboard (MainFormKeys.cpp).
    void FormKeyDown(gui::TComponent* sender, int& key, gui::TShiftState shift);
    // Gives the focus to the button of category index (clamped), paging the column to show it.
    void FocusCategory(int index);
    // Tab's stops on the program panel, in order; hidden and disabled ones are skipped when moving.
    std::vector<gui::TControl*> ProgramPanelRing() const;
    // Defined in MainFormActions.cpp.
    void bStartenClick(gui::TComponent* sender);
    void bInstallierenClick(gui::TComponent* sender);
    void bKopierenClick(gui::TComponent* sender);
    void bScreenshotClick(gui::TComponent* sender);
    void bSucheClick(gui::TComponent* sender);

private:
    void BuildLayout();
    void BuildProgramPage();
    void BuildListPanel();
    void LoadSkinPictures();
    void CreateFactRows();
    void FillPage(const TProgramRecord& record);
    void StartPageKey(int& key, gui::TShiftState shift);
    void ProgramPanelKey(int& key, gui::TShiftState shift);
    void InfoPageKey(int& key, gui::TShiftState shift);
    void LeaveInfoPage();
    void ScrollDescription(int key);
    void OpenGallery();
    TSelFolderForm& FolderDialog();

    TDialogs dialogs_;
    bool initialised_ = false;
    bool listBeforeInfo_ = false;  // the program list was open when the info page came in
    WeakOf<gui::TControl> focusBeforeInfo_;
    int pageBuilds_ = 0;
    std::mt19937 random_;
};

// The main window (set while it exists).
extern TMainForm* MainForm;
