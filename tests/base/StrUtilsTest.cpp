#include "base/StrUtils.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "base/Cp1252.h"
#include "base/Exceptions.h"

using namespace base;

TEST(StrUtils, TrimDropsBlanksAndControlsAtBothEndsOnly) {
    EXPECT_EQ(Trim(" \t\r\n a b \x01\x1f "), "a b");
    EXPECT_EQ(Trim("\xA0x\xA0"), "\xA0x\xA0");  // no-break space is a character, not a blank
    EXPECT_EQ(Trim("   "), "");
    EXPECT_EQ(TrimLeft("  x "), "x ");
    EXPECT_EQ(TrimRight("  x "), "  x");
}

TEST(StrUtils, UpperCaseTouchesOnlyAsciiLetters) {
    EXPECT_EQ(UpperCase(Cp("abcäöüß xyz{")), Cp("ABCäöüß XYZ{"));
    EXPECT_EQ(AnsiUpperCase(Cp("äöü")), Cp("ÄÖÜ"));
    EXPECT_EQ(LowerCase("AbZ@["), "abz@[");
}

TEST(StrUtils, StrToIntAcceptsLeadingBlanksAndRejectsTheRest) {
    EXPECT_EQ(StrToInt("  42"), 42);
    EXPECT_EQ(StrToInt("-17"), -17);
    EXPECT_EQ(StrToInt("$1F"), 31);
    EXPECT_EQ(StrToInt("$FFFFFFFF"), -1);
    EXPECT_EQ(StrToInt("-$80000000"), -2147483647 - 1);
    EXPECT_EQ(StrToInt("2147483647"), 2147483647);
    EXPECT_EQ(StrToInt("-2147483648"), -2147483647 - 1);
    for (const char* bad : {"", " ", "12 ", "1x", "2147483648", "--1", "+", "$"}) {
        EXPECT_THROW(StrToInt(bad), EConvertError) << bad;
    }
    try {
        StrToInt("abc");
        FAIL();
    } catch (const EConvertError& e) {
        EXPECT_EQ(e.Message(), Cp("'abc' ist kein gültiger Integerwert"));
        EXPECT_STREQ(e.what(), "'abc' ist kein gültiger Integerwert");
    }
    EXPECT_EQ(StrToIntDef("x", 7), 7);
    EXPECT_EQ(IntToStr(-12345), "-12345");
}

TEST(StrUtils, LocaleCompareSortsUmlautsWithBaseLettersIgnoringCase) {
    EXPECT_EQ(AnsiCompareText("abc", "ABC"), 0);
    EXPECT_LT(AnsiCompareText(Cp("Äpfel"), "Birne"), 0);  // byte order would put Ä after B
    EXPECT_GT(AnsiCompareText(Cp("Äpfel"), "Apfel"), 0);  // the accent only breaks the tie
    EXPECT_LT(AnsiCompareText(Cp("Äpfel"), "Apfelz"), 0);
    EXPECT_EQ(AnsiCompareText(Cp("ÖL"), Cp("öl")), 0);
    EXPECT_LT(AnsiCompareText(Cp("Straße"), "Strasse1"), 0);  // ß expands to ss
    EXPECT_GT(AnsiCompareText(Cp("Straße"), "Strasse"), 0);
    EXPECT_LT(AnsiCompareText(Cp("Straße"), "Strast"), 0);
    EXPECT_LT(AnsiCompareText("_x", "1"), 0);  // punctuation before digits
    EXPECT_LT(AnsiCompareText("9", "a"), 0);   // digits before letters
    EXPECT_LT(AnsiCompareText("[x", "A"), 0);  // all punctuation, even after Z in ASCII
    EXPECT_LT(AnsiCompareText("", "a"), 0);
    EXPECT_LT(AnsiCompareText(Cp("Straße"), Cp("Straßen")), 0);  // an expansion at the very end
    EXPECT_GT(AnsiCompareText(Cp("Æ"), "AD"), 0);
    EXPECT_LT(AnsiCompareText(Cp("Æ"), "AF"), 0);
    // A total order on every byte: antisymmetric, and transitive over sorted samples.
    std::vector<std::string> words;
    for (int c = 1; c < 256; ++c)
        for (const char* tail : {"", "a", "ss"}) words.push_back(std::string(1, char(c)) + tail);
    std::stable_sort(words.begin(), words.end(),
                     [](const std::string& a, const std::string& b) { return AnsiCompareText(a, b) < 0; });
    for (size_t i = 0; i + 1 < words.size(); ++i) {
        const int forward = AnsiCompareText(words[i], words[i + 1]);
        EXPECT_LE(forward, 0) << i;
        EXPECT_EQ(AnsiCompareText(words[i + 1], words[i]), -forward) << i;
        if (i + 2 < words.size()) {
            EXPECT_LE(AnsiCompareText(words[i], words[i + 2]), 0) << i;
        }
    }
    EXPECT_TRUE(SameText("Hallo", "hALLO"));
    EXPECT_FALSE(SameText(Cp("ä"), Cp("Ä")));  // plain SameText is a-z only
}

TEST(Cp1252, RoundTripsThroughUtf8AndReplacesWhatItLacks) {
    std::string all;
    for (int c = 1; c < 256; ++c) all += char(c);
    EXPECT_EQ(Utf8ToCp1252(Cp1252ToUtf8(all)), all);
    EXPECT_EQ(Cp("€"), "\x80");
    EXPECT_EQ(Cp("ü"), "\xFC");
    EXPECT_EQ(Utf8ToCp1252("a\xE4\xB8\xADz"), "a?z");  // CJK has no cp1252 byte
    EXPECT_EQ(Utf8ToCp1252("a\xC3"), "a?");            // truncated sequence
    EXPECT_EQ(Utf8ToCp1252("\xFF\x41"), "?A");
}
