#pragma once

#include <windows.h>

#include <string>
#include <string_view>

namespace platform::win32 {

// The pictures are resources of the program: an ICON resource per picture,
// named after it in upper case with '-' as '_' ("save-as" is SAVE_AS), and
// the photograph as BITMAP resources for 100 %, 150 % and 200 %. A program
// built without them shows no pictures: every loader then gives nullptr.

[[nodiscard]] std::wstring pictureResourceName(std::string_view picture);

// The picture as an icon of that size, stretched from the nearest size the
// resource holds. The caller destroys it.
[[nodiscard]] HICON loadPictureIcon(std::string_view picture, int width, int height);

// The program's own icon (resource 1) at that size. The caller destroys it.
[[nodiscard]] HICON loadApplicationIcon(int size);

// The photograph at that size, taken from the resource drawn for the nearest
// DPI at or below the given one. The caller deletes it.
[[nodiscard]] HBITMAP loadPhotograph(std::string_view picture, int width, int height, int dpi);

}  // namespace platform::win32
