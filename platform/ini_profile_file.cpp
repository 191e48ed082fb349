#include "platform/ini_profile_file.h"

#include <algorithm>
#include <optional>

namespace platform {

namespace {

constexpr std::size_t npos = std::string_view::npos;

bool isBlank(char c) { return c == ' ' || c == '\t'; }

std::string_view trim(std::string_view text) {
  while (!text.empty() && isBlank(text.front())) text.remove_prefix(1);
  while (!text.empty() && isBlank(text.back())) text.remove_suffix(1);
  return text;
}

char asciiLower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

bool sameName(std::string_view a, std::string_view b) {
  return std::equal(a.begin(), a.end(), b.begin(), b.end(),
                    [](char x, char y) { return asciiLower(x) == asciiLower(y); });
}

// One line of the file as offsets into it.
struct Line {
  std::size_t begin = 0;
  std::size_t contentEnd = 0;  // before the line end (LF, CR LF)
  std::size_t end = 0;         // after the line end
};

Line lineAt(std::string_view text, std::size_t begin) {
  std::size_t lf = text.find('\n', begin);
  Line line{begin, lf == npos ? text.size() : lf, lf == npos ? text.size() : lf + 1};
  // Stray CRs before the end belong to the line end too, so that appending a
  // line after a file that ends in CR cannot change what that line holds.
  while (line.contentEnd > begin && text[line.contentEnd - 1] == '\r') --line.contentEnd;
  return line;
}

enum class LineKind { other, section, key };

struct Entry {
  LineKind kind = LineKind::other;
  std::string_view name;
  std::size_t valueBegin = 0;  // after '=' and the blanks that follow it
};

Entry classify(std::string_view text, const Line& line) {
  std::string_view content = text.substr(line.begin, line.contentEnd - line.begin);
  std::string_view trimmed = trim(content);
  if (trimmed.empty() || trimmed.front() == ';' || trimmed.front() == '#') return {};
  if (trimmed.front() == '[') {
    std::size_t close = trimmed.rfind(']');
    if (close == npos || close == 0) return {};
    return {LineKind::section, trim(trimmed.substr(1, close - 1)), 0};
  }
  std::size_t equals = content.find('=');
  if (equals == npos) return {};
  std::string_view name = trim(content.substr(0, equals));
  if (name.empty()) return {};
  std::size_t valueBegin = line.begin + equals + 1;
  while (valueBegin < line.contentEnd && isBlank(text[valueBegin])) ++valueBegin;
  return {LineKind::key, name, valueBegin};
}

// Where a key is, or would go, in the file.
struct Place {
  bool sectionFound = false;
  bool keyFound = false;
  Line keyLine;  // the key's line when found
  std::size_t valueBegin = 0;
  Line lastLine;  // the last key line of the section, or its header
};

Place find(std::string_view text, std::string_view section, std::string_view key) {
  Place place;
  for (std::size_t begin = 0; begin < text.size();) {
    Line line = lineAt(text, begin);
    begin = line.end;
    Entry entry = classify(text, line);
    if (entry.kind == LineKind::section) {
      // Only the first section of that name counts, as with the profile
      // routines of Windows.
      if (place.sectionFound) break;
      if (sameName(entry.name, section)) {
        place.sectionFound = true;
        place.lastLine = line;
      }
    } else if (entry.kind == LineKind::key && place.sectionFound) {
      place.lastLine = line;
      if (sameName(entry.name, key)) {
        place.keyFound = true;
        place.keyLine = line;
        place.valueBegin = entry.valueBegin;
        break;
      }
    }
  }
  return place;
}

std::string_view withoutQuotes(std::string_view value) {
  if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
      value.back() == value.front()) {
    return value.substr(1, value.size() - 2);
  }
  return value;
}

std::string cut(std::string_view value, std::size_t room) {
  if (room == 0) return {};
  return std::string(value.substr(0, room - 1));
}

bool holdsLineBreakOrNul(std::string_view text) {
  return text.find_first_of(std::string_view("\r\n\0", 3)) != npos;
}

bool isWritableSection(std::string_view section) {
  return !trim(section).empty() && !holdsLineBreakOrNul(section) && section.find(']') == npos;
}

bool isWritableKey(std::string_view key) {
  std::string_view name = trim(key);
  return !name.empty() && !holdsLineBreakOrNul(key) && key.find('=') == npos &&
         name.front() != '[' && name.front() != ';' && name.front() != '#';
}

// The line end for new lines: the one the file already uses, else CR LF.
std::string_view lineEndOf(std::string_view text) {
  std::size_t lf = text.find('\n');
  if (lf != npos && (lf == 0 || text[lf - 1] != '\r')) return "\n";
  return "\r\n";
}

bool endsWithLineEnd(std::string_view text) { return !text.empty() && text.back() == '\n'; }

}  // namespace

std::string IniProfileFile::read(std::string_view path, std::string_view section,
                                 std::string_view key, std::string_view defaultValue,
                                 std::size_t room) const {
  std::optional<std::string> text = files_.readFile(path);
  if (!text) return cut(defaultValue, room);
  Place place = find(*text, trim(section), trim(key));
  if (!place.keyFound) return cut(defaultValue, room);
  std::string_view value =
      std::string_view(*text).substr(place.valueBegin, place.keyLine.contentEnd - place.valueBegin);
  return cut(withoutQuotes(trim(value)), room);
}

bool IniProfileFile::write(std::string_view path, std::string_view section, std::string_view key,
                           std::string_view value) {
  if (!isWritableSection(section) || !isWritableKey(key) || holdsLineBreakOrNul(value)) {
    return false;
  }
  std::optional<std::string> existing = files_.readFile(path);
  // A file that is there but cannot be read must not be replaced by one
  // holding only this key.
  if (!existing && files_.isFile(path)) return false;
  std::string_view text = existing ? std::string_view(*existing) : std::string_view();
  std::string_view lineEnd = lineEndOf(text);
  Place place = find(text, trim(section), trim(key));

  std::string result;
  result.reserve(text.size() + section.size() + key.size() + value.size() + 8);
  if (place.keyFound) {
    std::string_view old =
        text.substr(place.valueBegin, place.keyLine.contentEnd - place.valueBegin);
    if (old == value) return true;
    result.append(text.substr(0, place.valueBegin));
    result.append(value);
    result.append(text.substr(place.keyLine.contentEnd));
  } else if (place.sectionFound) {
    std::size_t at = place.lastLine.end;
    result.append(text.substr(0, at));
    if (!endsWithLineEnd(result)) result.append(lineEnd);
    result.append(key).append("=").append(value).append(lineEnd);
    result.append(text.substr(at));
  } else {
    result.append(text);
    if (!result.empty() && !endsWithLineEnd(result)) result.append(lineEnd);
    result.append("[").append(section).append("]").append(lineEnd);
    result.append(key).append("=").append(value).append(lineEnd);
  }
  return files_.replaceFile(path, result);
}

}  // namespace platform
