#include <windows.h>
// After windows.h, which it builds on.
#include <winhttp.h>

#include <algorithm>
#include <charconv>
#include <chrono>
#include <climits>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/machine_http.h"
#include "platform/win32/http.h"
#include "platform/win32/wide_text.h"

namespace platform::win32 {

namespace {

using Clock = std::chrono::steady_clock;
using Headers = std::vector<std::pair<std::string, std::string>>;

struct HandleCloser {
  void operator()(HINTERNET handle) const { WinHttpCloseHandle(handle); }
};
using Handle = std::unique_ptr<void, HandleCloser>;

HttpFailure failureOf(DWORD error) {
  switch (error) {
    case ERROR_WINHTTP_TIMEOUT:
    case WSAETIMEDOUT:  // the socket's own, which Wine passes on
      return HttpFailure::timedOut;
    case ERROR_WINHTTP_SECURE_CHANNEL_ERROR:  // Wine's word for a refused certificate
    case ERROR_WINHTTP_SECURE_FAILURE:
    case ERROR_WINHTTP_SECURE_INVALID_CA:
    case ERROR_WINHTTP_SECURE_INVALID_CERT:
    case ERROR_WINHTTP_SECURE_CERT_CN_INVALID:
    case ERROR_WINHTTP_SECURE_CERT_DATE_INVALID:
    case ERROR_WINHTTP_SECURE_CERT_REVOKED:
    case ERROR_WINHTTP_SECURE_CERT_REV_FAILED:
    case ERROR_WINHTTP_SECURE_CERT_WRONG_USAGE:
      return HttpFailure::certificate;
    case ERROR_WINHTTP_NAME_NOT_RESOLVED:
    case ERROR_WINHTTP_CANNOT_CONNECT:
    case ERROR_WINHTTP_INVALID_URL:
    case ERROR_WINHTTP_UNRECOGNIZED_SCHEME:
      return HttpFailure::unreachable;
    default:
      return HttpFailure::broken;
  }
}

HttpResponse failed(HttpFailure failure, std::string detail = {}) {
  HttpResponse response;
  response.failure = failure;
  response.detail = std::move(detail);
  return response;
}

// The failure of the WinHTTP call that failed last, in WinHTTP's words.
HttpResponse lastFailure() {
  DWORD error = GetLastError();
  std::string detail = "WinHTTP " + std::to_string(error);
  wchar_t* text = nullptr;
  DWORD length = FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_HMODULE |
                                    FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                                GetModuleHandleW(L"winhttp.dll"), error, 0,
                                reinterpret_cast<wchar_t*>(&text), 0, nullptr);
  std::wstring_view words(text, length);
  while (!words.empty() && (words.back() == L'\r' || words.back() == L'\n')) {
    words.remove_suffix(1);
  }
  if (!words.empty()) detail += ": " + utf8FromWide(words);
  LocalFree(text);
  return failed(failureOf(error), detail);
}

std::string_view trimmed(std::string_view text) {
  while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
  while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) text.remove_suffix(1);
  return text;
}

std::string lowerCase(std::string_view text) {
  std::string lower(text);
  std::ranges::transform(lower, lower.begin(), [](char c) {
    return static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
  });
  return lower;
}

// The header lines of the answer, its status line left out.
Headers headersOf(HINTERNET request) {
  DWORD size = 0;
  WinHttpQueryHeaders(request, WINHTTP_QUERY_RAW_HEADERS_CRLF, WINHTTP_HEADER_NAME_BY_INDEX,
                      WINHTTP_NO_OUTPUT_BUFFER, &size, WINHTTP_NO_HEADER_INDEX);
  std::wstring raw(size / sizeof(wchar_t), L'\0');
  if (!WinHttpQueryHeaders(request, WINHTTP_QUERY_RAW_HEADERS_CRLF, WINHTTP_HEADER_NAME_BY_INDEX,
                           raw.data(), &size, WINHTTP_NO_HEADER_INDEX)) {
    return {};
  }
  raw.resize(size / sizeof(wchar_t));
  std::string lines = utf8FromWide(raw);
  Headers headers;
  std::size_t end = lines.find("\r\n");
  while (end != std::string::npos) {
    std::size_t start = end + 2;
    end = lines.find("\r\n", start);
    std::string_view line = std::string_view(lines).substr(start, end - start);
    std::size_t colon = line.find(':');
    if (colon == std::string_view::npos) continue;
    headers.emplace_back(lowerCase(trimmed(line.substr(0, colon))),
                         trimmed(line.substr(colon + 1)));
  }
  return headers;
}

