#pragma once
// Text for the web edition's files. Everything taken from the disc is Windows-1252 and goes out as
// UTF-8, written as text: characters that HTML or a script would read as markup are escaped, and
// control characters (which a page cannot show) become U+FFFD.
#include <string>
#include <string_view>

namespace web {

// cp1252 text as HTML text or attribute value (both escape & < > " ').
std::string Text(std::string_view cp1252);
// cp1252 text as a JavaScript/JSON string literal with its quotes; "<" is escaped too.
std::string JsonString(std::string_view cp1252);
// cp1252 bytes as a JavaScript string literal whose characters are the bytes (U+0000 to U+00FF), for
// the search: the browser keeps such a string at one byte per character.
std::string JsonBytes(std::string_view cp1252);
// A relative path of native (UTF-8) names, '/'-separated, as a URL path: every byte that is not
// unreserved is percent-encoded, the separators kept.
std::string UrlPath(std::string_view utf8Path);

}  // namespace web
