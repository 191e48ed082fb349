#include "table/progress.h"

namespace table {

namespace {

constexpr std::uint32_t refreshMilliseconds = 32;

// part × 100 / whole with exactly two decimals and "%" (37.50%), written
// without the locale so that the point stays a point.
std::string percentText(std::size_t part, std::size_t whole) {
  std::uint64_t hundredths = (std::uint64_t{part} * 20000 + whole) / (2 * std::uint64_t{whole});
  std::string text = std::to_string(hundredths / 100);
  text += '.';
  text += static_cast<char>('0' + hundredths / 10 % 10);
  text += static_cast<char>('0' + hundredths % 10);
  text += '%';
  return text;
}

int roundedPercent(std::size_t part, std::size_t whole) {
  return static_cast<int>((std::uint64_t{part} * 200 + whole) / (2 * std::uint64_t{whole}));
}

}  // namespace

void showFileName(const Screen& screen, std::string_view file) {
  screen.statusBar.setText(4, "File: " + std::string(file));
}

ProgressDisplay::ProgressDisplay(const Screen& screen, std::string_view file)
    : screen_(screen), file_(file), lastPeriod_(screen.clock.tickCount() / refreshMilliseconds) {}

bool ProgressDisplay::update(std::size_t done, std::size_t total, bool last) {
  if (!screen_.window.isAlive()) return false;
  std::uint32_t period = screen_.clock.tickCount() / refreshMilliseconds;
  if (period == lastPeriod_ && !last) return true;
  lastPeriod_ = period;
  screen_.window.processPendingEvents();
  if (!screen_.window.isAlive()) return false;
  // A pass over nothing is complete.
  if (total == 0) done = total = 1;
  screen_.statusBar.setText(1, percentText(done, total));
  showFileName(screen_, file_);
  screen_.statusBar.setProgress(roundedPercent(done, total));
  return true;
}

}  // namespace table
