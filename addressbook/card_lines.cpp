#include "addressbook/card_lines.h"

#include <cstring>

#include "addressbook/content_line.h"

namespace addressbook {

namespace {

constexpr std::string_view lineEnd = "\r\n";

// Where the physical line starting at begin ends, its CR LF included.
std::size_t physicalEnd(std::string_view card, std::size_t begin) {
  std::size_t at = begin;
  while (true) {
    const void* lf = std::memchr(card.data() + at, '\n', card.size() - at);
    if (lf == nullptr) return card.size();
    auto position = static_cast<std::size_t>(static_cast<const char*>(lf) - card.data());
    // A lone LF (a file of mixed line ends) is part of the line.
    if (position > begin && card[position - 1] == '\r') return position + 1;
    at = position + 1;
  }
}

// The line without its line end.
std::string_view content(std::string_view card, std::size_t begin, std::size_t end) {
  std::string_view line = card.substr(begin, end - begin);
  if (line.ends_with(lineEnd)) line.remove_suffix(lineEnd.size());
  return line;
}

bool isQuotedPrintable(std::string_view head) {
  ContentLine line = parseContentLine(head);
  return line.isProperty && readParameters(line.parameters).quotedPrintable;
}

}  // namespace

std::vector<CardLine> cardLines(std::string_view card) {
  std::vector<CardLine> lines;
  std::size_t begin = 0;
  while (begin < card.size()) {
    CardLine line;
    line.begin = begin;
    std::size_t end = physicalEnd(card, begin);
    line.head = content(card, begin, end);
    bool softBreaks = line.head.ends_with('=') && isQuotedPrintable(line.head);
    std::string_view last = line.head;
    while (end < card.size()) {
      char next = card[end];
      bool continues = next == ' ' || next == '\t' || (softBreaks && last.ends_with('='));
      if (!continues) break;
      line.folded = true;
      std::size_t nextEnd = physicalEnd(card, end);
      last = content(card, end, nextEnd);
      end = nextEnd;
    }
    line.end = end;
    line.endsInSoftBreak = softBreaks && last.ends_with('=');
    lines.push_back(line);
    begin = end;
  }
  return lines;
}

std::string unfold(std::string_view card, const CardLine& line) {
  std::string text;
  text.reserve(line.end - line.begin);
  bool softBreaks = isQuotedPrintable(line.head);
  std::size_t begin = line.begin;
  bool first = true;
  while (begin < line.end) {
    std::size_t end = physicalEnd(card, begin);
    std::string_view part = content(card, begin, end);
    if (!first) {
      if (softBreaks && text.ends_with('=')) {
        text.pop_back();  // a soft line break: the next line goes on as it is
      } else if (!part.empty() && (part.front() == ' ' || part.front() == '\t')) {
        part.remove_prefix(1);
      }
    }
    text.append(part);
    first = false;
    begin = end;
  }
  return text;
}

}  // namespace addressbook
