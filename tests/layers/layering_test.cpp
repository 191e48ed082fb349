// The floors of the code, checked on the sources: a folder includes headers
// of its own floor and of the floors below only, and the system headers of
// Qt and Windows appear only where their backend is.

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <regex>
#include <string>
#include <string_view>
#include <vector>

namespace {

namespace fs = std::filesystem;

// A folder of the program and the folders whose headers it may include
// besides its own, lowest floor first. A folder that is not listed (main,
// tools, bench, fuzz, tests) stands above them all.
struct Floor {
  std::string_view folder;
  std::vector<std::string_view> mayInclude;
  // Headers of those folders it must not include all the same.
  std::vector<std::string_view> never = {};
};

const std::vector<Floor> floors = {
    {"text", {}},
    {"addressbook", {"text"}},
    {"platform", {"text"}},
    {"carddav", {"platform", "addressbook", "text"}},
    {"table", {"platform", "addressbook", "text"}},
    // The document returns outcomes and leaves asking and telling to app.
    {"document",
     {"table", "carddav", "platform", "addressbook", "text"},
     {"platform/dialogs.h", "platform/window.h", "platform/window_definition.h"}},
    {"outputs", {"table", "platform", "addressbook", "text"}},
    {"app", {"document", "outputs", "carddav", "table", "platform", "addressbook", "text"}},
    {"platform/posix", {"platform", "text"}},
    {"platform/qt", {"platform", "text"}},
    {"platform/win32", {"platform", "text"}},
};

// Where the system's own headers may be named: a backend, its entry point,
// its tests; and the resource files of Windows.
const std::vector<std::string_view> qtPlaces = {"platform/qt/", "main/main.cpp", "bench/",
                                                "tests/platform/qt/", "tests/end_to_end/"};
// The loopback server of the HTTP tests, shared by both systems, has its
// Winsock beside its POSIX sockets.
const std::vector<std::string_view> win32Places = {"platform/win32/", "main/windows_main.cpp",
                                                   "tests/platform/win32/", "tests/fakes/win32/",
                                                   "tests/fakes/loopback_http_server.cpp"};
const std::vector<std::string_view> win32Headers = {
    "windows.h", "commctrl.h", "commdlg.h",  "shlobj.h",   "shellapi.h", "winver.h",
    "dlgs.h",    "uxtheme.h",  "aclapi.h",   "windowsx.h", "winbase.h",  "winuser.h",
    "winhttp.h", "winsock2.h", "ws2tcpip.h", "wincred.h"};

struct Include {
  std::string file;    // relative to the top, with '/'
  std::string header;  // as written between the quotes or angle brackets
  bool system;         // <...>
};

bool startsWithAny(std::string_view path, const std::vector<std::string_view>& places) {
  return std::ranges::any_of(places,
                             [&](std::string_view place) { return path.starts_with(place); });
}

// The floor a path lies on: the listed folder that holds it most closely.
const Floor* floorOf(std::string_view path) {
  const Floor* found = nullptr;
  for (const Floor& floor : floors) {
    bool inside = path.starts_with(floor.folder) && path.size() > floor.folder.size() &&
                  path[floor.folder.size()] == '/';
    if (inside && (found == nullptr || floor.folder.size() > found->folder.size())) found = &floor;
  }
  return found;
}

// What is wrong with one include, or nothing.
std::string problemWith(const Include& include) {
  if (include.system) {
    std::string_view header = include.header;
    bool qt = header.starts_with('Q') || header.starts_with("qt6keychain/");
    if (qt && !startsWithAny(include.file, qtPlaces))
      return include.file + " names the Qt header <" + include.header + ">";
    std::string lower = include.header;
    std::ranges::transform(lower, lower.begin(), [](char c) {
      return static_cast<char>(c >= 'A' && c <= 'Z' ? c + 32 : c);
    });
    if (std::ranges::find(win32Headers, lower) != win32Headers.end() &&
        !startsWithAny(include.file, win32Places))
      return include.file + " names the Windows header <" + include.header + ">";
    return {};
  }
  const Floor* from = floorOf(include.file);
  const Floor* to = floorOf(include.header);
  if (from == nullptr || to == nullptr) return {};
  if (std::ranges::find(from->never, include.header) != from->never.end())
    return include.file + " includes " + include.header + ", which its floor must not see";
  if (to == from || std::ranges::find(from->mayInclude, to->folder) != from->mayInclude.end())
    return {};
  return include.file + " includes " + include.header + " from the floor above, " +
         std::string(to->folder);
}

std::vector<std::string> problemsOf(const std::vector<Include>& includes) {
  std::vector<std::string> problems;
  for (const Include& include : includes) {
    if (std::string problem = problemWith(include); !problem.empty()) problems.push_back(problem);
  }
  return problems;
}

// Every include of every C++ file below the top, build folders aside.
std::vector<Include> includesOfTheSources(const fs::path& top) {
  static const std::regex includeLine(R"(^\s*#\s*include\s*([<"])([^>"]+)[>"])");
  std::vector<Include> includes;
  for (auto entry = fs::recursive_directory_iterator(top); entry != fs::end(entry); ++entry) {
    std::string name = entry->path().filename().string();
    if (entry->is_directory() && (name.starts_with("build") || name.starts_with("."))) {
      entry.disable_recursion_pending();
      continue;
    }
    std::string extension = entry->path().extension().string();
    if (!entry->is_regular_file() || (extension != ".cpp" && extension != ".h")) continue;
    std::string file = fs::relative(entry->path(), top).generic_string();
    std::ifstream in(entry->path());
    std::smatch match;
    for (std::string line; std::getline(in, line);) {
      if (std::regex_search(line, match, includeLine))
        includes.push_back({file, match[2].str(), match[1].str() == "<"});
    }
  }
  return includes;
}

