#include "app/MainForm.h"

#include <exception>
#include <optional>

#include "app/BannerStrip.h"
#include "app/CategoryColumn.h"
#include "app/FormBuilding.h"
#include "app/InfoFrame.h"
#include "app/Links.h"
#include "app/MenuModel.h"
#include "app/MenuResource.h"
#include "app/ProgramListPanel.h"
#include "app/ProgramPageView.h"
#include "app/SkinFiles.h"
#include "app/Start.h"
#include "base/Cp1252.h"
#include "base/Exceptions.h"
#include "flat/FlatGroupBox.h"
#include "flat/FlatListBox.h"
#include "gui/Application.h"
#include "gui/Image.h"
#include "gui/ImageList.h"
#include "media/WavePlayer.h"
#include "platform/UserPaths.h"
#include "skin/AntiAliasLabel.h"
#include "skin/PicturePanel.h"
#include "skin/SkinButton.h"
#include "skin/SkinForm.h"
#include "zip/ZipFront.h"

TMainForm* MainForm = nullptr;

using layout::MakeFont;
using layout::Place;

// ---- layout -----------------------------------------------------------------------------------

TMainForm::TMainForm(gui::TComponent* owner) : gui::TForm(owner), model_(std::make_unique<TMenuModel>()) {
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

    // Before any button takes an image index: an index beyond an empty list would be cut to -1.
    const std::string skinFolder = SkinFolderOf(ProgramPaths().DataDir());
    auto imageList = [&](const char* name, int width, int height) {
        auto* list = Make<gui::TImageList>(width, height);
        list->SetName(name);
        LoadSkinImageList(*list, skinFolder, name);
        return list;
    };
    ilButtons1_ = imageList("ilButtons1", 60, 80);
    ilButtons2_ = imageList("ilButtons2", 170, 80);
    ilButtons3_ = imageList("ilButtons3", 134, 92);
    ilButtons4_ = imageList("ilButtons4", 17, 68);
    ilGlyphs1_ = imageList("ilGlyphs1", 16, 16);
    banners_ = std::make_unique<TBannerStrip>(*this, model_->BannerLinks());
    WavePlayer1_ = Make<media::TWavePlayer>();
    WavePlayer1_->SetName("WavePlayer1");
    WavePlayer1_->SetAsync(true);
    WavePlayer1_->SetLoop(false);
    WavePlayer1_->SetWaveLocation(media::wlRAM);
    ZipFront1_ = std::make_unique<TZipFront>();
    ZipFront1_->SetExtrOptions({TExtrOptsEnum::ExtrDirNames, TExtrOptsEnum::ExtrOverWrite});
    ZipFront1_->SetUnattended(true);
    ZipFront1_->SetVerbose(false);
    ZipFront1_->SetTrace(false);

    SkinForm1_ = Place<skin::TSkinForm>(this, this, "SkinForm1", 0, 0, 640, 480);
    iLogo_ = Place<gui::TImage>(this, this, "iLogo", 10, 25, 190, 101);
    iLogo_->SetStretch(true);

    column_ = std::make_unique<TCategoryColumn>(*this, ilButtons2_, ilButtons3_);
    column_->OnChoose = [this](int index, const std::string& name) { ShowCategory(index, name); };
    column_->OnPage = [this] { PlaySlotSound(0); };

    auto titleButton = [this](const char* name, int left, const char* glyph, const char* font,
                              const std::string& hint, void (TMainForm::*click)(gui::TComponent*)) {
        auto* b = Place<skin::TSkinButton>(this, this, name, left, 2, 17, 17);
        b->SetImageList(ilButtons4_);
        b->SetImageIndex(0);
        b->SetRoundWidth(8);
        b->SetTextDistance(5);
        b->SetAlignment(gui::taCenter);
        b->SetDisabledFontColor(gfx::clSilver);
        b->SetFont(MakeFont(font, -12, gfx::clWhite, gfx::fsBold));
        b->SetCaption(glyph);
        b->SetHint(hint);
        b->SetShowHint(true);
        b->OnClick = [this, click](gui::TComponent* s) { (this->*click)(s); };
        return b;
    };
    bMinimieren_ =
        titleButton("bMinimieren", 594, "0", "Webdings", "Minimieren", &TMainForm::bMinimierenClick);
    bBeenden2_ =
        titleButton("bBeenden2", 611, "r", "Webdings", base::Cp("Schließen"), &TMainForm::bBeenden2Click);
    bInfo_ = titleButton("bInfo", 577, "i", "MS Sans Serif", "Info", &TMainForm::bInfoClick);

    banners_->PlaceBanners();
    iStart_ = Place<gui::TImage>(this, this, "iStart", 200, 25, 425, 440);
    iStart_->SetAutoSize(true);

    page_ = std::make_unique<TProgramPageView>(*this);
    page_->OnHomepage = [this] { lFactsValueClick(this); };
    page_->OnScreenshotOpen = [this] { bVollbildClick(this); };
    InfoFrame1_ = Make<TInfoFrame>();
    InfoFrame1_->SetParent(this);
    InfoFrame1_->bBeenden()->OnClick = [this](gui::TComponent* s) { InfoBeendenClick(s); };
    page_->BuildDescription();

    list_ = std::make_unique<TProgramListPanel>(*this);
    flat::TFlatListBox* box = list_->lbProgramme();
    box->OnClick = [this](gui::TComponent* s) { lbProgrammeClick(s); };
    box->OnKeyUp = [this](gui::TComponent*, int&, gui::TShiftState) { ShowProgramPage(); };
    BuildActions();

    LoadSkinPicture(*SkinForm1_, skinFolder, "SkinForm1.bmp");
    LoadSkinPicture(*iStart_, skinFolder, "iStart.bmp");
    LoadSkinPicture(*list_->iRubrik(), skinFolder, "iRubrik.bmp");
    page_->LoadPictures(skinFolder);
    InfoFrame1_->LoadPictures(skinFolder);
    // The panels take their background from the skin as it lies behind them now.
    page_->PicturePanel1()->SetSkinForm(SkinForm1_);
    list_->pProgramme()->SetSkinForm(SkinForm1_);
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
        model_->SetPaths(ProgramPaths().WinDataDir(), ProgramPaths().WinDiscRoot());
        column_->Park();
        model_->LoadCategories();
        column_->Fill(model_->Categories());
        LoadResource();
        PlaySlotSound(1);
        // The backend's clock seeds the banner choice: on a virtual one (previews, tests) two runs
        // of one disc show the same banners.
        banners_->Seed(uint32_t(gui::Application->TheBackend().Now()));
        banners_->Cycle();
        page_->CreateFactRows();
        initialised_ = true;
    } catch (...) {
        // The later steps are not carried out; the caller ends the program after the box.
        gui::Application->HandleException(this);
    }
}

