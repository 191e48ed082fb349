#include "carddav/dav_session.h"

namespace carddav {

namespace {

// An answer of many cards may be large; one of a single card never is.
constexpr std::size_t maxAnswerBytes = 64 << 20;
constexpr std::size_t cardsPerRequest = 100;

std::string base64(std::string_view bytes) {
  static constexpr char digits[] =
      "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
  std::string out;
  for (std::size_t i = 0; i < bytes.size(); i += 3) {
    unsigned group = static_cast<unsigned char>(bytes[i]) << 16;
    if (i + 1 < bytes.size()) group |= static_cast<unsigned char>(bytes[i + 1]) << 8;
    if (i + 2 < bytes.size()) group |= static_cast<unsigned char>(bytes[i + 2]);
    out += digits[(group >> 18) & 63];
    out += digits[(group >> 12) & 63];
    out += i + 1 < bytes.size() ? digits[(group >> 6) & 63] : '=';
    out += i + 2 < bytes.size() ? digits[group & 63] : '=';
  }
  return out;
}

SyncFailure failureOf(platform::HttpFailure failure) {
  switch (failure) {
    case platform::HttpFailure::unreachable:
      return SyncFailure::unreachable;
    case platform::HttpFailure::timedOut:
      return SyncFailure::timedOut;
    case platform::HttpFailure::certificate:
      return SyncFailure::certificate;
    case platform::HttpFailure::tooLarge:
      return SyncFailure::tooLarge;
    case platform::HttpFailure::broken:
    case platform::HttpFailure::none:
      break;
  }
  return SyncFailure::broken;
}

}  // namespace

DavSession::DavSession(platform::Http& http, const Account& account) : http_(http) {
  if (!account.user.empty()) {
    authorization_ = "Basic " + base64(account.user + ":" + account.password);
  }
}

void DavSession::fail(SyncFailure failure, std::string detail, int status) {
  if (failed()) return;
  failure_ = failure;
  detail_ = std::move(detail);
  status_ = status;
}

std::optional<platform::HttpResponse> DavSession::send(
    std::string_view method, const std::string& url,
    std::vector<std::pair<std::string, std::string>> headers, std::string body) {
  if (failed()) return std::nullopt;
  platform::HttpRequest request;
  request.method = method;
  request.url = url;
  request.headers = std::move(headers);
  if (!authorization_.empty()) request.headers.emplace_back("Authorization", authorization_);
  request.body = std::move(body);
  request.maxBodyBytes = maxAnswerBytes;
  platform::HttpResponse response = http_.send(request);
  std::string what = std::string(method) + " " + url;
  if (response.failure != platform::HttpFailure::none) {
    fail(failureOf(response.failure), what + ": " + response.detail);
    return std::nullopt;
  }
  if (response.status == 401) {
    fail(SyncFailure::unauthorised, what, response.status);
    return std::nullopt;
  }
  return response;
}

std::optional<Multistatus> DavSession::report(const std::string& url, const DavRequest& request,
                                              bool mayRefuse) {
  auto response = send(request.method, url,
                       {{"Depth", std::to_string(request.depth)},
                        {"Content-Type", "application/xml; charset=utf-8"}},
                       request.body);
  if (!response) return std::nullopt;
  if (response->status != 207) {
    if (!mayRefuse) {
      fail(SyncFailure::serverError, std::string(request.method) + " " + url, response->status);
    }
    return std::nullopt;
  }
  MultistatusReading reading = readMultistatus(response->body, maxAnswerBytes);
  if (!reading.error.empty()) {
    fail(SyncFailure::badAnswer, std::string(request.method) + " " + url + ": " + reading.error);
    return std::nullopt;
  }
  return std::move(reading.multistatus);
}

std::map<std::string, ServerCard> DavSession::fetch(const std::string& url,
                                                    std::span<const std::string> hrefs,
                                                    const Progress& progress) {
  std::map<std::string, ServerCard> cards;
  for (std::size_t first = 0; first < hrefs.size() && !failed(); first += cardsPerRequest) {
    auto batch = hrefs.subspan(first, std::min(cardsPerRequest, hrefs.size() - first));
    auto answer = report(url, multigetRequest(batch));
    if (!answer) break;
    for (ResourceStatus& resource : answer->resources) {
      if (resource.isGone() || !resource.addressData || !resource.etag) continue;
      cards[resource.href] = {std::move(*resource.etag), std::move(*resource.addressData)};
    }
    if (progress) progress(first + batch.size(), hrefs.size());
  }
  return cards;
}

}  // namespace carddav
