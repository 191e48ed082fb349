#include "platform/win32/dialogs.h"

#include <commdlg.h>

#include <vector>

#include "platform/path.h"
#include "platform/win32/text_dialog.h"
#include "platform/win32/wide_text.h"

namespace platform::win32 {

namespace {

// Room for the longest path Windows knows, so that a long name reaches the
// check below instead of failing inside the dialog.
constexpr std::size_t fileBufferLength = 32768;

UINT buttonStyle(MessageButtons buttons) {
  switch (buttons) {
    case MessageButtons::ok:
      return MB_OK;
    case MessageButtons::yesNo:
      return MB_YESNO;
    case MessageButtons::yesNoCancel:
      return MB_YESNOCANCEL;
  }
  return MB_OK;
}

// The button that Enter chooses, by its position in the box. A default the
// box does not have leaves the first button.
UINT defaultButtonStyle(MessageButtons buttons, Answer defaultButton) {
  if (buttons == MessageButtons::ok) return MB_DEFBUTTON1;
  if (defaultButton == Answer::no) return MB_DEFBUTTON2;
  if (defaultButton == Answer::cancel && buttons == MessageButtons::yesNoCancel)
    return MB_DEFBUTTON3;
  return MB_DEFBUTTON1;
}

UINT iconStyle(MessageIcon icon) {
  switch (icon) {
    case MessageIcon::none:
      return 0;
    case MessageIcon::exclamation:
      return MB_ICONEXCLAMATION;
  }
  return 0;
}

Answer toAnswer(int answer, MessageButtons buttons) {
  switch (answer) {
    case IDYES:
      return Answer::yes;
    case IDNO:
      return Answer::no;
    case IDCANCEL:
      return Answer::cancel;
    case IDOK:
      return Answer::ok;
    default:
      // No box could be shown: what Esc would have chosen.
      if (buttons == MessageButtons::yesNoCancel) return Answer::cancel;
      return buttons == MessageButtons::yesNo ? Answer::no : Answer::ok;
  }
}

int showMessage(const std::wstring& text, const std::wstring& caption, UINT style) {
  return MessageBoxW(nullptr, text.c_str(), caption.c_str(),
                     style | MB_TASKMODAL | MB_SETFOREGROUND);
}

// The folder a file dialog starts in: initialPath itself when it is a
// folder, else the folder of the file it names; empty (the current folder)
// when it names none.
std::wstring startFolder(const std::string& initialPath) {
  std::wstring path = toWide(initialPath);
  DWORD attributes = GetFileAttributesW(path.c_str());
  if (!path.empty() && attributes != INVALID_FILE_ATTRIBUTES &&
      (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
    return path;
  }
  std::wstring_view folder = platform::path::folderOf(std::wstring_view(path));
  if (!folder.empty()) folder.remove_suffix(1);
  return std::wstring(folder);
}

}  // namespace

Answer Dialogs::messageBox(std::string_view text, std::string_view caption, MessageButtons buttons,
                           MessageIcon icon, Answer defaultButton) {
  int answer = showMessage(
      toWide(text), toWide(caption),
      buttonStyle(buttons) | defaultButtonStyle(buttons, defaultButton) | iconStyle(icon));
  return toAnswer(answer, buttons);
}

std::optional<std::string> Dialogs::openFile(const FileDialogRequest& request) {
  return chooseFile(request, FileMode::open);
}

std::optional<std::string> Dialogs::saveFile(const FileDialogRequest& request) {
  return chooseFile(request, FileMode::save);
}

std::optional<std::string> Dialogs::chooseFile(const FileDialogRequest& request, FileMode mode) {
  // One entry: its description, its pattern, and the empty entry that ends
  // the list.
  std::wstring filter = toWide(request.filterName);
  filter += L'\0';
  filter += toWide(request.filterPattern);
  filter += L'\0';
  std::wstring title = toWide(request.title);
  std::wstring suffix = toWide(request.defaultSuffix);
  std::wstring folder = startFolder(request.initialPath);
  std::vector<wchar_t> file(fileBufferLength, L'\0');
  std::wstring proposed = toWide(request.proposedName).substr(0, fileBufferLength - 1);
  std::copy(proposed.begin(), proposed.end(), file.begin());

  OPENFILENAMEW dialog{};
  dialog.lStructSize = sizeof(dialog);
  dialog.hwndOwner = owner_.handle();
  dialog.lpstrFilter = filter.c_str();
  dialog.nFilterIndex = 1;
  dialog.lpstrFile = file.data();
  dialog.nMaxFile = static_cast<DWORD>(file.size());
  dialog.lpstrInitialDir = folder.empty() ? nullptr : folder.c_str();
  dialog.lpstrTitle = title.c_str();
  dialog.lpstrDefExt = suffix.c_str();
  // Neither the file nor its folder must exist: the program reports a
  // missing file itself.
  dialog.Flags = OFN_EXPLORER | OFN_NOCHANGEDIR | OFN_HIDEREADONLY;
  BOOL chosen = mode == FileMode::open ? GetOpenFileNameW(&dialog) : GetSaveFileNameW(&dialog);
  if (!chosen) return std::nullopt;

  std::wstring path(file.data());
  if (hasWindows1252Form(path)) return fromWide(path);
  showMessage(toWide(request.refusalText) + path, toWide(request.refusalCaption),
              MB_OK | MB_ICONEXCLAMATION);
  return std::nullopt;
}

std::optional<DialogResult> Dialogs::askForTexts(const DialogDefinition& dialog,
                                                 std::span<const DialogField> fields) {
  return runTextDialog(owner_, dialog, fields);
}

}  // namespace platform::win32
