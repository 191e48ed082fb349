#pragma once

#include <functional>
#include <map>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/http.h"

namespace testing_support {

// A CardDAV server in memory, as the synchronisation sees it through HTTP:
// one address book at collection, sync tokens over a change log, multiget,
// PUT and DELETE with their preconditions, and faults to switch on. It
// answers only what the client sends; anything else is a 400.
class FakeCardDavServer : public platform::Http {
 public:
  static constexpr std::string_view origin = "http://dav.example";
  static constexpr std::string_view collection = "/dav/anna/kontakte/";

  struct Card {
    std::string text;
    std::string etag;
    int changedAt = 0;
  };
  std::map<std::string, Card, std::less<>> cards;  // by href
  std::map<std::string, int, std::less<>> deletedAt;
  int version = 0;

  // Faults: refuse tokens older than this (403 valid-sync-token); know no
  // sync report at all; answer a multiget with its hrefs percent-decoded;
  // fail every request after this many (a server stopped half way); add a
  // line to every card a client sends.
  int oldestToken = 0;
  bool noSyncReport = false;
  bool decodesHrefs = false;
  int requestsLeft = -1;
  std::string rewriteLine = "PRODID:-//Fake//DE";
  std::vector<std::string> requests;  // "METHOD path", with " depth N" where it has one
  // The one Authorization header answered; any when empty.
  std::string authorization;
  // Another client's change that lands just before the next PUT.
  std::function<void(FakeCardDavServer&)> beforePut;

  // A change another client (a phone) makes.
  void store(std::string_view href, std::string text) {
    ++version;
    cards[std::string(href)] = {std::move(text), "\"e" + std::to_string(version) + "\"", version};
    deletedAt.erase(std::string(href));
  }
  void remove(std::string_view href) {
    ++version;
    cards.erase(std::string(href));
    deletedAt[std::string(href)] = version;
  }

  platform::HttpResponse send(const platform::HttpRequest& request) override {
    std::string path = request.url.substr(origin.size());
    std::string depth = header(request, "Depth");
    requests.push_back(request.method + " " + path + (depth.empty() ? "" : " depth " + depth));
    if (requestsLeft == 0) return {platform::HttpFailure::broken, "stopped", 0, {}, {}};
    if (requestsLeft > 0) --requestsLeft;
    if (!authorization.empty() && header(request, "Authorization") != authorization)
      return answer(401, {});
    if (request.method == "PROPFIND" && path == collection) return listing(depth != "0");
    if (request.method == "REPORT" && path == collection) {
      if (request.body.find("sync-collection") != std::string::npos) return sync(request.body);
      return multiget(request.body);
    }
    if (request.method == "PUT" && beforePut) std::exchange(beforePut, nullptr)(*this);
    if (request.method == "PUT") return put(path, request);
    if (request.method == "DELETE") return erase(path, request);
    return answer(request.method == "PROPFIND" ? 404 : 400, {});
  }

