#include "app/port_settings_dialog.h"

#include <array>

#include "table/control_ids.h"

namespace app {

namespace {

using platform::Alignment;
using platform::ControlDefinition;
using platform::ControlKind;
namespace control = table::control;

// Right-aligned captions before left-aligned fields, OK (the default button)
// and "Jetzt abgleichen" at the bottom right; in Tab order.
constexpr ControlDefinition caption(platform::ControlId id, std::string_view text, int y) {
  return {.id = id,
          .kind = ControlKind::label,
          .text = text,
          .x = 2,
          .y = y,
          .width = 164,
          .height = 16,
          .alignment = Alignment::right};
}

constexpr std::array settingsControls{
    caption(control::portCaption, "Telefon an COM1....COMx:", 14),
    ControlDefinition{.id = control::portEdit,
                      .kind = ControlKind::edit,
                      .x = 170,
                      .y = 10,
                      .width = 54,
                      .height = 22,
                      .tooltip = "z.B. COM3 oder COM12"},
    caption(control::serverCaption, "CardDAV-Server:", 48),
    ControlDefinition{.id = control::serverEdit,
                      .kind = ControlKind::edit,
                      .x = 170,
                      .y = 44,
                      .width = 300,
                      .height = 22,
                      .tooltip = "Adresse des Adressbuchs oder des Servers,\r\n"
                                 "z.B. https://cloud.example.org/remote.php/dav\r\n"
                                 "leer: kein Abgleich"},
    caption(control::userCaption, "Benutzer:", 78),
    ControlDefinition{.id = control::userEdit,
                      .kind = ControlKind::edit,
                      .x = 170,
                      .y = 74,
                      .width = 160,
                      .height = 22},
    caption(control::passwordCaption, "Kennwort:", 108),
    ControlDefinition{.id = control::passwordEdit,
                      .kind = ControlKind::passwordEdit,
                      .x = 170,
                      .y = 104,
                      .width = 160,
                      .height = 22},
    ControlDefinition{.id = control::portOkButton,
                      .kind = ControlKind::button,
                      .text = "OK",
                      .x = 422,
                      .y = 142,
                      .width = 48,
                      .height = 22},
    ControlDefinition{.id = control::syncNowButton,
                      .kind = ControlKind::button,
                      .text = "Jetzt abgleichen",
                      .x = 300,
                      .y = 142,
                      .width = 114,
                      .height = 22},
};

constexpr platform::DialogDefinition settings{
    .title = "Einstellungen",
    .icon = "port-settings-icon",
    .iconSize = 32,
    .clientWidth = 479,
    .clientHeight = 169,
    // Its right edge where the port's dialog had it, inside the main window.
    .x = 348,
    .y = 289,
    .controls = settingsControls,
};

constexpr std::array passwordControls{
    ControlDefinition{.id = control::passwordQuestionCaption,
                      .kind = ControlKind::label,
                      .text = "Kennwort f\xFCr den CardDAV-Server:",
                      .x = 10,
                      .y = 12,
                      .width = 260,
                      .height = 16},
    ControlDefinition{.id = control::passwordQuestionEdit,
                      .kind = ControlKind::passwordEdit,
                      .x = 10,
                      .y = 34,
                      .width = 260,
                      .height = 22},
    ControlDefinition{.id = control::passwordQuestionOkButton,
                      .kind = ControlKind::button,
                      .text = "OK",
                      .x = 222,
                      .y = 68,
                      .width = 48,
                      .height = 22},
};

constexpr platform::DialogDefinition password{
    .title = "Abgleich",
    .icon = "port-settings-icon",
    .iconSize = 32,
    .clientWidth = 280,
    .clientHeight = 98,
    .x = 596,
    .y = 289,
    .controls = passwordControls,
};

}  // namespace

const platform::DialogDefinition& portSettingsDialog() { return settings; }

const platform::DialogDefinition& serverPasswordDialog() { return password; }

}  // namespace app
