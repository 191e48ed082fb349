#pragma once

#include <QColor>
#include <QWidget>

namespace platform::qt {

// What the main window's frame tells its owner.
class FrameListener {
 public:
  virtual ~FrameListener() = default;
  // Return false to keep the window open.
  virtual bool frameCloseRequested() = 0;
  virtual void frameClosed() = 0;
  virtual void frameActivationChanged(bool active) = 0;
  virtual void frameResized() = 0;
};

// The top-level widget of the main window: a plain window (no dialog, so
// neither Esc nor Enter does anything by itself) painted in one colour, which
// its child widgets do not inherit.
class MainFrame : public QWidget {
 public:
  MainFrame(QColor background, FrameListener& listener);

 protected:
  void paintEvent(QPaintEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  void changeEvent(QEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;

 private:
  QColor background_;
  FrameListener& listener_;
};

}  // namespace platform::qt
