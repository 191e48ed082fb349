#include "platform/qt/line_edit.h"

#include "platform/qt/digits_filter.h"

namespace platform::qt {

QLineEdit* newLineEdit(ControlKind kind, QWidget* parent) {
  auto* edit = new QLineEdit(parent);
  if (kind == ControlKind::digitsEdit) {
    edit->setInputMethodHints(Qt::ImhDigitsOnly);
    edit->installEventFilter(new DigitsFilter(edit));
  } else if (kind == ControlKind::passwordEdit) {
    edit->setEchoMode(QLineEdit::Password);
  }
  return edit;
}

}  // namespace platform::qt
