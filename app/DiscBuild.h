#pragma once
// Values fixed by the disc build rather than by the data files.
#include <string_view>

namespace DiscBuild {

// Host of the server that counts banner clicks and forwards to the banner's target.
inline constexpr std::string_view kRedirectHost = "redirect.example.net";
// The publisher's contact links on the info page.
inline constexpr std::string_view kPublisherMail = "redaktion@example.net";
inline constexpr std::string_view kPublisherWeb = "www.example.net";

}  // namespace DiscBuild
