#include "zip/EZipFront.h"

#include "zip/ZipMessages.h"

namespace {

// Fills the one placeholder of a table text; a text without it (the fallback sentence) stays as is.
std::string Fill(int id, const std::string& value) {
    if (!ZipHasMessage(id)) return ZipMessage(id);
    std::string text = ZipMessage(id);
    size_t at = text.find("%s");
    if (at != std::string::npos) text.replace(at, 2, value);
    return text;
}

std::string FillNumber(int id, int number) {
    if (!ZipHasMessage(id)) return ZipMessage(id);
    std::string text = ZipMessage(id);
    for (const char* placeholder : {"%.1d", "%d"}) {
        size_t at = text.find(placeholder);
        if (at != std::string::npos) {
            text.replace(at, std::string(placeholder).size(), std::to_string(number));
            break;
        }
    }
    return text;
}

}  // namespace

EZipFront::EZipFront(int id, bool showToUser)
    : base::Exception(ZipMessage(id)), messageId_(id), showToUser_(showToUser) {}

EZipFront::EZipFront(int id, const std::string& drive)
    : base::Exception(Fill(id, drive)), messageId_(id), showToUser_(true) {}

EZipFront::EZipFront(int id, int volume)
    : base::Exception(FillNumber(id, volume)), messageId_(id), showToUser_(true) {}
