#include "app/MainForm.h"

#include <algorithm>

#include "app/Catalogue.h"
#include "app/FormBuilding.h"
#include "app/InfoFrame.h"
#include "app/MenuResource.h"
#include "app/SkinFiles.h"
#include "app/Start.h"
#include "app/TextHelpers.h"
#include "app/VollbildForm.h"
#include "base/Cp1252.h"
#include "base/Exceptions.h"
#include "base/MemoryStream.h"
#include "base/Paths.h"
#include "base/StrUtils.h"
#include "flat/FlatButton.h"
#include "flat/FlatGroupBox.h"
#include "flat/FlatListBox.h"
#include "flat/FlatScrollbar.h"
#include "gui/Application.h"
#include "gui/Image.h"
#include "gui/ImageList.h"
#include "gui/Label.h"
#include "gui/Panel.h"
#include "gui/Screen.h"
#include "gui/Timer.h"
#include "gui/backend/Automation.h"
#include "media/GIFImage.h"
#include "media/WavePlayer.h"
#include "platform/Services.h"
#include "platform/Shell.h"
#include "platform/UserPaths.h"
#include "skin/AntiAliasLabel.h"
#include "skin/GlyphButton.h"
#include "skin/PicturePanel.h"
#include "skin/SkinButton.h"
#include "skin/SkinForm.h"
#include "skin/TransText.h"
#include "zip/ZipFront.h"

TMainForm* MainForm = nullptr;

namespace {

constexpr int kThumbWidth = 261, kThumbHeight = 196;

using layout::MakeFont;
using layout::Place;

}  // namespace

// ---- layout -----------------------------------------------------------------------------------

TMainForm::TMainForm(gui::TComponent* owner) : gui::TForm(owner) {
    MainForm = this;
    BeginLoading();
    BuildLayout();
    Loaded();
    OnCreate = [this](gui::TComponent* s) { FormCreate(s); };
    OnShow = [this](gui::TComponent* s) { FormShow(s); };
    OnClose = [this](gui::TComponent* s, gui::TCloseAction& a) { FormClose(s, a); };
    SetKeyPreview(true);
    SetFocusMarks(true);
    OnKeyDown = [this](gui::TComponent* s, int& key, gui::TShiftState shift) { FormKeyDown(s, key, shift); };
}

TMainForm::~TMainForm() {
    if (MainForm == this) MainForm = nullptr;
}

