// TMainForm, continued: the actions table and the handlers of its rows — Starten, Installieren or
// Entpacken, Kopieren, Explorer, Vollbild, Suche and Rubrikauswahl — and the full-screen gallery.
#include <algorithm>

#include "app/CategoryColumn.h"
#include "app/FormBuilding.h"
#include "app/Links.h"
#include "app/MainForm.h"
#include "app/MenuModel.h"
#include "app/PageActions.h"
#include "app/ProgramListPanel.h"
#include "app/ProgramPageView.h"
#include "app/SelFolderForm.h"
#include "app/SuchenForm.h"
#include "app/TextHelpers.h"
#include "app/VollbildForm.h"
#include "base/Exceptions.h"
#include "base/Paths.h"
#include "base/StrUtils.h"
#include "flat/FlatButton.h"
#include "flat/FlatEdit.h"
#include "flat/FlatListBox.h"
#include "gui/Application.h"
#include "gui/CopyProgressForm.h"
#include "gui/Edit.h"
#include "gui/Image.h"
#include "gui/Keys.h"
#include "gui/Label.h"
#include "platform/FileOps.h"
#include "platform/Services.h"
#include "platform/Shell.h"
#include "skin/PicturePanel.h"
#include "zip/ZipFront.h"

namespace {

bool HasRecord(const TMenuModel& m) {
    return m.PageHasRecord();
}

// Tab places: the list comes first; the page's own stops sit between these (TProgramPageView::TabStops).
constexpr int kListPlace = 10;
constexpr TPageAction kActions[] = {
    {"bVollbild",
     TActionButton::kGlyph,
     384,
     10,
     0,
     "Vollbild-Screenshot",
     HasRecord,
     nullptr,
     &TMainForm::bVollbildClick,
     {{{gui::VK_F11, false}}},
     TActionScope::kProgramPage,
     70},
    {"bScreenshot",
     TActionButton::kGlyph,
     404,
     10,
     1,
     "Explorer",
     HasRecord,
     nullptr,
     &TMainForm::bScreenshotClick,
     {},
     TActionScope::kProgramPanel,
     80},
    {"bSuche",
     TActionButton::kText,
     15,
     410,
     1,
     "Suche",
     nullptr,
     nullptr,
     &TMainForm::bSucheClick,
     {{{'F', true}, {gui::VK_F3, false}}},
     TActionScope::kAnywhere,
     30},
    {"bStarten",
     TActionButton::kText,
     157,
     410,
     0,
     "Starten",
     [](const TMenuModel& m) { return !m.Page().StartPath.empty(); },
     nullptr,
     &TMainForm::bStartenClick,
     {},
     TActionScope::kProgramPanel,
     40},
    {"bKopieren",
     TActionButton::kText,
     243,
     410,
     0,
     "Kopieren",
     [](const TMenuModel& m) { return m.Page().CanCopy; },
     nullptr,
     &TMainForm::bKopierenClick,
     {},
     TActionScope::kProgramPanel,
     50},
    {"bInstallieren",
     TActionButton::kText,
     329,
     410,
     0,
     "Installieren",
     [](const TMenuModel& m) { return !m.Page().InstallPath.empty(); },
     [](const TMenuModel& m) { return MenuModel::InstallCaption(m.Page().Unpacks); },
     &TMainForm::bInstallierenClick,
     {},
     TActionScope::kProgramPanel,
     60},
    {"bRubrikauswahl",
     TActionButton::kList,
     0,
     233,
     0,
     "Rubrikauswahl",
     nullptr,
     nullptr,
     &TMainForm::bRubrikauswahlClick,
     {{{gui::VK_ESCAPE, false}}},
     TActionScope::kProgramPanel,
     20},
};

// Starts a program or installer from the disc. A file that is not there gets a message rather than
// whatever the desktop's opener would make of it.
void OpenFromDisc(const std::string& path) {
    if (path.empty()) return;
    if (!platform::FileOps::FileExists(path)) {
        gui::Application->Warning("Die Datei " + TMenuModel::ShownFile(path) + " wurde nicht gefunden.");
        return;
    }
    if (auto* shell = platform::Services().shell; shell && !shell->Open(path))
        gui::Application->Warning("Die Datei " + TMenuModel::ShownFile(path) +
                                  " konnte nicht gestartet werden.");
}

}  // namespace

std::span<const TPageAction> PageActions() {
    return kActions;
}

// ---- the table's buttons, rules and keys ------------------------------------------------------

void TMainForm::BuildActions() {
    for (const TPageAction& action : PageActions()) {
        gui::TControl* button = nullptr;
        if (action.Button == TActionButton::kList) {
            auto* b = layout::Place<flat::TFlatButton>(this, list_->pProgramme(), action.Name, action.Left,
                                                       action.Top, 170, 15);
            b->SetColor(gfx::clBtnFace);
            b->SetFont(layout::MakeFont("Arial", -11, gfx::clBlack));
            b->SetCaption(action.Caption);
            button = b;
        } else {
            button = page_->AddAction(action, ilButtons1_, ilGlyphs1_);
        }
        button->OnClick = [this, run = action.Run](gui::TComponent* s) { (this->*run)(s); };
        actionButtons_.push_back(button);
    }
}

