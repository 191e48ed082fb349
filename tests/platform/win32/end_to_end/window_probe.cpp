// Looks into a running program's window from outside, for the end-to-end
// tests under Wine, and prints what it finds as UTF-8 on one line:
//   window-probe client TITLE        screen x and y of the client area, width, height
//   window-probe window TITLE        screen x and y of the window's top-left corner
//   window-probe active TITLE        1 when the window is the foreground window, else 0
//   window-probe rows TITLE          the row count of the record table
//   window-probe text TITLE ID       the text of the control with that id
//   window-probe visible TITLE ID    1 when that control is visible, else 0
//   window-probe box CAPTION         the text of the message box with that caption
// Only messages that Windows carries across processes are used. Exit status 1
// when the window is not there or not yet shown, or the control is not there.
#include <windows.h>
#include <commctrl.h>

#include <cstdio>
#include <cwchar>
#include <string>

namespace {

constexpr int recordTableId = 1040;
constexpr int messageBoxTextId = 0xFFFF;

void printUtf8(const std::wstring& text) {
  std::string utf8(static_cast<std::size_t>(text.size()) * 4, '\0');
  const int length =
      WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), utf8.data(),
                          static_cast<int>(utf8.size()), nullptr, nullptr);
  utf8.resize(static_cast<std::size_t>(length));
  std::printf("%s\n", utf8.c_str());
}

// WM_GETTEXT itself: GetWindowText does not ask a window of another process.
std::wstring textOf(HWND control) {
  DWORD_PTR length = 0;
  SendMessageTimeoutW(control, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, 5000, &length);
  std::wstring text(length + 1, L'\0');
  DWORD_PTR copied = 0;
  SendMessageTimeoutW(control, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()),
                      SMTO_ABORTIFHUNG, 5000, &copied);
  text.resize(copied);
  return text;
}

}  // namespace

int main() {
  int count = 0;
  wchar_t** arguments = CommandLineToArgvW(GetCommandLineW(), &count);
  if (count < 3) return 2;
  const std::wstring command = arguments[1];

  if (command == L"box") {
    HWND box = FindWindowW(L"#32770", arguments[2]);
    HWND text = box != nullptr ? GetDlgItem(box, messageBoxTextId) : nullptr;
    if (text == nullptr) return 1;
    printUtf8(textOf(text));
    return 0;
  }

  HWND window = FindWindowW(nullptr, arguments[2]);
  if (window == nullptr || !IsWindowVisible(window)) return 1;
  if (command == L"client") {
    RECT client;
    GetClientRect(window, &client);
    POINT origin{0, 0};
    ClientToScreen(window, &origin);
    std::printf("%ld %ld %ld %ld\n", origin.x, origin.y, client.right, client.bottom);
    return 0;
  }
  if (command == L"window") {
    RECT frame;
    GetWindowRect(window, &frame);
    std::printf("%ld %ld\n", frame.left, frame.top);
    return 0;
  }
  if (command == L"active") {
    std::printf("%d\n", GetForegroundWindow() == window ? 1 : 0);
    return 0;
  }
  if (command == L"rows") {
    HWND table = GetDlgItem(window, recordTableId);
    if (table == nullptr) return 1;
    std::printf("%ld\n", static_cast<long>(SendMessageW(table, LVM_GETITEMCOUNT, 0, 0)));
    return 0;
  }
  if (count < 4) return 2;
  HWND control = GetDlgItem(window, static_cast<int>(std::wcstol(arguments[3], nullptr, 10)));
  if (control == nullptr) return 1;
  if (command == L"text") {
    printUtf8(textOf(control));
  } else if (command == L"visible") {
    std::printf("%d\n", IsWindowVisible(control) ? 1 : 0);
  } else {
    return 2;
  }
  return 0;
}