void TMainForm::BuildLayout() {
    SetName("MainForm");
    SetCaption(base::Cp("Menü"));
    SetBorderStyle(gui::bsNone);
    SetBorderIcons(0);
    SetPosition(gui::poScreenCenter);
    SetBounds(0, 0, 640, 480);
    SetColor(gfx::RGB(40, 48, 64));
    SetShowHint(true);

    ilButtons1 = Make<gui::TImageList>(60, 80);
    ilButtons1->SetName("ilButtons1");
    ilButtons2 = Make<gui::TImageList>(170, 80);
    ilButtons2->SetName("ilButtons2");
    ilButtons3 = Make<gui::TImageList>(134, 92);
    ilButtons3->SetName("ilButtons3");
    ilButtons4 = Make<gui::TImageList>(17, 68);
    ilButtons4->SetName("ilButtons4");
    ilGlyphs1 = Make<gui::TImageList>(16, 16);
    ilGlyphs1->SetName("ilGlyphs1");
    // Before any button takes an image index: an index beyond an empty list would be cut to -1.
    const std::string skinFolder = SkinFolderOf(ProgramPaths().DataDir());
    LoadSkinImageList(*ilButtons1, skinFolder, "ilButtons1");
    LoadSkinImageList(*ilButtons2, skinFolder, "ilButtons2");
    LoadSkinImageList(*ilButtons3, skinFolder, "ilButtons3");
    LoadSkinImageList(*ilButtons4, skinFolder, "ilButtons4");
    LoadSkinImageList(*ilGlyphs1, skinFolder, "ilGlyphs1");
    Timer1 = Make<gui::TTimer>();
    Timer1->SetName("Timer1");
    Timer1->SetInterval(20000);
    Timer1->SetEnabled(true);
    Timer1->SetOnTimer([this](gui::TComponent* s) { Timer1Timer(s); });
    WavePlayer1 = Make<media::TWavePlayer>();
    WavePlayer1->SetName("WavePlayer1");
    WavePlayer1->SetAsync(true);
    WavePlayer1->SetLoop(false);
    WavePlayer1->SetWaveLocation(media::wlRAM);
    ZipFront1 = std::make_unique<TZipFront>();
    ZipFront1->SetExtrOptions({TExtrOptsEnum::ExtrDirNames, TExtrOptsEnum::ExtrOverWrite});
    ZipFront1->SetUnattended(true);
    ZipFront1->SetVerbose(false);
    ZipFront1->SetTrace(false);

    SkinForm1 = Place<skin::TSkinForm>(this, this, "SkinForm1", 0, 0, 640, 480);

    iLogo = Place<gui::TImage>(this, this, "iLogo", 10, 25, 190, 101);
    iLogo->SetStretch(true);

    bRubrik1 = Place<skin::TSkinButton>(this, this, "bRubrik1", 23, 99, 170, 20);
    bRubrik1->SetImageList(ilButtons2);
    bRubrik1->SetImageIndex(0);
    bRubrik1->SetFont(MakeFont("Arial", -11, gfx::clWhite));
    bRubrik1->SetDisabledFontColor(gfx::clSilver);
    bRubrik1->SetRoundWidth(85);
    bRubrik1->SetTextDistance(10);
    bRubrik1->SetAlignment(gui::taLeftJustify);

    bPfeilOben = Place<skin::TSkinButton>(this, this, "bPfeilOben", 31, 130, 133, 23);
    bPfeilOben->SetImageList(ilButtons3);
    bPfeilOben->SetImageIndex(0);
    bPfeilOben->SetRoundWidth(67);
    bPfeilOben->SetEnabled(false);
    bPfeilOben->OnMouseDown = [this](gui::TComponent* s, gui::TMouseButton b, gui::TShiftState sh, int x,
                                     int y) { bPfeilObenMouseDown(s, b, sh, x, y); };
    bPfeilUnten = Place<skin::TSkinButton>(this, this, "bPfeilUnten", 35, 360, 133, 23);
    bPfeilUnten->SetImageList(ilButtons3);
    bPfeilUnten->SetImageIndex(1);
    bPfeilUnten->SetRoundWidth(67);
    bPfeilUnten->OnMouseDown = [this](gui::TComponent* s, gui::TMouseButton b, gui::TShiftState sh, int x,
                                      int y) { bPfeilUntenMouseDown(s, b, sh, x, y); };

    auto titleButton = [this](const char* name, int left, const char* glyph, const char* font,
                              const std::string& hint) {
        auto* b = Place<skin::TSkinButton>(this, this, name, left, 2, 17, 17);
        b->SetImageList(ilButtons4);
        b->SetImageIndex(0);
        b->SetRoundWidth(8);
        b->SetTextDistance(5);
        b->SetAlignment(gui::taCenter);
        b->SetDisabledFontColor(gfx::clSilver);
        b->SetFont(MakeFont(font, -12, gfx::clWhite, gfx::fsBold));
        b->SetCaption(glyph);
        b->SetHint(hint);
        b->SetShowHint(true);
        return b;
    };
    bMinimieren = titleButton("bMinimieren", 594, "0", "Webdings", "Minimieren");
    bMinimieren->OnClick = [this](gui::TComponent* s) { bMinimierenClick(s); };
    bBeenden2 = titleButton("bBeenden2", 611, "r", "Webdings", base::Cp("Schließen"));
    bBeenden2->OnClick = [this](gui::TComponent* s) { bBeenden2Click(s); };
    bInfo = titleButton("bInfo", 577, "i", "MS Sans Serif", "Info");
    bInfo->OnClick = [this](gui::TComponent* s) { bInfoClick(s); };

    const std::pair<const char*, gfx::TPoint> banners[] = {
        {"iBanner1", {15, 395}}, {"ibanner2", {-170, 160}}, {"iBanner3", {-170, 288}}};
    media::TGIFImage** slots[] = {&iBanner1, &ibanner2, &iBanner3};
    for (int i = 0; i < 3; ++i) {
        auto* g = Place<media::TGIFImage>(this, this, banners[i].first, banners[i].second.X,
                                          banners[i].second.Y, 170, 70);
        g->SetCursor(gui::crHandPoint);
        g->SetAutoSize(false);
        g->SetCenter(false);
        g->SetFirstImageOnly(false);
        g->SetLoop(false);
        g->SetOpaque(false);
        g->SetStretch(true);
        g->SetStretchRatio(false);
        g->SetStretchBigOnly(false);
        g->SetTile(false);
        g->SetThreaded(false);
        g->SetAnimate(true);
        g->OnWrapAnimation = [this](gui::TComponent* s) { BannerWrapAnimation(s); };
        g->OnChange = [this](gui::TComponent* s) { BannerChange(s); };
        g->OnClick = [this](gui::TComponent* s) { BannerClick(s); };
        *slots[i] = g;
    }

    iStart = Place<gui::TImage>(this, this, "iStart", 200, 25, 425, 440);
    iStart->SetAutoSize(true);

    BuildProgramPage();

    InfoFrame1 = Make<TInfoFrame>();
    InfoFrame1->SetParent(this);
    InfoFrame1->bBeenden->OnClick = [this](gui::TComponent* s) { InfoBeendenClick(s); };

    PicturePanel1 = Place<skin::TPicturePanel>(this, this, "PicturePanel1", 216, 256, 401, 176);
    PicturePanel1->SetVisible(false);
    TransText1 = Place<skin::TTransText>(this, PicturePanel1, "TransText1", 0, 5, 382, 166);
    TransText1->SetFont(MakeFont("Verdana", -11, gfx::clBlack));
    TransText1->SetAlignment(skin::ttaLeft);
    TransText1->Text().Clear();
    TransText1->Text().Add("---");
    FlatScrollbar1 = Place<flat::TFlatScrollbar>(this, PicturePanel1, "FlatScrollbar1", 383, 4, 12, 148);
    FlatScrollbar1->SetKind(flat::sbVertical);
    FlatScrollbar1->SetBounds(383, 4, 12, 148);
    FlatScrollbar1->SetSmallChange(2);
    FlatScrollbar1->SetLargeChange(10);
    TransText1->SetScrollbar(FlatScrollbar1);
    lBesonderheiten1 = Place<gui::TLabel>(this, PicturePanel1, "lBesonderheiten1", 0, 157, 110, 14);
    lBesonderheiten1->SetTransparent(true);
    lBesonderheiten1->SetFont(MakeFont("Verdana", -11, gfx::clBlack, gfx::fsBold));
    lBesonderheiten1->SetCaption("Besonderheiten:");
    lBesonderheiten2 = Place<gui::TLabel>(this, PicturePanel1, "lBesonderheiten2", 112, 157, 270, 14);
    lBesonderheiten2->SetTransparent(true);
    lBesonderheiten2->SetFont(MakeFont("Verdana", -11, gfx::clBlack));
    lBesonderheiten2->SetCaption("");

    BuildListPanel();
    LoadSkinPictures();
}

