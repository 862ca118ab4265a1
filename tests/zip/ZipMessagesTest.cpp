// The message table's lookups and fallbacks, and the exception's three ways to fill a text.
#include <gtest/gtest.h>

#include "base/Cp1252.h"
#include "zip/EZipFront.h"
#include "zip/ZipMessages.h"

namespace {

TEST(ZipMessagesTest, TableFallbacksAndFilledTexts) {
    EXPECT_EQ(ZipMessage(11004), base::Cp("Laufwerk %s ist nicht verfügbar"));
    EXPECT_EQ(
        ZipMessage(10502),
        base::Cp("Warnung - Automatisches Entpacken : möglicherweise wurden nicht alle Dateien entpackt !"));
    // Ids of operations this program lacks fall back to the sentence with the id.
    EXPECT_EQ(ZipMessage(10101),
              "ZipMsgXX.res is probably not bound to executable\nMissing String ID is: 10101");
    EXPECT_EQ(ZipMessage(99999),
              "ZipMsgXX.res is probably not bound to executable\nMissing String ID is: 99999");
    EXPECT_EQ(ZipMissingMessage(11034), "Please insert disk volume %.1d of %.1d");
    EXPECT_EQ(ZipMissingMessage(11035), "\r\nin drive: %s");
    EXPECT_EQ(ZipMissingMessage(10105), "Copying: ");

    EZipFront byDrive(11003, std::string("Q:\\"));
    EXPECT_EQ(byDrive.Message(), "Unbekanntes Laufwerk: Q:\\");
    EXPECT_EQ(byDrive.MessageId(), 11003);
    EXPECT_TRUE(byDrive.ShowToUser());
    EZipFront byVolume(11038, 7);
    EXPECT_EQ(
        byVolume.Message(),
        "Dies ist Diskette Nr. 7 des Archiv-Satzes,\nbitte legen Sie die letzte Diskette des Satzes ein");
    EZipFront hidden(11007, false);
    EXPECT_FALSE(hidden.ShowToUser());
    EXPECT_EQ(hidden.Message(), "Abbruch der Operation durch den Benutzer");
    EZipFront missing(10140, 3);
    EXPECT_EQ(missing.Message(), ZipMessage(10140));
    EXPECT_STREQ(EZipFront(11002, true).what(), "Archivdatei kann nicht geöffnet werden");  // UTF-8 for logs
}

}  // namespace
