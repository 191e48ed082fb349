#include "platform/win32/text_dialog.h"

#include <algorithm>
#include <utility>
#include <vector>

#include "platform/win32/controls.h"
#include "platform/win32/dpi.h"
#include "platform/win32/pictures.h"
#include "platform/win32/wide_text.h"

namespace platform::win32 {

namespace {

// A dialog without controls of its own: they are created in pixels when it
// opens.
struct alignas(4) EmptyDialogTemplate {
  DLGTEMPLATE header;
  WORD menu;
  WORD windowClass;
  WORD title;
};

constexpr DWORD dialogStyle = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | DS_MODALFRAME;
constexpr DWORD dialogExStyle = WS_EX_APPWINDOW;

struct Session {
  Window& owner;
  const DialogDefinition& definition;
  std::span<const DialogField> fields;
  DialogResult result;
  HICON bigIcon = nullptr;
  HICON smallIcon = nullptr;
};

bool isButtonOf(const DialogDefinition& definition, int id) {
  return std::ranges::any_of(definition.controls, [id](const ControlDefinition& control) {
    return control.kind == ControlKind::button && toInt(control.id) == id;
  });
}

// Every edit field's text, in definition order.
std::vector<DialogField> enteredTexts(HWND dialog, const DialogDefinition& definition) {
  std::vector<DialogField> fields;
  for (const ControlDefinition& control : definition.controls) {
    if (isLineEdit(control.kind))
      fields.push_back({control.id, windowText(GetDlgItem(dialog, toInt(control.id)))});
  }
  return fields;
}

void placeDialog(HWND dialog, const Session& session) {
  int dpi = session.owner.dpi();
  const DialogDefinition& definition = session.definition;
  RECT frame{0, 0, scaled(definition.clientWidth, dpi), scaled(definition.clientHeight, dpi)};
  AdjustWindowRectExForDpi(&frame, static_cast<DWORD>(GetWindowLongPtrW(dialog, GWL_STYLE)), FALSE,
                           static_cast<DWORD>(GetWindowLongPtrW(dialog, GWL_EXSTYLE)),
                           static_cast<UINT>(dpi));
  POINT place{scaled(definition.x, dpi), scaled(definition.y, dpi)};
  ClientToScreen(session.owner.handle(), &place);
  SetWindowPos(dialog, nullptr, place.x, place.y, frame.right - frame.left,
               frame.bottom - frame.top, SWP_NOZORDER | SWP_NOACTIVATE);
}

void build(HWND dialog, Session& session) {
  int dpi = session.owner.dpi();
  const DialogDefinition& definition = session.definition;
  SetWindowTextW(dialog, toWide(definition.title).c_str());
  int iconSize = scaled(definition.iconSize, dpi);
  session.bigIcon = loadPictureIcon(definition.icon, iconSize, iconSize);
  int small = GetSystemMetricsForDpi(SM_CXSMICON, static_cast<UINT>(dpi));
  session.smallIcon = loadPictureIcon(definition.icon, small, small);
  SendMessageW(dialog, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(session.bigIcon));
  SendMessageW(dialog, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(session.smallIcon));
  placeDialog(dialog, session);

  ControlId defaultButton = defaultButtonOf(definition);
  for (const ControlDefinition& control : definition.controls) {
    ControlClass kind = controlClassOf(control);
    if (kind.windowClass == nullptr) continue;
    // The dialog's first button is its default button, which Enter presses.
    if (control.id == defaultButton) kind.style |= BS_DEFPUSHBUTTON;
    std::string_view text =
        isLineEdit(control.kind) ? textOf(session.fields, control.id) : control.text;
    HWND handle = CreateWindowExW(kind.exStyle, kind.windowClass, toWide(text).c_str(),
                                  WS_CHILD | WS_VISIBLE | kind.style, scaled(control.x, dpi),
                                  scaled(control.y, dpi), scaled(control.width, dpi),
                                  scaled(control.height, dpi), dialog,
                                  reinterpret_cast<HMENU>(static_cast<INT_PTR>(toInt(control.id))),
                                  GetModuleHandleW(nullptr), nullptr);
    SendMessageW(handle, WM_SETFONT, reinterpret_cast<WPARAM>(session.owner.defaultFont()), FALSE);
    if (!control.tooltip.empty()) session.owner.tooltips().add(handle, control.tooltip, dpi);
  }
  SendMessageW(dialog, DM_SETDEFID, static_cast<WPARAM>(toInt(defaultButton)), 0);
  SetFocus(GetDlgItem(dialog, toInt(defaultButton)));
}

// The tips of the dialog's controls go with the dialog.
void removeTooltips(HWND dialog, Session& session) {
  for (const ControlDefinition& control : session.definition.controls) {
    if (control.tooltip.empty()) continue;
    if (HWND handle = GetDlgItem(dialog, toInt(control.id)))
      session.owner.tooltips().remove(handle);
  }
}

INT_PTR CALLBACK dialogProcedure(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_INITDIALOG) {
    SetWindowLongPtrW(dialog, DWLP_USER, lParam);
    build(dialog, *reinterpret_cast<Session*>(lParam));
    return FALSE;  // the focus is set
  }
  auto* session = reinterpret_cast<Session*>(GetWindowLongPtrW(dialog, DWLP_USER));
  if (session == nullptr) return FALSE;
  switch (message) {
    case WM_COMMAND:
      if (isButtonOf(session->definition, LOWORD(wParam))) {
        session->result = {ControlId{LOWORD(wParam)}, enteredTexts(dialog, session->definition)};
        EndDialog(dialog, IDOK);
        return TRUE;
      }
      if (LOWORD(wParam) == IDCANCEL) {
        EndDialog(dialog, IDCANCEL);
        return TRUE;
      }
      return FALSE;
    case WM_DESTROY:
      removeTooltips(dialog, *session);
      return FALSE;
    default:
      return FALSE;
  }
}

}  // namespace

std::optional<DialogResult> runTextDialog(Window& owner, const DialogDefinition& definition,
                                          std::span<const DialogField> fields) {
  if (owner.handle() == nullptr) return std::nullopt;
  EmptyDialogTemplate dialogTemplate{};
  dialogTemplate.header.style = dialogStyle;
  dialogTemplate.header.dwExtendedStyle = dialogExStyle;
  Session session{owner, definition, fields, {}};
  INT_PTR result =
      DialogBoxIndirectParamW(GetModuleHandleW(nullptr), &dialogTemplate.header, owner.handle(),
                              &dialogProcedure, reinterpret_cast<LPARAM>(&session));
  if (session.bigIcon != nullptr) DestroyIcon(session.bigIcon);
  if (session.smallIcon != nullptr) DestroyIcon(session.smallIcon);
  if (result != IDOK) return std::nullopt;
  return std::move(session.result);
}

}  // namespace platform::win32