void TMainForm::BuildProgramPage() {
    gbProgramm = Place<flat::TFlatGroupBox>(this, this, "gbProgramm", 200, 25, 438, 440);
    gbProgramm->SetVisible(false);
    gbProgramm->SetTransparent(true);
    gbProgramm->SetBorder(flat::brOnlyTopLine);
    // No colour of its own: the system draws an unknown system colour black.
    gbProgramm->SetColorBorder(gfx::TColor(0xFFFFFFFF));
    gbProgramm->SetFont(MakeFont("Arial", -17, gfx::clBlack, gfx::fsBold));
    gbProgramm->SetCaption("");
    gbProgramm->OnEnter = [this](gui::TComponent* s) { gbProgrammEnter(s); };

    Panel1 = Place<gui::TPanel>(this, gbProgramm, "Panel1", 15, 30, kThumbWidth, kThumbHeight);
    Panel1->SetBevelOuter(gui::bvNone);
    Panel1->SetCaption("");
    Panel1->SetColor(gfx::RGB(240, 240, 240));
    iScreenshot = Place<gui::TImage>(this, Panel1, "iScreenshot", 0, 0, kThumbWidth, kThumbHeight);
    iScreenshot->SetCenter(true);
    iScreenshot->OnDblClick = [this](gui::TComponent* s) { iScreenshotDblClick(s); };

    iFacts = Place<gui::TImage>(this, gbProgramm, "iFacts", 285, 30, 130, 13);
    iFacts->SetVisible(false);
    lFactsKey = Place<gui::TLabel>(this, gbProgramm, "lFactsKey", 285, 30, 130, 13);
    lFactsKey->SetAutoSize(false);
    lFactsKey->SetBounds(285, 30, 130, 13);
    lFactsKey->SetAlignment(gui::taCenter);
    lFactsKey->SetFont(MakeFont("Arial", -11, gfx::clWhite, gfx::fsBold));
    lFactsKey->SetTransparent(true);
    lFactsKey->SetVisible(false);
    lFactsValue = Place<gui::TLabel>(this, gbProgramm, "lFactsValue", 285, 45, 130, 13);
    lFactsValue->SetAutoSize(false);
    lFactsValue->SetBounds(285, 45, 130, 13);
    lFactsValue->SetAlignment(gui::taCenter);
    lFactsValue->SetFont(MakeFont("Arial", -9, gfx::clBlack));
    lFactsValue->SetTransparent(true);
    lFactsValue->SetVisible(false);
    lFactsValue->OnClick = [this](gui::TComponent* s) { lFactsValueClick(s); };

    bVollbild = Place<skin::TGlyphButton>(this, gbProgramm, "bVollbild", 384, 10, 20, 20);
    bVollbild->SetImageList(ilGlyphs1);
    bVollbild->SetImageIndex(0);
    bVollbild->SetHint("Vollbild-Screenshot");
    bVollbild->SetShowHint(true);
    bVollbild->OnClick = [this](gui::TComponent* s) { bVollbildClick(s); };
    bScreenshot = Place<skin::TGlyphButton>(this, gbProgramm, "bScreenshot", 404, 10, 20, 20);
    bScreenshot->SetImageList(ilGlyphs1);
    bScreenshot->SetImageIndex(1);
    bScreenshot->SetHint("Explorer");
    bScreenshot->SetShowHint(true);
    bScreenshot->OnClick = [this](gui::TComponent* s) { bScreenshotClick(s); };

    auto actionButton = [this](const char* name, int left, int image, const char* caption) {
        return layout::MakeTextButton(this, gbProgramm, name, left, 410, 80, 20, ilButtons1, image, caption);
    };
    bSuche = actionButton("bSuche", 15, 1, "Suche");
    bSuche->OnClick = [this](gui::TComponent* s) { bSucheClick(s); };
    bStarten = actionButton("bStarten", 157, 0, "Starten");
    bStarten->OnClick = [this](gui::TComponent* s) { bStartenClick(s); };
    bKopieren = actionButton("bKopieren", 243, 0, "Kopieren");
    bKopieren->OnClick = [this](gui::TComponent* s) { bKopierenClick(s); };
    bInstallieren = actionButton("bInstallieren", 329, 0, "Installieren");
    bInstallieren->OnClick = [this](gui::TComponent* s) { bInstallierenClick(s); };
}