 private:
  static platform::HttpResponse answer(int status, std::string body) {
    return {platform::HttpFailure::none, {}, status, {}, std::move(body)};
  }
  static std::string header(const platform::HttpRequest& request, std::string_view name) {
    for (const auto& [key, value] : request.headers) {
      if (key == name) return value;
    }
    return {};
  }
  static std::string decoded(std::string_view href) {
    std::string out;
    for (std::size_t i = 0; i < href.size(); ++i) {
      if (href[i] == '%' && i + 2 < href.size()) {
        out += static_cast<char>(std::stoi(std::string(href.substr(i + 1, 2)), nullptr, 16));
        i += 2;
      } else {
        out += href[i];
      }
    }
    return out;
  }
  static std::string escaped(std::string_view text) {
    std::string out;
    for (char c : text) {
      out += c == '&' ? "&amp;" : c == '<' ? "&lt;" : std::string(1, c);
    }
    return out;
  }
  static std::string response(std::string_view href, std::string_view props) {
    return "<d:response><d:href>" + std::string(href) + "</d:href><d:propstat><d:prop>" +
           std::string(props) + "</d:prop><d:status>HTTP/1.1 200 OK</d:status></d:propstat>" +
           "</d:response>";
  }
  static std::string gone(std::string_view href) {
    return "<d:response><d:href>" + std::string(href) +
           "</d:href><d:status>HTTP/1.1 404 Not Found</d:status></d:response>";
  }
  static platform::HttpResponse multistatus(const std::string& inner) {
    return answer(
        207, "<d:multistatus xmlns:d=\"DAV:\" xmlns:c=\"urn:ietf:params:xml:ns:carddav\">" + inner +
                 "</d:multistatus>");
  }
  static std::vector<std::string> between(std::string_view body, std::string_view open,
                                          std::string_view close) {
    std::vector<std::string> found;
    for (std::size_t at = body.find(open); at != std::string_view::npos;
         at = body.find(open, at + 1)) {
      std::size_t start = at + open.size();
      found.emplace_back(body.substr(start, body.find(close, start) - start));
    }
    return found;
  }

  platform::HttpResponse listing(bool withCards) const {
    std::string inner =
        response(collection, "<d:resourcetype><d:collection/><c:addressbook/></d:resourcetype>");
    if (withCards) {
      for (const auto& [href, card] : cards) {
        inner += response(href, "<d:getetag>" + card.etag + "</d:getetag>");
      }
    }
    return multistatus(inner);
  }

  platform::HttpResponse sync(std::string_view body) const {
    if (noSyncReport) return answer(501, "not implemented");
    std::vector<std::string> tokens = between(body, "<d:sync-token>", "</d:sync-token>");
    std::string token = tokens.empty() ? std::string() : tokens[0];
    int since = token.starts_with("tok-") ? std::stoi(token.substr(4)) : -1;
    if (!token.empty() && since < oldestToken) {
      return answer(403, "<d:error xmlns:d=\"DAV:\"><d:valid-sync-token/></d:error>");
    }
    std::string inner;
    for (const auto& [href, card] : cards) {
      if (card.changedAt > since)
        inner += response(href, "<d:getetag>" + card.etag + "</d:getetag>");
    }
    for (const auto& [href, at] : deletedAt) {
      if (!token.empty() && at > since) inner += gone(href);
    }
    return multistatus(inner + "<d:sync-token>tok-" + std::to_string(version) + "</d:sync-token>");
  }

  platform::HttpResponse multiget(std::string_view body) const {
    std::string inner;
    for (const std::string& href : between(body, "<d:href>", "</d:href>")) {
      auto card = cards.find(href);
      std::string answered = decodesHrefs ? decoded(href) : href;
      inner += card == cards.end()
                   ? gone(answered)
                   : response(answered, "<d:getetag>" + card->second.etag +
                                            "</d:getetag><c:address-data>" +
                                            escaped(card->second.text) + "</c:address-data>");
    }
    return multistatus(inner);
  }

  platform::HttpResponse put(const std::string& path, const platform::HttpRequest& request) {
    auto card = cards.find(path);
    std::string ifMatch = header(request, "If-Match");
    if (header(request, "If-None-Match") == "*"
            ? card != cards.end()
            : card == cards.end() || card->second.etag != ifMatch) {
      return answer(412, {});
    }
    std::string text = request.body;
    if (!rewriteLine.empty() && text.find(rewriteLine) == std::string::npos) {
      text.insert(text.find("\r\n") + 2, rewriteLine + "\r\n");
    }
    bool created = card == cards.end();
    store(path, text);
    return answer(created ? 201 : 204, {});
  }

  platform::HttpResponse erase(const std::string& path, const platform::HttpRequest& request) {
    auto card = cards.find(path);
    if (card == cards.end()) return answer(404, {});
    if (card->second.etag != header(request, "If-Match")) return answer(412, {});
    remove(path);
    return answer(204, {});
  }
};

}  // namespace testing_support
