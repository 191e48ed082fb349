#include "platform/qt/text_dialog.h"

#include <QLabel>

#include "platform/qt/alignment.h"
#include "platform/qt/pictures.h"
#include "platform/qt/text_conversion.h"

namespace platform::qt {

TextDialog::TextDialog(const DialogDefinition& definition, const QString& text, const QFont& font,
                       TooltipController& tooltips, QWidget* owner)
    : QDialog(owner, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                         Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                         Qt::WindowCloseButtonHint) {
  setWindowTitle(toQString(definition.title));
  setWindowIcon(pictureIcon(definition.icon, {QSize(definition.iconSize, definition.iconSize)}));
  setFont(font);
  setFixedSize(definition.clientWidth, definition.clientHeight);
  setModal(true);

  QWidget* previous = nullptr;
  for (const ControlDefinition& control : definition.controls) {
    QWidget* widget = nullptr;
    switch (control.kind) {
      case ControlKind::label: {
        auto* label = new QLabel(toQString(control.text), this);
        label->setTextFormat(Qt::PlainText);
        label->setAlignment(toAlignment(control.alignment));
        widget = label;
        break;
      }
      case ControlKind::edit:
        field_ = new QLineEdit(text, this);
        widget = field_;
        break;
      case ControlKind::button:
        button_ = new QPushButton(toQString(control.text), this);
        button_->setDefault(true);
        connect(button_, &QPushButton::clicked, this, &QDialog::accept);
        widget = button_;
        break;
      default:
        continue;
    }
    widget->setGeometry(control.x, control.y, control.width, control.height);
    widget->setObjectName(QString::number(toInt(control.id)));
    if (!control.tooltip.empty()) tooltips.add(widget, fromCrLf(toQString(control.tooltip)));
    if (widget->focusPolicy() != Qt::NoFocus) {
      if (previous != nullptr) QWidget::setTabOrder(previous, widget);
      previous = widget;
    }
  }
  if (button_ != nullptr) button_->setFocus(Qt::OtherFocusReason);

  if (owner != nullptr) move(owner->mapToGlobal(QPoint(definition.x, definition.y)));
}

}  // namespace platform::qt