void TMainForm::BuildListPanel() {
    pProgramme = Place<skin::TPicturePanel>(this, this, "pProgramme", 8, 128, 170, 265);
    pProgramme->SetVisible(false);
    iRubrik = Place<gui::TImage>(this, pProgramme, "iRubrik", 0, 0, 170, 20);
    lRubrik = Place<gui::TLabel>(this, pProgramme, "lRubrik", 5, 4, 160, 14);
    lRubrik->SetTransparent(true);
    lRubrik->SetFont(MakeFont("Arial", -11, gfx::clWhite));
    lbProgramme = Place<flat::TFlatListBox>(this, pProgramme, "lbProgramme", 0, 20, 170, 214);
    lbProgramme->SetColor(gfx::clBlack);
    lbProgramme->SetColorArrow(gfx::clWhite);
    lbProgramme->SetColorBorder(gfx::clBlack);
    lbProgramme->SetColorItemsSelect(gfx::clSilver);
    lbProgramme->SetFont(MakeFont("MS Sans Serif", -11, gfx::clBlack));
    lbProgramme->SetScrollBars(true);
    lbProgramme->OnClick = [this](gui::TComponent* s) { lbProgrammeClick(s); };
    lbProgramme->OnKeyUp = [this](gui::TComponent* s, int& k, gui::TShiftState sh) {
        lbProgrammeKeyUp(s, k, sh);
    };
    lbProgramme->OnDblClick = [this](gui::TComponent* s) { lbProgrammeDblClick(s); };
    bRubrikauswahl = Place<flat::TFlatButton>(this, pProgramme, "bRubrikauswahl", 0, 233, 170, 15);
    bRubrikauswahl->SetColor(gfx::clBtnFace);
    bRubrikauswahl->SetFont(MakeFont("Arial", -11, gfx::clBlack));
    bRubrikauswahl->SetCaption("Rubrikauswahl");
    bRubrikauswahl->OnClick = [this](gui::TComponent* s) { bRubrikauswahlClick(s); };
    lAnzahlProgramme = Place<gui::TLabel>(this, pProgramme, "lAnzahlProgramme", 0, 248, 170, 15);
    lAnzahlProgramme->SetAutoSize(false);
    lAnzahlProgramme->SetBounds(0, 248, 170, 15);
    lAnzahlProgramme->SetAlignment(gui::taRightJustify);
    lAnzahlProgramme->SetTransparent(true);
    lAnzahlProgramme->SetFont(MakeFont("Arial", -11, gfx::clWhite));
    lAnzahlProgramme->SetCaption("");
}

