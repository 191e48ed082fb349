// The machine's HTTP backend (Qt Network on Linux, WinHTTP on Windows)
// against a server on loopback that answers as each case tells it.

#include <gtest/gtest.h>

#include <cctype>
#include <chrono>
#include <cstdlib>
#include <string>

#include "platform/machine_http.h"
#include "tests/fakes/loopback_http_server.h"

namespace {

using namespace std::chrono_literals;
using namespace std::string_literals;
using platform::HttpFailure;
using testing_support::LoopbackHttpServer;
using Then = LoopbackHttpServer::Then;

std::string answer(std::string_view statusLine, std::string_view headers, std::string_view body) {
  return std::string(statusLine) + "\r\n" + std::string(headers) +
         "Content-Length: " + std::to_string(body.size()) + "\r\n\r\n" + std::string(body);
}

TEST(HttpTest, send_deliversTheRequestAsGivenAndTheAnswerWhole) {
  const std::string multistatus = "<?xml version=\"1.0\"?>\r\n<d:multistatus xmlns:d=\"DAV:\"/>";
  LoopbackHttpServer server(answer("HTTP/1.1 207 Multi-Status",
                                   "Content-Type: application/xml; charset=utf-8\r\n"
                                   "ETag: \"v1\"\r\n",
                                   multistatus));
  platform::HttpRequest request{
      .method = "PROPFIND",
      .url = server.url("/adressen/J%C3%BCrgen%20M/"),
      .headers = {{"Depth", "1"},
                  {"Content-Type", "application/xml; charset=utf-8"},
                  {"Authorization", "Basic YW5uYTpnZWhlaW0="}},
      .body = "<d:propfind xmlns:d=\"DAV:\"><d:prop><d:getetag/></d:prop></d:propfind>"};

  platform::HttpResponse response = platform::makeMachineHttp()->send(request);

  std::string received = server.request();
  EXPECT_TRUE(received.starts_with("PROPFIND /adressen/J%C3%BCrgen%20M/ HTTP/1.1\r\n")) << received;
  // Header names as Qt 6.8 sends them, in lower case, or as given: the
  // case of a name means nothing in HTTP.
  auto lowerCase = [](std::string text) {
    for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return text;
  };
  for (const auto& [name, value] : request.headers) {
    std::string rest = ": " + value + "\r\n";
    std::size_t at = lowerCase(received).find("\r\n" + lowerCase(name + rest));
    ASSERT_NE(at, std::string::npos) << name << " in " << received;
    EXPECT_EQ(received.substr(at + 2 + name.size(), rest.size()), rest) << "the value as given";
  }
  EXPECT_TRUE(received.ends_with("\r\n\r\n" + request.body)) << received;
  EXPECT_EQ(response.failure, HttpFailure::none) << response.detail;
  EXPECT_EQ(response.status, 207);
  EXPECT_EQ(response.header("etag"), "\"v1\"");
  EXPECT_EQ(response.header("content-type"), "application/xml; charset=utf-8");
  EXPECT_EQ(response.body, multistatus);
}

TEST(HttpTest, send_tellsEveryStatusFromEveryFailure) {
  const std::string card = "BEGIN:VCARD\r\nFN:J\xC3\xBCrgen\r\nNOTE:\x80\xFF\0\r\nEND:VCARD\r\n"s;
  struct Case {
    std::string_view name;
    std::string answer = {};
    Then then = Then::close;
    std::size_t maxBodyBytes = 1000;
    std::chrono::milliseconds timeout = 5s;
    HttpFailure failure = HttpFailure::none;
    int status = 0;
    std::string body = {};
    std::string_view header = {}, value = {};
  };
  const Case cases[] = {
      {.name = "a redirection comes back unfollowed",
       .answer =
           answer("HTTP/1.1 301 Moved Permanently", "Location: http://127.0.0.1:1/neu/\r\n", ""),
       .status = 301,
       .header = "location",
       .value = "http://127.0.0.1:1/neu/"},
      {.name = "a missing resource is an answer",
       .answer = answer("HTTP/1.1 404 Not Found", "", "nicht da"),
       .status = 404,
       .body = "nicht da"},
      {.name = "a changed resource is an answer",
       .answer = answer("HTTP/1.1 412 Precondition Failed", "", ""),
       .status = 412},
      {.name = "a refused login is an answer",
       .answer = answer("HTTP/1.1 401 Unauthorized",
                        "WWW-Authenticate: Basic realm=\"Adressen\"\r\n", ""),
       .status = 401,
       .header = "www-authenticate",
       .value = "Basic realm=\"Adressen\""},
      {.name = "a body comes byte for byte, even when it says it is packed",
       .answer = answer("HTTP/1.1 200 OK", "Content-Encoding: gzip\r\n", card),
       .status = 200,
       .body = card},
      {.name = "a body of just the allowed size comes",
       .answer = answer("HTTP/1.1 200 OK", "", std::string(1000, 'x')),
       .status = 200,
       .body = std::string(1000, 'x')},
      {.name = "a body one byte over the allowed size does not",
       .answer = answer("HTTP/1.1 200 OK", "", std::string(1001, 'x')),
       .failure = HttpFailure::tooLarge},
      {.name = "an endless body ends at the allowed size",
       .answer = "HTTP/1.1 200 OK\r\nConnection: close\r\n\r\n",
       .then = Then::sendForever,
       .failure = HttpFailure::tooLarge},
      {.name = "a server that says nothing runs out of time",
       .then = Then::stall,
       .timeout = 500ms,
       .failure = HttpFailure::timedOut},
      {.name = "a body that never ends in time runs out of time",
       .answer = "HTTP/1.1 200 OK\r\nContent-Length: 900\r\n\r\n",
       .then = Then::trickle,
       .timeout = 500ms,
       .failure = HttpFailure::timedOut},
      {.name = "a port nobody listens on is unreachable",
       .then = Then::refuse,
       .failure = HttpFailure::unreachable},
      {.name = "a status line cut off is broken",
       .answer = "HTTP/1.1 2",
       .failure = HttpFailure::broken},
      {.name = "a body cut off is broken",
       .answer = "HTTP/1.1 200 OK\r\nContent-Length: 100\r\n\r\nBEGIN:VCARD",
       .failure = HttpFailure::broken},
  };
  auto http = platform::makeMachineHttp();
  for (const Case& c : cases) {
    LoopbackHttpServer server(c.answer, c.then);

    platform::HttpRequest request;
    request.method = "GET";
    request.url = server.url("/karte.vcf");
    request.timeout = c.timeout;
    request.maxBodyBytes = c.maxBodyBytes;
    auto started = std::chrono::steady_clock::now();

    platform::HttpResponse response = http->send(request);

    auto took = std::chrono::steady_clock::now() - started;
    EXPECT_EQ(response.failure, c.failure) << c.name << ": " << response.detail;
    EXPECT_EQ(response.status, c.status) << c.name;
    EXPECT_EQ(response.body, c.body) << c.name;
    EXPECT_EQ(response.header(c.header), c.value) << c.name;
    EXPECT_LT(took, c.timeout + 1s) << c.name;
    if (c.failure == HttpFailure::timedOut) {
      EXPECT_GT(took, c.timeout - 50ms) << c.name;
    }
  }
}

// ctest runs it beside a TLS server (with-tls-server); elsewhere it is
// skipped.
TEST(HttpTest, send_refusesACertificateThatSignedItself) {
  const char* port = std::getenv("MORVI_TEST_TLS_PORT");
  if (port == nullptr) GTEST_SKIP() << "no TLS server";
  platform::HttpRequest request;
  request.method = "GET";
  request.url = "https://127.0.0.1:" + std::string(port) + "/";

  platform::HttpResponse response = platform::makeMachineHttp()->send(request);

  EXPECT_EQ(response.failure, HttpFailure::certificate) << response.detail;
  EXPECT_NE(response.detail, "");
}

}  // namespace
