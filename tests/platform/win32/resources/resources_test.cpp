// The resources linked into the Windows program, read back through the
// system's own resource and image routines from this test program, which
// links the same resource object.
#include <windows.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <cwchar>
#include <set>
#include <span>
#include <string>
#include <vector>

namespace {

std::span<const std::uint8_t> resourceBytes(const wchar_t* name, const wchar_t* type) {
  HRSRC found = FindResourceW(nullptr, name, type);
  if (found == nullptr) return {};
  HGLOBAL loaded = LoadResource(nullptr, found);
  return {static_cast<const std::uint8_t*>(LockResource(loaded)),
          static_cast<std::size_t>(SizeofResource(nullptr, found))};
}

// One image of an icon group as the group directory lists it.
struct IconEntry {
  int size;
  int bitCount;
  WORD id;
};

#pragma pack(push, 2)
struct GroupIconHeader {
  WORD reserved;
  WORD type;
  WORD count;
};
struct GroupIconEntry {
  BYTE width;
  BYTE height;
  BYTE colourCount;
  BYTE reserved;
  WORD planes;
  WORD bitCount;
  DWORD bytesInResource;
  WORD id;
};
#pragma pack(pop)

std::vector<IconEntry> iconGroup(const wchar_t* name) {
  std::span<const std::uint8_t> bytes = resourceBytes(name, RT_GROUP_ICON);
  std::vector<IconEntry> entries;
  if (bytes.size() < sizeof(GroupIconHeader)) return entries;
  GroupIconHeader header;
  std::memcpy(&header, bytes.data(), sizeof header);
  for (WORD i = 0; i < header.count; ++i) {
    GroupIconEntry entry;
    std::memcpy(&entry, bytes.data() + sizeof header + i * sizeof entry, sizeof entry);
    EXPECT_EQ(entry.width, entry.height);
    entries.push_back({entry.width == 0 ? 256 : entry.width, entry.bitCount, entry.id});
  }
  return entries;
}

std::set<int> sizesOf(const std::vector<IconEntry>& entries) {
  std::set<int> sizes;
  for (const IconEntry& entry : entries) sizes.insert(entry.size);
  return sizes;
}

constexpr std::uint8_t pngSignature[] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};

// Every image has 32 bits per pixel and a real alpha channel: some pixels
// fully transparent, some fully opaque. PNG images are RGBA.
void expectAlphaImages(const wchar_t* name, const std::vector<IconEntry>& entries) {
  for (const IconEntry& entry : entries) {
    SCOPED_TRACE(testing::Message() << "size " << entry.size);
    EXPECT_EQ(entry.bitCount, 32);
    std::span<const std::uint8_t> image = resourceBytes(MAKEINTRESOURCEW(entry.id), RT_ICON);
    ASSERT_GE(image.size(), 40u) << "image " << entry.id << " of " << name;
    if (std::equal(std::begin(pngSignature), std::end(pngSignature), image.begin())) {
      EXPECT_EQ(image[25], 6) << "PNG colour type RGBA";
      continue;
    }
    BITMAPINFOHEADER header;
    std::memcpy(&header, image.data(), sizeof header);
    EXPECT_EQ(header.biBitCount, 32);
    EXPECT_EQ(header.biWidth, entry.size);
    const std::size_t pixels = static_cast<std::size_t>(entry.size) * entry.size;
    ASSERT_GE(image.size(), header.biSize + pixels * 4);
    bool transparent = false;
    bool opaque = false;
    for (std::size_t i = 0; i < pixels; ++i) {
      const std::uint8_t alpha = image[header.biSize + i * 4 + 3];
      transparent = transparent || alpha == 0;
      opaque = opaque || alpha == 255;
    }
    EXPECT_TRUE(transparent && opaque) << "alpha channel of " << name;
  }
}

