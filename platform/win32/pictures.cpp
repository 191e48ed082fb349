#include "platform/win32/pictures.h"

#include <array>

namespace platform::win32 {

namespace {

constexpr int applicationIconId = 1;

HINSTANCE program() { return GetModuleHandleW(nullptr); }

// The photograph's resources beside the one for 100 %, largest first.
struct PhotographSize {
  int minimumDpi;
  const wchar_t* suffix;
};
constexpr std::array<PhotographSize, 2> photographSizes{{{192, L"_200"}, {144, L"_150"}}};

}  // namespace

std::wstring pictureResourceName(std::string_view picture) {
  std::wstring name;
  name.reserve(picture.size());
  for (char c : picture) {
    if (c == '-') {
      name += L'_';
    } else if (c >= 'a' && c <= 'z') {
      name += static_cast<wchar_t>(c - 'a' + 'A');
    } else {
      name += static_cast<wchar_t>(static_cast<unsigned char>(c));
    }
  }
  return name;
}

HICON loadPictureIcon(std::string_view picture, int width, int height) {
  if (picture.empty()) return nullptr;
  std::wstring name = pictureResourceName(picture);
  return static_cast<HICON>(
      LoadImageW(program(), name.c_str(), IMAGE_ICON, width, height, LR_DEFAULTCOLOR));
}

HICON loadApplicationIcon(int size) {
  return static_cast<HICON>(LoadImageW(program(), MAKEINTRESOURCEW(applicationIconId), IMAGE_ICON,
                                       size, size, LR_DEFAULTCOLOR));
}

HBITMAP loadPhotograph(std::string_view picture, int width, int height, int dpi) {
  if (picture.empty()) return nullptr;
  std::wstring name = pictureResourceName(picture);
  for (const PhotographSize& size : photographSizes) {
    if (dpi < size.minimumDpi) continue;
    std::wstring sized = name + size.suffix;
    if (auto* bitmap = static_cast<HBITMAP>(
            LoadImageW(program(), sized.c_str(), IMAGE_BITMAP, width, height, LR_DEFAULTCOLOR))) {
      return bitmap;
    }
  }
  return static_cast<HBITMAP>(
      LoadImageW(program(), name.c_str(), IMAGE_BITMAP, width, height, LR_DEFAULTCOLOR));
}

}  // namespace platform::win32
