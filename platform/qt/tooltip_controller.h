#pragma once

#include <QElapsedTimer>
#include <QFontMetrics>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QTimer>
#include <QWidget>

namespace platform::qt {

// The tooltips of the program's windows with their own timing, which Qt's
// built-in tooltips cannot give (Qt shows the next tip after a fixed 20 ms):
// a tip shows after the mouse has rested on its control for a second, stays
// nine seconds, and when the mouse moves on to the next control while a tip
// is shown, that control's tip follows after 200 ms. Tips are at most 500
// pixels wide; longer lines are wrapped.
class TooltipController : public QObject {
 public:
  static constexpr int initialDelayMs = 1000;
  static constexpr int visibleMs = 9000;
  static constexpr int reshowDelayMs = 200;
  static constexpr int maxTipWidth = 500;

  explicit TooltipController(QObject* parent = nullptr);

  // Gives the widget a tip (LF breaks lines); replaces an earlier one.
  void add(QWidget* widget, const QString& text);

  // The delay of the tip that waits to be shown, or -1 when none waits.
  [[nodiscard]] int pendingDelay() const;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void enter(QWidget* widget);
  void leave(QWidget* widget);
  void showPending();

  QTimer showTimer_;
  QPointer<QWidget> pending_;
  QPointer<QWidget> shownFor_;
  QElapsedTimer sinceShownTipLeft_;
};

// The text of a tip broken into lines of at most maxWidth pixels in the given
// font: at its own line breaks, then between words, and inside a word only
// when the word alone is too wide.
[[nodiscard]] QString wrapTooltipText(const QString& text, const QFontMetrics& metrics,
                                      int maxWidth);

}  // namespace platform::qt