TEST(Layers, everyFolderIncludesOnlyItsOwnFloorAndTheFloorsBelow) {
  std::vector<Include> includes = includesOfTheSources(MORVI_SOURCE_DIR);
  ASSERT_GT(includes.size(), 500u) << "the sources were not found";
  std::vector<std::string> problems = problemsOf(includes);
  for (const std::string& problem : problems) ADD_FAILURE() << problem;
}

TEST(Layers, theResourcesOfWindowsLiveInItsBackend) {
  for (auto entry = fs::recursive_directory_iterator(MORVI_SOURCE_DIR); entry != fs::end(entry);
       ++entry) {
    std::string name = entry->path().filename().string();
    if (entry->is_directory() && (name.starts_with("build") || name.starts_with("."))) {
      entry.disable_recursion_pending();
      continue;
    }
    bool resource = name.ends_with(".rc") || name.ends_with(".rc.in") || name.ends_with(".nsi") ||
                    name.ends_with(".manifest") || name.ends_with(".manifest.in");
    std::string file = fs::relative(entry->path(), MORVI_SOURCE_DIR).generic_string();
    EXPECT_TRUE(!resource || file.starts_with("platform/win32/")) << file;
  }
}

TEST(Layers, anIncludeThatReachesUpOrPastItsBackendIsFound) {
  struct Case {
    Include include;
    bool found;
  };
  const Case cases[] = {
      {{"addressbook/vcard_reader.cpp", "platform/file_system.h", false}, true},
      {{"addressbook/vcard_reader.cpp", "app/program.h", false}, true},
      {{"table/fill.cpp", "document/document.h", false}, true},
      {{"document/document.cpp", "platform/dialogs.h", false}, true},
      {{"platform/qt/window.cpp", "app/main_window_definition.h", false}, true},
      {{"platform/qt/window.cpp", "platform/posix/file_system.h", false}, true},
      {{"app/program.cpp", "QWidget", true}, true},
      {{"outputs/mail.cpp", "windows.h", true}, true},
      {{"carddav/client.cpp", "winhttp.h", true}, true},
      {{"app/server_sync.cpp", "qt6keychain/keychain.h", true}, true},
      {{"app/server_sync.cpp", "wincred.h", true}, true},
      {{"document/document.cpp", "table/fill.h", false}, false},
      {{"platform/win32/window.cpp", "platform/window.h", false}, false},
      {{"platform/qt/window.cpp", "QWidget", true}, false},
      {{"tests/document/saving_test.cpp", "app/program.h", false}, false},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(!problemWith(c.include).empty(), c.found)
        << c.include.file << " -> " << c.include.header;
  }
}

}  // namespace
