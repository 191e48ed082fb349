#pragma once

#include <QFont>
#include <QPointer>
#include <QTimer>
#include <vector>

#include "platform/qt/main_frame.h"
#include "platform/qt/record_table_model.h"
#include "platform/qt/record_table_view.h"
#include "platform/qt/status_bar.h"
#include "platform/qt/tooltip_controller.h"
#include "platform/record_view.h"
#include "platform/status_bar.h"
#include "platform/window.h"
#include "platform/window_definition.h"

namespace platform::qt {

// The main window built with Qt Widgets from a WindowDefinition: every control at
// its place in client coordinates, in creation order, which is also the Tab
// order; with its record table and its status bar. Needs a QApplication. Once
// the window has been closed every call is a harmless no-op and isAlive() is
// false.
class Window final : public platform::Window,
                     public platform::RecordView,
                     public platform::StatusBar,
                     private FrameListener {
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

  // The top-level widget: owner of the program's dialogs. nullptr once it is
  // gone.
  [[nodiscard]] QWidget* widget() const { return frame_; }
  // The widget of a control; nullptr for an unknown id or once the window is
  // gone.
  [[nodiscard]] QWidget* control(ControlId id) const;
  [[nodiscard]] RecordTableView* table() const;
  [[nodiscard]] qt::StatusBar* statusBar() const;
  // The tooltips of this window and of the dialogs it owns.
  [[nodiscard]] TooltipController& tooltips() { return *tooltips_; }
  // The window's own font, which the controls without a font of their own use.
  [[nodiscard]] QFont defaultFont() const { return defaultFont_; }
  // Whether the session (log-off, shut-down) may end: the program is asked
  // as for a close when the session manager lets it ask the user (mayAsk).
  [[nodiscard]] bool sessionMayEnd(bool mayAsk);

 private:
  struct Control {
    ControlId id;
    ControlKind kind;
    QWidget* widget;
    std::string storedText;  // for controls that show no text of their own
    std::string longText;    // a text of which the control shows the beginning only
  };

  void createControl(const WindowDefinition& window, const ControlDefinition& definition);
  void setTabOrder();
  [[nodiscard]] const Control* find(ControlId id) const;
  [[nodiscard]] Control* find(ControlId id);
  [[nodiscard]] bool alive() const { return frame_ && !closed_; }

  bool frameCloseRequested() override;
  void frameClosed() override;
  void frameActivationChanged(bool active) override;
  void frameResized() override;

  QFont defaultFont_;
  QPointer<MainFrame> frame_;
  TooltipController* tooltips_;
  RecordTableModel* model_ = nullptr;
  RecordTableView* table_ = nullptr;
  qt::StatusBar* statusBar_ = nullptr;
  QTimer* timer_;
  std::vector<Control> controls_;
  WindowEvents* events_ = nullptr;
  bool closed_ = false;
};

}  // namespace platform::qt
