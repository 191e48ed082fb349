#pragma once

#include <cstddef>
#include <string_view>

namespace carddav {

// Whether the body of an answer that refused a sync report (a DAV:error,
// usually with status 403) names the failed condition valid-sync-token: the
// server no longer knows the token, and every card must be compared again.
// False for any other body, an unreadable one or one over maxBytes included.
[[nodiscard]] bool refusesSyncToken(std::string_view body, std::size_t maxBytes);

}  // namespace carddav