// The system picks the image of exactly the asked size, and can make an icon of it.
void expectLoadableAtEverySize(const wchar_t* name, const std::vector<IconEntry>& entries) {
  std::span<const std::uint8_t> group = resourceBytes(name, RT_GROUP_ICON);
  for (const IconEntry& entry : entries) {
    SCOPED_TRACE(testing::Message() << "size " << entry.size);
    EXPECT_EQ(LookupIconIdFromDirectoryEx(const_cast<PBYTE>(group.data()), TRUE, entry.size,
                                          entry.size, LR_DEFAULTCOLOR),
              entry.id);
    HANDLE icon =
        LoadImageW(GetModuleHandleW(nullptr), name, IMAGE_ICON, entry.size, entry.size, 0);
    EXPECT_NE(icon, nullptr);
    if (icon != nullptr) DestroyIcon(static_cast<HICON>(icon));
  }
}

TEST(Win32Resources, buttonPictures_areAlphaIconsAtEveryButtonSize) {
  const wchar_t* names[] = {L"APPLY", L"DELETE",  L"NEW",          L"DUPLICATE",         L"OPEN",
                            L"SAVE",  L"SAVE_AS", L"LIST",         L"SETTINGS",          L"MAIL",
                            L"DIAL",  L"HANG_UP", L"RESET_FILTER", L"PORT_SETTINGS_ICON"};
  const std::set<int> buttonSizes = {16, 20, 24, 32, 36, 40, 48, 64};
  for (const wchar_t* name : names) {
    SCOPED_TRACE(testing::Message() << "icon " << name);
    std::vector<IconEntry> entries = iconGroup(name);
    EXPECT_EQ(sizesOf(entries), buttonSizes);
    expectAlphaImages(name, entries);
    expectLoadableAtEverySize(name, entries);
  }
}

TEST(Win32Resources, applicationIcon_isIconOneUpTo256Pixels) {
  const wchar_t* name = MAKEINTRESOURCEW(1);
  std::vector<IconEntry> entries = iconGroup(name);
  EXPECT_EQ(sizesOf(entries), (std::set<int>{16, 20, 24, 32, 40, 48, 64, 256}));
  expectAlphaImages(L"application icon", entries);
  expectLoadableAtEverySize(name, entries);
}

TEST(Win32Resources, telephonePhotograph_is24BitAtThreeScalesOnTheWindowGreen) {
  struct Scale {
    const wchar_t* name;
    int width;
    int height;
  };
  for (const Scale& scale : {Scale{L"TELEPHONE", 100, 110}, Scale{L"TELEPHONE_150", 150, 165},
                             Scale{L"TELEPHONE_200", 200, 220}}) {
    SCOPED_TRACE(testing::Message() << scale.width << " x " << scale.height);
    HANDLE loaded =
        LoadImageW(GetModuleHandleW(nullptr), scale.name, IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION);
    ASSERT_NE(loaded, nullptr);
    DIBSECTION dib{};
    ASSERT_EQ(GetObjectW(loaded, sizeof dib, &dib), static_cast<int>(sizeof dib));
    EXPECT_EQ(dib.dsBm.bmWidth, scale.width);
    EXPECT_EQ(dib.dsBm.bmHeight, scale.height);
    EXPECT_EQ(dib.dsBm.bmBitsPixel, 24);
    // The corners show the wall, never black where transparency was dropped.
    const auto* bits = static_cast<const std::uint8_t*>(dib.dsBm.bmBits);
    for (std::size_t offset :
         {std::size_t{0}, static_cast<std::size_t>(dib.dsBm.bmWidthBytes) * (scale.height - 1)}) {
      const std::uint8_t blue = bits[offset], green = bits[offset + 1], red = bits[offset + 2];
      EXPECT_GT(green, 120);
      EXPECT_GT(green, red);
      EXPECT_GT(green, blue);
    }
    DeleteObject(loaded);
  }
}

std::wstring versionText(const std::vector<std::uint8_t>& info, WORD language, WORD codePage,
                         const wchar_t* key) {
  wchar_t path[96];
  wsprintfW(path, L"\\StringFileInfo\\%04x%04x\\%s", language, codePage, key);
  void* value = nullptr;
  UINT length = 0;
  if (!VerQueryValueW(info.data(), path, &value, &length) || length == 0) return L"<missing>";
  return static_cast<const wchar_t*>(value);
}

