#include "platform/qt/status_bar.h"

#include <algorithm>

namespace platform::qt {

StatusBar::StatusBar(std::span<const int> partWidths, QRect progressGeometry, QWidget* parent)
    : QStatusBar(parent), widths_(partWidths.begin(), partWidths.end()) {
  setSizeGripEnabled(false);
  // Drawn in the desktop's colours, not in those of the window around it.
  setAutoFillBackground(true);
  for (std::size_t i = 0; i < widths_.size(); ++i) {
    auto* label = new QLabel(this);
    label->setTextFormat(Qt::PlainText);
    label->setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
    label->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    label->setIndent(2);
    parts_.push_back(label);
  }
  progress_ = new QProgressBar(this);
  progress_->setRange(0, 100);
  progress_->setValue(0);
  progress_->setTextVisible(false);
  progress_->setGeometry(progressGeometry);
  progress_->raise();
  placeParts();
}

int StatusBar::standardHeight() const {
  int textHeight = fontMetrics().height() + 2 * 4;
  int progressBottom = progress_->geometry().bottom() + 2;
  return std::max({textHeight, progressBottom, minimumSizeHint().height()});
}

QLabel* StatusBar::part(int part) const {
  if (part < 1 || part > static_cast<int>(parts_.size())) return nullptr;
  return parts_[static_cast<std::size_t>(part - 1)];
}

void StatusBar::resizeEvent(QResizeEvent* event) {
  QStatusBar::resizeEvent(event);
  placeParts();
}

void StatusBar::placeParts() {
  int x = 0;
  for (std::size_t i = 0; i < parts_.size(); ++i) {
    parts_[i]->setGeometry(x, 0, widths_[i], height());
    x += widths_[i];
  }
}

}  // namespace platform::qt
