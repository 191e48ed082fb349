#include "platform/win32/fonts.h"

#include <algorithm>

#include "platform/win32/wide_text.h"

namespace platform::win32 {

namespace {

constexpr int pointsPerInch = 72;

HFONT createFont(const FontDefinition& definition, int dpi) {
  std::wstring face = toWide(definition.face);
  return CreateFontW(fontHeight(definition.points, dpi), 0, 0, 0,
                     definition.bold ? FW_BOLD : FW_NORMAL, definition.italic ? TRUE : FALSE, FALSE,
                     FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                     DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE, face.c_str());
}

}  // namespace

int fontHeight(int points, int dpi) { return -MulDiv(points, dpi, pointsPerInch); }

FontSet::FontSet(std::span<const FontDefinition> definitions, int dpi) {
  for (const FontDefinition& definition : definitions) {
    fonts_.emplace_back(definition.id, createFont(definition, dpi));
  }
}

FontSet::~FontSet() { release(); }

FontSet::FontSet(FontSet&& other) noexcept : fonts_(std::exchange(other.fonts_, {})) {}

FontSet& FontSet::operator=(FontSet&& other) noexcept {
  if (this != &other) {
    release();
    fonts_ = std::exchange(other.fonts_, {});
  }
  return *this;
}

void FontSet::release() {
  for (auto& [id, font] : fonts_) {
    if (font != nullptr) DeleteObject(font);
  }
  fonts_.clear();
}

HFONT FontSet::font(FontId id) const {
  auto found = std::ranges::find(fonts_, id, &std::pair<FontId, HFONT>::first);
  if (found != fonts_.end()) return found->second;
  if (id != FontId::defaultFont) return font(FontId::defaultFont);
  return nullptr;
}

}  // namespace platform::win32
