#pragma once

#include <windows.h>

#include <span>
#include <utility>
#include <vector>

#include "platform/window_definition.h"

namespace platform::win32 {

// The fonts of a window at one DPI, created with CreateFont in the faces,
// sizes and styles of their definitions; where a face is missing, Windows'
// own font mapping chooses the nearest. The fonts live as long as the set.
class FontSet {
 public:
  FontSet() = default;
  FontSet(std::span<const FontDefinition> definitions, int dpi);
  ~FontSet();
  FontSet(FontSet&& other) noexcept;
  FontSet& operator=(FontSet&& other) noexcept;
  FontSet(const FontSet&) = delete;
  FontSet& operator=(const FontSet&) = delete;

  // The font of that id; the default font for an id without a definition.
  [[nodiscard]] HFONT font(FontId id) const;

 private:
  void release();

  std::vector<std::pair<FontId, HFONT>> fonts_;
};

// The character height CreateFont is given for a size in points: negative,
// so that it is the height of the letters without the leading.
[[nodiscard]] int fontHeight(int points, int dpi);

}  // namespace platform::win32
