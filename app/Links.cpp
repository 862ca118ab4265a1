#include "app/Links.h"

#include "base/Cp1252.h"
#include "gui/Application.h"
#include "platform/Services.h"
#include "platform/Shell.h"

void OpenLink(const std::string& link) {
    platform::Shell* shell = platform::Services().shell;
    if (shell && !shell->Open(link))
        gui::Application->Warning(
            "Der Link " + link +
            base::Cp(" konnte nicht geöffnet werden: Es ist kein Programm dafür eingerichtet."));
}

void ExploreFolder(const std::string& folder, const std::string& shownAs) {
    platform::Shell* shell = platform::Services().shell;
    if (shell && !shell->Explore(folder))
        gui::Application->Warning("Der Ordner " + shownAs + " konnte nicht angezeigt werden.");
}
