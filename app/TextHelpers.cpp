#include "app/TextHelpers.h"

std::string EscapeAmpersand(std::string_view text) {
    std::string result(text);
    if (size_t at = result.find('&'); at != std::string::npos) result.insert(at, 1, '&');
    return result;
}

std::string UnescapeAmpersand(std::string_view text) {
    std::string result(text);
    if (size_t at = result.find('&'); at != std::string::npos) result.erase(at, 1);
    return result;
}
