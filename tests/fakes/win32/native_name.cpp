#include "tests/fakes/native_name.h"

#include <windows.h>

#include "text/cp1252.h"

namespace testing_support {

std::filesystem::path nativeName(std::string_view programText) {
  std::wstring wide;
  for (char c : programText) {
    wide += static_cast<wchar_t>(text::cp1252::toUnicode(static_cast<unsigned char>(c)));
  }
  return wide;
}

std::string programText(const std::filesystem::path& path) {
  std::string bytes;
  for (wchar_t c : path.native()) {
    bytes += static_cast<char>(text::cp1252::fromUnicode(c).value_or('?'));
  }
  return bytes;
}

unsigned systemCodePage() { return GetACP(); }

}  // namespace testing_support
