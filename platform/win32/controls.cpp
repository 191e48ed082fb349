#include "platform/win32/controls.h"

#include <algorithm>

#include "platform/win32/wide_text.h"

namespace platform::win32 {

namespace {

DWORD labelStyle(Alignment alignment) {
  switch (alignment) {
    case Alignment::left:
      return SS_LEFT;
    case Alignment::right:
      return SS_RIGHT;
    case Alignment::centre:
      return SS_CENTER;
    case Alignment::centreBoth:
      return SS_CENTER | SS_CENTERIMAGE;
  }
  return SS_LEFT;
}

}  // namespace

ControlClass controlClassOf(const ControlDefinition& definition) {
  constexpr DWORD edit = WS_TABSTOP | ES_LEFT | ES_AUTOHSCROLL;
  switch (definition.kind) {
    case ControlKind::edit:
      return {L"EDIT", edit, WS_EX_CLIENTEDGE};
    case ControlKind::digitsEdit:
      return {L"EDIT", edit | ES_NUMBER, WS_EX_CLIENTEDGE};
    case ControlKind::passwordEdit:
      return {L"EDIT", edit | ES_PASSWORD, WS_EX_CLIENTEDGE};
    case ControlKind::multiLineEdit:
      return {L"EDIT",
              edit | ES_MULTILINE | ES_WANTRETURN | ES_AUTOVSCROLL | WS_VSCROLL | WS_HSCROLL,
              WS_EX_CLIENTEDGE};
    case ControlKind::pictureButton:
      return {L"BUTTON", WS_TABSTOP | BS_PUSHBUTTON | BS_ICON, 0};
    case ControlKind::button:
      return {L"BUTTON", WS_TABSTOP | BS_PUSHBUTTON, 0};
    case ControlKind::label:
      return {L"STATIC", labelStyle(definition.alignment) | SS_NOPREFIX, 0};
    case ControlKind::picture:
      return {L"STATIC", SS_BITMAP | SS_CENTERIMAGE, 0};
    default:
      return {nullptr, 0, 0};
  }
}

std::string windowText(HWND window) {
  int length = GetWindowTextLengthW(window);
  std::wstring wide(static_cast<std::size_t>(length) + 1, L'\0');
  int copied = GetWindowTextW(window, wide.data(), length + 1);
  wide.resize(static_cast<std::size_t>(std::max(copied, 0)));
  return fromWide(wide);
}

}  // namespace platform::win32
