#include "zip/ZipMessages.h"

#include <algorithm>
#include <iterator>

namespace {

struct TMessage {
    int id;
    const char* text;  // cp1252
};

// Sorted by id. \xE4 = ä, \xF6 = ö, \xFC = ü.
constexpr TMessage kMessages[] = {
    {10102, "Fehler - keine Archivdatei angegeben !"},
    {10103, "Angeforderter Speicher konnte nicht reserviert werden"},
    {10105, "Kopiere von:"},
    {10201, "Suchfehler beim Lesen des Archivs !"},
    {10202, "Unbekannter Fehler in List()-Funktion"},
    {10203, "Warnung - Fehler in Archiv-Struktur !"},
    {10204, "Warnung - unbekannte Daten am Archivende !"},
    {10501, "Fataler Fehler in UNPACK32.DLL: Abbruch"},
    {10502, "Warnung - Automatisches Entpacken : m\xF6glicherweise wurden nicht alle Dateien entpackt !"},
    {10701, "UNPACK32 geladen"},
    {10702, "UnpackExec-Funktion in UNPACK32.DLL nicht gefunden !"},
    {10703, "GetUnpackVersion-Funktion in UNPACK32.DLL nicht gefunden !"},
    {10704, "UNPACK32.DLL nicht gefunden !"},
    {11001, "Zu lesende Datei nicht gefunden"},
    {11002,
     "Archivdatei kann nicht ge\xF6"
     "ffnet werden"},
    {11003, "Unbekanntes Laufwerk: %s"},
    {11004,
     "Laufwerk %s ist nicht verf\xFC"
     "gbar"},
    {11007, "Abbruch der Operation durch den Benutzer"},
    {11008, "Suchfehler in Eingabedatei"},
    {11009, "Kann Ausgabedatei nicht erzeugen"},
    {11011, "Fehler beim Lesen der EOC-Struktur"},
    {11012, "Fehler beim Lesen eines lokalen Headers"},
    {11013, "Fehler beim Lesen eines zentralen Headers"},
    {11014, "Fehlerhafte Signatur eines lokalen Headers"},
    {11015, "Fehlerhafte Signatur eines zentralen Headers"},
    {11016, "Fehler beim Lesen eines lokalen Dateinamens"},
    {11017, "Fehler beim Lesen eines zentralen Dateinamens"},
    {11018, "Fehler beim Lesen eines lokalen Zusatzfeldes"},
    {11019, "Fehler beim Lesen eines zentralen Zusatzfeldes"},
    {11020, "Fehler beim Lesen/Schreiben eines Datenbeschreibungs-Bereiches"},
    {11021, "Fehler beim Lesen der gepackten Daten"},
    {11022, "Fehler beim Lesen eines Dateikommentars"},
    {11023, "Fehler beim Lesen des Archivkommentars"},
    {11024, "Unbekannter Fehler in Funktion ReadSpan() oder WriteSpan()"},
    {11025, "Unbeaufsichtigtes Verteilen auf mehrere Datentr\xE4ger ist nicht implementiert"},
    {11026, "Ein lokaler Header wurde in der internen Struktur nicht gefunden"},
    {11027, "Kann keine tempor\xE4re Datei anlegen"},
    {11028, "Fehler beim Schreiben eines lokalen Headers"},
    {11029, "Fehler beim Schreiben eines zentralen Headers"},
    {11030, "Fehler beim Schreiben des End Of Central Directory"},
    {11031, "Fehler beim Lesen einer erweiterten lokalen Signatur"},
    {11033, "Bitte legen Sie die letzte Diskette ein"},
    {11034, "Bitte legen Sie Diskette %.1d von %.1d ein"},
    {11035, "\nin Laufwerk: %s"},
    {11036, "Dieses Archiv ist keine g\xFCltiges ZIP-Archiv"},
    {11037,
     "Dies ist die erste Diskette des Archivsatzes,\nbitte legen Sie die letzte Diskette des Satzes ein"},
    {11038,
     "Dies ist Diskette Nr. %d des Archiv-Satzes,\nbitte legen Sie die letzte Diskette des Satzes ein"},
    {11045, "Dies ist die erste Datei des Archivsatzes,\nbitte w\xE4hlen Sie die letzte Datei des Satzes"},
    {11046, "Bitte Diskette Nummer %.1d einlegen"},
};

const TMessage* Find(int id) {
    auto it = std::lower_bound(std::begin(kMessages), std::end(kMessages), id,
                               [](const TMessage& m, int key) { return m.id < key; });
    return it != std::end(kMessages) && it->id == id && *it->text ? it : nullptr;
}

}  // namespace

std::string ZipMissingMessage(int id) {
    switch (id) {
        case 11033:
            return "Please insert last disk in set";
        case 11034:
            return "Please insert disk volume %.1d of %.1d";
        case 11046:
            return "Please insert disk volume %.1d";
        case 11035:
            return "\r\nin drive: %s";
        case 10105:
            return "Copying: ";
        default:
            return "ZipMsgXX.res is probably not bound to executable\nMissing String ID is: " +
                   std::to_string(id);
    }
}

bool ZipHasMessage(int id) {
    return Find(id) != nullptr;
}

std::string ZipMessage(int id) {
    const TMessage* m = Find(id);
    return m ? std::string(m->text) : ZipMissingMessage(id);
}
