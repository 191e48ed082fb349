#include "platform/win32/window.h"

#include <commctrl.h>

#include <algorithm>

#include "platform/win32/controls.h"
#include "platform/win32/dpi.h"
#include "platform/win32/pictures.h"
#include "platform/win32/wide_text.h"

namespace platform::win32 {

namespace {

constexpr wchar_t className[] = L"MorviTelefonbuch";
constexpr UINT_PTR timerId = 0;

// A dialog-style frame with caption, system menu, minimise and maximise
// boxes and a sizing border; no menu bar.
constexpr DWORD frameStyle = WS_POPUP | WS_CLIPSIBLINGS | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME |
                             WS_MINIMIZEBOX | WS_MAXIMIZEBOX | DS_MODALFRAME | DS_CENTER |
                             DS_3DLOOK;
constexpr DWORD frameExStyle = WS_EX_CONTROLPARENT;

COLORREF toColorRef(Rgb rgb) {
  return RGB(static_cast<BYTE>(rgb.red), static_cast<BYTE>(rgb.green), static_cast<BYTE>(rgb.blue));
}

HINSTANCE program() { return GetModuleHandleW(nullptr); }

void registerWindowClass(WNDPROC procedure) {
  WNDCLASSEXW existing{};
  existing.cbSize = sizeof(existing);
  if (GetClassInfoExW(program(), className, &existing)) return;
  WNDCLASSEXW windowClass{};
  windowClass.cbSize = sizeof(windowClass);
  windowClass.style = CS_DBLCLKS;
  windowClass.lpfnWndProc = procedure;
  windowClass.hInstance = program();
  windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  windowClass.lpszClassName = className;
  RegisterClassExW(&windowClass);
}

bool isEdit(ControlKind kind) { return isLineEdit(kind) || kind == ControlKind::multiLineEdit; }

}  // namespace

Window::Window(const WindowDefinition& definition)
    : definition_(definition),
      background_(CreateSolidBrush(toColorRef(definition.background))),
      highlightBackground_(CreateSolidBrush(toColorRef(definition.highlightBackground))) {
  registerWindowClass(&Window::windowProcedure);
  window_ = CreateWindowExW(frameExStyle, className, toWide(definition.title).c_str(), frameStyle,
                            0, 0, 0, 0, nullptr, nullptr, program(), this);
  if (window_ == nullptr) return;
  dpi_ = static_cast<int>(GetDpiForWindow(window_));
  if (dpi_ <= 0) dpi_ = baseDpi;
  tooltips_ = std::make_unique<Tooltips>(window_);
  createControls();
  layOut(dpi_);
  placeWindow();
}

Window::~Window() {
  if (alive()) DestroyWindow(window_);
  releasePictures();
  if (bigIcon_ != nullptr) DestroyIcon(bigIcon_);
  if (smallIcon_ != nullptr) DestroyIcon(smallIcon_);
  DeleteObject(background_);
  DeleteObject(highlightBackground_);
}

void Window::createControls() {
  for (const ControlDefinition& definition : definition_.controls) createControl(definition);
}

void Window::createControl(const ControlDefinition& definition) {
  HWND handle = nullptr;
  std::string storedText;
  switch (definition.kind) {
    case ControlKind::table:
      table_ = std::make_unique<RecordListView>(window_, definition.id, definition.text,
                                                toColorRef(definition_.tableBackground));
      handle = table_->handle();
      // Kept though not shown.
      storedText = std::string(definition.text);
      break;
    case ControlKind::statusBar:
      statusBar_ = std::make_unique<win32::StatusBar>(
          window_, definition.id, definition_.statusPartWidths,
          RECT{definition_.progressX, definition_.progressY,
               definition_.progressX + definition_.progressWidth,
               definition_.progressY + definition_.progressHeight});
      statusBar_->setText(1, definition.text);
      handle = statusBar_->handle();
      break;
    case ControlKind::progressBar:
      if (statusBar_ != nullptr) handle = statusBar_->createProgressBar(definition.id);
      break;
    default: {
      ControlClass kind = controlClassOf(definition);
      DWORD visible = definition.hidden ? 0 : WS_VISIBLE;
      // A picture button's text is not shown; it names the button for screen
      // readers. A picture's name is no text.
      std::string_view text =
          definition.kind == ControlKind::pictureButton ? definition.accessibleName
          : definition.kind == ControlKind::label || definition.kind == ControlKind::button
              ? definition.text
              : std::string_view();
      handle = CreateWindowExW(kind.exStyle, kind.windowClass, toWide(text).c_str(),
                               WS_CHILD | visible | kind.style, 0, 0, 0, 0, window_,
                               reinterpret_cast<HMENU>(static_cast<INT_PTR>(toInt(definition.id))),
                               program(), nullptr);
      // The limit holds for typing only, never for a text the program sets;
      // notes are limited only by what the field can hold.
      if (isEdit(definition.kind)) {
        bool notes = definition.kind == ControlKind::multiLineEdit;
        SendMessageW(handle, EM_SETLIMITTEXT, notes ? 0 : typingLimit, 0);
      }
      break;
    }
  }
  if (handle == nullptr) return;
  controls_.push_back({definition.id, &definition, handle, std::move(storedText)});
}

void Window::layOut(int dpi) {
  dpi_ = dpi;
  // The fonts of the old DPI go only once no control uses them any more.
  FontSet fonts(definition_.fonts, dpi);
  for (Control& control : controls_) {
    const ControlDefinition& definition = *control.definition;
    SendMessageW(control.handle, WM_SETFONT, reinterpret_cast<WPARAM>(fonts.font(definition.font)),
                 FALSE);
    if (definition.kind == ControlKind::statusBar || definition.kind == ControlKind::progressBar) {
      continue;
    }
    SetWindowPos(control.handle, nullptr, scaled(definition.x, dpi), scaled(definition.y, dpi),
                 scaled(definition.width, dpi), scaled(definition.height, dpi),
                 SWP_NOZORDER | SWP_NOACTIVATE);
    setPicture(control);
  }
  if (statusBar_ != nullptr) statusBar_->layOut(dpi, fonts.font(FontId::defaultFont));
  fonts_ = std::move(fonts);
  setIcons();
  InvalidateRect(window_, nullptr, TRUE);
}

void Window::setPicture(Control& control) {
  const ControlDefinition& definition = *control.definition;
  HGDIOBJ old = control.picture;
  if (definition.kind == ControlKind::pictureButton) {
    int width = definition.scaled ? definition.width : definition.pictureSize;
    int height = definition.scaled ? definition.height : definition.pictureSize;
    HICON icon = loadPictureIcon(definition.text, scaled(width, dpi_), scaled(height, dpi_));
    SendMessageW(control.handle, BM_SETIMAGE, IMAGE_ICON, reinterpret_cast<LPARAM>(icon));
    control.picture = icon;
    if (old != nullptr) DestroyIcon(static_cast<HICON>(old));
  } else if (definition.kind == ControlKind::picture) {
    HBITMAP bitmap = loadPhotograph(definition.text, scaled(definition.width, dpi_),
                                    scaled(definition.height, dpi_), dpi_);
    SendMessageW(control.handle, STM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(bitmap));
    control.picture = bitmap;
    if (old != nullptr) DeleteObject(old);
  }
}

void Window::releasePictures() {
  for (Control& control : controls_) {
    if (control.picture == nullptr) continue;
    if (control.definition->kind == ControlKind::pictureButton) {
      DestroyIcon(static_cast<HICON>(control.picture));
    } else {
      DeleteObject(control.picture);
    }
    control.picture = nullptr;
  }
}

void Window::setIcons() {
  HICON big = loadApplicationIcon(GetSystemMetricsForDpi(SM_CXICON, static_cast<UINT>(dpi_)));
  HICON small = loadApplicationIcon(GetSystemMetricsForDpi(SM_CXSMICON, static_cast<UINT>(dpi_)));
  SendMessageW(window_, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(big));
  SendMessageW(window_, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(small));
  if (bigIcon_ != nullptr) DestroyIcon(bigIcon_);
  if (smallIcon_ != nullptr) DestroyIcon(smallIcon_);
  bigIcon_ = big;
  smallIcon_ = small;
}

// The client area of the definition at the window's DPI, centred in the work
// area of its monitor (the screen without task bars). A window larger than
// the work area keeps its caption on the screen, where it can be moved.
void Window::placeWindow() {
  RECT frame{0, 0, scaled(definition_.clientWidth, dpi_), scaled(definition_.clientHeight, dpi_)};
  AdjustWindowRectExForDpi(&frame, frameStyle, FALSE, frameExStyle, static_cast<UINT>(dpi_));
  MONITORINFO monitor{};
  monitor.cbSize = sizeof(monitor);
  GetMonitorInfoW(MonitorFromWindow(window_, MONITOR_DEFAULTTOPRIMARY), &monitor);
  const RECT& work = monitor.rcWork;
  int width = frame.right - frame.left;
  int height = frame.bottom - frame.top;
  int x = std::max(work.left + (work.right - work.left - width) / 2, work.left);
  int y = std::max(work.top + (work.bottom - work.top - height) / 2, work.top);
  SetWindowPos(window_, nullptr, x, y, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
}

bool Window::alive() const { return window_ != nullptr && IsWindow(window_); }

const Window::Control* Window::find(ControlId id) const {
  if (!alive()) return nullptr;
  auto found = std::ranges::find(controls_, id, &Control::id);
  return found == controls_.end() ? nullptr : &*found;
}

Window::Control* Window::find(ControlId id) {
  return const_cast<Control*>(std::as_const(*this).find(id));
}

HWND Window::handle() const { return alive() ? window_ : nullptr; }

HWND Window::control(ControlId id) const {
  const Control* found = find(id);
  return found ? found->handle : nullptr;
}

std::string Window::text(ControlId id) const {
  const Control* control = find(id);
  if (control == nullptr) return {};
  ControlKind kind = control->definition->kind;
  if (kind == ControlKind::multiLineEdit && !control->storedText.empty() &&
      SendMessageW(control->handle, EM_GETMODIFY, 0, 0) == FALSE) {
    return control->storedText;
  }
  if (isEdit(kind) || kind == ControlKind::label) return windowText(control->handle);
  if (kind == ControlKind::statusBar) return statusBar_->text(1);
  return control->storedText;
}

void Window::setText(ControlId id, std::string_view text) {
  Control* control = find(id);
  if (control == nullptr) return;
  ControlKind kind = control->definition->kind;
  if (kind == ControlKind::multiLineEdit) {
    // Setting the text clears the field's modified flag.
    std::string_view shown = text.substr(0, maxShownLength);
    SetWindowTextW(control->handle, toWide(shown).c_str());
    control->storedText = shown.size() < text.size() ? std::string(text) : std::string();
  } else if (isEdit(kind) || kind == ControlKind::label) {
    SetWindowTextW(control->handle, toWide(text).c_str());
  } else if (kind == ControlKind::statusBar) {
    statusBar_->setText(1, text);
  } else {
    control->storedText = std::string(text);
  }
}

void Window::setVisible(ControlId id, bool visible) {
  if (HWND handle = control(id)) ShowWindow(handle, visible ? SW_SHOWNA : SW_HIDE);
}

bool Window::isVisible(ControlId id) const {
  HWND handle = control(id);
  return handle != nullptr && (GetWindowLongPtrW(handle, GWL_STYLE) & WS_VISIBLE) != 0;
}

void Window::setFocus(ControlId id) {
  if (HWND handle = control(id)) SetFocus(handle);
}

ControlId Window::focusedControl() const {
  if (!alive()) return ControlId::none;
  // The control itself, or the control whose part has the focus.
  for (HWND focus = GetFocus(); focus != nullptr && focus != window_; focus = GetParent(focus)) {
    auto found = std::ranges::find(controls_, focus, &Control::handle);
    if (found != controls_.end()) return found->id;
  }
  return ControlId::none;
}

void Window::addTooltip(ControlId id, std::string_view text) {
  if (HWND handle = control(id)) tooltips_->add(handle, text, dpi_);
}

void Window::setText(int part, std::string_view text) {
  if (alive() && statusBar_ != nullptr) statusBar_->setText(part, text);
}

void Window::setProgress(int percent) {
  if (alive() && statusBar_ != nullptr) statusBar_->setProgress(percent);
}

void Window::setColumns(std::span<const TableColumn> columns) {
  if (alive() && table_ != nullptr) table_->setColumns(columns, dpi_);
}

int Window::columnWidth(int column) const {
  if (!alive() || table_ == nullptr) return 0;
  return table_->columnWidth(column, dpi_);
}

void Window::setContent(const TableContent& content) {
  if (alive() && table_ != nullptr) table_->setContent(&content);
}

void Window::reset() {
  if (alive() && table_ != nullptr) table_->reset();
}

void Window::rowAppended() {
  if (alive() && table_ != nullptr) table_->rowsAppended();
}

void Window::rowChanged(int row) {
  if (alive() && table_ != nullptr) table_->rowChanged(row);
}

int Window::selectedRow() const { return alive() && table_ != nullptr ? table_->selectedRow() : 0; }

void Window::selectRow(int row) {
  if (alive() && table_ != nullptr) table_->selectRow(row);
}

void Window::scrollToRow(int row) {
  if (alive() && table_ != nullptr) table_->scrollToRow(row);
}

void Window::show() {
  if (!alive()) return;
  ShowWindow(window_, SW_SHOWNORMAL);
  SetForegroundWindow(window_);
  UpdateWindow(window_);
}

void Window::setEventHandler(WindowEvents* events) { events_ = events; }

void Window::startTimer(int milliseconds) {
  if (alive()) SetTimer(window_, timerId, static_cast<UINT>(milliseconds), nullptr);
}

void Window::dispatch(MSG& message) {
  if (alive() && (message.hwnd == window_ || IsChild(window_, message.hwnd))) {
    // Esc does nothing in this window: a multi-line edit field would
    // otherwise ask its window to close.
    if (message.message == WM_KEYDOWN && message.wParam == VK_ESCAPE) return;
    if (IsDialogMessageW(window_, &message)) return;
  }
  TranslateMessage(&message);
  DispatchMessageW(&message);
}

void Window::processPendingEvents() {
  MSG message;
  while (alive() && PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
    if (message.message == WM_QUIT) {
      // For the loop that waits for it.
      PostQuitMessage(static_cast<int>(message.wParam));
      return;
    }
    dispatch(message);
  }
}

void Window::runUntilClosed() {
  MSG message;
  while (alive()) {
    BOOL got = GetMessageW(&message, nullptr, 0, 0);
    if (got == 0 || got == -1) return;
    dispatch(message);
  }
}

// An edit field reached with the keyboard has its text selected.
void Window::moveFocusTo(HWND control) {
  if (control == nullptr) return;
  if ((SendMessageW(control, WM_GETDLGCODE, 0, 0) & DLGC_HASSETSEL) != 0)
    SendMessageW(control, EM_SETSEL, 0, -1);
  SetFocus(control);
}

void Window::paintNow() {
  if (alive()) RedrawWindow(window_, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
}

bool Window::isAlive() const { return alive(); }

LRESULT CALLBACK Window::windowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE) {
    auto* self = static_cast<Window*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
    self->window_ = window;
    SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
  }
  auto* self = reinterpret_cast<Window*>(GetWindowLongPtrW(window, GWLP_USERDATA));
  if (self == nullptr) return DefWindowProcW(window, message, wParam, lParam);
  if (message == WM_NCDESTROY) SetWindowLongPtrW(window, GWLP_USERDATA, 0);
  return self->handleMessage(message, wParam, lParam);
}

LRESULT Window::handleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_TIMER:
      if (events_ != nullptr) events_->timerExpired();
      return 0;
    case WM_COMMAND:
      // Only the controls' own clicks (BN_CLICKED, or 1 as a keyboard
      // accelerator gives it): the dialog navigation's IDOK and IDCANCEL for
      // Enter and Esc come without a control and mean nothing here, and an
      // edit field's notifications are no clicks.
      if (events_ != nullptr && lParam != 0 &&
          (HIWORD(wParam) == BN_CLICKED || HIWORD(wParam) == 1))
        events_->controlClicked(static_cast<ControlId>(LOWORD(wParam)));
      return 0;
    case WM_NOTIFY:
      if (auto result = notify(*reinterpret_cast<NMHDR*>(lParam))) return *result;
      break;
    case WM_NEXTDLGCTL:
      // The multi-line notes field hands Tab and Shift+Tab on this way, as
      // to a dialog: the focus moves as the dialog navigation moves it.
      moveFocusTo(LOWORD(lParam) != 0 ? reinterpret_cast<HWND>(wParam)
                                      : GetNextDlgTabItem(window_, GetFocus(), wParam != 0));
      return 0;
    case WM_NCACTIVATE:
      if (events_ != nullptr) events_->activationChanged(wParam != FALSE);
      break;
    case WM_ACTIVATE:
      // The focus stays in the control that has it (the program gives it
      // back on activation); only without one does the window take it.
      if (LOWORD(wParam) != WA_INACTIVE && IsChild(window_, GetFocus())) return 0;
      break;
    case WM_CLOSE:
      if (events_ != nullptr && !events_->closeRequested()) return 0;
      DestroyWindow(window_);
      return 0;
    case WM_QUERYENDSESSION:
      // The end of the session (log-off, shut-down) is asked about as a close
      // is, and refused where the program keeps the window open. Once it is
      // allowed the system ends the process; WM_ENDSESSION writes nothing.
      return events_ == nullptr || events_->closeRequested() ? TRUE : FALSE;
    case WM_DESTROY:
      KillTimer(window_, timerId);
      break;
    case WM_SIZE:
      if (statusBar_ != nullptr) statusBar_->followParent();
      break;
    case WM_ERASEBKGND: {
      RECT client;
      GetClientRect(window_, &client);
      FillRect(reinterpret_cast<HDC>(wParam), &client, background_);
      return 1;
    }
    case WM_CTLCOLORSTATIC:
      return reinterpret_cast<LRESULT>(
          labelColours(reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam)));
    case WM_DPICHANGED: {
      int oldDpi = dpi_;
      layOut(LOWORD(wParam));
      if (table_ != nullptr) table_->rescale(oldDpi, dpi_);
      const auto* suggested = reinterpret_cast<const RECT*>(lParam);
      SetWindowPos(window_, nullptr, suggested->left, suggested->top,
                   suggested->right - suggested->left, suggested->bottom - suggested->top,
                   SWP_NOZORDER | SWP_NOACTIVATE);
      return 0;
    }
    default:
      break;
  }
  return DefWindowProcW(window_, message, wParam, lParam);
}

std::optional<LRESULT> Window::notify(NMHDR& header) {
  if (table_ == nullptr) return std::nullopt;
  return table_->notify(header, [this](int column) {
    if (events_ != nullptr) events_->columnClicked(column);
  });
}

// Labels and the picture lie on the window's colour, a highlighted label on
// the highlight colour.
HBRUSH Window::labelColours(HDC context, HWND label) const {
  auto found = std::ranges::find(controls_, label, &Control::handle);
  bool highlighted = found != controls_.end() && found->definition->highlighted;
  SetBkColor(context,
             toColorRef(highlighted ? definition_.highlightBackground : definition_.background));
  SetTextColor(context, GetSysColor(COLOR_WINDOWTEXT));
  return highlighted ? highlightBackground_ : background_;
}

}  // namespace platform::win32
