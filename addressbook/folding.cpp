#include "addressbook/folding.h"

#include <algorithm>
#include <cstring>

#include "addressbook/content_line.h"

namespace addressbook {

namespace {

constexpr std::string_view fold = "\r\n ";
constexpr std::size_t foldLength = 70;

constexpr std::string_view cardStart = "BEGIN:VCARD";
constexpr std::string_view cardEnd = "END:VCARD";

// The position of the first CR or LF, or npos. The CR is looked for only
// up to the first LF, so that a text of many line breaks is read once.
std::size_t firstLineBreak(std::string_view text) {
  const void* lf = std::memchr(text.data(), '\n', text.size());
  std::size_t limit = lf == nullptr
                          ? text.size()
                          : static_cast<std::size_t>(static_cast<const char*>(lf) - text.data());
  const void* cr = std::memchr(text.data(), '\r', limit);
  if (cr != nullptr) return static_cast<std::size_t>(static_cast<const char*>(cr) - text.data());
  return lf == nullptr ? std::string_view::npos : limit;
}

// A CR LF inside the value itself gets a blank after it, so that it
// continues the line instead of starting one of its own. A lone CR or LF
// (left in a value by a file with mixed line ends) is written as a blank:
// written as it is, it would change how the next read counts the line ends
// and cut the value there.
void appendValuePart(std::string& out, std::string_view part) {
  for (std::size_t at = firstLineBreak(part); at != std::string_view::npos;
       at = firstLineBreak(part)) {
    out.append(part.substr(0, at));
    if (part.substr(at, lineEnd.size()) == lineEnd) {
      endLine(out, fold);
      part.remove_prefix(at + lineEnd.size());
    } else {
      out += ' ';
      part.remove_prefix(at + 1);
    }
  }
  out.append(part);
}

// Whether a line end after text would make a card start of its last line:
// "BEGIN:VCARD" wherever it stands, another letter case of it when it is
// the whole line.
bool endsInCardStart(std::string_view text) {
  if (text.size() < cardStart.size() || (text.back() | 0x20) != 'd') return false;
  std::string_view tail = text.substr(text.size() - cardStart.size());
  if (tail == cardStart) return true;
  bool wholeLine =
      text.size() == cardStart.size() || text[text.size() - cardStart.size() - 1] == '\n';
  return wholeLine && equalsIgnoringCase(tail, cardStart);
}

// Whether every CR and every LF of the text stands in a CR LF.
bool hasOnlyWholeLineEnds(std::string_view text) {
  for (std::size_t at = text.find('\n'); at != std::string_view::npos;
       at = text.find('\n', at + 1)) {
    if (at == 0 || text[at - 1] != '\r') return false;
  }
  for (std::size_t at = text.find('\r'); at != std::string_view::npos;
       at = text.find('\r', at + 1)) {
    if (at + 1 == text.size() || text[at + 1] != '\n') return false;
  }
  return true;
}

// A line of a card without the line breaks at its start, and the blanks
// after them: written as blanks they would make it a fold.
std::string_view withoutBreaksInFront(std::string_view line) {
  bool dropped = false;
  while (!line.empty() && (line.front() == '\r' || line.front() == '\n' ||
                           (dropped && (line.front() == ' ' || line.front() == '\t')))) {
    dropped = true;
    line.remove_prefix(1);
  }
  return line;
}

}  // namespace

void endLine(std::string& out, std::string_view end) {
  if (endsInCardStart(out)) out.insert(out.size() - 1, fold);
  out.append(end);
}

void appendFolded(std::string& out, std::string_view value) {
  std::size_t folds = value.size() > foldLength ? value.size() / foldLength : 0;
  std::size_t taken = 0;
  for (std::size_t t = 1; t <= folds; ++t) {
    std::size_t foldAfter = 67 * t + 2;
    appendValuePart(out, value.substr(taken, foldAfter - taken));
    endLine(out, fold);
    taken = foldAfter;
  }
  appendValuePart(out, value.substr(taken));
}

void appendLines(std::string& out, std::string_view lines) {
  if (lines.ends_with(lineEnd) && hasOnlyWholeLineEnds(lines)) {
    out.append(lines);
    return;
  }
  while (!lines.empty()) {
    std::size_t end = lines.find(lineEnd);
    appendValuePart(out, withoutBreaksInFront(lines.substr(0, end)));
    if (end == std::string_view::npos) break;
    out.append(lineEnd);
    lines.remove_prefix(end + lineEnd.size());
  }
  if (!out.ends_with(lineEnd)) endLine(out, lineEnd);
}

void appendLineStart(std::string& out, std::string_view start) {
  appendValuePart(out, withoutBreaksInFront(start));
}

bool writesEmptyCard(std::string_view card) {
  // Lines that start with a line break can only be there when appendLines
  // writes line by line; other lines it writes as they are, or with blanks
  // for their line breaks, which makes them differ from these.
  for (bool first = true;; first = false) {
    std::size_t end = card.find(lineEnd);
    std::string_view line = withoutBreaksInFront(card.substr(0, end));
    if (first ? line != cardStart : !line.empty() && line != cardEnd) return false;
    if (end == std::string_view::npos) return true;
    card.remove_prefix(end + lineEnd.size());
  }
}

}  // namespace addressbook
