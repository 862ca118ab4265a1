// TMainForm, continued: the actions of the program page's buttons — Starten, Installieren or
// Entpacken, Kopieren, Explorer, and Suche.
#include <cerrno>

#include "app/Catalogue.h"
#include "app/Links.h"
#include "app/MainForm.h"
#include "app/SelFolderForm.h"
#include "app/SuchenForm.h"
#include "app/TextHelpers.h"
#include "base/Exceptions.h"
#include "base/Paths.h"
#include "base/StrUtils.h"
#include "flat/FlatEdit.h"
#include "flat/FlatGroupBox.h"
#include "flat/FlatListBox.h"
#include "gui/Application.h"
#include "gui/CopyProgressForm.h"
#include "gui/Edit.h"
#include "gui/Keys.h"
#include "gui/Label.h"
#include "gui/Screen.h"
#include "platform/FileOps.h"
#include "platform/Services.h"
#include "platform/Shell.h"
#include "skin/PicturePanel.h"
#include "skin/SkinButton.h"
#include "zip/ZipFront.h"

namespace {

const char* const kSearchResults = "Suchergebnisse";

// The hourglass for the length of a scope, also when the scope ends by an exception.
class THourglass {
public:
    THourglass() {
        if (gui::Screen) gui::Screen->SetCursor(gui::crHourGlass);
    }
    ~THourglass() {
        if (gui::Screen) gui::Screen->SetCursor(gui::crDefault);
    }
    THourglass(const THourglass&) = delete;
    THourglass& operator=(const THourglass&) = delete;
};

// Starts a program or installer from the disc. A file that is not there gets a message rather than
// whatever the desktop's opener would make of it.
void OpenFromDisc(const std::string& path) {
    if (path.empty()) return;
    if (!platform::FileOps::FileExists(path)) {
        gui::Application->Warning("Die Datei " + TMainForm::ShownFile(path) + " wurde nicht gefunden.");
        return;
    }
    if (auto* shell = platform::Services().shell; shell && !shell->Open(path))
        gui::Application->Warning("Die Datei " + TMainForm::ShownFile(path) +
                                  " konnte nicht gestartet werden.");
}

// Copies everything inside source into target with the progress window; an existing file is
// replaced only when the user agrees.
platform::CopyResult CopyFolderContents(const std::string& source, const std::string& target) {
    return gui::CopyFolderWithProgress(source, target);
}

}  // namespace

void TMainForm::bStartenClick(gui::TComponent*) {
    PlaySlotSound(4);
    OpenFromDisc(base::Trim(StartPath));
}

void TMainForm::bInstallierenClick(gui::TComponent*) {
    PlaySlotSound(2);
    if (base::UpperCase(base::ExtractFileExt(InstallPath)) != ".ZIP") {
        OpenFromDisc(base::Trim(InstallPath));
        return;
    }
    // The unpacking keeps the window answering; a second click meanwhile must not start another.
    if (ZipFront1->Busy()) return;
    // An archive that is not there is said so before a folder is asked for, as for "Starten".
    if (!platform::FileOps::FileExists(base::Trim(InstallPath))) {
        gui::Application->Warning("Die Datei " + ShownFile(base::Trim(InstallPath)) +
                                  " wurde nicht gefunden.");
        return;
    }
    TSelFolderForm& dialog = FolderDialog();
    dialog.Label1->SetCaption("Dateien entpacken (" + ShownFile(InstallPath) + ")");
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
        if (!ZipFront1->ProcessMessages)
            ZipFront1->ProcessMessages = [] { gui::Application->ProcessMessages(); };
        // The front-end keeps its last failure; without this one failed unpack would hide the
        // success of every later one.
        ZipFront1->ClearErrCode();
        ZipFront1->SetZipFilename(base::Trim(InstallPath));
        ZipFront1->LoadUnzipLibrary();
        ZipFront1->FSpecArgs().Clear();
        ZipFront1->SetExtrBaseDir(target);
        Repaint();
        ZipFront1->Extract();
        ZipFront1->UnloadUnzipLibrary();
    }
    if (ZipFront1->ErrCode() == 0)
        gui::Application->Information("Die Archivdatei wurde erfolgreich nach " + target + " entpackt.");
    else
        gui::Application->Warning(ZipFront1->Message());
}

TSelFolderForm& TMainForm::FolderDialog() {
    if (!dialogs_.Folder) dialogs_.Folder = gui::Application->CreateForm<TSelFolderForm>();
    return *dialogs_.Folder;
}

void TMainForm::bKopierenClick(gui::TComponent*) {
    PlaySlotSound(3);
    CopySourcePath = base::Trim(CopySourcePath);
    const std::string source = base::ExtractFilePath(CopySourcePath);
    TSelFolderForm& dialog = FolderDialog();
    dialog.Label1->SetCaption("Dateien kopieren (" + ShownFile(source) + ")");
    dialog.ShowModal();
    if (!dialog.Confirmed()) return;

    Repaint();
    const std::string target = TargetFolderOf(dialog.Edit1->Caption());
    int error = 0;
    if (PrepareTargetFolder(target, &error) == TFolderPrepared::kFailed) {
        std::string text = platform::FileOps::ErrorText(error);
        if (text.empty()) text = "E/A-Fehler " + std::to_string(error);
        throw base::EInOutError("Der Ordner " + ShownFile(target) + " konnte nicht angelegt werden: " + text,
                                error);
    }

    // The screenshot lies in many program folders and is not meant to be copied along; but a
    // file of that name that the user already had in the target is theirs and stays.
    const std::string shotName = base::ExtractFileName(ScreenshotPath);
    const bool shotCopiedAlong = !shotName.empty() && platform::FileOps::FileExists(source + shotName) &&
                                 !platform::FileOps::FileExists(target + shotName);

    const platform::CopyResult result = CopyFolderContents(source, target);

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
    ExploreFolder("", ShownFile(DiscRoot));
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

    std::vector<std::string> results;
    try {
        results = SearchCatalogueFile(DataFile("daten.txt"), term, dialog.MatchCase());
    } catch (const base::EFOpenError&) {
        throw base::EFOpenError::CannotOpen(ShownFile(DataDir + "daten.txt"));
    }
    if (results.empty()) {
        gui::Application->Information(
            "Es konnten keine Programme gefunden werden, die Ihrer Suche entsprechen.");
        return;
    }

    HideProgramPage();
    lRubrik->SetCaption(kSearchResults);
    CurrentCategory = kSearchResults;
    lbProgramme->Items().Clear();
    ListFilling = true;
    try {
        for (const std::string& name : results) lbProgramme->Items().Add(name);
    } catch (...) {
        ListFilling = false;
        throw;
    }
    ListFilling = false;

    // As a category button shows its list.
    ShowListAndFirstProgram();
}