// Gives each of WinHTTP's waits no more than what is left of the whole
// exchange, and at least a millisecond (no time at all means no limit). The
// wait for the answer's head has a limit of its own, 90 seconds at first.
bool limitWaits(HINTERNET request, Clock::time_point deadline) {
  auto left = std::chrono::ceil<std::chrono::milliseconds>(deadline - Clock::now()).count();
  int limit = static_cast<int>(std::clamp<decltype(left)>(left, 1, INT_MAX));
  DWORD headLimit = static_cast<DWORD>(limit);
  return WinHttpSetTimeouts(request, limit, limit, limit, limit) &&
         WinHttpSetOption(request, WINHTTP_OPTION_RECEIVE_RESPONSE_TIMEOUT, &headLimit,
                          sizeof headLimit);
}

// Whether the body is shorter than its head announced: Wine's WinHTTP takes
// a connection closed early for the end of the body. An answer to HEAD and
// a 304 announce a body they do not carry.
bool cutShort(const HttpRequest& asked, const HttpResponse& response) {
  if (asked.method == "HEAD" || response.status == 304) return false;
  std::string announced = response.header("content-length");
  std::size_t length = 0;
  auto [end, error] =
      std::from_chars(announced.data(), announced.data() + announced.size(), length);
  return error == std::errc() && end == announced.data() + announced.size() &&
         response.body.size() < length;
}

// Reads the body as it comes, stopping at the request's bound and deadline.
HttpResponse readBody(HINTERNET request, const HttpRequest& asked, Clock::time_point deadline,
                      HttpResponse response) {
  for (;;) {
    if (Clock::now() >= deadline) return failed(HttpFailure::timedOut);
    DWORD available = 0;
    if (!limitWaits(request, deadline) || !WinHttpQueryDataAvailable(request, &available)) {
      return lastFailure();
    }
    if (available == 0) {
      if (cutShort(asked, response)) {
        return failed(HttpFailure::broken, "the connection closed before the whole body came");
      }
      return response;
    }
    if (available > asked.maxBodyBytes - response.body.size()) {
      return failed(HttpFailure::tooLarge);
    }
    std::size_t had = response.body.size();
    response.body.resize(had + available);
    DWORD read = 0;
    if (!WinHttpReadData(request, response.body.data() + had, available, &read)) {
      return lastFailure();
    }
    response.body.resize(had + read);
  }
}

