#include "gui/backend/win32/Win32Input.h"

// After the framework's headers (see Win32Backend.cpp).
#include <windows.h>

namespace gui {

bool KnownKey(std::uintptr_t vk) {
    if ((vk >= 'A' && vk <= 'Z') || (vk >= '0' && vk <= '9')) return true;
    if (vk >= 0x70 && vk <= 0x7B) return true;        // F1..F12
    if (vk >= 0x60 && vk <= 0x6F) return vk != 0x6C;  // keypad digits and operators, no separator
    switch (vk) {
        case 0x08:
        case 0x09:
        case 0x0D:
        case 0x10:
        case 0x11:
        case 0x12:
        case 0x13:
        case 0x14:
        case 0x1B:
        case 0x20:
        case 0x21:
        case 0x22:
        case 0x23:
        case 0x24:
        case 0x25:
        case 0x26:
        case 0x27:
        case 0x28:
        case 0x2D:
        case 0x2E:
            return true;
        default:
            return false;
    }
}

TShiftState KeyMods() {
    TShiftState s = 0;
    if (GetKeyState(0x10) & 0x8000) s |= ssShift;
    if (GetKeyState(0x11) & 0x8000) s |= ssCtrl;
    if (GetKeyState(0x12) & 0x8000) s |= ssAlt;
    return s;
}

TShiftState MouseState(std::uintptr_t wp) {
    TShiftState s = 0;
    if (wp & MK_SHIFT) s |= ssShift;
    if (wp & MK_CONTROL) s |= ssCtrl;
    if (GetKeyState(0x12) & 0x8000) s |= ssAlt;
    if (wp & MK_LBUTTON) s |= ssLeft;
    if (wp & MK_RBUTTON) s |= ssRight;
    if (wp & MK_MBUTTON) s |= ssMiddle;
    return s;
}

}  // namespace gui