void TMainForm::LoadResource() {
    model_->LoadResource();
    const TMenuResource& menu = *model_->Resource();
    InfoFrame1_->lZusammenstellung()->SetCaption(menu.CreditCaptions[0]);
    InfoFrame1_->lRedaktionsassistenz()->SetCaption(menu.CreditCaptions[1]);
    InfoFrame1_->lCopyright()->SetCaption(menu.CreditCaptions[2]);
    if (menu.LogoBitmap) iLogo_->SetPicture(*menu.LogoBitmap);
    for (int i = 0; i < 3; ++i) banners_->Load(i, menu.Banners[size_t(i)]);
}

void TMainForm::FormShow(gui::TComponent*) {
    page_->PicturePanel1()->SetDoubleBuffered(true);
    PlaySlotSound(1);
    if (!column_->Buttons().empty()) FocusControl(column_->Buttons().front());
}

void TMainForm::FormClose(gui::TComponent*, gui::TCloseAction&) {
    model_->ForgetCategories();
    PlaySlotSound(6);
    // The farewell sound plays on from this memory after the window has gone.
    static std::vector<uint8_t> farewell;
    if (model_->Resource()) farewell = model_->ReleaseSounds();
    page_->DestroyFactRows();
}

void TMainForm::bMinimierenClick(gui::TComponent*) {
    PlaySlotSound(0);
    gui::Application->Minimize();
}

void TMainForm::bBeenden2Click(gui::TComponent*) {
    Close();
}

void TMainForm::PlaySlotSound(int n) {
    WavePlayer1_->Stop();
    const std::vector<uint8_t>* slot = model_->Sound(n);
    WavePlayer1_->SetWaveMemory(slot ? slot->data() : nullptr, slot ? slot->size() : 0);
    WavePlayer1_->Play();
}

// ---- categories, list and page ----------------------------------------------------------------