void TMainForm::LoadSkinPictures() {
    const std::string folder = SkinFolderOf(ProgramPaths().DataDir());
    LoadSkinPicture(*SkinForm1, folder, "SkinForm1.bmp");
    LoadSkinPicture(*iStart, folder, "iStart.bmp");
    LoadSkinPicture(*iRubrik, folder, "iRubrik.bmp");
    LoadSkinPicture(*iFacts, folder, "iFacts.bmp");
    InfoFrame1->LoadPictures(folder);
    // The panels take their background from the skin as it lies behind them now.
    PicturePanel1->SetSkinForm(SkinForm1);
    pProgramme->SetSkinForm(SkinForm1);
}

// ---- start-up and closing ---------------------------------------------------------------------

int TMainForm::ScreenColourDepth() const {
    return gui::Screen ? gui::Screen->ColorDepth() : 32;
}

void TMainForm::FormCreate(gui::TComponent*) {
    try {
        if (ScreenColourDepth() <= 8)
            gui::Application->Warning(
                base::Cp("Wir empfehlen eine Farbtiefe von mindestens 16 Bit (65.536 Farben) zur optimalen "
                         "Darstellung des CD-Menüs."));
        DiscRoot = ProgramPaths().WinDiscRoot();
        DataDir = ProgramPaths().WinDataDir();
        if (DataDir.empty() || DataDir.back() != '\\') DataDir += '\\';
        bPfeilOben->SetLeft(-200);
        bPfeilUnten->SetLeft(-200);
        bRubrik1->SetLeft(-200);
        LoadCategoryIndex();
        LoadMenuResourceFile();
        PlaySlotSound(1);
        // The backend's clock seeds the banner choice: on a virtual one (previews, tests) two runs
        // of one disc show the same banners.
        SeedRandom(uint32_t(gui::Application->TheBackend().Now()));
        CycleBanner();
        CreateFactRows();
        initialised_ = true;
    } catch (...) {
        // The later steps are not carried out; the caller ends the program after the box.
        gui::Application->HandleException(this);
    }
}

