#pragma once

#include <QLabel>
#include <QProgressBar>
#include <QRect>
#include <QStatusBar>
#include <span>
#include <vector>

namespace platform::qt {

// A status bar divided into parts of fixed widths (numbered from 1), each a
// sunken field with one line of text, and a progress bar (0 to 100, no text)
// that lies over part of them.
class StatusBar : public QStatusBar {
 public:
  StatusBar(std::span<const int> partWidths, QRect progressGeometry, QWidget* parent);

  // The height a status bar of this font takes.
  [[nodiscard]] int standardHeight() const;
  // nullptr for a part that does not exist.
  [[nodiscard]] QLabel* part(int part) const;
  [[nodiscard]] QProgressBar* progressBar() const { return progress_; }

 protected:
  void resizeEvent(QResizeEvent* event) override;

 private:
  void placeParts();

  std::vector<QLabel*> parts_;
  std::vector<int> widths_;
  QProgressBar* progress_;
};

}  // namespace platform::qt
