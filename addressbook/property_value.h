#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "addressbook/content_line.h"

namespace addressbook {

// How the value of one line of a card is written.
struct ValueForm {
  enum class Charset {
    unnamed,      // vCard 2.1 without CHARSET: Windows-1252, or UTF-8 where it is valid
    windows1252,  // CHARSET=ISO-8859-1, windows-1252, US-ASCII
    utf8,         // vCard 3.0 and 4.0, or CHARSET=UTF-8
    other,        // a charset the program does not convert (Shift_JIS, ...): bytes as they are
  };
  Charset charset = Charset::unnamed;
  bool quotedPrintable = false;  // ENCODING=QUOTED-PRINTABLE of vCard 2.1
  bool escaped = false;          // "\n", "\,", "\;" and "\\" of vCard 3.0 and 4.0
};

// The form of a line's value in a card of that version (21, 30, 40).
[[nodiscard]] ValueForm valueFormOf(const ContentLine& line, int version);

// A value as the program holds it: quoted-printable decoded, converted to
// the program's text, escapes undone; a line break becomes the byte 0x07.
[[nodiscard]] std::string decodeValue(std::string_view value, const ValueForm& form);

// The components of a structured value (N: family name, given name, ...),
// split at the semicolons that are not escaped, each still encoded.
[[nodiscard]] std::vector<std::string_view> components(std::string_view value);

// One component of a structured value, decoded as decodeValue does; in the
// forms without escapes (vCard 2.1) "\;" and "\\" still stand for ";" and
// "\", as 2.1 writes them inside components.
[[nodiscard]] std::string decodeComponent(std::string_view component, const ValueForm& form);

// A program text as one component of a structured value in the line's form:
// ";" and "\" escaped in every form, the other escapes as encodeValue puts
// them.
[[nodiscard]] std::string encodeComponent(std::string_view text, const ValueForm& form);

// What a line's value becomes for a program text, in the line's own form.
// Text values (escapeText) get the escapes of vCard 3.0 and 4.0.
[[nodiscard]] std::string encodeValue(std::string_view text, const ValueForm& form,
                                      bool escapeText);

}  // namespace addressbook