void TMainForm::CreateFactRows() {
    for (int k = 0; k < 6; ++k) {
        TFactRow& row = FactRows[size_t(k)];
        const std::string n = std::to_string(k + 1);
        row.Picture = Place<gui::TImage>(this, gbProgramm, ("iFact" + n).c_str(), 200, 200, 0, 0);
        row.Picture->SetVisible(false);
        row.Key = Place<gui::TLabel>(this, gbProgramm, ("lFactKey" + n).c_str(), 200, 200, 0, 0);
        row.Key->SetVisible(false);
        row.Value = Place<gui::TLabel>(this, gbProgramm, ("lFactValue" + n).c_str(), 200, 200, 0, 0);
        row.Value->SetVisible(false);
    }
}

void TMainForm::FormShow(gui::TComponent*) {
    PicturePanel1->SetDoubleBuffered(true);
    PlaySlotSound(1);
    if (!CategoryButtons.empty()) FocusControl(CategoryButtons.front());
}

void TMainForm::FormClose(gui::TComponent*, gui::TCloseAction&) {
    CategoryList.clear();
    PlaySlotSound(6);
    if (MenuData) {
        // The farewell sound plays on from this memory after the window has gone.
        static std::vector<uint8_t> farewell;
        farewell = std::move(MenuData->SoundSlots[6]);
        for (int i = 0; i < 6; ++i) std::vector<uint8_t>().swap(MenuData->SoundSlots[size_t(i)]);
    }
    for (TFactRow& row : FactRows) {
        delete row.Picture;
        delete row.Key;
        delete row.Value;
        row = {};
    }
    FactRowCount = 0;
}

void TMainForm::bMinimierenClick(gui::TComponent*) {
    PlaySlotSound(0);
    gui::Application->Minimize();
}

void TMainForm::bBeenden2Click(gui::TComponent*) {
    Close();
}

// ---- sounds and data files --------------------------------------------------------------------

void TMainForm::PlaySlotSound(int n) {
    WavePlayer1->Stop();
    if (MenuData && n >= 0 && n < 7) {
        const std::vector<uint8_t>& slot = MenuData->SoundSlots[size_t(n)];
        WavePlayer1->SetWaveMemory(slot.empty() ? nullptr : slot.data(), slot.size());
    } else {
        WavePlayer1->SetWaveMemory(nullptr, 0);
    }
    WavePlayer1->Play();
}

std::string TMainForm::NativeFile(const std::string& appPath) {
    return platform::Services().paths.Resolve(appPath);
}

std::string TMainForm::ShownFile(const std::string& appPath) {
    return platform::ShownPath(NativeFile(appPath));
}

std::string TMainForm::DataFile(const std::string& name) const {
    return NativeFile(DataDir + name);
}

namespace {

// A data file of the disc; a failure names the file as it was looked for.
void LoadCatalogue(TCatalogue& catalogue, const std::string& nativeName) {
    try {
        catalogue.Load(nativeName);
    } catch (const base::EFOpenError&) {
        throw base::EFOpenError::CannotOpen(platform::ShownPath(nativeName));
    }
}

}  // namespace

