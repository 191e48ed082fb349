#include "platform/qt/fonts.h"

#include <QFontDatabase>
#include <algorithm>

#include "platform/qt/text_conversion.h"

namespace platform::qt {

QString resolveFamily(const FontDefinition& definition) {
  QString face = toQString(definition.face);
  if (QFontDatabase::hasFamily(face)) return face;
  for (std::string_view substitute : definition.substitutes) {
    QString family = toQString(substitute);
    if (QFontDatabase::hasFamily(family)) return family;
  }
  return face;
}

QFont makeFont(const FontDefinition& definition) {
  QFont font(resolveFamily(definition), definition.points,
             definition.bold ? QFont::Bold : QFont::Normal, definition.italic);
  return font;
}

QFont makeFont(std::span<const FontDefinition> fonts, FontId id) {
  auto found = std::ranges::find(fonts, id, &FontDefinition::id);
  return found == fonts.end() ? QFont() : makeFont(*found);
}

}  // namespace platform::qt
