#pragma once

#include <span>
#include <string>
#include <string_view>

namespace carddav {

// A request with an XML body, as the transport sends it: the method, the
// value of the Depth header and the body, UTF-8.
struct DavRequest {
  std::string_view method;
  int depth = 0;
  std::string body;
};

// Discovery, from the server's address to the address books: the current
// user's principal (asked of the address or of its well-known path), then
// the principal's address book home set, then the resource type and
// display name of a collection itself (depth 0) or of those in it (1).
[[nodiscard]] DavRequest currentUserPrincipalRequest();
[[nodiscard]] DavRequest addressBookHomeSetRequest();
[[nodiscard]] DavRequest addressBooksRequest(int depth);

// The ETag of every card in an address book, for a server without sync
// tokens or after it refused one.
[[nodiscard]] DavRequest etagListingRequest();

// The cards changed and deleted since token (empty for the first time),
// with their ETags.
[[nodiscard]] DavRequest syncCollectionRequest(std::string_view token);

// The cards at the hrefs (as the server sent them), with their ETags.
[[nodiscard]] DavRequest multigetRequest(std::span<const std::string> hrefs);

}  // namespace carddav
