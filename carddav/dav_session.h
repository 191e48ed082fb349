#pragma once

#include <map>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "carddav/multistatus.h"
#include "carddav/requests.h"
#include "carddav/synchronisation.h"
#include "platform/http.h"

namespace carddav {

// A card as the server holds it.
struct ServerCard {
  std::string etag;
  std::string text;  // UTF-8, as sent
};

// The requests of one synchronisation, with the user's credentials, and
// the first failure among them: after a failure every request fails at
// once, so that the caller checks once, where it must stop.
class DavSession {
 public:
  DavSession(platform::Http& http, const Account& account);

  [[nodiscard]] bool failed() const { return failure_ != SyncFailure::none; }
  [[nodiscard]] SyncFailure failure() const { return failure_; }
  [[nodiscard]] int status() const { return status_; }
  [[nodiscard]] const std::string& detail() const { return detail_; }

  // The answer to a request; nothing after a failure of the transport or an
  // answer of 401. (A 403 is no failure here: servers refuse a sync token
  // with it.)
  std::optional<platform::HttpResponse> send(
      std::string_view method, const std::string& url,
      std::vector<std::pair<std::string, std::string>> headers, std::string body);
  // A WebDAV request whose answer must be a multistatus; nothing (and a
  // failure) for any other answer, unless mayRefuse: then nothing without
  // a failure for an answer that is no 207.
  std::optional<Multistatus> report(const std::string& url, const DavRequest& request,
                                    bool mayRefuse = false);
  // The cards at hrefs (of the collection at url), a hundred per request;
  // a card the server no longer has is left out. progress: the cards asked
  // for so far, after each request.
  std::map<std::string, ServerCard> fetch(const std::string& url,
                                          std::span<const std::string> hrefs,
                                          const Progress& progress = {});

  void fail(SyncFailure failure, std::string detail, int status = 0);

 private:
  platform::Http& http_;
  std::string authorization_;
  SyncFailure failure_ = SyncFailure::none;
  int status_ = 0;
  std::string detail_;
};

}  // namespace carddav
