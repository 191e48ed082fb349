#include "outputs/mail.h"

#include <algorithm>

namespace outputs {

namespace {

// Every character that the body escapes is replaced by a text that holds
// none of them, so one pass gives what one replacement after the other gives.
std::string escapedBody(std::string_view body) {
  if (body.size() < 2) return std::string(body);
  std::string escaped;
  escaped.reserve(body.size());
  for (char c : body) {
    switch (c) {
      case ' ':
        escaped += "%20";
        break;
      case '&':
        escaped += "%26";
        break;
      case '\n':
        escaped += "%0a";
        break;
      case '\r':
        escaped += "%0d";
        break;
      case '\t':
        escaped += "%09";
        break;
      default:
        escaped += c;
    }
  }
  return escaped;
}

// Appends text, keeping the link within its longest length.
void appendCut(std::string& url, std::string_view text) {
  std::size_t room = maxMailtoLength - std::min(url.size(), maxMailtoLength);
  url.append(text.substr(0, room));
}

}  // namespace

std::string mailtoUrl(std::string_view address, std::string_view subject, std::string_view body) {
  std::string url;
  appendCut(url, "mailto:");
  appendCut(url, address);
  appendCut(url, "?Subject=");
  appendCut(url, subject);
  appendCut(url, "&Body=");
  appendCut(url, escapedBody(body));
  return url;
}

void openMailto(platform::Shell& shell, std::string_view address, std::string_view subject,
                std::string_view body) {
  shell.openUrl(mailtoUrl(address, subject, body));
}

void composeMail(const platform::Window& window, platform::Shell& shell) {
  openMailto(shell, window.text(platform::ControlId::emailEdit), "", "");
}

}  // namespace outputs