// The whole exchange on WinHTTP's blocking calls.
HttpResponse exchange(HINTERNET session, const HttpRequest& asked) {
  const Clock::time_point deadline = Clock::now() + asked.timeout;
  std::wstring url = wideFromUtf8(asked.url);
  URL_COMPONENTS parts{};
  parts.dwStructSize = sizeof parts;
  parts.dwHostNameLength = parts.dwUrlPathLength = parts.dwExtraInfoLength = ~DWORD{0};
  if (!WinHttpCrackUrl(url.c_str(), 0, 0, &parts)) return lastFailure();
  std::wstring host(parts.lpszHostName, parts.dwHostNameLength);
  // The query follows the path in the URL.
  std::wstring path(parts.lpszUrlPath, parts.dwUrlPathLength + parts.dwExtraInfoLength);

  Handle connection(WinHttpConnect(session, host.c_str(), parts.nPort, 0));
  if (!connection) return lastFailure();
  std::wstring method = wideFromUtf8(asked.method);
  // The URL comes percent-encoded; WinHTTP must not encode it again.
  DWORD flags = WINHTTP_FLAG_ESCAPE_DISABLE | WINHTTP_FLAG_ESCAPE_DISABLE_QUERY;
  if (parts.nScheme == INTERNET_SCHEME_HTTPS) flags |= WINHTTP_FLAG_SECURE;
  Handle handle(WinHttpOpenRequest(connection.get(), method.c_str(),
                                   path.empty() ? nullptr : path.c_str(), nullptr,
                                   WINHTTP_NO_REFERER, WINHTTP_DEFAULT_ACCEPT_TYPES, flags));
  if (!handle) return lastFailure();
  HINTERNET request = handle.get();

  DWORD never = WINHTTP_OPTION_REDIRECT_POLICY_NEVER;
  // A server's session cookie would otherwise ride along with the
  // authorisation the caller gives.
  DWORD noCookies = WINHTTP_DISABLE_COOKIES;
  std::wstring headers;
  for (const auto& [name, value] : asked.headers) {
    headers += wideFromUtf8(name + ": " + value + "\r\n");
  }
  if (!WinHttpSetOption(request, WINHTTP_OPTION_REDIRECT_POLICY, &never, sizeof never) ||
      !WinHttpSetOption(request, WINHTTP_OPTION_DISABLE_FEATURE, &noCookies, sizeof noCookies) ||
      (!headers.empty() &&
       !WinHttpAddRequestHeaders(request, headers.c_str(), static_cast<DWORD>(headers.size()),
                                 WINHTTP_ADDREQ_FLAG_ADD))) {
    return lastFailure();
  }

  auto bodySize = static_cast<DWORD>(asked.body.size());
  void* body = asked.body.empty() ? WINHTTP_NO_REQUEST_DATA : const_cast<char*>(asked.body.data());
  DWORD status = 0;
  DWORD statusSize = sizeof status;
  if (!limitWaits(request, deadline) ||
      !WinHttpSendRequest(request, WINHTTP_NO_ADDITIONAL_HEADERS, 0, body, bodySize, bodySize, 0) ||
      !limitWaits(request, deadline) || !WinHttpReceiveResponse(request, nullptr) ||
      !WinHttpQueryHeaders(request, WINHTTP_QUERY_STATUS_CODE | WINHTTP_QUERY_FLAG_NUMBER,
                           WINHTTP_HEADER_NAME_BY_INDEX, &status, &statusSize,
                           WINHTTP_NO_HEADER_INDEX)) {
    return lastFailure();
  }
  HttpResponse response;
  response.status = static_cast<int>(status);
  response.headers = headersOf(request);
  return readBody(request, asked, deadline, std::move(response));
}

struct Exchange {
  HINTERNET session;
  const HttpRequest& request;
  HttpResponse response;
};

DWORD WINAPI runExchange(void* context) {
  auto* running = static_cast<Exchange*>(context);
  running->response = exchange(running->session, running->request);
  return 0;
}

// HTTP through WinHTTP, without a proxy found by looking on the network
// (one set up for WinHTTP is used), with cookies and redirections off; the
// body comes as the server sent it (WinHTTP unpacks nothing unless told).
class Http : public platform::Http {
 public:
  explicit Http(std::function<void()> whileWaiting) : whileWaiting_(std::move(whileWaiting)) {}

  HttpResponse send(const HttpRequest& request) override {
    if (!session_) {
      session_.reset(WinHttpOpen(L"Morvi-Telefonbuch", WINHTTP_ACCESS_TYPE_DEFAULT_PROXY,
                                 WINHTTP_NO_PROXY_NAME, WINHTTP_NO_PROXY_BYPASS, 0));
      if (!session_) return lastFailure();
    }
    // WinHTTP's calls block: the exchange runs on a thread of its own while
    // this one handles the window's events.
    Exchange running{session_.get(), request, {}};
    HANDLE thread = CreateThread(nullptr, 0, runExchange, &running, 0, nullptr);
    if (thread == nullptr) return exchange(session_.get(), request);
    DWORD wanted = whileWaiting_ ? QS_ALLINPUT : QS_PAINT;
    while (MsgWaitForMultipleObjects(1, &thread, FALSE, INFINITE, wanted) == WAIT_OBJECT_0 + 1) {
      if (whileWaiting_) {
        whileWaiting_();
        continue;
      }
      MSG message;
      while (PeekMessageW(&message, nullptr, WM_PAINT, WM_PAINT, PM_REMOVE)) {
        DispatchMessageW(&message);
      }
    }
    WaitForSingleObject(thread, INFINITE);
    CloseHandle(thread);
    return std::move(running.response);
  }

 private:
  Handle session_;
  std::function<void()> whileWaiting_;
};

}  // namespace

std::unique_ptr<platform::Http> makeHttp(std::function<void()> whileWaiting) {
  return std::make_unique<Http>(std::move(whileWaiting));
}

}  // namespace platform::win32

namespace platform {

std::unique_ptr<Http> makeMachineHttp() { return win32::makeHttp({}); }

}  // namespace platform
