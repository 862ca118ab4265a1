#include "flat/ListNavigation.h"

#include <gtest/gtest.h>

namespace flat {
namespace {

void ExpectMove(TListMove m, int top, int index) {
    EXPECT_EQ(m.TopIndex, top);
    EXPECT_TRUE(m.Select);
    EXPECT_EQ(m.Index, index);
}

TEST(ListNavigation, PageKeysNearBothEnds) {
    // Page Up close to the start stops at the first item.
    ExpectMove(ListNavigate(lkPageUp, 3, 10, 5, 30), 0, 0);
    // Page Up with the current item on the last page puts it at the bottom slot.
    ExpectMove(ListNavigate(lkPageUp, 20, 10, 25, 30), 16, 16);
    ExpectMove(ListNavigate(lkPageUp, 15, 10, 15, 40), 5, 5);

    ExpectMove(ListNavigate(lkPageDown, 0, 10, 2, 5), 0, 4);  // fewer items than slots
    ExpectMove(ListNavigate(lkPageDown, 0, 10, 0, 30), 10, 10);
    // The last page: the top of the last page unless the last page was already shown.
    ExpectMove(ListNavigate(lkPageDown, 15, 10, 15, 30), 20, 20);
    ExpectMove(ListNavigate(lkPageDown, 20, 10, 22, 30), 20, 29);
}

TEST(ListNavigation, EndAndHome) {
    ExpectMove(ListNavigate(lkEnd, 0, 10, 0, 30), 20, 29);
    ExpectMove(ListNavigate(lkEnd, 0, 10, 0, 5), 0, 4);
    ExpectMove(ListNavigate(lkEnd, 0, 10, 0, 10), 0, 9);
    ExpectMove(ListNavigate(lkHome, 20, 10, 29, 30), 0, 0);
}

TEST(ListNavigation, UpAndDownInsideAndOutsideTheWindow) {
    // Above the window: the first visible item; below it: the last visible one.
    ExpectMove(ListNavigate(lkUp, 10, 10, 3, 30), 10, 10);
    ExpectMove(ListNavigate(lkUp, 10, 10, 25, 30), 10, 19);
    ExpectMove(ListNavigate(lkDown, 10, 10, 3, 30), 10, 10);
    ExpectMove(ListNavigate(lkDown, 10, 10, 25, 30), 10, 19);

    // Stepping over the top or bottom slot scrolls by one.
    ExpectMove(ListNavigate(lkUp, 10, 10, 10, 30), 9, 9);
    ExpectMove(ListNavigate(lkDown, 10, 10, 19, 30), 11, 20);
    ExpectMove(ListNavigate(lkDown, 10, 10, 12, 30), 10, 13);

    // Nothing to do at the ends.
    TListMove top = ListNavigate(lkUp, 0, 10, 0, 30);
    EXPECT_FALSE(top.Select);
    EXPECT_EQ(top.TopIndex, 0);
    TListMove last = ListNavigate(lkDown, 20, 10, 29, 30);
    EXPECT_FALSE(last.Select);
    EXPECT_EQ(last.TopIndex, 20);
    // An index past the end (possible after the owner set it) leaves Down inert.
    EXPECT_FALSE(ListNavigate(lkDown, 0, 10, 30, 30).Select);

    // A key outside the table changes nothing.
    TListMove other = ListNavigate(0x2D, 7, 10, 9, 30);
    EXPECT_FALSE(other.Select);
    EXPECT_EQ(other.TopIndex, 7);
}

TEST(ListNavigation, IncrementalSearchFallsThrough) {
    const std::vector<std::string> items = {"7-Zip", "alpha", "Beta", "delta", "Echo"};
    EXPECT_EQ(ListSearchChar('B'), 'B');
    EXPECT_EQ(ListSearchChar(0x63), '3');  // keypad 3
    EXPECT_EQ(ListSearchChar(0x70), 0);    // F1 is not searched

    ExpectMove(ListIncrementalSearch('A', items, 10), 0, 1);  // case does not matter
    ExpectMove(ListIncrementalSearch('C', items, 10), 0, 3);  // C: none, D: "delta"
    ExpectMove(ListIncrementalSearch('3', items, 10), 0, 0);  // 3..6: none, 7: "7-Zip"
    ExpectMove(ListIncrementalSearch('F', items, 10), 0, 4);  // nothing up to Z: the last item

    // The found item goes to the top slot, but never past the last full page.
    std::vector<std::string> many;
    for (char c = 'A'; c <= 'Z'; ++c) many.push_back(std::string(1, c) + "item");
    ExpectMove(ListIncrementalSearch('E', many, 10), 4, 4);
    ExpectMove(ListIncrementalSearch('X', many, 10), 16, 23);
    ExpectMove(ListIncrementalSearch('9', many, 10), 0, 0);
    ExpectMove(ListIncrementalSearch('A', {}, 10), 0, -1);
}

}  // namespace
}  // namespace flat
