#pragma once

#include <string_view>

#include "outputs/phone_connection.h"
#include "platform/control_id.h"
#include "platform/dialogs.h"
#include "platform/window.h"

namespace outputs {

// A click on one of the six phone buttons: sends one command line in one
// write and returns at once; the telephone's answer is not read. A dial
// button sends "ATD" with the number of the field beside it, a hang-up
// button "ATH", each ended by CR LF. The number is sent as the field holds
// it, without its control characters (bytes below 0x20 and 0x7F: a value
// from a file may hold line breaks). A number that holds anything else than
// a telephone number may hold (see isDialable) is not sent: the user is
// told (notDialableText). Without an open connection it says "COM-Port
// nicht bereit !" and sends nothing. A failed write is not reported. Other
// controls are ignored.
void phoneCommand(platform::ControlId button, PhoneConnection& connection,
                  const platform::Window& window, platform::Dialogs& dialogs);

// Whether a number holds only what a telephone number may hold: digits,
// blanks, + * #, the separators ( ) - / and the pause ","; of the letters
// that modify dialling, T or P (tone, pulse) before the number and W (wait
// for the dial tone) after a digit. Anything else, a ";" above all, could
// end the dial command and make the rest of the line commands of their own.
[[nodiscard]] bool isDialable(std::string_view number);

inline constexpr std::string_view notDialableText =
    "Nummer nicht w\xE4hlbar !\r\nErlaubt sind Ziffern, Leerzeichen und + * # , ( ) - /";

}  // namespace outputs
