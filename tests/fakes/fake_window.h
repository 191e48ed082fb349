#pragma once

#include <array>
#include <functional>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "platform/record_view.h"
#include "platform/status_bar.h"
#include "platform/window.h"
#include "platform/window_definition.h"

namespace testing_support {

// A window without pixels, built from a window definition (the main
// window's unless told otherwise): remembers every text, visibility, focus,
// table and status bar call so that tests can check them. Its controls are
// those of the definition, labels with their texts and hidden controls
// hidden; a test that addresses any other control fails.
class FakeWindow : public platform::Window,
                   public platform::RecordView,
                   public platform::StatusBar {
 public:
  FakeWindow();
  explicit FakeWindow(const platform::WindowDefinition& definition);

  [[nodiscard]] std::string text(platform::ControlId id) const override;
  void setText(platform::ControlId id, std::string_view text) override;
  void setVisible(platform::ControlId id, bool visible) override;
  [[nodiscard]] bool isVisible(platform::ControlId id) const override;
  void setFocus(platform::ControlId id) override;
  [[nodiscard]] platform::ControlId focusedControl() const override { return focus; }
  void addTooltip(platform::ControlId id, std::string_view text) override;

  void setText(int part, std::string_view text) override;
  void setProgress(int percent) override { progress = percent; }

  void setColumns(std::span<const platform::TableColumn> columns) override;
  [[nodiscard]] int columnWidth(int column) const override;
  void setContent(const platform::TableContent& tableContent) override { content = &tableContent; }
  void reset() override;
  void rowAppended() override { ++rowsAppended; }
  void rowChanged(int row) override { changedRows.push_back(row); }
  [[nodiscard]] int selectedRow() const override { return selected; }
  void selectRow(int row) override { selected = row; }
  void scrollToRow(int row) override { scrolledTo = row; }

  void show() override { shown = true; }
  void setEventHandler(platform::WindowEvents* handler) override { events = handler; }
  void startTimer(int milliseconds) override { timerMilliseconds = milliseconds; }
  void processPendingEvents() override;
  [[nodiscard]] bool isAlive() const override { return alive; }

  // The table as the view would show it: cell texts of one row, 1-based.
  [[nodiscard]] std::vector<std::string> row(int row) const;
  [[nodiscard]] int rowCount() const { return content ? content->rowCount() : 0; }

  std::map<platform::ControlId, std::string> texts;
  std::map<platform::ControlId, int> textWrites;
  std::map<platform::ControlId, bool> visible;
  std::vector<std::pair<platform::ControlId, std::string>> tooltips;
  platform::ControlId focus = platform::ControlId::none;
  std::array<std::string, 6> status{};  // parts 1 to 5
  std::array<int, 6> statusWrites{};
  int progress = 0;
  std::vector<platform::TableColumn> columns;
  const platform::TableContent* content = nullptr;
  int resets = 0;
  int rowsAppended = 0;
  std::vector<int> changedRows;
  int selected = 0;
  int scrolledTo = 0;
  bool shown = false;
  platform::WindowEvents* events = nullptr;
  int timerMilliseconds = 0;
  int pendingEventRuns = 0;
  bool alive = true;
  // Runs inside processPendingEvents, to play events that arrive meanwhile.
  std::function<void()> onPendingEvents;

 private:
  // Fails the test when the window has no control of that id.
  void expectControl(platform::ControlId id) const;

  std::set<platform::ControlId> controls_;
};

}  // namespace testing_support
