#include "app/port_settings_dialog.h"

#include <array>

#include "table/control_ids.h"

namespace app {

namespace {

using platform::Alignment;
using platform::ControlDefinition;
using platform::ControlKind;
namespace control = table::control;

// The caption (right-aligned), the port field and OK, in Tab order.
constexpr std::array controls{
    ControlDefinition{.id = control::portCaption,
                      .kind = ControlKind::label,
                      .text = "Telefon an COM1....COMx:",
                      .x = 2,
                      .y = 14,
                      .width = 164,
                      .height = 16,
                      .alignment = Alignment::right},
    ControlDefinition{.id = control::portEdit,
                      .kind = ControlKind::edit,
                      .x = 170,
                      .y = 10,
                      .width = 54,
                      .height = 22,
                      .tooltip = "z.B. COM3 oder COM12"},
    ControlDefinition{.id = control::portOkButton,
                      .kind = ControlKind::button,
                      .text = "OK",
                      .x = 178,
                      .y = 98,
                      .width = 48,
                      .height = 22},
};

constexpr platform::DialogDefinition dialog{
    .title = "Einstellungen",
    .icon = "port-settings-icon",
    .iconSize = 32,
    .clientWidth = 231,
    .clientHeight = 125,
    .x = 596,
    .y = 289,
    .controls = controls,
};

}  // namespace

const platform::DialogDefinition& portSettingsDialog() { return dialog; }

}  // namespace app
