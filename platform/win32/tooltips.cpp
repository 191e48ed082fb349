#include "platform/win32/tooltips.h"

#include <commctrl.h>

#include <string>

#include "platform/win32/dpi.h"
#include "platform/win32/wide_text.h"

namespace platform::win32 {

namespace {

constexpr int maxTipWidth = 500;
constexpr int initialDelayMs = 1000;
constexpr int visibleMs = 9000;
constexpr int reshowDelayMs = 200;

// The record as every version of the common controls takes it.
TTTOOLINFOW toolFor(HWND control) {
  TTTOOLINFOW tool{};
  tool.cbSize = TTTOOLINFOW_V2_SIZE;
  tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS | TTF_CENTERTIP;
  tool.hwnd = GetParent(control);
  tool.uId = reinterpret_cast<UINT_PTR>(control);
  return tool;
}

}  // namespace

void Tooltips::create(int dpi) {
  tip_ = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr,
                         WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX, CW_USEDEFAULT, CW_USEDEFAULT,
                         CW_USEDEFAULT, CW_USEDEFAULT, owner_, nullptr, GetModuleHandleW(nullptr),
                         nullptr);
  if (tip_ == nullptr) return;
  SendMessageW(tip_, TTM_SETMAXTIPWIDTH, 0, scaled(maxTipWidth, dpi));
  SetWindowPos(tip_, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  SendMessageW(tip_, TTM_SETDELAYTIME, TTDT_INITIAL, MAKELPARAM(initialDelayMs, 0));
  SendMessageW(tip_, TTM_SETDELAYTIME, TTDT_AUTOPOP, MAKELPARAM(visibleMs, 0));
  SendMessageW(tip_, TTM_SETDELAYTIME, TTDT_RESHOW, MAKELPARAM(reshowDelayMs, 0));
}

void Tooltips::add(HWND control, std::string_view text, int dpi) {
  if (tip_ == nullptr || !IsWindow(tip_)) create(dpi);
  if (tip_ == nullptr || control == nullptr) return;
  std::wstring wide = toWide(text);
  TTTOOLINFOW tool = toolFor(control);
  tool.lpszText = wide.data();
  SendMessageW(tip_, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
}

void Tooltips::remove(HWND control) {
  if (tip_ == nullptr || !IsWindow(tip_) || control == nullptr) return;
  TTTOOLINFOW tool = toolFor(control);
  SendMessageW(tip_, TTM_DELTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
}

}  // namespace platform::win32
