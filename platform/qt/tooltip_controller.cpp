#include "platform/qt/tooltip_controller.h"

#include <QCursor>
#include <QEvent>
#include <QStringList>
#include <QStyle>
#include <QTextDocument>
#include <QToolTip>

namespace platform::qt {

namespace {

// The room the tip window takes around its text (margins and frame, as the
// tip label lays itself out).
int tipChromeWidth(const QWidget* widget) {
  return 2 * (1 +
              widget->style()->pixelMetric(QStyle::PM_ToolTipLabelFrameWidth, nullptr, nullptr)) +
         1;
}

// Appends the longest prefix of word that fits, until the rest fits.
QString breakInsideWord(QString word, const QFontMetrics& metrics, int maxWidth,
                        QStringList& lines) {
  while (word.size() > 1 && metrics.horizontalAdvance(word) > maxWidth) {
    qsizetype fits = 1;
    while (fits < word.size() && metrics.horizontalAdvance(word.left(fits + 1)) <= maxWidth) {
      ++fits;
    }
    lines.append(word.left(fits));
    word.remove(0, fits);
  }
  return word;
}

}  // namespace

QString wrapTooltipText(const QString& text, const QFontMetrics& metrics, int maxWidth) {
  QStringList lines;
  for (const QString& line : text.split(QLatin1Char('\n'))) {
    if (metrics.horizontalAdvance(line) <= maxWidth) {
      lines.append(line);
      continue;
    }
    QString current;
    bool started = false;
    for (const QString& word : line.split(QLatin1Char(' '))) {
      QString candidate = started ? current + QLatin1Char(' ') + word : word;
      if (metrics.horizontalAdvance(candidate) <= maxWidth) {
        current = candidate;
      } else {
        if (started) lines.append(current);
        current = breakInsideWord(word, metrics, maxWidth, lines);
      }
      started = true;
    }
    lines.append(current);
  }
  return lines.join(QLatin1Char('\n'));
}

TooltipController::TooltipController(QObject* parent) : QObject(parent) {
  showTimer_.setSingleShot(true);
  connect(&showTimer_, &QTimer::timeout, this, &TooltipController::showPending);
}

void TooltipController::add(QWidget* widget, const QString& text) {
  if (widget == nullptr) return;
  // Kept on the widget as well, where accessibility tools look for it.
  widget->setToolTip(text);
  widget->setToolTipDuration(visibleMs);
  widget->installEventFilter(this);
}

int TooltipController::pendingDelay() const {
  return showTimer_.isActive() ? showTimer_.interval() : -1;
}

bool TooltipController::eventFilter(QObject* watched, QEvent* event) {
  auto* widget = qobject_cast<QWidget*>(watched);
  if (widget == nullptr) return false;
  switch (event->type()) {
    case QEvent::ToolTip:
      return true;  // shown by this controller instead
    case QEvent::Enter:
      enter(widget);
      break;
    case QEvent::Leave:
      leave(widget);
      break;
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick:
    case QEvent::Wheel:
    case QEvent::Hide:
      if (pending_ == widget) showTimer_.stop();
      break;
    default:
      break;
  }
  return false;
}

void TooltipController::enter(QWidget* widget) {
  bool movingOn = QToolTip::isVisible() ||
                  (sinceShownTipLeft_.isValid() && sinceShownTipLeft_.elapsed() < initialDelayMs);
  pending_ = widget;
  showTimer_.start(movingOn ? reshowDelayMs : initialDelayMs);
}

void TooltipController::leave(QWidget* widget) {
  if (pending_ == widget) showTimer_.stop();
  if (shownFor_ == widget && QToolTip::isVisible()) sinceShownTipLeft_.start();
}

void TooltipController::showPending() {
  QWidget* widget = pending_;
  if (widget == nullptr || !widget->isVisible() || widget->toolTip().isEmpty()) return;
  QFontMetrics metrics(QToolTip::font());
  QString text = wrapTooltipText(widget->toolTip(), metrics, maxTipWidth - tipChromeWidth(widget));
  // The tip is plain text, even when it looks like markup.
  if (Qt::mightBeRichText(text)) text = Qt::convertFromPlainText(text, Qt::WhiteSpaceNoWrap);
  QPoint cursor = QCursor::pos();
  QPoint at = widget->rect().contains(widget->mapFromGlobal(cursor))
                  ? cursor
                  : widget->mapToGlobal(QPoint(widget->width() / 2, widget->height()));
  QToolTip::showText(at, text, widget, widget->rect(), visibleMs);
  shownFor_ = widget;
}

}  // namespace platform::qt