void TMainForm::LoadMenuResourceFile() {
    std::unique_ptr<TMenuResource> menu;
    try {
        menu = std::make_unique<TMenuResource>(::LoadMenuResourceFile(DataFile("Menue.dat")));
    } catch (const base::EFOpenError&) {
        throw base::EFOpenError::CannotOpen(ShownFile(DataDir + "Menue.dat"));
    }
    InfoFrame1->lZusammenstellung->SetCaption(menu->CreditCaptions[0]);
    InfoFrame1->lRedaktionsassistenz->SetCaption(menu->CreditCaptions[1]);
    InfoFrame1->lCopyright->SetCaption(menu->CreditCaptions[2]);
    BannerLinks = menu->BannerLinks;
    if (menu->LogoBitmap) iLogo->SetPicture(*menu->LogoBitmap);
    for (int i = 0; i < 3; ++i) {
        const std::vector<uint8_t>& blob = menu->Banners[size_t(i)];
        base::TMemoryStream stream(blob);
        Banner(i)->LoadFromStream(stream);
    }
    MenuData = std::move(menu);
}

// ---- categories and program list --------------------------------------------------------------

void TMainForm::LoadCategoryIndex() {
    CategoryCount = 0;
    CategoryButtonCount = 0;
    TCatalogue progname;
    LoadCatalogue(progname, DataFile("progname.txt"));
    for (std::string& name : ReadCategoryList(progname)) {
        CategoryList.push_back(std::move(name));
        ++CategoryCount;
    }
    FirstVisibleCategory = 0;
    if (CategoryCount <= 13) {
        for (int i = 0; i < CategoryCount; ++i) AddCategoryButton(CategoryList[size_t(i)]);
        VisibleCategoryCount = CategoryCount;
    } else {
        for (int i = 0; i < 10; ++i) AddCategoryButton(CategoryList[size_t(i)]);
        VisibleCategoryCount = 10;
        bPfeilOben->SetBounds(31, 130, bPfeilOben->Width(), bPfeilOben->Height());
        skin::TSkinButton* tenth = CategoryButtons[9];
        bPfeilUnten->SetBounds(31, tenth->Top() + tenth->Height() + 3, bPfeilUnten->Width(),
                               bPfeilUnten->Height());
    }
}

void TMainForm::AddCategoryButton(const std::string& name) {
    auto* b = Make<skin::TSkinButton>();
    b->SetName("bRubrik" + std::to_string(CategoryButtonCount + 2));
    b->SetParent(this);
    b->SetWidth(bRubrik1->Width());
    b->SetHeight(bRubrik1->Height());
    b->SetImageList(bRubrik1->ImageList());
    b->SetImageIndex(bRubrik1->ImageIndex());
    b->SetFont(bRubrik1->Font());
    b->SetDisabledFontColor(bRubrik1->DisabledFontColor());
    b->SetRoundWidth(bRubrik1->RoundWidth());
    b->SetTextDistance(bRubrik1->TextDistance());
    b->SetAlignment(bRubrik1->Alignment());
    b->SetCaption(name);
    b->SetLeft(15);
    if (CategoryButtons.empty())
        b->SetTop(CategoryCount <= 13 ? 130 : 153);
    else
        b->SetTop(CategoryButtons.back()->Top() + bRubrik1->Height());
    b->OnClick = [this](gui::TComponent* s) { ShowCategory(s); };
    CategoryButtons.push_back(b);
    ++CategoryButtonCount;
}

