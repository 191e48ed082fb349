#pragma once

#include <string>
#include <string_view>

namespace carddav {

// "https://host:port" of an absolute URL; empty when it has no scheme and host.
[[nodiscard]] std::string originOf(std::string_view url);

// An href of an answer (an absolute path, as servers send them, or a full
// URL) as a full URL on the server of base.
[[nodiscard]] std::string resolve(std::string_view base, std::string_view href);

// Whether two URLs name the same resource: the same, or differing only by
// a trailing slash.
[[nodiscard]] bool sameResource(std::string_view a, std::string_view b);

// Whether two hrefs name the same path, percent-encoding aside
// ("/a/b%40c.vcf" and "/a/b@c.vcf").
[[nodiscard]] bool samePath(std::string_view a, std::string_view b);

// text as one segment of a URL path: everything but letters, digits and
// "-._~" percent-encoded.
[[nodiscard]] std::string pathSegment(std::string_view text);

}  // namespace carddav