gui::TControl* TMainForm::ActionButton(std::string_view name) const {
    const std::span<const TPageAction> actions = PageActions();
    for (size_t i = 0; i < actions.size() && i < actionButtons_.size(); ++i)
        if (name == actions[i].Name) return actionButtons_[i];
    return nullptr;
}

void TMainForm::EnableActions() {
    const std::span<const TPageAction> actions = PageActions();
    for (size_t i = 0; i < actions.size(); ++i) {
        if (actions[i].Relabel) actionButtons_[i]->SetCaption(actions[i].Relabel(*model_));
        if (actions[i].Enabled) actionButtons_[i]->SetEnabled(actions[i].Enabled(*model_));
    }
}

bool TMainForm::ActionKey(int& key, bool ctrl) {
    for (const TPageAction& action : PageActions()) {
        const bool pressed = std::any_of(action.Keys.begin(), action.Keys.end(), [&](const TActionKey& k) {
            return k.Key != 0 && k.Key == key && k.Ctrl == ctrl;
        });
        if (!pressed) continue;
        const bool panel = list_->pProgramme()->Showing();
        if (action.Scope == TActionScope::kProgramPanel && !panel) continue;
        if (action.Scope == TActionScope::kProgramPage && !(panel && page_->Showing())) {
            if (panel) key = 0;  // the key is the panel's even without a page
            continue;
        }
        key = 0;
        (this->*action.Run)(this);
        return true;
    }
    return false;
}

std::vector<gui::TControl*> TMainForm::ProgramPanelRing() const {
    std::vector<std::pair<int, gui::TControl*>> stops = page_->TabStops();
    stops.emplace_back(kListPlace, list_->lbProgramme());
    const std::span<const TPageAction> actions = PageActions();
    for (size_t i = 0; i < actions.size(); ++i) stops.emplace_back(actions[i].TabPlace, actionButtons_[i]);
    std::stable_sort(stops.begin(), stops.end(),
                     [](const auto& a, const auto& b) { return a.first < b.first; });
    std::vector<gui::TControl*> ring(stops.size());
    std::transform(stops.begin(), stops.end(), ring.begin(), [](const auto& stop) { return stop.second; });
    return ring;
}

// ---- the handlers -----------------------------------------------------------------------------

void TMainForm::bRubrikauswahlClick(gui::TComponent*) {
    list_->pProgramme()->Hide();
    HideProgramPage();
    PlaySlotSound(0);
    iStart_->Show();
    column_->Focus(model_->OpenCategory() < 0 ? column_->First() : model_->OpenCategory());
}

void TMainForm::bStartenClick(gui::TComponent*) {
    PlaySlotSound(4);
    OpenFromDisc(base::Trim(model_->Page().StartPath));
}

void TMainForm::bInstallierenClick(gui::TComponent*) {
    PlaySlotSound(2);
    const std::string& install = model_->Page().InstallPath;
    if (base::UpperCase(base::ExtractFileExt(install)) != ".ZIP") {
        OpenFromDisc(base::Trim(install));
        return;
    }
    // The unpacking keeps the window answering; a second click meanwhile must not start another.
    if (ZipFront1_->Busy()) return;
    // An archive that is not there is said so before a folder is asked for, as for "Starten".
    const std::string archive = base::Trim(install);
    if (!platform::FileOps::FileExists(archive)) {
        gui::Application->Warning("Die Datei " + TMenuModel::ShownFile(archive) + " wurde nicht gefunden.");
        return;
    }
    TSelFolderForm& dialog = FolderDialog();
    dialog.Label1->SetCaption("Dateien entpacken (" + TMenuModel::ShownFile(install) + ")");
    dialog.ShowModal();
    if (!dialog.Confirmed()) return;

    Repaint();
    const std::string target = TargetFolderOf(dialog.Edit1->Caption());
    if (PrepareTargetFolder(target) == TFolderPrepared::kFailed) {
        gui::Application->Warning("Verzeichnis konnte nicht angelegt werden.");
        return;
    }
    {
        THourglass hourglass;
        if (!ZipFront1_->ProcessMessages)
            ZipFront1_->ProcessMessages = [] { gui::Application->ProcessMessages(); };
        // The front-end keeps its last failure; without this one failed unpack would hide the
        // success of every later one.
        ZipFront1_->ClearErrCode();
        ZipFront1_->SetZipFilename(archive);
        ZipFront1_->LoadUnzipLibrary();
        ZipFront1_->FSpecArgs().Clear();
        ZipFront1_->SetExtrBaseDir(target);
        Repaint();
        ZipFront1_->Extract();
        ZipFront1_->UnloadUnzipLibrary();
    }
    if (ZipFront1_->ErrCode() == 0)
        gui::Application->Information("Die Archivdatei wurde erfolgreich nach " + target + " entpackt.");
    else
        gui::Application->Warning(ZipFront1_->Message());
}

