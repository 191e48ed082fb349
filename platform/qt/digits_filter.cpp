#include "platform/qt/digits_filter.h"

#include <QInputMethodEvent>
#include <QKeyEvent>
#include <algorithm>

namespace platform::qt {

namespace {

bool isDigit(QChar c) { return c >= QLatin1Char('0') && c <= QLatin1Char('9'); }

}  // namespace

bool DigitsFilter::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::KeyPress) {
    auto* key = static_cast<QKeyEvent*>(event);
    QString text = key->text();
    // Control characters (Backspace, Ctrl+V, ...) belong to keys that edit
    // or command, and so do shortcuts (Ctrl+A may carry the text "a"); only
    // printable input is checked. Ctrl with Alt is AltGr on Windows, which
    // types characters.
    Qt::KeyboardModifiers modifiers = key->modifiers();
    bool shortcut =
        (modifiers & (Qt::ControlModifier | Qt::MetaModifier)) && !(modifiers & Qt::AltModifier);
    bool printable =
        !text.isEmpty() && std::ranges::all_of(text, [](QChar c) { return c.isPrint(); });
    if (printable && !shortcut && !std::ranges::all_of(text, isDigit)) return true;
  } else if (event->type() == QEvent::InputMethod) {
    auto* input = static_cast<QInputMethodEvent*>(event);
    QString digits;
    for (QChar c : input->commitString()) {
      if (isDigit(c)) digits += c;
    }
    if (digits != input->commitString()) {
      input->setCommitString(digits, input->replacementStart(), input->replacementLength());
    }
  }
  return QObject::eventFilter(watched, event);
}

}  // namespace platform::qt