TEST(Win32Resources, version_namesTheProductAndVersionInGermanAndEnglish) {
  wchar_t program[MAX_PATH];
  GetModuleFileNameW(nullptr, program, MAX_PATH);
  DWORD ignored = 0;
  std::vector<std::uint8_t> info(GetFileVersionInfoSizeW(program, &ignored));
  ASSERT_FALSE(info.empty());
  ASSERT_TRUE(GetFileVersionInfoW(program, 0, static_cast<DWORD>(info.size()), info.data()));

  void* value = nullptr;
  UINT length = 0;
  ASSERT_TRUE(VerQueryValueW(info.data(), L"\\", &value, &length));
  const auto* fixed = static_cast<const VS_FIXEDFILEINFO*>(value);
  constexpr DWORD version = (MORVI_VERSION_MAJOR << 16U) | MORVI_VERSION_MINOR;
  EXPECT_EQ(fixed->dwFileVersionMS, version) << MORVI_VERSION;
  EXPECT_EQ(fixed->dwProductVersionMS, version) << MORVI_VERSION;
  EXPECT_EQ(fixed->dwFileType, static_cast<DWORD>(VFT_APP));

  ASSERT_TRUE(VerQueryValueW(info.data(), L"\\VarFileInfo\\Translation", &value, &length));
  const auto* translations = static_cast<const WORD*>(value);
  std::set<WORD> languages;
  for (UINT i = 0; i + 1 < length / sizeof(WORD); i += 2) {
    const WORD language = translations[i], codePage = translations[i + 1];
    SCOPED_TRACE(testing::Message() << "language " << language);
    languages.insert(language);
    EXPECT_EQ(versionText(info, language, codePage, L"ProductName"), L"Morvi-Telefonbuch");
    EXPECT_EQ(versionText(info, language, codePage, L"ProductVersion"), L"" MORVI_VERSION);
    EXPECT_EQ(versionText(info, language, codePage, L"FileVersion"), L"" MORVI_VERSION);
    EXPECT_NE(versionText(info, language, codePage, L"FileDescription"), L"<missing>");
  }
  EXPECT_EQ(languages, (std::set<WORD>{0x0407, 0x0409}));
}

std::wstring windowsSetting(const wchar_t* schema, const wchar_t* name) {
  wchar_t value[64] = L"<missing>";
  SIZE_T written = 0;
  QueryActCtxSettingsW(0, nullptr, schema, name, value, std::size(value), &written);
  return value;
}

TEST(Win32Resources, manifest_bringsCommonControls6AndPerMonitorDpiAwareness) {
  // The loader resolves comctl32 through the manifest's dependency to the
  // side-by-side assembly of version 6 (Wine's DllGetVersion says 5 for both).
  HMODULE commonControls = LoadLibraryW(L"comctl32.dll");
  ASSERT_NE(commonControls, nullptr);
  wchar_t path[MAX_PATH];
  GetModuleFileNameW(commonControls, path, MAX_PATH);
  CharLowerW(path);
  EXPECT_NE(std::wcsstr(path, L"\\winsxs\\"), nullptr) << path;
  EXPECT_NE(std::wcsstr(path, L"common-controls_6595b64144ccf1df_6.0."), nullptr) << path;
  FreeLibrary(commonControls);

  // Wine reports every process as per-monitor aware, so the setting is read
  // back as the system parsed it from the process's activation context.
  EXPECT_EQ(
      windowsSetting(L"http://schemas.microsoft.com/SMI/2016/WindowsSettings", L"dpiAwareness"),
      L"PerMonitorV2, PerMonitor");
  EXPECT_EQ(windowsSetting(L"http://schemas.microsoft.com/SMI/2005/WindowsSettings", L"dpiAware"),
            L"true/pm");
}

}  // namespace
