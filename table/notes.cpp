#include "table/notes.h"

namespace table {

std::string notesForEditing(std::string_view notes) {
  std::string text;
  text.reserve(notes.size());
  for (char c : notes) {
    if (c == noteLineBreak) {
      text += "\r\n";
    } else {
      text += c;
    }
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