void TMainForm::ScrollCategories(int step) {
    const int n = int(CategoryList.size());
    const int v = VisibleCategoryCount;
    FirstVisibleCategory += step;
    if (FirstVisibleCategory < 0) FirstVisibleCategory = 0;
    bPfeilUnten->SetEnabled(FirstVisibleCategory <= n - 1 - v);
    if (FirstVisibleCategory > n - v) FirstVisibleCategory = n - v;
    bPfeilOben->SetEnabled(FirstVisibleCategory != 0);
    for (int k = 0; k < v && k < int(CategoryButtons.size()); ++k) {
        const int index = FirstVisibleCategory + k;
        if (index >= 0 && index < n) CategoryButtons[size_t(k)]->SetCaption(CategoryList[size_t(index)]);
    }
}

void TMainForm::bPfeilObenMouseDown(gui::TComponent*, gui::TMouseButton, gui::TShiftState, int, int) {
    // A disabled arrow takes no presses (the skin button still sees the mouse).
    if (!bPfeilOben->Enabled()) return;
    PlaySlotSound(0);
    ScrollCategories(-1);
}

void TMainForm::bPfeilUntenMouseDown(gui::TComponent*, gui::TMouseButton, gui::TShiftState, int, int) {
    if (!bPfeilUnten->Enabled()) return;
    PlaySlotSound(0);
    ScrollCategories(+1);
}

void TMainForm::ShowCategory(gui::TComponent* button) {
    PlaySlotSound(0);
    for (int k = 0; k < VisibleCategoryCount && k < int(CategoryButtons.size()); ++k)
        if (CategoryButtons[size_t(k)] == button) {
            CurrentCategory = CategoryButtons[size_t(k)]->Caption();
            OpenCategory = FirstVisibleCategory + k;
        }
    lRubrik->SetCaption(EscapeAmpersand(CurrentCategory));
    lbProgramme->Items().Clear();
    TCatalogue progname;
    LoadCatalogue(progname, DataFile("progname.txt"));
    for (const std::string& program : ReadCategoryPrograms(progname, UnescapeAmpersand(lRubrik->Caption())))
        lbProgramme->Items().Add(program);
    ShowListAndFirstProgram();
}

void TMainForm::ShowListAndFirstProgram() {
    pProgramme->Show();
    pProgramme->SetLeft(CategoryButtons.empty() ? 15 : CategoryButtons.front()->Left());
    if (lbProgramme->CanFocus()) lbProgramme->SetFocus();
    // An empty category has no first program: the list stays empty beside the start picture.
    if (lbProgramme->Items().Count() < 1) {
        HideProgramPage();
        lbProgramme->SetItemIndex(-1);
        lAnzahlProgramme->SetCaption("0/0");
        iStart->Show();
        return;
    }
    // Index 1 first, so that the list repaints even when it was at 0 already.
    if (lbProgramme->Items().Count() > 1) lbProgramme->SetItemIndex(1);
    lbProgramme->SetItemIndex(0);
    int home = gui::VK_HOME;
    lbProgramme->KeyDown(home, 0);
    lbProgrammeClick(lbProgramme);
    CurrentProgram = lbProgramme->Items().Strings(0);
    ShowProgramPage();
}

void TMainForm::HideProgramPage() {
    // A hidden page must be built again by the next show, even for the same program and heading.
    LastShownCategory.clear();
    LastShownProgram.clear();
    gbProgramm->Hide();
    PicturePanel1->Hide();
}

void TMainForm::bRubrikauswahlClick(gui::TComponent*) {
    pProgramme->Hide();
    HideProgramPage();
    PlaySlotSound(0);
    iStart->Show();
    FocusCategory(OpenCategory < 0 ? FirstVisibleCategory : OpenCategory);
}

void TMainForm::lbProgrammeClick(gui::TComponent*) {
    PlaySlotSound(0);
    const int count = lbProgramme->Items().Count();
    if (lbProgramme->ItemIndex() > count - 1) lbProgramme->SetItemIndex(count - 1);
    ShowProgramPage();
}

void TMainForm::lbProgrammeKeyUp(gui::TComponent*, int&, gui::TShiftState) {
    ShowProgramPage();
}

void TMainForm::lbProgrammeDblClick(gui::TComponent*) {}
