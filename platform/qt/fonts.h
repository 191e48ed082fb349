#pragma once

#include <QFont>
#include <QString>
#include <span>

#include "platform/window_definition.h"

namespace platform::qt {

// The first of the font's face and its substitutes that is installed; the
// face itself when none is (the font matcher then picks something close).
[[nodiscard]] QString resolveFamily(const FontDefinition& definition);

[[nodiscard]] QFont makeFont(const FontDefinition& definition);

// The font with that id among fonts; the widget's default when it is missing.
[[nodiscard]] QFont makeFont(std::span<const FontDefinition> fonts, FontId id);

}  // namespace platform::qt
