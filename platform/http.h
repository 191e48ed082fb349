#pragma once

#include <chrono>
#include <cstddef>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace platform {

// One HTTP request as a CardDAV client sends it. The backend adds nothing
// but what the protocol itself needs (Host, Content-Length); authorisation
// comes as a header like any other.
struct HttpRequest {
  std::string method;  // GET, PUT, DELETE, PROPFIND, REPORT, ...
  std::string url;     // absolute http:// or https:// URL, percent-encoded UTF-8
  std::vector<std::pair<std::string, std::string>> headers;
  std::string body;
  // The whole exchange, connecting included, ends with a failure after this.
  std::chrono::milliseconds timeout{30'000};
  // An answer whose body is larger than this fails (tooLarge) instead of
  // being read on.
  std::size_t maxBodyBytes = 16 << 20;
};

enum class HttpFailure {
  none,         // an answer came, whatever its status
  unreachable,  // no connection: a wrong host name or port, no network, refused
  timedOut,     // no complete answer within the request's timeout
  certificate,  // the server's certificate was refused (unknown issuer, wrong name, expired)
  tooLarge,     // the body was larger than the request allowed
  broken,       // the connection broke off or the answer was no HTTP
};

struct HttpResponse {
  HttpFailure failure = HttpFailure::none;
  // The backend's own words on a failure (for a log or a detail line), empty
  // when none.
  std::string detail;
  int status = 0;  // 0 on a failure
  // Header names in lower case, values as sent, in the order they came.
  std::vector<std::pair<std::string, std::string>> headers;
  std::string body;

  // The first value of a header (name in lower case); empty when none.
  [[nodiscard]] std::string header(std::string_view name) const {
    for (const auto& [key, value] : headers) {
      if (key == name) return value;
    }
    return {};
  }
};

// Sends requests one at a time and waits for each answer. Redirections are
// not followed: a 3xx answer comes back with its Location header. While it
// waits, the window's events go on being handled where the backend has a
// window (as during a long load).
class Http {
 public:
  virtual ~Http() = default;
  [[nodiscard]] virtual HttpResponse send(const HttpRequest& request) = 0;
};

}  // namespace platform
