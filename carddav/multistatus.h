#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace carddav {

// What a server said of one resource in a multistatus answer. The
// properties are those it reported with status 200; a property it did not
// report, or reported as missing, stays empty.
struct ResourceStatus {
  std::string href;  // as sent (percent-encoded), without surrounding white space
  // The status of the resource as a whole, when the server gave one instead
  // of properties: 404 for a member deleted since the last token.
  std::optional<int> status;
  std::optional<std::string> etag;  // with its quotes, as If-Match wants it
  // The card, UTF-8, its line ends LF unless the server wrote them as
  // character references.
  std::optional<std::string> addressData;
  bool isAddressBook = false;
  std::optional<std::string> displayName;
  std::optional<std::string> currentUserPrincipal;  // the href inside
  std::vector<std::string> addressBookHomes;        // every href inside

  [[nodiscard]] bool isGone() const { return status == 404; }
};

struct Multistatus {
  std::vector<ResourceStatus> resources;
  // The collection's new sync token, when the answer is to a sync report.
  std::optional<std::string> syncToken;
};

struct MultistatusReading {
  Multistatus multistatus;
  std::string error;  // empty when the body was read; otherwise why not
};

// Reads the body of a 207 answer (UTF-8 XML with DAV:multistatus at its
// root), no longer than maxBytes. A response naming several hrefs gives one
// entry for each; elements the program has no use for are passed over.
[[nodiscard]] MultistatusReading readMultistatus(std::string_view body, std::size_t maxBytes);

}  // namespace carddav
