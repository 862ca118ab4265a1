// The message table's lookups and fallbacks, and the exception's three ways to fill a text.
#include <gtest/gtest.h>

#include <string>

#include "base/Cp1252.h"
#include "zip/EZipFront.h"
#include "zip/ZipMessageIds.h"
#include "zip/ZipMessages.h"

namespace {

using namespace zipmsg;

std::string Replaced(std::string text, const std::string& placeholder, const std::string& by) {
    const size_t at = text.find(placeholder);
    return at == std::string::npos ? text : text.replace(at, placeholder.size(), by);
}

TEST(ZipMessagesTest, EveryMessageTheFrontEndRaisesHasATextOfItsOwn) {
    for (int id : kAll) {
        EXPECT_TRUE(ZipHasMessage(id)) << id;
        EXPECT_NE(ZipMessage(id), ZipMissingMessage(id)) << id;
        EXPECT_FALSE(ZipMessage(id).empty()) << id;
    }
}

TEST(ZipMessagesTest, MissingIdsFallBackToTheSentenceWithTheId) {
    for (int id : {10101, 10140, 99999}) {
        EXPECT_FALSE(ZipHasMessage(id)) << id;
        EXPECT_EQ(ZipMessage(id), ZipMissingMessage(id)) << id;
        EXPECT_NE(ZipMessage(id).find("Missing String ID is: " + std::to_string(id)), std::string::npos)
            << id;
    }
    // The disk prompts fall back to texts that keep their placeholders, so a prompt can still be filled.
    EXPECT_NE(ZipMissingMessage(kInsertDiskOf).find("%.1d"), ZipMissingMessage(kInsertDiskOf).rfind("%.1d"));
    EXPECT_NE(ZipMissingMessage(kInDrive).find("%s"), std::string::npos);
}

TEST(ZipMessagesTest, TheExceptionFillsItsText) {
    EZipFront byDrive(kUnknownDrive, std::string("Q:\\"));
    EXPECT_EQ(byDrive.Message(), Replaced(ZipMessage(kUnknownDrive), "%s", "Q:\\"));
    EXPECT_NE(byDrive.Message(), ZipMessage(kUnknownDrive));
    EXPECT_EQ(byDrive.MessageId(), kUnknownDrive);
    EXPECT_TRUE(byDrive.ShowToUser());

    EZipFront byVolume(kDiskNOfSet, 7);
    EXPECT_EQ(byVolume.Message(), Replaced(ZipMessage(kDiskNOfSet), "%d", "7"));
    EXPECT_NE(byVolume.Message(), ZipMessage(kDiskNOfSet));

    EZipFront hidden(kCancelledByUser, false);
    EXPECT_FALSE(hidden.ShowToUser());
    EXPECT_EQ(hidden.Message(), ZipMessage(kCancelledByUser));
    // An id without a text gives the fallback, whatever it is filled with.
    EXPECT_EQ(EZipFront(10140, 3).Message(), ZipMessage(10140));
    // what() is for logs: the same text in UTF-8.
    const EZipFront open(kArchiveOpenError, true);
    EXPECT_EQ(std::string(open.what()), base::Cp1252ToUtf8(open.Message()));
    EXPECT_NE(std::string(open.what()), open.Message());  // the text has an umlaut
}

}  // namespace
