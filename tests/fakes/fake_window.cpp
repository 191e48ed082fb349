#include "tests/fakes/fake_window.h"

namespace testing_support {

std::string FakeWindow::text(platform::ControlId id) const {
  auto found = texts.find(id);
  return found == texts.end() ? std::string() : found->second;
}

void FakeWindow::setText(platform::ControlId id, std::string_view text) {
  texts[id] = std::string(text);
  ++textWrites[id];
}

void FakeWindow::setVisible(platform::ControlId id, bool isShown) { visible[id] = isShown; }

bool FakeWindow::isVisible(platform::ControlId id) const {
  auto found = visible.find(id);
  return found == visible.end() || found->second;
}

void FakeWindow::addTooltip(platform::ControlId id, std::string_view text) {
  tooltips.emplace_back(id, std::string(text));
}

void FakeWindow::setStatusText(int part, std::string_view text) {
  status.at(static_cast<std::size_t>(part)) = std::string(text);
  ++statusWrites.at(static_cast<std::size_t>(part));
}

void FakeWindow::setTableColumns(std::span<const platform::TableColumn> newColumns) {
  columns.assign(newColumns.begin(), newColumns.end());
}

int FakeWindow::tableColumnWidth(int column) const {
  if (column < 1 || column > static_cast<int>(columns.size())) return 0;
  return columns[static_cast<std::size_t>(column - 1)].width;
}

void FakeWindow::tableReset() {
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
