#pragma once

#include <QDialog>
#include <QLineEdit>
#include <QPushButton>

#include "platform/qt/tooltip_controller.h"
#include "platform/window_definition.h"

namespace platform::qt {

// A small dialog built from a DialogDefinition: its labels, its one edit
// field and its default button, at their places in client coordinates, in
// Tab order; the button has the focus when the dialog opens. The button
// accepts; closing the dialog in any other way rejects.
class TextDialog : public QDialog {
 public:
  // text: what the field shows. Placed at the definition's place in the
  // owner's client area when there is an owner.
  TextDialog(const DialogDefinition& definition, const QString& text, const QFont& font,
             TooltipController& tooltips, QWidget* owner);

  [[nodiscard]] QLineEdit* field() const { return field_; }
  [[nodiscard]] QPushButton* defaultButton() const { return button_; }

 private:
  QLineEdit* field_ = nullptr;
  QPushButton* button_ = nullptr;
};

}  // namespace platform::qt
