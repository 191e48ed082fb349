#pragma once

#include <QLineEdit>

#include "platform/window_definition.h"

namespace platform::qt {

// A new single-line edit field of one of the line-edit kinds: a digits field
// takes only digits from the keyboard, a password field shows bullets.
[[nodiscard]] QLineEdit* newLineEdit(ControlKind kind, QWidget* parent);

}  // namespace platform::qt
