#pragma once

#include <windows.h>

#include <string>

#include "platform/window_definition.h"

namespace platform::win32 {

// The Win32 window class and styles of a control that is a plain child
// window; no class for the kinds that have their own (table, status bar,
// progress bar).
struct ControlClass {
  const wchar_t* windowClass;
  DWORD style;
  DWORD exStyle;
};

[[nodiscard]] ControlClass controlClassOf(const ControlDefinition& definition);

// The text of a window or control (Windows-1252).
[[nodiscard]] std::string windowText(HWND window);

}  // namespace platform::win32
