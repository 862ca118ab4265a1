#include "flat/ListNavigation.h"

#include <algorithm>

namespace flat {

namespace {

TListMove Move(int top, int index) {
    return TListMove{top, true, index};
}

char UpperAscii(char c) {
    return (c >= 'a' && c <= 'z') ? char(c - 'a' + 'A') : c;
}

}  // namespace

TListMove ListNavigate(int key, int t, int v, int i, int n) {
    switch (key) {
        case lkPageUp:
            if (t - v < 0) return Move(0, 0);
            if (i > n - v) return Move(i - v + 1, i - v + 1);
            return Move(t - v, t - v);
        case lkPageDown:
            if (v >= n) return Move(0, n - 1);
            if (n < 2 * v + t) return Move(n - v, n == t + v ? n - 1 : n - v);
            return Move(t + v, t + v);
        case lkEnd:
            return Move(v < n ? n - v : 0, n - 1);
        case lkHome:
            return Move(0, 0);
        case lkUp: {
            TListMove m{t, false, i};
            if (i < t) {
                m.Select = true, m.Index = t;
            } else if (i > t + v) {
                m.Select = true, m.Index = t + v - 1;
            } else if (i > 0) {
                m.Select = true, m.Index = i - 1;
            }
            // The setter makes the selected index current, so it decides the scroll.
            if (m.Index < t) --m.TopIndex;
            return m;
        }
        case lkDown: {
            TListMove m{t, false, i};
            if (i >= n) return m;
            if (i < t) {
                m.Select = true, m.Index = t;
            } else if (i > t + v) {
                m.Select = true, m.Index = t + v - 1;
            } else if (i < n - 1) {
                m.Select = true, m.Index = i + 1;
            }
            if (m.Index == t + v) ++m.TopIndex;
            return m;
        }
        default:
            return TListMove{t, false, i};
    }
}

char ListSearchChar(int key) {
    if ((key >= '0' && key <= '9') || (key >= 'A' && key <= 'Z')) return char(key);
    if (key >= 0x60 && key <= 0x69) return char('0' + key - 0x60);
    return 0;
}

TListMove ListIncrementalSearch(char key, const std::vector<std::string>& items, int visible) {
    const int n = int(items.size());
    // Kept signed, so that which items a key above 0x7F reaches stays as it is.
    // NOLINTNEXTLINE(bugprone-signed-char-misuse)
    for (int code = UpperAscii(key); code <= 'Z'; ++code) {
        for (int f = 0; f < n; ++f) {
            const std::string& item = items[size_t(f)];
            if (!item.empty() && UpperAscii(item[0]) == code) {
                return Move(std::max(0, std::min(f, n - visible)), f);
            }
        }
    }
    return Move(std::max(0, n - visible), n - 1);
}

}  // namespace flat
