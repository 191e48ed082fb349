#pragma once

#include <QFont>
#include <QString>
#include <span>

#include "platform/control_spec.h"

namespace platform::qt {

// The first of the font's face and its substitutes that is installed; the
// face itself when none is (the font matcher then picks something close).
[[nodiscard]] QString resolveFamily(const FontSpec& spec);

[[nodiscard]] QFont makeFont(const FontSpec& spec);

// The font with that id among fonts; the widget's default when it is missing.
[[nodiscard]] QFont makeFont(std::span<const FontSpec> fonts, FontId id);

}  // namespace platform::qt
