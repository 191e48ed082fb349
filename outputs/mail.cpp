#include "outputs/mail.h"

#include <algorithm>

#include "table/control_ids.h"
#include "text/cp1252.h"

namespace outputs {

namespace {

// Text with every byte for which mustEscape holds written as "%" and two
// lower-case hexadecimal digits.
std::string percentEscaped(std::string_view text, bool (*mustEscape)(char)) {
  constexpr std::string_view hexDigits = "0123456789abcdef";
  std::string escaped;
  escaped.reserve(text.size());
  for (char c : text) {
    if (!mustEscape(c)) {
      escaped += c;
      continue;
    }
    auto byte = static_cast<unsigned char>(c);
    escaped += '%';
    escaped += hexDigits[byte >> 4];
    escaped += hexDigits[byte & 0x0F];
  }
  return escaped;
}

// Windows starts the mail program with the link in place of "%1" in a
// quoted command line argument: a '"' would end the argument there and make
// the rest arguments of their own (with Outlook "/a" attaches a file), and a
// '\' before the closing quote would take it into the argument. Neither
// stays as it is in any part of the link.
bool breaksCommandLine(char c) { return c == '"' || c == '\\'; }

// Blanks, "&", line feeds, carriage returns and tabs. Each is replaced by a
// text that holds none of them, so one pass gives what one replacement after
// the other gives.
bool isEscapedInBody(char c) {
  return c == ' ' || c == '&' || c == '\n' || c == '\r' || c == '\t' || breaksCommandLine(c);
}

// An address from a file may hold "?" or "#": taken as they are, they would
// start the link's own fields (a blind copy, an attachment) or its fragment,
// and control characters would break the link. Blanks and "&" stay, since
// before the "?" they cannot start a field.
bool isEscapedInAddress(char c) {
  return c == '?' || c == '#' || text::cp1252::isControl(c) || breaksCommandLine(c);
}

std::string escapedBody(std::string_view body) {
  if (body.size() < 2) return percentEscaped(body, breaksCommandLine);
  return percentEscaped(body, isEscapedInBody);
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
  appendCut(url, percentEscaped(address, isEscapedInAddress));
  appendCut(url, "?Subject=");
  appendCut(url, percentEscaped(subject, breaksCommandLine));
  appendCut(url, "&Body=");
  appendCut(url, escapedBody(body));
  return url;
}

void openMailto(platform::Shell& shell, std::string_view address, std::string_view subject,
                std::string_view body) {
  shell.openUrl(mailtoUrl(address, subject, body));
}

void composeMail(const platform::Window& window, platform::Shell& shell) {
  openMailto(shell, window.text(table::control::emailEdit), "", "");
}

}  // namespace outputs
