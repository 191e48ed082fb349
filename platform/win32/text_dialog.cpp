#include "platform/win32/text_dialog.h"

#include <array>

#include "platform/win32/dpi.h"
#include "platform/win32/pictures.h"
#include "platform/win32/wide_text.h"

namespace platform::win32 {

namespace {

constexpr int clientWidth = 231;
constexpr int clientHeight = 125;
constexpr POINT placeInOwner{596, 289};
constexpr int iconSize = 32;
constexpr std::string_view caption = "Einstellungen";
constexpr std::string_view icon = "port-settings-icon";
constexpr std::string_view portTooltip = "z.B. COM3 oder COM12";

struct Control {
  ControlId id;
  const wchar_t* windowClass;
  std::string_view text;
  DWORD style;
  DWORD exStyle;
  int x, y, width, height;
};

// The caption (right-aligned), the port field and OK, in Tab order. The
// field's text is the stored port.
constexpr std::array<Control, 3> controls{{
    {ControlId::portCaption, L"STATIC", "Telefon an COM1....COMx:", SS_RIGHT | SS_NOPREFIX, 0, 2,
     14, 164, 16},
    {ControlId::portEdit,
     L"EDIT",
     {},
     WS_TABSTOP | ES_LEFT | ES_AUTOHSCROLL,
     WS_EX_CLIENTEDGE,
     170,
     10,
     54,
     22},
    {ControlId::portOkButton, L"BUTTON", "OK", WS_TABSTOP | BS_DEFPUSHBUTTON, 0, 178, 98, 48, 22},
}};

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
  std::string storedPort;
  std::string entered;
  HWND portField = nullptr;
  HICON bigIcon = nullptr;
  HICON smallIcon = nullptr;
};

void placeDialog(HWND dialog, const Session& session) {
  int dpi = session.owner.dpi();
  RECT frame{0, 0, scaled(clientWidth, dpi), scaled(clientHeight, dpi)};
  AdjustWindowRectExForDpi(&frame, static_cast<DWORD>(GetWindowLongPtrW(dialog, GWL_STYLE)), FALSE,
                           static_cast<DWORD>(GetWindowLongPtrW(dialog, GWL_EXSTYLE)),
                           static_cast<UINT>(dpi));
  POINT place{scaled(placeInOwner.x, dpi), scaled(placeInOwner.y, dpi)};
  ClientToScreen(session.owner.handle(), &place);
  SetWindowPos(dialog, nullptr, place.x, place.y, frame.right - frame.left,
               frame.bottom - frame.top, SWP_NOZORDER | SWP_NOACTIVATE);
}

void build(HWND dialog, Session& session) {
  int dpi = session.owner.dpi();
  SetWindowTextW(dialog, toWide(caption).c_str());
  session.bigIcon = loadPictureIcon(icon, scaled(iconSize, dpi), scaled(iconSize, dpi));
  int small = GetSystemMetricsForDpi(SM_CXSMICON, static_cast<UINT>(dpi));
  session.smallIcon = loadPictureIcon(icon, small, small);
  SendMessageW(dialog, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(session.bigIcon));
  SendMessageW(dialog, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(session.smallIcon));
  placeDialog(dialog, session);

  HWND ok = nullptr;
  for (const Control& control : controls) {
    std::string_view text = control.id == ControlId::portEdit ? session.storedPort : control.text;
    HWND handle = CreateWindowExW(control.exStyle, control.windowClass, toWide(text).c_str(),
                                  WS_CHILD | WS_VISIBLE | control.style, scaled(control.x, dpi),
                                  scaled(control.y, dpi), scaled(control.width, dpi),
                                  scaled(control.height, dpi), dialog,
                                  reinterpret_cast<HMENU>(static_cast<INT_PTR>(toInt(control.id))),
                                  GetModuleHandleW(nullptr), nullptr);
    SendMessageW(handle, WM_SETFONT, reinterpret_cast<WPARAM>(session.owner.defaultFont()), FALSE);
    if (control.id == ControlId::portEdit) session.portField = handle;
    if (control.id == ControlId::portOkButton) ok = handle;
  }
  session.owner.tooltips().add(session.portField, portTooltip, dpi);
  SendMessageW(dialog, DM_SETDEFID, toInt(ControlId::portOkButton), 0);
  SetFocus(ok);
}

std::string fieldText(HWND field) {
  int length = GetWindowTextLengthW(field);
  std::wstring wide(static_cast<std::size_t>(length) + 1, L'\0');
  int copied = GetWindowTextW(field, wide.data(), length + 1);
  wide.resize(static_cast<std::size_t>(copied > 0 ? copied : 0));
  return fromWide(wide);
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
      if (LOWORD(wParam) == toInt(ControlId::portOkButton)) {
        session->entered = fieldText(session->portField);
        EndDialog(dialog, IDOK);
        return TRUE;
      }
      if (LOWORD(wParam) == IDCANCEL) {
        EndDialog(dialog, IDCANCEL);
        return TRUE;
      }
      return FALSE;
    case WM_DESTROY:
      // The field goes with the dialog; its tip must not outlive it.
      session->owner.tooltips().remove(session->portField);
      return FALSE;
    default:
      return FALSE;
  }
}

}  // namespace

std::optional<std::string> runPortSettingsDialog(Window& owner, std::string_view storedPort) {
  if (owner.handle() == nullptr) return std::nullopt;
  EmptyDialogTemplate dialogTemplate{};
  dialogTemplate.header.style = dialogStyle;
  dialogTemplate.header.dwExtendedStyle = dialogExStyle;
  Session session{owner, std::string(storedPort), {}};
  INT_PTR result =
      DialogBoxIndirectParamW(GetModuleHandleW(nullptr), &dialogTemplate.header, owner.handle(),
                              &dialogProcedure, reinterpret_cast<LPARAM>(&session));
  if (session.bigIcon != nullptr) DestroyIcon(session.bigIcon);
  if (session.smallIcon != nullptr) DestroyIcon(session.smallIcon);
  if (result != IDOK) return std::nullopt;
  return session.entered;
}

}  // namespace platform::win32
