#pragma once
// The program's icon: a disc in the skin's colours, as a Windows .ico file (the Windows build links
// it in as icon 1, which the window class and autorun.inf name).
#include <string>

std::string EncodeProgramIcon();
