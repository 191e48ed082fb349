#include "platform/qt/text_dialog.h"

#include <QLabel>

#include "platform/qt/alignment.h"
#include "platform/qt/line_edit.h"
#include "platform/qt/pictures.h"
#include "platform/qt/text_conversion.h"

namespace platform::qt {

TextDialog::TextDialog(const DialogDefinition& definition, std::span<const DialogField> fields,
                       const QFont& font, TooltipController& tooltips, QWidget* owner)
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
      case ControlKind::digitsEdit:
      case ControlKind::passwordEdit: {
        QLineEdit* field = newLineEdit(control.kind, this);
        field->setText(toQString(textOf(fields, control.id)));
        fields_.emplace_back(control.id, field);
        widget = field;
        break;
      }
      case ControlKind::button: {
        auto* button = new QPushButton(toQString(control.text), this);
        if (defaultButton_ == nullptr) {
          defaultButton_ = button;
          button->setDefault(true);
        }
        connect(button, &QPushButton::clicked, this, [this, id = control.id] {
          pressed_ = id;
          accept();
        });
        widget = button;
        break;
      }
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
  if (defaultButton_ != nullptr) defaultButton_->setFocus(Qt::OtherFocusReason);

  if (owner != nullptr) move(owner->mapToGlobal(QPoint(definition.x, definition.y)));
}

DialogResult TextDialog::answer() const {
  DialogResult result{pressed_, {}};
  for (const auto& [id, field] : fields_) result.fields.push_back({id, toCp1252(field->text())});
  return result;
}

}  // namespace platform::qt
