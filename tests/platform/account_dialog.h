#pragma once

#include <array>
#include <ostream>

#include "platform/dialogs.h"
#include "platform/window_definition.h"

namespace platform {

// A failed comparison shows the button and the texts.
inline void PrintTo(const DialogResult& result, std::ostream* out) {
  *out << "button " << toInt(result.button);
  for (const DialogField& field : result.fields)
    *out << ", " << toInt(field.id) << " \"" << field.text << '"';
}

}  // namespace platform

namespace testing_support {

// A dialog with several fields and buttons, as the settings of a server
// account need them: the address, the user and the password, then OK (the
// default button) and a second button. Both backends' tests build it.
namespace account {

using platform::ControlDefinition;
using platform::ControlId;
using platform::ControlKind;

inline constexpr ControlId serverEdit{2001};
inline constexpr ControlId userEdit{2002};
inline constexpr ControlId passwordEdit{2003};
inline constexpr ControlId okButton{2004};
inline constexpr ControlId syncButton{2005};

inline constexpr std::array controls{
    ControlDefinition{ControlId{2000}, ControlKind::label, "Server:", 8, 12, 70, 16},
    ControlDefinition{serverEdit, ControlKind::edit, {}, 80, 10, 200, 22},
    ControlDefinition{userEdit, ControlKind::edit, {}, 80, 40, 200, 22},
    ControlDefinition{passwordEdit, ControlKind::passwordEdit, {}, 80, 70, 200, 22},
    ControlDefinition{okButton, ControlKind::button, "OK", 80, 110, 60, 22},
    ControlDefinition{syncButton, ControlKind::button, "Jetzt abgleichen", 150, 110, 130, 22},
};

inline constexpr platform::DialogDefinition dialog{
    .title = "Konto",
    .icon = "port-settings-icon",
    .iconSize = 32,
    .clientWidth = 290,
    .clientHeight = 140,
    .x = 100,
    .y = 80,
    .controls = controls,
};

}  // namespace account

}  // namespace testing_support
