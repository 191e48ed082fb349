#include "platform/qt/main_frame.h"

#include <QCloseEvent>
#include <QPainter>

namespace platform::qt {

MainFrame::MainFrame(QColor background, FrameListener& listener)
    : QWidget(nullptr, Qt::Window), background_(background), listener_(listener) {}

void MainFrame::paintEvent(QPaintEvent* event) {
  QPainter painter(this);
  painter.fillRect(event->rect(), background_);
}

void MainFrame::closeEvent(QCloseEvent* event) {
  if (!listener_.frameCloseRequested()) {
    event->ignore();
    return;
  }
  event->accept();
  listener_.frameClosed();
}

void MainFrame::changeEvent(QEvent* event) {
  if (event->type() == QEvent::ActivationChange) {
    listener_.frameActivationChanged(isActiveWindow());
  }
  QWidget::changeEvent(event);
}

void MainFrame::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  listener_.frameResized();
}

}  // namespace platform::qt
