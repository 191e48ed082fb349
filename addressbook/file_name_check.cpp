#include "addressbook/file_name_check.h"

#include <algorithm>
#include <string>

#include "platform/address_file_name.h"
#include "platform/settings.h"

namespace addressbook {

namespace {

constexpr std::size_t maxStorableLength = platform::setting::addressFile.room - 1;

bool isControlCharacter(char c) { return static_cast<unsigned char>(c) < 0x20; }

bool isBlank(char c) { return c == ' '; }

// Why the name cannot be stored as it is, or nothing when it can.
std::string_view problemWith(std::string_view path) {
  if (path.size() > maxStorableLength)
    return "Dieser Dateiname ist zu lang (h\xF6"
           "chstens 255 Zeichen):";
  if (std::ranges::any_of(path, isControlCharacter))
    return "Dieser Dateiname enth\xE4lt Steuerzeichen:";
  if (!path.empty() && (isBlank(path.front()) || isBlank(path.back())))
    return "Dieser Dateiname beginnt oder endet mit einem Leerzeichen:";
  return {};
}

}  // namespace

bool isStorableFileName(std::string_view path, platform::Dialogs& dialogs) {
  std::string_view problem = problemWith(path);
  if (problem.empty()) return true;
  dialogs.messageBox(std::string(problem) + "\r\n" + std::string(path),
                     platform::address_file_name::problemCaption);
  return false;
}

}  // namespace addressbook
