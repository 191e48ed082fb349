#include "tests/fakes/fake_window.h"

#include <gtest/gtest.h>

#include "app/main_window_definition.h"

namespace testing_support {

FakeWindow::FakeWindow() : FakeWindow(app::mainWindowDefinition()) {}

FakeWindow::FakeWindow(const platform::WindowDefinition& definition) {
  for (const platform::ControlDefinition& control : definition.controls) {
    controls_.insert(control.id);
    if (control.kind == platform::ControlKind::label) texts[control.id] = control.text;
    if (control.hidden) visible[control.id] = false;
  }
}

void FakeWindow::expectControl(platform::ControlId id) const {
  EXPECT_TRUE(controls_.contains(id)) << "the window has no control " << platform::toInt(id);
}

std::string FakeWindow::text(platform::ControlId id) const {
  expectControl(id);
  auto found = texts.find(id);
  return found == texts.end() ? std::string() : found->second;
}

void FakeWindow::setText(platform::ControlId id, std::string_view text) {
  expectControl(id);
  texts[id] = std::string(text);
  ++textWrites[id];
}

void FakeWindow::setVisible(platform::ControlId id, bool isShown) {
  expectControl(id);
  visible[id] = isShown;
}

bool FakeWindow::isVisible(platform::ControlId id) const {
  expectControl(id);
  auto found = visible.find(id);
  return found == visible.end() || found->second;
}

void FakeWindow::setFocus(platform::ControlId id) {
  // None: the focus has left the window.
  if (id != platform::ControlId::none) expectControl(id);
  focus = id;
}

void FakeWindow::addTooltip(platform::ControlId id, std::string_view text) {
  expectControl(id);
  tooltips.emplace_back(id, std::string(text));
}

void FakeWindow::setText(int part, std::string_view text) {
  status.at(static_cast<std::size_t>(part)) = std::string(text);
  ++statusWrites.at(static_cast<std::size_t>(part));
}

void FakeWindow::setColumns(std::span<const platform::TableColumn> newColumns) {
  columns.assign(newColumns.begin(), newColumns.end());
}

int FakeWindow::columnWidth(int column) const {
  if (column < 1 || column > static_cast<int>(columns.size())) return 0;
  return columns[static_cast<std::size_t>(column - 1)].width;
}

void FakeWindow::reset() {
  ++resets;
  selected = 0;
}

void FakeWindow::processPendingEvents() {
  ++pendingEventRuns;
  if (onPendingEvents) onPendingEvents();
}

std::vector<std::string> FakeWindow::row(int rowNumber) const {
  std::vector<std::string> cells;
  for (int column = 1; column <= 9; ++column) cells.push_back(content->cell(rowNumber, column));
  return cells;
}

}  // namespace testing_support
