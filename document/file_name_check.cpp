#include "document/file_name_check.h"

#include <algorithm>

namespace document {

namespace {

bool isControlCharacter(char c) { return static_cast<unsigned char>(c) < 0x20; }

bool isBlank(char c) { return c == ' '; }

}  // namespace

FileNameProblem fileNameProblem(std::string_view path, std::size_t maxLength) {
  if (path.size() > maxLength) return FileNameProblem::tooLong;
  if (std::ranges::any_of(path, isControlCharacter)) return FileNameProblem::controlCharacter;
  if (!path.empty() && (isBlank(path.front()) || isBlank(path.back())))
    return FileNameProblem::blankAtEnd;
  return FileNameProblem::none;
}

}  // namespace document
