#include "table/notes.h"

namespace table {

std::string notesForEditing(std::string_view notes) {
  std::string text;
  text.reserve(notes.size() + notes.size() / 16);
  // Line by line rather than byte by byte: notes can run to megabytes.
  for (std::size_t at = 0; at <= notes.size();) {
    std::size_t lineBreak = notes.find(noteLineBreak, at);
    if (lineBreak == std::string_view::npos) {
      text.append(notes.substr(at));
      break;
    }
    text.append(notes.substr(at, lineBreak - at)).append("\r\n");
    at = lineBreak + 1;
  }
  return text;
}

std::string notesForStore(std::string_view text) {
  std::string stored;
  stored.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') {
      stored += noteLineBreak;
      ++i;
    } else {
      stored += text[i];
    }
  }
  return stored;
}

}  // namespace table
