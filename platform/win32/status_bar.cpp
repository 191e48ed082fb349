#include "platform/win32/status_bar.h"

#include <commctrl.h>

#include <algorithm>

#include "platform/win32/dpi.h"
#include "platform/win32/wide_text.h"

namespace platform::win32 {

namespace {

HMENU asMenu(ControlId id) { return reinterpret_cast<HMENU>(static_cast<INT_PTR>(toInt(id))); }

}  // namespace

// The progress bar is a child of the status bar, which therefore leaves out
// the progress bar's place when it paints its first part.
StatusBar::StatusBar(HWND parent, ControlId id, std::span<const int> partWidths, RECT progress)
    : bar_(CreateWindowExW(0, STATUSCLASSNAMEW, nullptr, WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN, 0,
                           0, 0, 0, parent, asMenu(id), GetModuleHandleW(nullptr), nullptr)),
      widths_(partWidths.begin(), partWidths.end()),
      progressPlace_(progress) {}

HWND StatusBar::createProgressBar(ControlId id) {
  progress_ = CreateWindowExW(0, PROGRESS_CLASSW, nullptr, WS_CHILD | WS_VISIBLE | PBS_SMOOTH, 0, 0,
                              0, 0, bar_, asMenu(id), GetModuleHandleW(nullptr), nullptr);
  SendMessageW(progress_, PBM_SETRANGE32, 0, 100);
  SendMessageW(progress_, PBM_SETPOS, 0, 0);
  return progress_;
}

void StatusBar::layOut(int dpi, HFONT font) {
  SendMessageW(bar_, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
  // Each part ends one pixel before the sum of the widths up to it.
  std::vector<int> rightEdges;
  int sum = 0;
  for (int width : widths_) {
    sum += width;
    rightEdges.push_back(scaled(sum, dpi) - 1);
  }
  SendMessageW(bar_, SB_SETPARTS, rightEdges.size(), reinterpret_cast<LPARAM>(rightEdges.data()));
  followParent();
  if (progress_ == nullptr) return;
  SetWindowPos(progress_, HWND_TOP, scaled(progressPlace_.left, dpi),
               scaled(progressPlace_.top, dpi),
               scaled(progressPlace_.right - progressPlace_.left, dpi),
               scaled(progressPlace_.bottom - progressPlace_.top, dpi), SWP_NOACTIVATE);
}

// Moving may copy the bar's old picture instead of painting it anew, and
// the parent, which does not clip its children, paints its background over
// the place the bar moved to: the bar paints itself once more after that.
void StatusBar::followParent() {
  SendMessageW(bar_, WM_SIZE, 0, 0);
  RedrawWindow(bar_, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN);
}

bool StatusBar::hasPart(int part) const {
  return part >= 1 && part <= static_cast<int>(widths_.size());
}

void StatusBar::setText(int part, std::string_view text) {
  if (!hasPart(part)) return;
  std::wstring wide = toWide(text);
  SendMessageW(bar_, SB_SETTEXTW, static_cast<WPARAM>(part - 1),
               reinterpret_cast<LPARAM>(wide.c_str()));
}

std::string StatusBar::text(int part) const {
  if (!hasPart(part)) return {};
  auto index = static_cast<WPARAM>(part - 1);
  LRESULT length = LOWORD(SendMessageW(bar_, SB_GETTEXTLENGTHW, index, 0));
  std::wstring wide(static_cast<std::size_t>(length) + 1, L'\0');
  SendMessageW(bar_, SB_GETTEXTW, index, reinterpret_cast<LPARAM>(wide.data()));
  wide.resize(static_cast<std::size_t>(length));
  return fromWide(wide);
}

void StatusBar::setProgress(int percent) {
  if (progress_ == nullptr) return;
  SendMessageW(progress_, PBM_SETPOS, static_cast<WPARAM>(std::clamp(percent, 0, 100)), 0);
}

}  // namespace platform::win32
