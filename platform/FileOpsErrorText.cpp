#include <cerrno>

#include "base/Cp1252.h"
#include "base/StrUtils.h"
#include "platform/FileOps.h"

namespace platform {

std::string FileOps::ErrorText(int errorCode) {
    switch (errorCode) {
        case ENOENT:
            return base::Cp("Die Datei oder der Ordner wurde nicht gefunden.");
        case EACCES:
        case EPERM:
            return base::Cp("Zugriff verweigert.");
        case EROFS:
            return base::Cp("Der Datenträger ist schreibgeschützt.");
        case ENOSPC:
            return base::Cp("Auf dem Datenträger ist nicht genügend Speicherplatz vorhanden.");
#ifdef EDQUOT
        case EDQUOT:
            return base::Cp("Das Speicherkontingent ist erschöpft.");
#endif
        case EEXIST:
            return base::Cp("Die Datei oder der Ordner ist bereits vorhanden.");
        case ENOTDIR:
            return base::Cp("Ein Teil des Pfades ist kein Ordner.");
        case EISDIR:
            return base::Cp("Das Ziel ist ein Ordner.");
        case ENAMETOOLONG:
            return base::Cp("Der Dateiname ist zu lang.");
        case EXDEV:
            return base::Cp("Das Ziel liegt auf einem anderen Datenträger.");
        case ENODEV:
        case ENXIO:
            return base::Cp("Der Datenträger ist nicht bereit oder wurde entfernt.");
        case EIO:
            return base::Cp("E/A-Fehler.");
        default:
            return base::Format("E/A-Fehler %d.", errorCode);
    }
}

}  // namespace platform