void TMainForm::ShowCategory(int index, const std::string& name) {
    PlaySlotSound(0);
    list_->SetHeading(name);
    try {
        model_->OpenCategoryList(index, name);
    } catch (...) {
        list_->Fill({});  // a list that cannot be read shows nothing, not the one before
        throw;
    }
    list_->Fill(model_->Listed());
    ShowListAndFirstProgram();
}

void TMainForm::ShowListAndFirstProgram() {
    skin::TPicturePanel* panel = list_->pProgramme();
    panel->Show();
    panel->SetLeft(column_->Buttons().empty() ? 15 : column_->Buttons().front()->Left());
    if (list_->lbProgramme()->CanFocus()) list_->lbProgramme()->SetFocus();
    // An empty category has no first program: the list stays empty beside the start picture.
    if (!list_->ShowFirst()) {
        HideProgramPage();
        iStart_->Show();
        return;
    }
    lbProgrammeClick(list_->lbProgramme());
}

void TMainForm::lbProgrammeClick(gui::TComponent*) {
    PlaySlotSound(0);
    const int count = list_->Count();
    if (list_->Index() > count - 1) list_->lbProgramme()->SetItemIndex(count - 1);
    ShowProgramPage();
}

void TMainForm::ShowProgramPage() {
    const int count = list_->Count();
    // An empty list has no page to show: whatever stands on the right stays.
    if (count == 0 && !list_->Filling()) return;
    iStart_->Hide();
    if (list_->Filling()) return;
    if (list_->Index() > count - 1) list_->lbProgramme()->SetItemIndex(count - 1);
    const int index = list_->Index();
    // Nothing selected (an empty list, or a click beside the entries): there is no page to build.
    if (index < 0 || index >= count) return;
    const std::string selected = list_->Entry(index);
    page_->SetTitle(selected);
    if (selected == shownProgram_ && model_->Heading() == shownHeading_) return;
    shownProgram_ = selected;
    shownHeading_ = model_->Heading();

    THourglass busy;
    page_->PicturePanel1()->Show();
    std::optional<TProgramRecord> record;
    std::exception_ptr cut;  // a record cut short fails after the old page has been cleared
    try {
        record = model_->FindRecord(selected, model_->Heading());
    } catch (const base::EStringListError&) {
        cut = std::current_exception();
    } catch (...) {
        // Not shown: choosing this program again, once the disc is back, must read it anew.
        shownProgram_.clear();
        shownHeading_.clear();
        throw;
    }
    model_->BeginPage(selected);
    page_->ClearFacts();
    if (cut) std::rethrow_exception(cut);
    // A program without a record gets an empty page: left as it was, it would show the previous
    // program's picture and text, and its buttons would act on that program.
    model_->SetPage(record ? &*record : nullptr);
    const std::string& shot = model_->Page().ScreenshotPath;
    page_->Fill(model_->Page(), shot.empty() ? std::string() : TMenuModel::NativeFile(shot));
    EnableActions();
    list_->SetHeading(model_->Heading());
    list_->SetPlace(index, count);
    page_->Show();
}

void TMainForm::HideProgramPage() {
    // A hidden page must be built again by the next show, even for the same program and heading.
    shownProgram_.clear();
    shownHeading_.clear();
    page_->Hide();
}

void TMainForm::lFactsValueClick(gui::TComponent*) {
    OpenLink("http://" + model_->Page().HomepageUrl);
}

// ---- info page --------------------------------------------------------------------------------

void TMainForm::bInfoClick(gui::TComponent*) {
    PlaySlotSound(0);
    InfoFrame1_->LoadBackground();
    InfoFrame1_->SetLeft(0);
    bInfo_->SetEnabled(false);
    listBeforeInfo_ = list_->pProgramme()->Visible();
    focusBeforeInfo_ = WeakOf<gui::TControl>(FocusedControl());
    page_->PicturePanel1()->Hide();
    list_->pProgramme()->Hide();
    // The page's own button holds the focus while it covers the window.
    FocusControl(InfoFrame1_->bBeenden());
}

void TMainForm::InfoBeendenClick(gui::TComponent*) {
    PlaySlotSound(0);
    InfoFrame1_->SetLeft(640);
    bInfo_->SetEnabled(true);
    const bool page = page_->gbProgramm()->Visible();
    page_->PicturePanel1()->SetVisible(page);
    // An empty category's list has no page under it, but was open all the same.
    list_->pProgramme()->SetVisible(page || listBeforeInfo_);
    LeaveInfoPage();
}
