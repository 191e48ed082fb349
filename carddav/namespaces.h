#pragma once

#include <string_view>

namespace carddav {

// The namespaces of the elements the program reads and writes.
inline constexpr std::string_view davNamespace = "DAV:";
inline constexpr std::string_view cardDavNamespace = "urn:ietf:params:xml:ns:carddav";

}  // namespace carddav
