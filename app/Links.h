#pragma once
// Links and folders handed to the desktop: when nothing could open them, the user is told rather
// than left with a click that does nothing.
#include <string>

// A web or mail link ("http://…", "mailto:…").
void OpenLink(const std::string& link);

// A folder in the file manager; empty: the menu's current folder, shown to the user as shownAs.
void ExploreFolder(const std::string& folder, const std::string& shownAs);
