// The whole menu by keyboard alone, headless, on a copy of the sample disc: every step asserts
// where the focus is and what the menu shows.
#include <gtest/gtest.h>

#include "ProgramRun.h"

using e2e::fs::path;
using KeyboardJourney = e2e::DiscCopyTest;

TEST_F(KeyboardJourney, CategoryProgramCopyGallerySearchInfoAndBack) {
    const path home = s.path / "home";
    e2e::fs::create_directories(home);
    const std::string script = R"(# start page: the first category button has the focus
expect-focus bRubrik2
key Down
expect-focus bRubrik3
key Up
key Up
expect-focus bRubrik2
expect-caption bRubrik2 Büro & Organisation
# past the tenth button the window pages as the arrows do, with their sound
key End
expect-focus bRubrik11
expect-caption bRubrik11 Reise & Navigation
expect-enabled bPfeilOben
expect-disabled bPfeilUnten
key Up
expect-focus bRubrik10
key Home
expect-focus bRubrik2
expect-caption bRubrik2 Büro & Organisation
expect-disabled bPfeilOben
key Tab
expect-focus bRubrik3

# Enter opens the category: the list has the focus
key Enter
expect-visible pProgramme
expect-caption lRubrik Grafik && Foto
expect-focus lbProgramme
expect-caption gbProgramm Pixelwerk 2.1
key Down
expect-caption gbProgramm Fotoschätze
expect-caption lAnzahlProgramme 2/5

# Tab walks the panel; the disabled "Starten" is skipped
expect-disabled bStarten
key Tab
expect-focus bRubrikauswahl
key Tab
expect-focus bSuche
key Tab
expect-focus bKopieren
key Shift+Tab
expect-focus bSuche
key Tab
key Tab
expect-focus bInstallieren
key Tab
expect-focus iScreenshot
key Tab
expect-focus bVollbild
key Tab
expect-focus bScreenshot
key Tab
expect-caption lFactKey6 Homepage
expect-focus lFactValue6
key Enter
expect-shell http://www.fotoschaetze.example
key Tab
expect-focus TransText1
key Tab
expect-focus lbProgramme
key Shift+Tab
expect-focus TransText1

# copy to a folder: Enter on "Kopieren", the dialog takes Enter as OK
key Shift+Tab
key Shift+Tab
key Shift+Tab
key Shift+Tab
key Shift+Tab
key Shift+Tab
expect-focus bKopieren
key Space
expect-sound 3
expect-visible SelFolderForm
expect-focus SelFolderForm.Edit1
key Tab
expect-focus SelFolderForm.Button3
key Tab
expect-focus SelFolderForm.Button1
key Tab
expect-focus SelFolderForm.Button2
key Escape
expect-hidden SelFolderForm
expect-focus bKopieren
key Space
expect-visible SelFolderForm
expect-focus SelFolderForm.Edit1
key Enter
expect-hidden SelFolderForm
expect-focus bKopieren

# the gallery from the thumbnail: it pages the list, and the page behind follows
key Tab
key Tab
expect-focus iScreenshot
key Enter
expect-visible VollbildForm
expect-caption VollbildForm.lName Fotoschätze
key Right
expect-caption VollbildForm.lName Vektorzeichner
expect-caption MainForm.gbProgramm Vektorzeichner
key End
expect-caption VollbildForm.lName Screenshot-Profi
key Right
expect-caption VollbildForm.lName Screenshot-Profi
key Home
expect-caption VollbildForm.lName Pixelwerk 2.1
key Left
expect-caption VollbildForm.lName Pixelwerk 2.1
wheel -1
expect-caption VollbildForm.lName Fotoschätze
wheel -1
expect-caption VollbildForm.lName Vektorzeichner
key Escape
expect-hidden VollbildForm
expect-caption gbProgramm Vektorzeichner
expect-caption lAnzahlProgramme 3/5
# F11 opens it too
key F11
expect-visible VollbildForm
key Escape
expect-hidden VollbildForm

# search: Tab walks the dialog, Enter on "Abbrechen" and Escape cancel, Ctrl+F and Enter search
key F3
expect-visible SuchenForm
expect-focus SuchenForm.eSuchbegriff
key Tab
expect-focus SuchenForm.FlatCheckBox1
key Tab
expect-focus SuchenForm.bBeenden
key Tab
expect-focus SuchenForm.bAbbrechen
key Enter
expect-hidden SuchenForm
expect-caption lRubrik Grafik && Foto
key F3
expect-focus SuchenForm.eSuchbegriff
key Escape
expect-hidden SuchenForm
expect-caption lRubrik Grafik && Foto
key Ctrl+F
expect-visible SuchenForm
type Klangküche
key Enter
expect-hidden SuchenForm
expect-caption lRubrik Suchergebnisse
expect-caption gbProgramm Klangküche
expect-focus lbProgramme

# Escape goes back to the categories, on the category that was open
key Escape
expect-hidden pProgramme
expect-visible iStart
expect-focus bRubrik3

# the info page: F1 opens it with the focus on its "Schließen"; Tab walks its links
key F1
expect-disabled bInfo
expect-focus InfoFrame1.bBeenden
key Down
expect-focus InfoFrame1.bBeenden
key Tab
expect-focus InfoFrame1.leMail
key Tab
expect-focus InfoFrame1.lInternet
key Enter
expect-shell http://
expect-disabled bInfo
key Shift+Tab
expect-focus InfoFrame1.leMail
key Shift+Tab
expect-focus InfoFrame1.bBeenden
key Space
expect-enabled bInfo
expect-focus bRubrik3
key F1
key Escape
expect-enabled bInfo
expect-focus bRubrik3
# Ctrl+F from the start page
key Ctrl+F
expect-visible SuchenForm
key Escape
expect-hidden SuchenForm
expect-visible iStart
)";
    const path file = s.path / "script.txt";
    e2e::WriteText(file, script);
    const e2e::RunResult r =
        e2e::Run({"--headless", "--data", disc.string(), "--root", disc.string(), "--script", file.string()},
                 s.path, {}, {{"HOME", home.string()}});
    EXPECT_EQ(r.code, 0) << r.output;
    // The copy went to the dialog's default folder.
    EXPECT_TRUE(e2e::fs::exists(home / "Test")) << r.output;
    EXPECT_FALSE(e2e::fs::is_empty(home / "Test")) << r.output;
}
