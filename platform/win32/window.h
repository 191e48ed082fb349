#pragma once

#include <windows.h>

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/record_view.h"
#include "platform/status_bar.h"
#include "platform/win32/fonts.h"
#include "platform/win32/record_list_view.h"
#include "platform/win32/status_bar.h"
#include "platform/win32/tooltips.h"
#include "platform/window.h"
#include "platform/window_definition.h"

namespace platform::win32 {

// The main window built with the Win32 API from a WindowDefinition: every
// control the real Win32 control of its kind, at its place in client
// coordinates scaled by the window's DPI, created in definition order, which
// is also the Tab order. Keyboard navigation goes through IsDialogMessage;
// Esc and Enter do nothing. Once the window has been closed every call is a
// harmless no-op and isAlive() is false. With its record table and its
// status bar.
class Window final : public platform::Window,
                     public platform::RecordView,
                     public platform::StatusBar {
 public:
  explicit Window(const WindowDefinition& definition);
  ~Window() override;
  Window(const Window&) = delete;
  Window& operator=(const Window&) = delete;

  [[nodiscard]] std::string text(ControlId id) const override;
  void setText(ControlId id, std::string_view text) override;
  void setVisible(ControlId id, bool visible) override;
  // Whether the control is meant to be shown (false only once hidden), also
  // while the window itself is not shown yet.
  [[nodiscard]] bool isVisible(ControlId id) const override;
  void setFocus(ControlId id) override;
  [[nodiscard]] ControlId focusedControl() const override;
  void addTooltip(ControlId id, std::string_view text) override;

  void setText(int part, std::string_view text) override;
  void setProgress(int percent) override;

  void setColumns(std::span<const TableColumn> columns) override;
  [[nodiscard]] int columnWidth(int column) const override;
  void setContent(const TableContent& content) override;
  void reset() override;
  void rowAppended() override;
  void rowChanged(int row) override;
  [[nodiscard]] int selectedRow() const override;
  void selectRow(int row) override;
  void scrollToRow(int row) override;

  void show() override;
  void setEventHandler(WindowEvents* events) override;
  void startTimer(int milliseconds) override;
  void processPendingEvents() override;
  [[nodiscard]] bool isAlive() const override;

  // Handles the window's messages until it has been closed.
  void runUntilClosed();
  // Paints every part of the window that waits for it, now.
  void paintNow();

  // The top-level window: owner of the program's dialogs. nullptr once it is
  // gone.
  [[nodiscard]] HWND handle() const;
  // The window of a control; nullptr for an unknown id or once the window is
  // gone.
  [[nodiscard]] HWND control(ControlId id) const;
  [[nodiscard]] int dpi() const { return dpi_; }
  // The window's own font, which the controls without a font of their own use.
  [[nodiscard]] HFONT defaultFont() const { return fonts_.font(FontId::defaultFont); }
  // The tooltips of this window and of the dialogs it owns.
  [[nodiscard]] Tooltips& tooltips() { return *tooltips_; }

  // Lets the window handle one message taken from the queue: the keyboard
  // goes through the dialog navigation first. Also used by modal loops that
  // want the main window to behave as it does in its own loop.
  void dispatch(MSG& message);

 private:
  struct Control {
    ControlId id;
    const ControlDefinition* definition;
    HWND handle;
    // For controls that show no text of their own; for a multi-line field
    // the whole of a text it shows the beginning of (see maxShownLength).
    std::string storedText;
    HGDIOBJ picture = nullptr;
  };

  static LRESULT CALLBACK windowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT handleMessage(UINT message, WPARAM wParam, LPARAM lParam);
  [[nodiscard]] std::optional<LRESULT> notify(NMHDR& header);
  [[nodiscard]] HBRUSH labelColours(HDC context, HWND label) const;
  void moveFocusTo(HWND control);

  void createControls();
  void createControl(const ControlDefinition& definition);
  // Places every control, its font and its picture at this DPI.
  void layOut(int dpi);
  void placeWindow();
  void setPicture(Control& control);
  void releasePictures();
  void setIcons();
  [[nodiscard]] const Control* find(ControlId id) const;
  [[nodiscard]] Control* find(ControlId id);
  [[nodiscard]] bool alive() const;

  const WindowDefinition& definition_;
  HWND window_ = nullptr;
  int dpi_ = 96;
  FontSet fonts_;
  HBRUSH background_;
  HBRUSH highlightBackground_;
  std::unique_ptr<RecordListView> table_;
  std::unique_ptr<win32::StatusBar> statusBar_;
  std::unique_ptr<Tooltips> tooltips_;
  std::vector<Control> controls_;
  HICON bigIcon_ = nullptr;
  HICON smallIcon_ = nullptr;
  WindowEvents* events_ = nullptr;
};

}  // namespace platform::win32
