#include "platform/qt/fonts.h"

#include <QFontDatabase>
#include <algorithm>

#include "platform/qt/text_conversion.h"

namespace platform::qt {

QString resolveFamily(const FontSpec& spec) {
  QString face = toQString(spec.face);
  if (QFontDatabase::hasFamily(face)) return face;
  for (std::string_view substitute : spec.substitutes) {
    QString family = toQString(substitute);
    if (QFontDatabase::hasFamily(family)) return family;
  }
  return face;
}

QFont makeFont(const FontSpec& spec) {
  QFont font(resolveFamily(spec), spec.points, spec.bold ? QFont::Bold : QFont::Normal,
             spec.italic);
  return font;
}

QFont makeFont(std::span<const FontSpec> fonts, FontId id) {
  auto found = std::ranges::find(fonts, id, &FontSpec::id);
  return found == fonts.end() ? QFont() : makeFont(*found);
}

}  // namespace platform::qt
