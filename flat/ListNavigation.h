#pragma once
// Keyboard navigation and incremental search of the flat list box, kept free of any window so
// that the key table can be checked case by case.
#include <string>
#include <vector>

namespace flat {

// Result of one navigation key: the new top index and the index to select (through the
// ItemIndex setter), if any.
struct TListMove {
    int TopIndex = 0;
    bool Select = false;
    int Index = 0;
};

// The keys of the list box's key table (their virtual-key codes).
enum TListKey : int {
    lkPageUp = 0x21,
    lkPageDown = 0x22,
    lkEnd = 0x23,
    lkHome = 0x24,
    lkUp = 0x26,
    lkDown = 0x28,
};

// One navigation key with T = top index, V = visible slots, I = item index, N = item count.
// Keys outside the table leave everything as it is.
TListMove ListNavigate(int key, int top, int visible, int itemIndex, int count);

// The searched character of a key code: '0'..'9', 'A'..'Z', and the keypad digits
// (0x60..0x69) as digits; 0 for every other key.
char ListSearchChar(int key);

// Incremental search for `key` (a character from ListSearchChar): the first item whose first
// character matches, trying the following character codes up to 'Z' when nothing matches; the
// last item when nothing matches at all. Selects the found item and puts it on top as far as the
// last page allows.
TListMove ListIncrementalSearch(char key, const std::vector<std::string>& items, int visible);

}  // namespace flat
