#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace platform::win32 {

// Texts cross the Win32 boundary as UTF-16 through the W functions. The
// program's texts are Windows-1252 bytes (with the UTF-8 sequences of the
// characters Windows-1252 lacks, see text/cp1252.h) and are converted with
// the program's own table, never with the system's ANSI code page, so that a
// Windows set to another code page shows and stores the same characters.

// Every byte has a UTF-16 form; the five bytes Windows-1252 leaves undefined
// become the C1 controls with the same number. A UTF-8 sequence of a
// character that Windows-1252 lacks becomes that character.
[[nodiscard]] std::wstring toWide(std::string_view text);

// A character without a Windows-1252 byte becomes its UTF-8 sequence, so
// that toWide gives it back; a lone surrogate, which is no character, '?'.
[[nodiscard]] std::string fromWide(std::wstring_view text);

// Whether every character of the text has a Windows-1252 byte, so that
// fromWide gives it back as Windows-1252 alone.
[[nodiscard]] bool hasWindows1252Form(std::wstring_view text);

// A path of the system in the program's form: fromWide's, when toWide gives
// the same path back; nothing for the rare path whose Windows-1252
// characters spell a UTF-8 sequence ("\u00D0\u2013" would come back as "\u0416")
// or that holds a character no program text can carry.
[[nodiscard]] std::optional<std::string> pathFromWide(std::wstring_view path);

// UTF-8 text (the URLs and headers of HTTP) in UTF-16 and back, whatever
// the system's code page.
[[nodiscard]] std::wstring wideFromUtf8(std::string_view text);
[[nodiscard]] std::string utf8FromWide(std::wstring_view text);

}  // namespace platform::win32