TSelFolderForm& TMainForm::FolderDialog() {
    if (!dialogs_.Folder) dialogs_.Folder = gui::Application->CreateForm<TSelFolderForm>();
    return *dialogs_.Folder;
}

void TMainForm::bKopierenClick(gui::TComponent*) {
    PlaySlotSound(3);
    const std::string source = base::ExtractFilePath(base::Trim(model_->Page().CopySourcePath));
    TSelFolderForm& dialog = FolderDialog();
    dialog.Label1->SetCaption("Dateien kopieren (" + TMenuModel::ShownFile(source) + ")");
    dialog.ShowModal();
    if (!dialog.Confirmed()) return;

    Repaint();
    const std::string target = TargetFolderOf(dialog.Edit1->Caption());
    int error = 0;
    if (PrepareTargetFolder(target, &error) == TFolderPrepared::kFailed) {
        std::string text = platform::FileOps::ErrorText(error);
        if (text.empty()) text = "E/A-Fehler " + std::to_string(error);
        throw base::EInOutError(
            "Der Ordner " + TMenuModel::ShownFile(target) + " konnte nicht angelegt werden: " + text, error);
    }

    // The screenshot lies in many program folders and is not meant to be copied along; but a
    // file of that name that the user already had in the target is theirs and stays.
    const std::string shotName = base::ExtractFileName(model_->Page().ScreenshotPath);
    const bool shotCopiedAlong = !shotName.empty() && platform::FileOps::FileExists(source + shotName) &&
                                 !platform::FileOps::FileExists(target + shotName);

    // Everything inside source, with the progress window; an existing file is replaced only when
    // the user agrees.
    const platform::CopyResult result = gui::CopyFolderWithProgress(source, target);

    if (shotCopiedAlong && platform::FileOps::FileExists(target + shotName))
        platform::FileOps::DeleteFile(target + shotName);
    if (result.status == platform::CopyStatus::kFailed) {
        std::string text = result.message;
        if (text.empty()) text = "Die Dateien konnten nicht kopiert werden.";
        gui::Application->Error(text);
    }
}

void TMainForm::bScreenshotClick(gui::TComponent*) {
    PlaySlotSound(0);
    // An empty folder: the file window opens on the menu's current directory, the disc's root.
    ExploreFolder("", TMenuModel::ShownFile(model_->DiscRoot()));
}

void TMainForm::bSucheClick(gui::TComponent*) {
    PlaySlotSound(5);
    if (!dialogs_.Search) dialogs_.Search = gui::Application->CreateForm<TSuchenForm>();
    TSuchenForm& dialog = *dialogs_.Search;
    dialog.OnButtonSound = [this] { PlaySlotSound(0); };
    dialog.eSuchbegriff->SetCaption("");
    dialog.ShowModal();
    const std::string term = dialog.Term();
    if (term.empty()) return;  // cancelled

    if (!model_->OpenSearch(term, dialog.MatchCase())) {
        gui::Application->Information(
            "Es konnten keine Programme gefunden werden, die Ihrer Suche entsprechen.");
        return;
    }
    HideProgramPage();
    list_->SetHeading(model_->Heading());
    list_->Fill(model_->Listed());
    // As a category button shows its list.
    ShowListAndFirstProgram();
}

void TMainForm::bVollbildClick(gui::TComponent*) {
    PlaySlotSound(0);
    OpenGallery();
}

void TMainForm::OpenGallery() {
    const std::string path = base::Trim(model_->Page().ScreenshotPath);
    if (path.empty() || !dialogs_.FullScreen) return;
    const std::string file = TMenuModel::NativeFile(path);
    if (!platform::FileOps::FileExists(file)) return;
    flat::TFlatListBox* box = list_->lbProgramme();
    dialogs_.FullScreen->OnSelect = [this, box](int index, std::string& shot, std::string& name) {
        box->SetItemIndex(index);
        ShowProgramPage();
        name = list_->Entry(box->ItemIndex());
        const std::string p = base::Trim(model_->Page().ScreenshotPath);
        shot = p.empty() || !page_->iScreenshot()->Visible() ? std::string() : TMenuModel::NativeFile(p);
        if (!shot.empty() && !platform::FileOps::FileExists(shot)) shot.clear();
    };
    dialogs_.FullScreen->ShowPicture(file);
    const int index = box->ItemIndex();
    const bool listed = list_->pProgramme()->Visible() && index >= 0 && index < list_->Count();
    dialogs_.FullScreen->SetGallery(listed ? list_->Count() : 1, listed ? index : 0,
                                    listed ? list_->Entry(index) : model_->CurrentProgram());
    dialogs_.FullScreen->ShowModal();
}
