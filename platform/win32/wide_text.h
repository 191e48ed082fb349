#pragma once

#include <string>
#include <string_view>

namespace platform::win32 {

// Texts cross the Win32 boundary as UTF-16 through the W functions. The
// program's texts are Windows-1252 bytes and are converted with code page
// 1252 itself, never with the system's ANSI code page, so that a Windows set
// to another code page shows and stores the same characters.

// Every byte has a UTF-16 form; the five bytes Windows-1252 leaves undefined
// become the C1 controls with the same number.
[[nodiscard]] std::wstring toWide(std::string_view text);

// A character without a Windows-1252 byte becomes '?', never a look-alike
// letter, so that what the program keeps is what it was given or plainly
// marked as lost.
[[nodiscard]] std::string fromWide(std::wstring_view text);

// Whether every character of the text has a Windows-1252 byte, so that
// fromWide gives it back unchanged.
[[nodiscard]] bool hasWindows1252Form(std::wstring_view text);

}  // namespace platform::win32
