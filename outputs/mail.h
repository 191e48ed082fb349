#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "platform/shell.h"
#include "platform/window.h"

namespace outputs {

// The longest mail link the program builds; longer links are cut.
inline constexpr std::size_t maxMailtoLength = 49'999;

// The mail link "mailto:" address "?Subject=" subject "&Body=" body, cut to
// maxMailtoLength bytes. In the address "?", "#" and control characters are
// escaped (%3f %23 %0d ...), so it adds no fields to the link; the subject is
// taken as it is; in a body of two or more characters blanks, "&", line
// feeds, carriage returns and tabs are escaped (%20 %26 %0a %0d %09), a
// shorter body stays as it is. In every part '"' and '\' are escaped (%22
// %5c), so that the link stays one argument of a command line. Escapes use
// lower-case hexadecimal digits.
[[nodiscard]] std::string mailtoUrl(std::string_view address, std::string_view subject,
                                    std::string_view body);

// Opens the mail link with the desktop's handler; the outcome is not examined.
void openMailto(platform::Shell& shell, std::string_view address, std::string_view subject,
                std::string_view body);

// The mail button: a new mail to the address in the e-mail field, as the
// field holds it, with an empty subject and body.
void composeMail(const platform::Window& window, platform::Shell& shell);

}  // namespace outputs
