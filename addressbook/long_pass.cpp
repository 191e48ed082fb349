#include "addressbook/long_pass.h"

namespace addressbook {

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

ProgressDisplay::ProgressDisplay(platform::Window& window, const platform::Clock& clock,
                                 std::string_view file)
    : window_(window),
      clock_(clock),
      file_(file),
      lastPeriod_(clock.tickCount() / refreshMilliseconds) {}

bool ProgressDisplay::update(std::size_t done, std::size_t total, bool last) {
  if (!window_.isAlive()) return false;
  std::uint32_t period = clock_.tickCount() / refreshMilliseconds;
  if (period == lastPeriod_ && !last) return true;
  lastPeriod_ = period;
  window_.processPendingEvents();
  if (!window_.isAlive()) return false;
  // A pass over nothing is complete.
  if (total == 0) done = total = 1;
  window_.setStatusText(1, percentText(done, total));
  window_.setStatusText(4, "File: " + file_);
  window_.setProgress(roundedPercent(done, total));
  return true;
}

}  // namespace addressbook
